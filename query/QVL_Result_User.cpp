#include "query/QVL_Result_User.h"

#include "core/QVL_XMLStream.h"
#include "core/QVL_XMLTag.h"

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

void TQVL_Result_User::LoadFromXML(const TQVL_XMLTag& tag)
{
    TQVL_DateTime deletionDate;
    if (const TQVL_XMLTag* date = tag.FindChild(QStringLiteral("lastdeletion_date")))
        deletionDate = date->AsDateTime();
    std::vector<std::unique_ptr<TQVL_Result_Unit>> loaded;
    if (const TQVL_XMLTag* unitList = tag.FindChild(QStringLiteral("units"))) {
        loaded.reserve(std::size_t(unitList->ChildCount()));
        for (int i = 0; i < unitList->ChildCount(); ++i)
            loaded.push_back(TQVL_Result_Unit::FromXML(*unitList->Child(i)));
    }
    lastdeletion_date = deletionDate;
    units = std::move(loaded);
}

void TQVL_Result_User::WriteXML(TQVL_XMLStream& stream) const
{
    TQVL_XMLTag date(QStringLiteral("lastdeletion_date"));
    date.SetDateTime(lastdeletion_date);
    stream.Tree(date);
    stream.Begin(QStringLiteral("units"));
    for (const auto& unit : units) {
        TQVL_XMLTag element(QStringLiteral("unit"));
        unit->SaveToXML(element);
        stream.Tree(element);
    }
    stream.End();
}

void TQVL_Result_User::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddChild(QStringLiteral("lastdeletion_date"))->SetDateTime(lastdeletion_date);
    TQVL_XMLTag* unitList = tag.AddChild(QStringLiteral("units"));
    for (const auto& unit : units)
        unit->SaveToXML(*unitList->AddChild(QStringLiteral("unit")));
}
