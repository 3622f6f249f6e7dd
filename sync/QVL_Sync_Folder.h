#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TQVL_User;

// Folder mode: a folder that a sync client keeps in step between machines.
// Each device writes only below "<shared>/<profile>/<device id>/" (its review
// log, its result steps, its profile and lesson copies, and, on the first
// device, the origin of the results); everything else there is read, and only
// once it has settled. A run publishes this device's files, takes in the
// other devices' ones, merges results, lessons and profile settings and saves
// them. Every file is written by safe save and the merge is a function of
// files that only grow, so a run killed at any moment is completed by the next.
// A run is Prepare (all reading, merging and the lessons, away from the
// profile object, so it may run on a worker thread) and Apply (the profile).
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
    // How far Prepare has got, 0..100; called on the thread that runs it.
    std::function<void(int percent)> OnProgress;

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
        // Lessons of this machine the merge changed (full file names).
        QStringList ChangedLessons;
    };

    // What Prepare computed for one profile, waiting to be applied.
    struct Merge
    {
        Merge();
        ~Merge();
        Merge(Merge&&) noexcept;
        Merge& operator=(Merge&&) noexcept;

        Report Result;
        QString ProfileFile;
        // The settings and this device's step file as Prepare saw them: when
        // either changed since, the merge is out of date.
        QByteArray SettingsSeen;
        qint64 OwnStepsSeen = -1;
        QByteArray Results;
        // The settings of another device that win; null when ours stay.
        std::unique_ptr<TQVL_User> Settings;
        qint64 SettingsStamp = 0;
        QByteArray SettingsHash;
        QStringList ConflictCopies;
    };

    // Reads, merges and writes everything but the profile; reads nothing but
    // the file name, settings and results of `profile` (a copy will do, see
    // Detach). Raises a German error naming the file concerned.
    Merge Prepare(const TQVL_User& profile) const;
    // Puts a prepared merge into `profile` (open, with write access), saves
    // it and publishes this device's files. Returns false, changing nothing,
    // when the merge is out of date (another profile, settings changed, or a
    // query stored steps since Prepare): then Prepare again.
    bool Apply(TQVL_User& profile, Merge& merge) const;
    // A copy of what Prepare reads of `profile`, for another thread.
    static std::unique_ptr<TQVL_User> Detach(const TQVL_User& profile);

    // Answers in this device's review log that were not yet published to the
    // shared folder (counted from what the last run published; works offline).
    static int WaitingAnswers(const QString& profileFileName, const QString& deviceId);

    // Runs one sync of `profile`, which must be open (a logged-in profile with
    // its write lock, or write access granted); saves it. Raises a German
    // error naming the file concerned; what was written up to then stays
    // consistent, and the next run completes it.
    Report Run(TQVL_User& profile);

    // The folder of this machine's sync state beside the profile.
    static QString StateFolder(const QString& profileFileName);

private:
    qint64 now() const;
    void progress(int percent) const;
};
