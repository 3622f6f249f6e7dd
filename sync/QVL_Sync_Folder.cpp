#include "sync/QVL_Sync_Folder.h"

#include "content/QVL_Card_Container.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLStream.h"
#include "query/QVL_Result_Steps.h"
#include "query/QVL_Result_User.h"
#include "query/QVL_ReviewLog.h"
#include "sync/QVL_Sync_Files.h"
#include "sync/QVL_Sync_LessonMerge.h"
#include "sync/QVL_Sync_Results.h"
#include "users/QVL_User.h"
#include "users/QVL_User_Rights.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <map>

namespace {

const QString reviewsName = QStringLiteral("reviews.csv");
const QString stepsName = QStringLiteral("steps.csv");
const QString originName = QStringLiteral("origin.xml");
const QString profileName = QStringLiteral("profile.qxs");
const QString stampName = QStringLiteral("profile.stamp");

QString stemOf(const QString& profileFileName)
{
    const QFileInfo info(profileFileName);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
}

void makeFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        throw TQVL_Error(QStringLiteral("Der Ordner \"%1\" konnte nicht angelegt werden!").arg(folder));
}

QByteArray readIfExists(const QString& fileName)
{
    return QFileInfo::exists(fileName) ? TQVL_FileHandle::ReadWholeFile(fileName) : QByteArray();
}

// Writes only what changed: a sync client uploads every file we touch.
void writeIfChanged(const QString& fileName, const QByteArray& bytes)
{
    if (QFileInfo::exists(fileName) && TQVL_FileHandle::ReadWholeFile(fileName) == bytes)
        return;
    TQVL_SafeFile::Write(fileName, bytes);
}

// What "the settings changed here" is measured by: every part of the profile
// but its results, practice time and last login.
QByteArray settingsHash(const TQVL_User& user)
{
    QByteArray text = user.name.toUtf8() + '\n' + QByteArray::number(user.icon) + '\n' + user.password.toUtf8() +
                      '\n' + user.units_directory.toUtf8() + '\n' + (user.readaloud ? "1" : "0") + '\n';
    for (const TQVL_User_Rights::Entry& entry : TQVL_User_Rights::Table())
        text += (user.Rights().*entry.Flag) ? '1' : '0';
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex();
}

void copySettings(const TQVL_User& from, TQVL_User& to)
{
    to.name = from.name;
    to.icon = from.icon;
    to.password = from.password;
    to.units_directory = from.units_directory;
    to.readaloud = from.readaloud;
    to.Rights() = from.Rights();
}

struct State
{
    qint64 Stamp = 0;
    QByteArray Settings;
    // How many bytes of this device's review log the last run published.
    qint64 Published = -1;
};

State readState(const QString& fileName)
{
    State state;
    for (const QByteArray& line : readIfExists(fileName).split('\n')) {
        if (line.startsWith("stamp="))
            state.Stamp = line.mid(6).toLongLong();
        else if (line.startsWith("settings="))
            state.Settings = line.mid(9);
        else if (line.startsWith("published="))
            state.Published = line.mid(10).toLongLong();
    }
    return state;
}

void writeState(const QString& fileName, const State& state)
{
    QByteArray text = "stamp=" + QByteArray::number(state.Stamp) + "\nsettings=" + state.Settings + '\n';
    if (state.Published >= 0)
        text += "published=" + QByteArray::number(state.Published) + '\n';
    writeIfChanged(fileName, text);
}

// A version of some device's file, read from the shared folder.
struct Copy
{
    QString Device;
    QString FileName;
    QByteArray Bytes;
    qint64 Stamp = 0;
};

std::unique_ptr<TQVL_Unit> unitFromBytes(const QByteArray& bytes, const QString& fileName)
{
    auto unit = std::make_unique<TQVL_Unit>();
    try {
        TQVL_NativeXML xml;
        xml.Parse(bytes);
        unit->FileName = fileName;
        unit->ReadXML(xml.Element());
    } catch (const TQVL_Error&) {
        return nullptr;
    }
    return unit;
}

QByteArray unitBytes(TQVL_Unit& unit)
{
    TQVL_XMLStream stream(unit.CurrentVersion);
    unit.WriteXML(stream);
    return stream.Finish();
}

QByteArray resultsXML(const TQVL_Result_User& results)
{
    TQVL_XMLStream stream(1);
    stream.Begin(QLatin1String("results"));
    results.WriteXML(stream);
    stream.End();
    return stream.Finish();
}

