#include "ui/edit/LanguageLists.h"

#include "app/QVL.h"
#include "content/QVL_Provider_Languages.h"

#include <QComboBox>

#include <functional>

namespace {

void forEachFile(const TQVL_Provider_Item_Custom& item, const std::function<void(const TQVL_Provider_Item_Custom&)>& visit)
{
    for (int i = 0; i < item.ChildCount(); ++i) {
        const TQVL_Provider_Item_Custom& child = *item.Child(i);
        if (child.IsFile)
            visit(child);
        else
            forEachFile(child, visit);
    }
}

} // namespace

void FillLanguageLists(const TQVL& core, QComboBox* home, QComboBox* foreign, const QString& homeCode,
                       const QString& foreignCode)
{
    TQVL_Provider_Languages languages;
    languages.ReadHeaders = true;
    languages.Scan(core.System->AppDataFolder + QStringLiteral("/Languages"));
    forEachFile(*languages.Root, [&](const TQVL_Provider_Item_Custom& item) {
        const auto& language = static_cast<const TQVL_Provider_Item_Language&>(item);
        if (language.LangCode.isEmpty() || home->findData(language.LangCode) >= 0)
            return;
        const QString name = language.LanguageName.isEmpty() ? language.Name : language.LanguageName;
        home->addItem(name, language.LangCode);
        foreign->addItem(name, language.LangCode);
    });
    // A code without an installed profile stays choosable, so that nothing changes unasked.
    for (const auto& [box, code] : {std::pair{home, homeCode}, std::pair{foreign, foreignCode}})
        if (!code.isEmpty() && box->findData(code) < 0)
            box->addItem(code, code);

    const QString homeLanguage = homeCode.isEmpty() ? core.Options->languages_langcode_home : homeCode;
    home->setCurrentIndex(std::max(home->findData(homeLanguage), 0));
    int chosen = foreign->findData(foreignCode.isEmpty() ? QStringLiteral("eng") : foreignCode);
    if (chosen < 0 || (foreignCode.isEmpty() && foreign->itemData(chosen).toString() == homeLanguage))
        for (chosen = 0; chosen < foreign->count() - 1; ++chosen)
            if (foreign->itemData(chosen).toString() != homeLanguage)
                break;
    foreign->setCurrentIndex(chosen);
}
