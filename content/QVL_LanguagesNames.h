#pragma once

#include "core/QVL_FileObject.h"

#include <QStringList>

#include <vector>

// One entry of the language-name table.
struct TLanguageName
{
    QString id; // at most three characters
    QString name;
};

// The language-name table "Data/LanguageNames.xml": language codes and the
// names shown for them in lists and used for file names. Opened read-only at
// start and kept open; owned by the language manager.
class TQVL_LanguagesNames : public TQVL_FileObject
{
public:
    TQVL_LanguagesNames();
    ~TQVL_LanguagesNames() override;

    // Replaces the list; an entry without `id` or `name` raises
    // "Die Datei "…" ist keine gültige Sprachnamendatei!" and changes nothing.
    void LoadFromXML(TQVL_XMLTag& tag) override;
    void SaveToXML(TQVL_XMLTag& tag) override;

    // Appends an entry; a longer code is cut to its first three characters.
    void Add(const QString& Id, const QString& Name);
    void Clear() { entries.clear(); }
    int Count() const { return int(entries.size()); }
    const TLanguageName& Item(int Index) const;
    // Empties `List` and fills it with every name, in table order.
    void GetNames(QStringList& List) const;
    // The code at `Index` (table order, as GetNames lists them).
    QString CodeAt(int Index) const;
    // The name of the last entry whose code equals `Code` exactly; "Unknown" if none.
    QString NameOf(const QString& Code) const;

private:
    std::vector<TLanguageName> entries;
};
