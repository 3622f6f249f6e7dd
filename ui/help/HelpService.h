#pragma once

#include <QString>

class TFormHelp;

// The one way screens reach the help: a named page ("Hilfe" buttons), the contents
// page (F1) or the full-text search. There is one help window per program; it is
// created on first use, reused while it is open and destroyed when it is closed.
// Failures (help file missing or broken) reach the learner as error messages.
class THelpService
{
public:
    // The page every help request falls back to.
    static QString ContentsPage() { return QStringLiteral("help_content.html"); }

    // Opens the page `pageName` (for example "help_units_select.html"); an unknown
    // name shows the contents page with a notice in the help window's status line.
    static void ShowHelpPage(const QString& pageName);
    static void ShowHelpContents();
    static void ShowHelpSearch();

    // The open help window, or nullptr.
    static TFormHelp* Window();
    // Closes and destroys the help window; the main window calls it when the program ends.
    static void CloseHelpWindow();

    // The collection the program ships: the application's "HelpFile" property, or
    // help/Quorvel8.qhc beside the program when that property is empty.
    static QString HelpFile();
    // A collection the help engine may write into (it keeps its settings and the
    // search index beside the collection): `helpFile` itself when its folder is
    // writable, otherwise CachedCollection(helpFile).
    static QString WritableCollection(const QString& helpFile);
    // A copy of `helpFile` and the compiled help files beside it in the user's cache
    // folder. The copy is renewed when the installed files are newer, so an
    // updated program brings its new help along. Returns the copy's path.
    static QString CachedCollection(const QString& helpFile);
};
