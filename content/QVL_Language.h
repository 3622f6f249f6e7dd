#pragma once

#include "content/QVL_Language_Font.h"
#include "core/QVL_FileObject.h"

#include <QChar>

#include <utility>
#include <vector>

// A language profile (".qxl"): how one language is shown and typed — its
// display name and caption adjectives, the special characters offered as
// buttons, the automatic character replacement while typing, and the fonts.
// The language manager owns two of them while a unit is active: the foreign
// language (its active file) and the home language.
class TQVL_Language : public TQVL_FileObject
{
public:
    TQVL_Language();
    ~TQVL_Language() override;

    // `uid`, `langcode`, `name` and `characters` are required; a missing one,
    // or an incomplete `replacements` or `font` group, raises
    // "Die Datei "…" ist kein gültiges Sprachprofil!" and changes nothing.
    // Missing optional elements read as the values of a new profile.
    void LoadFromXML(TQVL_XMLTag& tag) override;
    void SaveToXML(TQVL_XMLTag& tag) override;

    // Font for normal text, and the same family larger for prominent text.
    TQVL_Language_Font& SmallFont() { return smallFont; }
    const TQVL_Language_Font& SmallFont() const { return smallFont; }
    TQVL_Language_Font& BigFont() { return bigFont; }
    const TQVL_Language_Font& BigFont() const { return bigFont; }

    // The replacement for a typed character: when replacement is active and C
    // occurs in ReplacementsFrom, the character at the position of its first
    // occurrence in ReplacementsTo; otherwise C itself (also when
    // ReplacementsTo is too short). C is a single-byte (Latin-1) character.
    QChar ReplaceChar(char C) const;
    // The same for a typed QChar; a character without a single-byte form is
    // never replaced.
    QChar ReplaceChar(QChar C) const;
    // Whether C occurs in ReplacementsFrom, whether replacement is active or not.
    bool IsReplaceable(char C) const;
    bool IsReplaceable(QChar C) const;

    // The replacement table as pairs, one per character of ReplacementsFrom;
    // the target is a null QChar where ReplacementsTo has no character.
    std::vector<std::pair<QChar, QChar>> ReplacementPairs() const;
    // Takes the code chosen from the code list; an empty choice (the stored
    // code is not in the list) keeps the stored code.
    void SetLangCodeFromList(const QString& Code);

    // Closes the file and opens it again (read-only), raising OnClose and
    // OnOpen, so that listeners apply the edited profile.
    void Reload();

    QString Name;
    QString LangCode;
    // Special characters, one button each.
    QString Characters;
    bool CharactersShow = false;
    bool ReplacementsActive = false;
    QString ReplacementsFrom;
    QString ReplacementsTo;
    // Screens apply this profile's fonts to text of this language.
    bool FontUse = false;
    // As in "%s 1" column captions.
    QString Adjective;
    // Before a plural noun, as in "%s Bedeutungen:".
    QString AdjectivePlural;

private:
    TQVL_Language_Font smallFont;
    TQVL_Language_Font bigFont{QStringLiteral("Tahoma"), 24};
};
