#pragma once

#include "content/QVL_Language.h"
#include "content/QVL_LanguagesNames.h"
#include "content/QVL_Manager.h"
#include "content/QVL_Provider_Languages.h"

// The language profiles of the active unit: the foreign-language profile as
// the active file, the home-language profile beside it, and the language-name
// table, which stays open from start-up to the end.
class TQVL_Languages : public TQVL_Manager
{
public:
    TQVL_Languages();
    ~TQVL_Languages() override;

    TQVL_Language& GetActiveLanguage() const { return activeAs<TQVL_Language>("no active Language"); }
    TQVL_Provider_Languages& Languages() const { return static_cast<TQVL_Provider_Languages&>(Provider()); }
    // The first listed profile for `code`, or nullptr.
    TQVL_Provider_Item_Language* FindByLangCode(const QString& code) const { return Languages().FindByLangCode(code); }

    std::unique_ptr<TQVL_Language> HomeLanguage;
    std::unique_ptr<TQVL_LanguagesNames> Names;

protected:
    std::unique_ptr<TQVL_FileObject> CreateFileObject() override { return std::make_unique<TQVL_Language>(); }
};
