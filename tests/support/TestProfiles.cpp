#include "tests/support/TestProfiles.h"

#include "users/QVL_User.h"

#include <QDir>
#include <QFileInfo>

QString WriteProfile(const QString& path, const QString& name, const QString& password,
                     const std::function<void(TQVL_User&)>& adjust)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    TQVL_User user;
    user.NewFile(path);
    user.ResetToNewProfile(name);
    user.SetPassword(password);
    if (adjust)
        adjust(user);
    user.Save();
    user.CloseFile();
    return user.Uid;
}