qint64 modifiedMs(const QString& fileName)
{
    return QFileInfo(fileName).lastModified().toMSecsSinceEpoch();
}

qint64 sizeOf(const QString& fileName)
{
    const QFileInfo info(fileName);
    return info.exists() ? info.size() : -1;
}

} // namespace

qint64 TQVL_Sync_Folder::now() const
{
    return NowMs ? NowMs() : QDateTime::currentMSecsSinceEpoch();
}

void TQVL_Sync_Folder::progress(int percent) const
{
    if (OnProgress)
        OnProgress(percent);
}

TQVL_Sync_Folder::Merge::Merge() = default;
TQVL_Sync_Folder::Merge::~Merge() = default;
TQVL_Sync_Folder::Merge::Merge(Merge&&) noexcept = default;
TQVL_Sync_Folder::Merge& TQVL_Sync_Folder::Merge::operator=(Merge&&) noexcept = default;

std::unique_ptr<TQVL_User> TQVL_Sync_Folder::Detach(const TQVL_User& profile)
{
    auto copy = std::make_unique<TQVL_User>();
    copy->FileName = profile.FileName;
    copySettings(profile, *copy);
    TQVL_NativeXML xml;
    xml.Parse(resultsXML(profile.Results()));
    copy->Results().LoadFromXML(xml.Element().NeedChild(QLatin1String("results")));
    return copy;
}

int TQVL_Sync_Folder::WaitingAnswers(const QString& profileFileName, const QString& deviceId)
{
    const QString log = TQVL_ReviewLog::FileName(profileFileName, deviceId);
    const qint64 published = readState(StateFolder(profileFileName) + QStringLiteral("/state")).Published;
    if (sizeOf(log) <= std::max<qint64>(published, 0))
        return 0;
    const QByteArray bytes = TQVL_FileHandle::ReadWholeFile(log);
    if (published > 0 && published <= bytes.size())
        return int(bytes.count('\n') - bytes.left(published).count('\n'));
    // Nothing published yet: every answer below the header waits.
    return std::max(0, int(bytes.count('\n')) - 2);
}

QString TQVL_Sync_Folder::StateFolder(const QString& profileFileName)
{
    return stemOf(profileFileName) + QStringLiteral(".sync");
}

TQVL_Sync_Folder::Report TQVL_Sync_Folder::Run(TQVL_User& profile)
{
    Merge merge = Prepare(profile);
    if (!Apply(profile, merge))
        throw TQVL_Error(QStringLiteral("Assertion failure (QVL_Sync_Folder)"));
    return std::move(merge.Result);
}

