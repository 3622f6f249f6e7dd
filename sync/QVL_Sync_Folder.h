#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class TQVL_User;

// Folder mode: a folder that a sync client keeps in step between machines.
// Each device writes only below "<shared>/<profile>/<device id>/" (its review
// log, its result steps, its profile and lesson copies, and, on the first
// device, the origin of the results); everything else there is read, and only
// once it has settled. A run publishes this device's files, takes in the
// other devices' ones, merges results, lessons and profile settings and saves
// them. Every file is written by safe save and the merge is a function of
// files that only grow, so a run killed at any moment is completed by the next.
class TQVL_Sync_Folder
{
public:
    QString SharedFolder;
    QString DeviceId;
    // The lessons of this machine that take part (full file names).
    QStringList Lessons;
    // A file in the shared folder is read when it was last changed this long ago.
    qint64 QuietMs = 2000;
    // Milliseconds since 1970 (UTC); the system clock by default. For tests.
    std::function<qint64()> NowMs;

    struct Report
    {
        // Other devices whose files were read.
        int Devices = 0;
        // Result steps of all devices replayed onto the origin.
        int Steps = 0;
        // Files still being written by the sync client: taken at the next run.
        int Waiting = 0;
        int ConflictCopies = 0;
        // German notices for the learner (cards changed on two machines).
        QStringList Notices;
    };

    // Runs one sync of `profile`, which must be open (a logged-in profile with
    // its write lock, or write access granted); saves it. Raises a German
    // error naming the file concerned; what was written up to then stays
    // consistent, and the next run completes it.
    Report Run(TQVL_User& profile);

    // The folder of this machine's sync state beside the profile.
    static QString StateFolder(const QString& profileFileName);

private:
    qint64 now() const;
};
