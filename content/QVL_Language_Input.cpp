#include "content/QVL_Language_Input.h"

#include "content/QVL_Language.h"
#include "core/QVL_Error.h"

namespace {

// Every value the dialog may change, so that a failed save can put them back.
struct Snapshot
{
    QString name, langCode, characters, replacementsFrom, replacementsTo, adjective, adjectivePlural;
    bool charactersShow, replacementsActive, fontUse;
    TQVL_Language_Font smallFont, bigFont;

    static Snapshot Of(const TQVL_Language& l)
    {
        return {l.Name,        l.LangCode,        l.Characters,     l.ReplacementsFrom,   l.ReplacementsTo,
                l.Adjective,   l.AdjectivePlural, l.CharactersShow, l.ReplacementsActive, l.FontUse,
                l.SmallFont(), l.BigFont()};
    }
    void RestoreTo(TQVL_Language& l) const
    {
        l.Name = name;
        l.LangCode = langCode;
        l.Characters = characters;
        l.ReplacementsFrom = replacementsFrom;
        l.ReplacementsTo = replacementsTo;
        l.Adjective = adjective;
        l.AdjectivePlural = adjectivePlural;
        l.CharactersShow = charactersShow;
        l.ReplacementsActive = replacementsActive;
        l.FontUse = fontUse;
        l.SmallFont() = smallFont;
        l.BigFont() = bigFont;
    }
};

} // namespace

TQVL_Language_Input TQVL_Language_Input::Of(const TQVL_Language& language)
{
    TQVL_Language_Input input;
    input.Name = language.Name;
    input.LangCode = language.LangCode;
    input.Characters = language.Characters;
    input.CharactersShow = language.CharactersShow;
    input.ReplacementsActive = language.ReplacementsActive;
    input.Replacements = language.ReplacementPairs();
    input.FontName = language.SmallFont().Name;
    input.FontSmall = QString::number(language.SmallFont().Size);
    input.FontBig = QString::number(language.BigFont().Size);
    input.FontUse = language.FontUse;
    input.Adjective = language.Adjective;
    input.AdjectivePlural = language.AdjectivePlural;
    return input;
}

QChar TQVL_Language_Input::FirstCharacter(const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {};
    // Profiles hold one 16-bit unit per character; half a pair would be garbage.
    if (text.front().isSurrogate())
        throw TQVL_Error(QStringLiteral("Das Zeichen \"%1\" kann in einem Sprachprofil nicht verwendet werden!")
                             .arg(text.left(2)));
    return text.front();
}

QChar TQVL_Language_Input::ReplacementSource(const QString& typed)
{
    const QChar c = FirstCharacter(typed);
    // The replacement sees typed keys as single bytes: a source beyond them would never be replaced.
    if (c.unicode() > 0xFF)
        throw TQVL_Error(QStringLiteral("Das Zeichen \"%1\" kann nicht automatisch ersetzt werden. Ersetzt werden "
                                        "können nur Zeichen westeuropäischer Tastaturen.")
                             .arg(c));
    return c;
}

int TQVL_Language_Input::FontSize(const QString& typed, int fallback)
{
    bool ok = false;
    const int size = typed.toInt(&ok);
    return ok && size > 0 && size <= MaxFontSize ? size : fallback;
}

void TQVL_Language_Input::ApplyTo(TQVL_Language& language) const
{
    // The lists show profiles by file name, but every other screen by this name.
    if (Name.trimmed().isEmpty())
        throw TQVL_Error(QStringLiteral("Bitte geben Sie eine Bezeichnung für das Sprachprofil ein!"));
    language.Name = Name;
    language.SetLangCodeFromList(LangCode);
    language.FontUse = FontUse;
    language.SmallFont().Name = FontName;
    language.BigFont().Name = FontName;
    language.CharactersShow = CharactersShow;
    language.SmallFont().Size = FontSize(FontSmall, DefaultSmallSize);
    language.BigFont().Size = FontSize(FontBig, DefaultBigSize);
    language.Adjective = Adjective;
    language.AdjectivePlural = AdjectivePlural;
    language.Characters = Characters;
    language.ReplacementsActive = ReplacementsActive;
    QString from, to;
    for (const auto& [source, target] : Replacements) {
        from += source;
        to += target.isNull() ? source : target;
    }
    language.ReplacementsFrom = from;
    language.ReplacementsTo = to;
}

void TQVL_Language_Input::Save(TQVL_Language& language) const
{
    const Snapshot before = Snapshot::Of(language);
    ApplyTo(language);
    try {
        language.Save();
    } catch (...) {
        // The profiles of the open unit live on in the main window: they must not show what was never saved.
        before.RestoreTo(language);
        throw;
    }
    language.ReleaseWriteAccess();
}
