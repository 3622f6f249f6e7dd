#include "update/QVL_FileIdentity.h"

#include "core/QVL_Error.h"

#include <QFile>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

TQVL_FileIdentity::TOwner TQVL_FileIdentity::OwnerOf(const QString& folder)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return {};
    return {info.st_uid, info.st_gid};
}

TQVL_FileIdentity::TQVL_FileIdentity(TOwner owner)
{
    if (::geteuid() != 0 || owner.Uid == 0)
        return;
    // The group first, while the thread still has the right to change it;
    // an invalid id (-1) only reads back the current one.
    ::setfsgid(owner.Gid);
    ::setfsuid(owner.Uid);
    switched = true;
    if (::setfsuid(uid_t(-1)) != int(owner.Uid) || ::setfsgid(gid_t(-1)) != int(owner.Gid)) {
        ::setfsuid(0);
        ::setfsgid(0);
        throw TQVL_Error(
            QStringLiteral("Das Update kann nicht mit den Rechten des Besitzers (Benutzer %1) eingespielt werden!")
                .arg(owner.Uid));
    }
}

TQVL_FileIdentity::~TQVL_FileIdentity()
{
    if (!switched)
        return;
    ::setfsuid(0);
    ::setfsgid(0);
}
