#include "content/QVL_LongTermStorages.h"

#include "content/QVL_LanguageMatch.h"
#include "core/QVL_System.h"

#include <QFileInfo>

namespace {

// The file name of a new storage: its foreign language's name. A lesson
// written by another program may name the language ("english") where the
// table has codes; the table's name for that language is taken, else the
// language as the lesson writes it, never a made-up "Unknown".
QString storageName(const TQVL_LanguagesNames& names, const QString& code)
{
    const auto listed = [&names](const QString& wanted) {
        for (int i = 0; i < names.Count(); ++i)
            if (names.Item(i).id == wanted)
                return true;
        return false;
    };
    if (listed(code))
        return names.NameOf(code);
    if (const QString nearest = TQVL_LanguageMatch().CodeOf(code); listed(nearest))
        return names.NameOf(nearest);
    const QString own = code.trimmed();
    return TQVL_System::IsValidFileName(own) ? own : QStringLiteral("Langzeitspeicher");
}

} // namespace

TQVL_LongTermStorages::TQVL_LongTermStorages()
{
    Initialize(std::make_unique<TQVL_Provider_LongTermStorages>(), QStringLiteral(".qxs"));
}

TQVL_Provider_Item_LongTermStorage* TQVL_LongTermStorages::FindStorage(const QString& langCodeHome,
                                                                       const QString& langCodeForeign) const
{
    const TQVL_Provider_Item_Custom& root = *Provider().Root;
    for (int i = 0; i < root.ChildCount(); ++i) {
        auto* item = dynamic_cast<TQVL_Provider_Item_LongTermStorage*>(root.Child(i));
        if (item && item->IsFile && item->LangCodeHome == langCodeHome && item->LangCodeForeign == langCodeForeign)
            return item;
    }
    return nullptr;
}

TQVL_LongTermStorage* TQVL_LongTermStorages::OpenOrCreateStorage(const QString& storagesFolder,
                                                                 const TQVL_LanguagesNames& names,
                                                                 const QString& langCodeHome,
                                                                 const QString& langCodeForeign)
{
    Provider().Clear();
    Provider().Scan(storagesFolder);
    const TQVL_Provider_Item_LongTermStorage* found = FindStorage(langCodeHome, langCodeForeign);
    auto* storage = static_cast<TQVL_LongTermStorage*>(CreateAdditionalFile());
    try {
        if (found) {
            storage->Open(found->Path);
            return storage;
        }
        // Another pair with the same foreign language may own the plain name already.
        const QString fileName =
            TQVL_System::UniqueFileName(storagesFolder, storageName(names, langCodeForeign) + QStringLiteral(".qxs"));
        storage->Typ = tLongTermStorage;
        storage->LangCodeHome = langCodeHome;
        storage->LangCodeForeign = langCodeForeign;
        storage->NewFile(fileName);
        storage->CloseFile();
        storage->Open(fileName);
        return storage;
    } catch (...) {
        if (storage->IsOpen)
            storage->CloseFile();
        DiscardAdditionalFile(storage);
        throw;
    }
}