TQVL_Sync_Folder::Merge TQVL_Sync_Folder::Prepare(const TQVL_User& profile) const
{
    if (!TQVL_ReviewLog::IsDeviceId(DeviceId))
        throw TQVL_Error(QStringLiteral("Sync needs a device id"));
    Merge merge;
    Report& report = merge.Result;
    const qint64 started = now();
    const QString profileFile = profile.FileName;
    merge.ProfileFile = profileFile;
    merge.SettingsSeen = settingsHash(profile);
    // Before anything is read: a query that stores steps after this makes the merge out of date.
    merge.OwnStepsSeen = sizeOf(TQVL_Result_Steps::FileName(profileFile, DeviceId));
    const QString stem = stemOf(profileFile);
    const QString local = StateFolder(profileFile);
    const QString shared = SharedFolder + QLatin1Char('/') + QFileInfo(profileFile).completeBaseName();
    const QString own = shared + QLatin1Char('/') + DeviceId;
    if (!QFileInfo(SharedFolder).isDir())
        throw TQVL_Error(QStringLiteral("Der Synchronisationsordner \"%1\" ist nicht erreichbar!").arg(SharedFolder));
    makeFolder(local + QStringLiteral("/lessons"));
    makeFolder(own + QStringLiteral("/lessons"));
    progress(0);

    // Read everything the other devices published (and conflict copies anywhere).
    std::vector<Copy> origins;
    std::vector<Copy> profiles;
    std::map<QString, std::vector<Copy>> lessonCopies;
    QStringList& mergedConflicts = merge.ConflictCopies;
    const auto settled = [&](const QString& fileName, QByteArray& bytes) {
        if (TQVL_Sync_Files::ReadSettled(fileName, QuietMs, started, bytes))
            return true;
        if (QFileInfo::exists(fileName))
            ++report.Waiting;
        return false;
    };
    // Answers and steps of a device reach our copy of its file line by line.
    const auto takeLines = [&](const QString& device, const QString& kind, const QByteArray& bytes) {
        const QString target = kind == reviewsName ? TQVL_ReviewLog::FileName(profileFile, device)
                                                   : TQVL_Result_Steps::FileName(profileFile, device);
        const QByteArray mine = readIfExists(target);
        const QByteArray merged = mine.isEmpty() ? bytes.left(bytes.lastIndexOf('\n') + 1)
                                                 : TQVL_Sync_Files::UnionOfLines(mine, bytes, 2);
        if (merged != mine)
            TQVL_SafeFile::Write(target, merged);
    };

    QByteArray bytes;
    const QDir sharedDir(shared);
    const QStringList devices = sharedDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (qsizetype index = 0; index < devices.size(); ++index) {
        const QString& device = devices[index];
        progress(int(40 * index / devices.size()));
        if (!TQVL_ReviewLog::IsDeviceId(device))
            continue;
        const QString folder = shared + QLatin1Char('/') + device;
        const bool isOwn = device == DeviceId;
        if (!isOwn)
            ++report.Devices;
        if (settled(folder + QLatin1Char('/') + originName, bytes))
            origins.push_back({device, folder + QLatin1Char('/') + originName, bytes, 0});
        if (!isOwn) {
            for (const QString& kind : {reviewsName, stepsName}) {
                if (settled(folder + QLatin1Char('/') + kind, bytes))
                    takeLines(device, kind, bytes);
            }
            QByteArray stamp;
            if (settled(folder + QLatin1Char('/') + stampName, stamp) &&
                settled(folder + QLatin1Char('/') + profileName, bytes))
                profiles.push_back({device, folder + QLatin1Char('/') + profileName, bytes, stamp.trimmed().toLongLong()});
            const QString lessons = folder + QStringLiteral("/lessons");
            for (const QString& name : QDir(lessons).entryList({QStringLiteral("*.qxu")}, QDir::Files, QDir::Name)) {
                if (!TQVL_Sync_Files::ConflictOriginal(name).isEmpty())
                    continue;
                const QString file = lessons + QLatin1Char('/') + name;
                if (!settled(file, bytes))
                    continue;
                // When the device last changed the lesson; the copy's own time is when it was published.
                QByteArray changedText;
                const QString stampFile = lessons + QLatin1Char('/') + QFileInfo(name).completeBaseName() +
                                          QStringLiteral(".stamp");
                const qint64 changed = settled(stampFile, changedText) ? changedText.trimmed().toLongLong() : modifiedMs(file);
                lessonCopies[QFileInfo(name).completeBaseName()].push_back({device, file, bytes, changed});
            }
        }
        // Conflict copies: of a log or step file merged by lines, of a lesson
        // taken as one more version; the device republishes everything else.
        for (const QString& sub : {QString(), QStringLiteral("/lessons")}) {
            const QString dir = folder + sub;
            for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
                const QString original = TQVL_Sync_Files::ConflictOriginal(name);
                if (original.isEmpty())
                    continue;
                const QString file = dir + QLatin1Char('/') + name;
                if (!settled(file, bytes))
                    continue;
                if (sub.isEmpty() && (original == reviewsName || original == stepsName))
                    takeLines(device, original, bytes);
                else if (!sub.isEmpty() && original.endsWith(QStringLiteral(".qxu")))
                    lessonCopies[QFileInfo(original).completeBaseName()].push_back({device, file, bytes, modifiedMs(file)});
                mergedConflicts << file;
                ++report.ConflictCopies;
            }
        }
    }

    progress(40);

    // The origin: the earliest one published; the first device makes it.
    const QString localOrigin = local + QLatin1Char('/') + originName;
    TQVL_Result_User origin;
    TQVL_DateTime taken;
    const Copy* earliest = nullptr;
    TQVL_DateTime earliestTaken;
    for (const Copy& copy : origins) {
        TQVL_Result_User scratch;
        const TQVL_DateTime when = TQVL_Sync_Results::ReadOrigin(copy.Bytes, copy.FileName, scratch);
        if (!earliest || when.Serial() < earliestTaken.Serial() ||
            (when.Serial() == earliestTaken.Serial() && copy.Device < earliest->Device)) {
            earliest = &copy;
            earliestTaken = when;
        }
    }
    const QByteArray localOriginBytes = readIfExists(localOrigin);
    if (earliest) {
        if (earliest->Bytes != localOriginBytes) {
            // Joining: this machine's results before it are kept aside.
            if (profile.Results().UnitCount() > 0)
                writeIfChanged(stem + QStringLiteral(".vor-sync.qxs"), readIfExists(profileFile));
            TQVL_SafeFile::Write(localOrigin, earliest->Bytes);
        }
        taken = TQVL_Sync_Results::ReadOrigin(earliest->Bytes, earliest->FileName, origin);
    } else if (!localOriginBytes.isEmpty()) {
        // Ours, not visible in the shared folder yet (or removed there): published again.
        taken = TQVL_Sync_Results::ReadOrigin(localOriginBytes, localOrigin, origin);
        TQVL_SafeFile::Write(own + QLatin1Char('/') + originName, localOriginBytes);
    } else {
        taken = TQVL_DateTime::FromDateTime(QDateTime::fromMSecsSinceEpoch(started));
        const QByteArray made = TQVL_Sync_Results::OriginBytes(profile.Results(), taken);
        TQVL_SafeFile::Write(own + QLatin1Char('/') + originName, made);
        TQVL_SafeFile::Write(localOrigin, made);
        TQVL_Sync_Results::ReadOrigin(made, localOrigin, origin);
    }

    // Results: the origin and every device's steps after it.
    std::vector<TQVL_Result_Step> steps;
    for (const QString& file : TQVL_Result_Steps::FilesOf(profileFile)) {
        TQVL_Result_Steps::Contents contents = TQVL_Result_Steps::Read(file);
        steps.insert(steps.end(), std::make_move_iterator(contents.Steps.begin()),
                     std::make_move_iterator(contents.Steps.end()));
    }
    report.Steps = TQVL_Sync_Results::Replay(origin, taken, std::move(steps));
    merge.Results = resultsXML(origin);
    progress(60);

    // Settings: the latest change wins as a whole.
    const QString stateFile = local + QStringLiteral("/state");
    State state = readState(stateFile);
    const QByteArray hash = settingsHash(profile);
    if (state.Settings != hash)
        state.Stamp = state.Settings.isEmpty() && !profiles.empty() ? 0 : started;
    state.Settings = hash;
    const Copy* latest = nullptr;
    for (const Copy& copy : profiles) {
        if (copy.Stamp > state.Stamp && (!latest || copy.Stamp > latest->Stamp ||
                                         (copy.Stamp == latest->Stamp && copy.Device > latest->Device)))
            latest = &copy;
    }
    if (latest) {
        auto other = std::make_unique<TQVL_User>();
        try {
            TQVL_NativeXML xml;
            xml.Parse(latest->Bytes);
            other->ReadXML(xml.Element());
        } catch (const TQVL_Error& error) {
            throw TQVL_Error::WithCause(
                QStringLiteral("Die Datei \"%1\" ist kein gültiges Benutzerprofil!").arg(latest->FileName),
                error.Message());
        }
        state.Stamp = latest->Stamp;
        state.Settings = settingsHash(*other);
        merge.Settings = std::move(other);
    }
    merge.SettingsStamp = state.Stamp;
    merge.SettingsHash = state.Settings;

    // Lessons, by card id against the version of the last merge.
    for (qsizetype index = 0; index < Lessons.size(); ++index) {
        const QString& lessonFile = Lessons[index];
        progress(60 + int(40 * index / Lessons.size()));
        TQVL_Unit unit;
        // A lesson that cannot be read here is not merged; the others are.
        try {
            unit.Open(lessonFile);
        } catch (const TQVL_Error& error) {
            report.Notices << QStringLiteral("Die Lektion \"%1\" wird nicht abgeglichen: %2")
                                  .arg(QFileInfo(lessonFile).completeBaseName(), error.Message());
            continue;
        }
        // Closed whatever happens: the run may be on a worker thread, where a forgotten file must not be reported.
        const struct Closer
        {
            TQVL_Unit& Unit;
            ~Closer()
            {
                try {
                    if (Unit.IsOpen)
                        Unit.CloseFile();
                } catch (...) {
                }
            }
        } closer{unit};
        const QString base = local + QStringLiteral("/lessons/") + unit.Uid + QStringLiteral(".qxu");
        std::unique_ptr<TQVL_Unit> baseUnit = unitFromBytes(readIfExists(base), base);
        const qint64 mineStamp = modifiedMs(lessonFile);
        bool changed = false;
        for (const Copy& copy : lessonCopies[unit.Uid]) {
            std::unique_ptr<TQVL_Unit> theirs = unitFromBytes(copy.Bytes, copy.FileName);
            if (!theirs)
                continue;
            TQVL_Sync_LessonMerge::Result merged = TQVL_Sync_LessonMerge::Merge(
                baseUnit ? baseUnit->Cards.get() : nullptr, *unit.Cards, *theirs->Cards, copy.Stamp > mineStamp);
            if (!merged.ChangedOnBoth.isEmpty())
                report.Notices << TQVL_Sync_LessonMerge::Notice(QFileInfo(lessonFile).completeBaseName(),
                                                                merged.ChangedOnBoth);
            if (merged.ChangesMine) {
                unit.Cards = std::move(merged.Cards);
                changed = true;
            }
        }
        if (changed) {
            // Being edited (here or in another program instance): merged at a later run, from the same files.
            if (!unit.RequestWriteAccess()) {
                report.Notices << QStringLiteral("Die Lektion \"%1\" wird gerade bearbeitet; sie wird bei der "
                                                 "nächsten Synchronisation abgeglichen.")
                                      .arg(QFileInfo(lessonFile).completeBaseName());
                report.Notices.removeDuplicates();
                unit.CloseFile();
                continue;
            }
            unit.Save();
            unit.ReleaseWriteAccess();
            report.ChangedLessons << lessonFile;
        }
        const QByteArray now = unitBytes(unit);
        writeIfChanged(base, now);
        writeIfChanged(own + QStringLiteral("/lessons/") + unit.Uid + QStringLiteral(".qxu"), readIfExists(lessonFile));
        writeIfChanged(own + QStringLiteral("/lessons/") + unit.Uid + QStringLiteral(".stamp"),
                       QByteArray::number(changed ? modifiedMs(lessonFile) : mineStamp) + '\n');
        unit.CloseFile();
    }

    progress(100);
    return merge;
}

