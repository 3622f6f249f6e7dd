#include "users/QVL_StorageSettings.h"

#include "core/QVL_Error.h"
#include "core/QVL_Math.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "users/QVL_User.h"

namespace {

// The profile stores whole percent; comparing those avoids 0.97 failing by a rounding error.
qint64 percent(double value)
{
    return RoundHalfEven(value * 100.0);
}

} // namespace

TQVL_StorageSettings TQVL_StorageSettings::Of(const TQVL_User& user, const QString& uid)
{
    TQVL_StorageSettings settings;
    if (const TQVL_Result_Unit* record = user.Results().FindUnit(uid)) {
        settings.Method = record->learnmethod;
        settings.Retention = record->desiredretention;
        settings.Weights = record->fsrsparameters;
        settings.PausedFrom = record->pausedfrom;
        settings.PausedUntil = record->pauseduntil;
    }
    return settings;
}

void TQVL_StorageSettings::Check() const
{
    if (!(Retention == Retention) || percent(Retention) < percent(QVL_MinRetention) ||
        percent(Retention) > percent(QVL_MaxRetention))
        throw TQVL_Error(QStringLiteral("Die gewünschte Behaltensquote muss zwischen 0,70 und 0,97 liegen!"));
    if (!PausedUntil.IsEmpty() && !PausedFrom.IsEmpty() && PausedUntil.Serial() <= PausedFrom.Serial())
        throw TQVL_Error(QStringLiteral("Die Pause muss nach ihrem Beginn enden!"));
}

void TQVL_StorageSettings::Apply(TQVL_User& user, const QString& uid, const QString& fileName) const
{
    Check();
    if (user.IsReadOnlySession() || !user.RequestWriteAccess())
        throw TQVL_Error(QStringLiteral("Das Benutzerprofil \"%1\" ist schreibgeschützt. Die Einstellungen des "
                                        "Langzeitspeichers können nicht gespeichert werden.")
                             .arg(user.FileName));
    TQVL_Result_Unit& record = user.Results().GetOrCreateUnit(uid, fileName);
    const TQVL_LearnMethod oldMethod = record.learnmethod;
    const double oldRetention = record.desiredretention;
    const std::optional<std::array<double, 21>> oldWeights = record.fsrsparameters;
    const bool oldMark = record.longtermstorage;
    const TQVL_DateTime oldFrom = record.pausedfrom;
    const TQVL_DateTime oldUntil = record.pauseduntil;
    record.learnmethod = Method;
    record.desiredretention = double(percent(Retention)) / 100.0;
    record.fsrsparameters = Weights;
    record.longtermstorage = true;
    record.pausedfrom = PausedUntil.IsEmpty() ? TQVL_DateTime() : PausedFrom;
    record.pauseduntil = PausedUntil;
    try {
        user.Save();
    } catch (...) {
        record.learnmethod = oldMethod;
        record.desiredretention = oldRetention;
        record.fsrsparameters = oldWeights;
        record.longtermstorage = oldMark;
        record.pausedfrom = oldFrom;
        record.pauseduntil = oldUntil;
        user.ReleaseWriteAccess();
        throw;
    }
    user.ReleaseWriteAccess();
}
