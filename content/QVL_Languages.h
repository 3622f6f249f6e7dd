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

    // Creates the profile "<name>.qxl" in `folder`: a new uid, the name as
    // display name and adjectives, no code chosen yet, the special characters
    // shown, replacement and own fonts off. Returns its path. Raises for a
    // name that is no file name or that a profile of the folder already has.
    static QString CreateProfile(const QString& folder, const QString& name);
    // Removes a profile file; raises when it cannot be removed.
    static void DeleteProfile(const QString& path);

    std::unique_ptr<TQVL_Language> HomeLanguage;
    std::unique_ptr<TQVL_LanguagesNames> Names;

protected:
    std::unique_ptr<TQVL_FileObject> CreateFileObject() override { return std::make_unique<TQVL_Language>(); }
};
