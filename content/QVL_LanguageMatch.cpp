#include "content/QVL_LanguageMatch.h"

#include "content/QVL_LanguageLocales.h"
#include "content/QVL_Provider_Languages.h"

#include <algorithm>

TQVL_LanguageMatch::TQVL_LanguageMatch(std::vector<Profile> list) : profiles(std::move(list)), restricted(true) {}

TQVL_LanguageMatch TQVL_LanguageMatch::Installed(const QString& languagesFolder)
{
    TQVL_Provider_Languages provider;
    provider.ReadHeaders = true;
    provider.Scan(languagesFolder);
    return Of(provider);
}

TQVL_LanguageMatch TQVL_LanguageMatch::Of(const TQVL_Provider_Languages& provider)
{
    std::vector<Profile> found;
    for (const TQVL_Provider_Item_Custom* item : provider.Items) {
        const auto* language = dynamic_cast<const TQVL_Provider_Item_Language*>(item);
        if (!language || !language->IsFile || language->LangCode.isEmpty())
            continue;
        // The first profile of a code is the one the program opens for it.
        if (std::none_of(found.begin(), found.end(), [&](const Profile& p) { return p.Code == language->LangCode; }))
            found.push_back(
                {language->LangCode, language->LanguageName.isEmpty() ? language->Name : language->LanguageName});
    }
    std::stable_sort(found.begin(), found.end(), [](const Profile& a, const Profile& b) {
        return a.Name.compare(b.Name, Qt::CaseInsensitive) < 0;
    });
    return TQVL_LanguageMatch(std::move(found));
}

bool TQVL_LanguageMatch::installed(const QString& code) const
{
    if (code.isEmpty())
        return false;
    if (!restricted)
        return TQVL_LanguageLocales::IsKnownCode(code);
    return std::any_of(profiles.begin(), profiles.end(), [&](const Profile& p) { return p.Code == code; });
}

QString TQVL_LanguageMatch::codeOfName(const QString& name) const
{
    // A learner's own profile may be named for a language the tables do not know.
    for (const Profile& profile : profiles)
        if (!profile.Name.isEmpty() && profile.Name.compare(name, Qt::CaseInsensitive) == 0)
            return profile.Code;
    const QString code = TQVL_LanguageLocales::CodeOfName(name);
    return installed(code) ? code : QString();
}

QString TQVL_LanguageMatch::CodeOf(const QString& language) const
{
    const QString text = language.simplified();
    if (text.isEmpty())
        return QString();
    // A profile's own code, also one that is no ISO code.
    if (installed(text))
        return text;
    if (const QString code = TQVL_LanguageLocales::ProgramCode(text); installed(code))
        return code;
    if (const QString code = codeOfName(text); !code.isEmpty())
        return code;
    // "English (US)", "English_GB": the name without what narrows it down.
    for (const QChar stop : {QLatin1Char('('), QLatin1Char('_'), QLatin1Char(','), QLatin1Char('/')}) {
        const qsizetype at = text.indexOf(stop);
        if (at > 0)
            if (const QString code = codeOfName(text.left(at).trimmed()); !code.isEmpty())
                return code;
    }
    return QString();
}

QString TQVL_LanguageMatch::NameOf(const QString& code) const
{
    for (const Profile& profile : profiles)
        if (profile.Code == code)
            return profile.Name;
    return QString();
}
