#pragma once

#include <QString>

#include <vector>

class TQVL_Provider_Languages;

// Finds the installed language profile for a language as another program
// names it in its files: an ISO 639 code of two or three letters ("fr",
// "fra", "fre"), a locale ("fr_FR", "de-DE", "en_US.UTF-8") or the language's
// English or German name in any case ("French", "französisch", "English
// (US)"). Only codes of the profiles come back, so nothing the program writes
// names a language it has no profile for.
class TQVL_LanguageMatch
{
public:
    struct Profile
    {
        QString Code;
        QString Name; // the profile's language name, German ("Englisch")
    };

    // Without profiles, every language of the built-in tables counts as installed.
    TQVL_LanguageMatch() = default;
    explicit TQVL_LanguageMatch(std::vector<Profile> profiles);
    // The profiles (".qxl") of `languagesFolder`, sorted by name; one per code.
    static TQVL_LanguageMatch Installed(const QString& languagesFolder);
    // The profiles a scan listed.
    static TQVL_LanguageMatch Of(const TQVL_Provider_Languages& provider);

    // The profile code for `language`; empty when no profile has it.
    QString CodeOf(const QString& language) const;
    // The name of the profile of `code`; empty when there is none.
    QString NameOf(const QString& code) const;
    const std::vector<Profile>& Profiles() const { return profiles; }

private:
    bool installed(const QString& code) const;
    QString codeOfName(const QString& name) const;

    std::vector<Profile> profiles;
    bool restricted = false;
};
