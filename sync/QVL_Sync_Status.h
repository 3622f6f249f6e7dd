#pragma once

#include <QString>

// The one line the main window shows about sync: when it last succeeded,
// whether the shared folder is out of reach, and how many answers of this
// machine wait to be published.
class TQVL_Sync_Status
{
public:
    bool Running = false;
    // The last run failed (the shared folder unreachable, a file refused).
    bool Offline = false;
    // When the last run succeeded (ms since 1970, UTC); 0 for never.
    qint64 LastSyncMs = 0;
    int WaitingAnswers = 0;

    // "Synchronisiert vor 2 Minuten", "Offline – 14 Antworten warten", …
    QString Text(qint64 nowMs) const;
    // "vor 2 Minuten", "vor 1 Stunde", "vor wenigen Sekunden".
    static QString Ago(qint64 ms);
};
