#pragma once

#include "core/QVL_DateTime.h"

#include <QString>
#include <QStringList>

#include <vector>

class TQVL;

// What `quorvel --due` tells a login script: for every user profile without a
// password, how many cards of each of its long-term storages are due. Counts
// the same result records as the main window's "… Vokabeln abzufragen".
class TQVL_DueReport
{
public:
    struct Storage {
        QString Name;
        int Due = 0;
    };
    struct Profile {
        QString UserName;
        std::vector<Storage> Storages;
    };

    // Opens the program options of `core` (read-only) and every profile of
    // the users folder. A profile that cannot be read is named in Errors and
    // the others are still counted. Raises an error when the options are missing.
    void Collect(TQVL& core, TQVL_DateTime now);

    // One German line per storage; a profile without storages gets one line saying so.
    QStringList Lines() const;

    std::vector<Profile> Profiles;
    QStringList Errors;
};
