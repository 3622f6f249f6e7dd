#include "content/QVL_Language.h"

#include "core/QVL_Error.h"
#include "core/QVL_XMLTag.h"

TQVL_Language::TQVL_Language() = default;

TQVL_Language::~TQVL_Language() = default;

void TQVL_Language::LoadFromXML(TQVL_XMLTag& tag)
{
    // Read into fresh values and take them over only when the whole file was
    // read. Optional elements fall back to the values of a new profile, not to
    // those of the profile this object held before: the manager reuses its
    // objects, and one language's replacement table must not leak into another.
    const TQVL_Language defaults;
    QString uid, langCode, name, characters;
    bool charactersShow = defaults.CharactersShow;
    QString adjective = defaults.Adjective;
    QString adjectivePlural = defaults.AdjectivePlural;
    bool replacementsActive = defaults.ReplacementsActive;
    QString replacementsFrom = defaults.ReplacementsFrom;
    QString replacementsTo = defaults.ReplacementsTo;
    bool fontUse = defaults.FontUse;
    TQVL_Language_Font small = defaults.smallFont;
    TQVL_Language_Font big = defaults.bigFont;
    try {
        uid = tag.NeedChild(QStringLiteral("uid")).Value;
        langCode = tag.NeedChild(QStringLiteral("langcode")).Value;
        name = tag.NeedChild(QStringLiteral("name")).Value;
        characters = tag.NeedChild(QStringLiteral("characters")).Value;
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("characters_show")))
            charactersShow = t->AsBoolean();
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("adjective")))
            adjective = t->Value;
        if (const TQVL_XMLTag* t = tag.FindChild(QStringLiteral("adjective_plural")))
            adjectivePlural = t->Value;
        if (const TQVL_XMLTag* replacements = tag.FindChild(QStringLiteral("replacements"))) {
            replacementsActive = replacements->NeedChild(QStringLiteral("active")).AsBoolean();
            replacementsFrom = replacements->NeedChild(QStringLiteral("from")).Value;
            replacementsTo = replacements->NeedChild(QStringLiteral("to")).Value;
        }
        if (const TQVL_XMLTag* font = tag.FindChild(QStringLiteral("font"))) {
            fontUse = font->NeedChild(QStringLiteral("use")).AsBoolean();
            small.Name = font->NeedChild(QStringLiteral("name")).Value;
            small.Size = font->NeedChild(QStringLiteral("size_small")).AsInteger();
            big.Size = font->NeedChild(QStringLiteral("size_big")).AsInteger();
            big.Name = small.Name;
        }
    } catch (const TQVL_Error&) {
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" ist kein gültiges Sprachprofil!").arg(FileName));
    }
    Uid = uid;
    LangCode = langCode;
    Name = name;
    Characters = characters;
    CharactersShow = charactersShow;
    Adjective = adjective;
    AdjectivePlural = adjectivePlural;
    ReplacementsActive = replacementsActive;
    ReplacementsFrom = replacementsFrom;
    ReplacementsTo = replacementsTo;
    FontUse = fontUse;
    smallFont = small;
    bigFont = big;
}

void TQVL_Language::SaveToXML(TQVL_XMLTag& tag)
{
    // uid, langcode and name first: the file list reads them from the first bytes.
    tag.AddChild(QStringLiteral("uid"), Uid);
    tag.AddChild(QStringLiteral("langcode"), LangCode);
    tag.AddChild(QStringLiteral("name"), Name);
    tag.AddChild(QStringLiteral("characters"), Characters);
    tag.AddBoolean(QStringLiteral("characters_show"), CharactersShow);
    tag.AddChild(QStringLiteral("adjective"), Adjective);
    tag.AddChild(QStringLiteral("adjective_plural"), AdjectivePlural);
    TQVL_XMLTag* replacements = tag.AddChild(QStringLiteral("replacements"));
    replacements->AddBoolean(QStringLiteral("active"), ReplacementsActive);
    replacements->AddChild(QStringLiteral("from"), ReplacementsFrom);
    replacements->AddChild(QStringLiteral("to"), ReplacementsTo);
    TQVL_XMLTag* font = tag.AddChild(QStringLiteral("font"));
    font->AddBoolean(QStringLiteral("use"), FontUse);
    font->AddChild(QStringLiteral("name"), smallFont.Name);
    font->AddInteger(QStringLiteral("size_small"), smallFont.Size);
    font->AddInteger(QStringLiteral("size_big"), bigFont.Size);
}

QChar TQVL_Language::ReplaceChar(char C) const
{
    const QChar typed = QChar::fromLatin1(C);
    if (!ReplacementsActive)
        return typed;
    const qsizetype position = ReplacementsFrom.indexOf(typed);
    // A hand-written table may have fewer targets than sources.
    if (position < 0 || position >= ReplacementsTo.size())
        return typed;
    return ReplacementsTo[position];
}

QChar TQVL_Language::ReplaceChar(QChar C) const
{
    return C.unicode() <= 0xFF ? ReplaceChar(char(C.unicode())) : C;
}

bool TQVL_Language::IsReplaceable(char C) const
{
    return ReplacementsFrom.contains(QChar::fromLatin1(C));
}

bool TQVL_Language::IsReplaceable(QChar C) const
{
    return C.unicode() <= 0xFF && IsReplaceable(char(C.unicode()));
}

std::vector<std::pair<QChar, QChar>> TQVL_Language::ReplacementPairs() const
{
    std::vector<std::pair<QChar, QChar>> pairs;
    pairs.reserve(std::size_t(ReplacementsFrom.size()));
    for (qsizetype i = 0; i < ReplacementsFrom.size(); ++i)
        pairs.emplace_back(ReplacementsFrom[i], i < ReplacementsTo.size() ? ReplacementsTo[i] : QChar());
    return pairs;
}

void TQVL_Language::SetLangCodeFromList(const QString& Code)
{
    if (!Code.isEmpty())
        LangCode = Code;
}

void TQVL_Language::Reload()
{
    const QString path = FileName;
    CloseFile();
    Open(path);
}
