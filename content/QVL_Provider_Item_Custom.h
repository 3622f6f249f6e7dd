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

    // How far into a file each list looks for the header values it shows; an
    // element beyond the limit reads as empty.
    struct HeaderBytes
    {
        static constexpr int Language = 250;
        static constexpr int CardArrangement = 250;
        static constexpr int Unit = 350;
        static constexpr int User = 350;
        static constexpr int LongTermStorage = 450;
    };

    // Reads the header values of a file entry. The one rule for a header a
    // list cannot read: loading never fails, the entry stays listed with the
    // values read so far (a user entry also shows "[Ungültig]").
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
