#pragma once

#include <QChar>
#include <QString>

#include <utility>
#include <vector>

class TQVL_Language;

// What the language profile dialog edits, held as its controls show it: the
// character and replacement lists as rows, the font sizes as typed. The
// dialog copies its controls into this value and saves it into the profile.
class TQVL_Language_Input
{
public:
    // One row of the replacement list; the target is null where a profile
    // written elsewhere has fewer targets than sources.
    using Replacement = std::pair<QChar, QChar>;

    static TQVL_Language_Input Of(const TQVL_Language& language);

    // The character a typed field stands for: its first character after
    // blanks; null for a blank field. Raises for a character that a profile
    // cannot hold as one (outside the basic multilingual plane).
    static QChar FirstCharacter(const QString& typed);
    // The same for the source of a replacement pair, which must be a
    // character the replacement can catch while typing (Latin-1).
    static QChar ReplacementSource(const QString& typed);
    // A size field's value; `fallback` when it is empty, not a number or no usable size.
    static int FontSize(const QString& typed, int fallback);

    // Writes every field into the profile. An empty code choice keeps the
    // stored code; a replacement row without target is written with its source
    // as target, so sources and targets keep the same length.
    void ApplyTo(TQVL_Language& language) const;
    // ApplyTo, save, and drop the write access (the profile must hold it). A
    // failed save puts the profile's previous values back into memory.
    void Save(TQVL_Language& language) const;

    QString Name;
    // The chosen list entry; empty when the stored code is not in the list.
    QString LangCode;
    QString Characters;
    bool CharactersShow = false;
    bool ReplacementsActive = false;
    std::vector<Replacement> Replacements;
    QString FontName;
    QString FontSmall;
    QString FontBig;
    bool FontUse = false;
    QString Adjective;
    QString AdjectivePlural;

    static constexpr int DefaultSmallSize = 8;
    static constexpr int DefaultBigSize = 24;
    static constexpr int MaxFontSize = 200;
};
