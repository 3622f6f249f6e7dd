#pragma once

#include <QString>

class TQVL_Options;

// What the options dialog lets a learner change, held as the fields show it:
// folders and the profile as typed, display times as text. The dialog copies
// its controls into this value and applies it; every field is checked before
// any option changes, so a refused field leaves the options as they were.
class TQVL_Options_Input
{
public:
    // The stored values as the dialog shows them.
    static TQVL_Options_Input Of(const TQVL_Options& options);

    // The home-language list shows "ger" and "eng" as words; other codes as they are.
    static QString HomeLanguageEntry(const QString& code);
    static QString HomeLanguageCode(const QString& entry);

    // Checks every field, then assigns them. Raises the first refusal:
    // "Benutzerprofil "…" nicht gefunden!", "Benutzerprofil-Verzeichnis "…"
    // nicht gefunden!", "Lektions-Verzeichnis "…" nicht gefunden!", a
    // display time beyond 65535 ms, or a sync folder that is missing or not absolute.
    void AssignTo(TQVL_Options& options, const QString& documentsFolder) const;
    // AssignTo, then saves the options file and drops its write access. Needs
    // write access; a failed save puts the previous values back into memory.
    void Apply(TQVL_Options& options, const QString& documentsFolder) const;

    bool UpdatesAutosearch = false;
    bool SoundDisabled = false;
    bool OverviewHidden = false;
    // The chosen list entry; empty (the stored code is not in the list) keeps the stored code.
    QString HomeLanguage;
    QString QueryDelimiter;
    QString PlayQuestionIntervall;
    QString PlayAnswerIntervall;
    QString UnitsDirectory;
    QString UsersDirectory;
    bool Autoload = false;
    QString AutoloadProfile;
    // Sync through a folder that a sync client keeps in step; the folder is kept when sync is off.
    bool SyncFolderMode = false;
    QString SyncFolder;

    // Display time used when either field is not a number.
    static constexpr int DefaultIntervall = 2000;
    static constexpr int MaxIntervall = 65535;
};
