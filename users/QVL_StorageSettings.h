#pragma once

#include "core/QVL_DateTime.h"
#include "query/QVL_LearnMethod.h"

#include <QString>

#include <array>
#include <optional>

class TQVL_User;

// The learner's settings of one long-term storage ("Lernverfahren",
// "gewünschte Behaltensquote", the fitted FSRS weights), kept in his profile's record of the storage.
// The settings screen copies them to and from its controls.
struct TQVL_StorageSettings
{
    TQVL_LearnMethod Method = TQVL_LearnMethod::Stages;
    // 0.70 to 0.97, in whole percent.
    double Retention = QVL_DefaultRetention;
    // The FSRS weights fitted to the learner's answers; none for the defaults.
    std::optional<std::array<double, 21>> Weights;
    // "Langzeitspeicher pausieren bis …": the first paused day and the day it
    // is back; both empty without a pause.
    TQVL_DateTime PausedFrom;
    TQVL_DateTime PausedUntil;

    // What the profile of `user` holds for the storage `uid`; the defaults when it has no record.
    static TQVL_StorageSettings Of(const TQVL_User& user, const QString& uid);
    // Raises the German message when the retention is outside 0.70 to 0.97
    // or a pause does not end after it begins.
    void Check() const;
    // Checks, writes the settings into the record of the storage `uid`
    // (`fileName` names a new record's storage) and saves the profile. When
    // the profile cannot be written the record keeps what it held and the
    // error is raised; a read-only session writes nothing.
    void Apply(TQVL_User& user, const QString& uid, const QString& fileName) const;

    friend bool operator==(const TQVL_StorageSettings&, const TQVL_StorageSettings&) = default;
};
