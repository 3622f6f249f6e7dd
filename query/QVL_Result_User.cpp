#include "query/QVL_Result_User.h"

#include "core/QVL_Error.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLTagWriter.h"
#include "query/QVL_FSRS.h"
#include "query/QVL_FSRS_Replay.h"
#include "query/QVL_ReviewLog.h"

#include <QDataStream>
#include <QFile>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

struct TQVL_Result_User::LogCache
{
    QByteArray Stamp;
    TQVL_ReviewLog::Contents Log;
};

namespace {

// Every log file's name, inode, size and modification time: an appended
// answer changes the size, a replaced file the inode.
QByteArray stampOfLogs(const QString& profileFileName)
{
    QByteArray stamp;
    QDataStream out(&stamp, QIODevice::WriteOnly);
    for (const QString& file : TQVL_ReviewLog::FilesOf(profileFileName)) {
        struct stat info
        {
        };
        if (::stat(QFile::encodeName(file).constData(), &info) == 0)
            out << file << quint64(info.st_ino) << qint64(info.st_size) << qint64(info.st_mtim.tv_sec)
                << qint64(info.st_mtim.tv_nsec);
    }
    return stamp;
}

} // namespace

TQVL_Result_User::TQVL_Result_User() = default;

TQVL_Result_User::~TQVL_Result_User() = default;

TQVL_Result_Unit* TQVL_Result_User::FindUnit(const QString& uid) const
{
    for (auto it = units.rbegin(); it != units.rend(); ++it)
        if ((*it)->unit_uid == uid)
            return it->get();
    return nullptr;
}

TQVL_Result_Unit& TQVL_Result_User::GetOrCreateUnit(const QString& uid, const QString& fileName)
{
    if (TQVL_Result_Unit* unit = FindUnit(uid))
        return *unit;
    units.push_back(std::make_unique<TQVL_Result_Unit>(uid));
    units.back()->unit_lastknownfilename = fileName;
    units.back()->Owner = this;
    return *units.back();
}

void TQVL_Result_User::Clear()
{
    units.clear();
}

qint64 TQVL_Result_User::DurationOnDay(TQVL_DateTime date) const
{
    qint64 seconds = 0;
    for (const auto& unit : units)
        seconds += unit->DurationOnDay(date);
    return seconds;
}

bool TQVL_Result_User::CountDueInStorages(int& count) const
{
    const TQVL_DateTime now = TQVL_DateTime::Now();
    count = 0;
    bool any = false;
    for (const auto& unit : units)
        if (unit->longtermstorage && unit->CountDue(now, count))
            any = true;
    return any;
}

void TQVL_Result_User::LoadFromXML(const TQVL_XMLElement& element)
{
    TQVL_DateTime deletionDate;
    if (const TQVL_XMLElement date = element.FindChild("lastdeletion_date"_L1))
        deletionDate = date.AsDateTime();
    std::vector<std::unique_ptr<TQVL_Result_Unit>> loaded;
    if (const TQVL_XMLElement unitList = element.FindChild("units"_L1)) {
        loaded.reserve(std::size_t(unitList.ChildCount()));
        for (const TQVL_XMLElement unit : unitList.Children())
            loaded.push_back(TQVL_Result_Unit::FromXML(unit));
    }
    lastdeletion_date = deletionDate;
    units = std::move(loaded);
    for (const auto& unit : units)
        unit->Owner = this;
}

void TQVL_Result_User::WriteXML(TQVL_XMLWriter& writer) const
{
    writer.DateTime("lastdeletion_date"_L1, lastdeletion_date);
    writer.Begin("units"_L1);
    for (const auto& unit : units) {
        writer.Begin("unit"_L1);
        unit->WriteXML(writer);
        writer.End();
    }
    writer.End();
}

void TQVL_Result_User::SaveToXML(TQVL_XMLTag& tag) const
{
    TQVL_XMLTagWriter writer(tag);
    WriteXML(writer);
}

std::unique_ptr<TQVL_FSRS_Replay> TQVL_Result_User::ReplayFSRS(const TQVL_Result_Unit& unit) const
{
    if (ReviewLogProfile.isEmpty())
        return nullptr;
    const QByteArray stamp = stampOfLogs(ReviewLogProfile) + ReviewLogProfile.toUtf8();
    if (!logCache || logCache->Stamp != stamp) {
        logCache.reset();
        try {
            logCache = std::make_unique<LogCache>(LogCache{stamp, TQVL_ReviewLog::ReadProfile(ReviewLogProfile)});
        } catch (const TQVL_Error&) {
            return nullptr;
        }
    }
    const TQVL_ReviewLog::Contents& log = logCache->Log;
    auto replay = std::make_unique<TQVL_FSRS_Replay>(TQVL_FSRS(unit.FSRSParameters()));
    replay->Replay(log.Entries, unit.unit_uid);
    return replay;
}
