#pragma once

#include "content/QVL_LanguageMatch.h"

#include <QHash>
#include <QString>

// A language as a foreign file names it, with the profile it was given.
struct TQVL_Import_Language
{
    QString Label; // the file's locale, or its name for the language where it has no locale
    QString Code;  // the profile's code; empty when no profile has the language
};

// How the languages of foreign files become the program's: the installed
// profiles they are matched to, the learner's choices for those the match
// does not find, and the decisions for files of one or of more than two
// languages.
class TQVL_Import_Languages
{
public:
    TQVL_LanguageMatch Profiles;
    // File language (Key of its label) -> profile code the learner chose.
    QHash<QString, QString> Chosen;
    // For files of three or more languages whose languages are taken from the
    // file: the two to import (profile codes). Empty: the home language of
    // the lesson, or else the second, is the home language; the first other
    // one the foreign language.
    QString PickForeign;
    QString PickHome;
    // A file of one language (a word and its hint in a comment) becomes cards
    // with the word as the foreign and the comment as the home side.
    bool CommentAsHome = false;

    static QString Key(const QString& label) { return label.simplified().toLower(); }
    // The profile code for a language of a file: the learner's choice, else the match.
    QString CodeOf(const QString& label) const
    {
        const auto chosen = Chosen.constFind(Key(label));
        return chosen != Chosen.constEnd() ? *chosen : Profiles.CodeOf(label);
    }
};
