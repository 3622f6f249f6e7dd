#pragma once

#include <QString>

#include <memory>
#include <vector>

// One entry of a provider's folder tree: a folder or a file with the few
// header values a list shows. Entries are never file objects.
class TQVL_Provider_Item_Custom
{
public:
    virtual ~TQVL_Provider_Item_Custom();

    // Reads the header values of a file entry. Errors are swallowed: the
    // entry keeps what was read so far.
    virtual void Load() {}

    // Appends `child` and returns it; the entry owns its children.
    TQVL_Provider_Item_Custom* AddChild(std::unique_ptr<TQVL_Provider_Item_Custom> child);
    int ChildCount() const { return int(children.size()); }
    TQVL_Provider_Item_Custom* Child(int index) const { return children[std::size_t(index)].get(); }

    TQVL_Provider_Item_Custom* Parent = nullptr;
    bool IsFile = false;
    QString Name;
    QString Path;

private:
    std::vector<std::unique_ptr<TQVL_Provider_Item_Custom>> children;
};