bool TQVL_Sync_Folder::Apply(TQVL_User& profile, Merge& merge) const
{
    const QString profileFile = profile.FileName;
    if (profileFile != merge.ProfileFile || settingsHash(profile) != merge.SettingsSeen ||
        sizeOf(TQVL_Result_Steps::FileName(profileFile, DeviceId)) != merge.OwnStepsSeen)
        return false;
    const QString local = StateFolder(profileFile);
    const QString own = SharedFolder + QLatin1Char('/') + QFileInfo(profileFile).completeBaseName() +
                        QLatin1Char('/') + DeviceId;
    {
        TQVL_NativeXML xml;
        xml.Parse(merge.Results);
        const QString logProfile = profile.Results().ReviewLogProfile;
        const TQVL_DateTime deleted = profile.Results().lastdeletion_date;
        profile.Results().LoadFromXML(xml.Element().NeedChild(QLatin1String("results")));
        profile.Results().ReviewLogProfile = logProfile;
        profile.Results().lastdeletion_date = deleted;
    }
    if (merge.Settings)
        copySettings(*merge.Settings, profile);
    State state;
    state.Stamp = merge.SettingsStamp;
    state.Settings = merge.SettingsHash;
    const QString stateFile = local + QStringLiteral("/state");
    profile.Save();

    // Publish this device's files.
    const QByteArray ownLog = readIfExists(TQVL_ReviewLog::FileName(profileFile, DeviceId));
    if (!ownLog.isEmpty())
        writeIfChanged(own + QLatin1Char('/') + reviewsName, ownLog);
    state.Published = ownLog.size();
    const QByteArray ownSteps = readIfExists(TQVL_Result_Steps::FileName(profileFile, DeviceId));
    if (!ownSteps.isEmpty())
        writeIfChanged(own + QLatin1Char('/') + stepsName, ownSteps);
    writeIfChanged(own + QLatin1Char('/') + profileName, readIfExists(profileFile));
    writeIfChanged(own + QLatin1Char('/') + stampName, QByteArray::number(state.Stamp) + '\n');
    writeState(stateFile, state);

    // Merged into our own files: the conflict copies are no one's any more.
    for (const QString& file : merge.ConflictCopies)
        QFile::remove(file);
    return true;
}
