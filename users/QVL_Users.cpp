#include "users/QVL_Users.h"

#include "core/QVL_System.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void TQVL_Users::CheckProfileName(const QString& name)
{
    if (!TQVL_System::IsValidFileName(name) || name.trimmed().isEmpty())
        throw TQVL_Error(QStringLiteral("Die Bezeichnung \"%1\" ist nicht gültig!").arg(name));
}

QString TQVL_Users::CreateProfile(const QString& folder, const QString& name)
{
    CheckProfileName(name);
    const QString fileName = name + QStringLiteral(".qxs");
    bool taken = QFileInfo::exists(folder + QLatin1Char('/') + fileName);
    for (const QString& present : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        taken = taken || present.compare(fileName, Qt::CaseInsensitive) == 0;
    if (taken)
        throw TQVL_Error(
            QStringLiteral("Ein Benutzerprofil mit der Bezeichnung \"%1\" besteht bereits in diesem Verzeichnis!")
                .arg(name));

    QDir().mkpath(folder);
    auto* created = static_cast<TQVL_User*>(CreateAdditionalFile());
    try {
        created->NewFile(folder + QLatin1Char('/') + fileName);
        created->ResetToNewProfile(name);
        created->Save();
        const QString uid = created->Uid;
        CloseAdditionFile(created);
        return uid;
    } catch (...) {
        if (created->IsOpen)
            CloseAdditionFile(created);
        else
            DiscardAdditionalFile(created);
        throw;
    }
}

void TQVL_Users::DeleteProfile(const QString& path)
{
    if (!QFile::remove(path))
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" konnte nicht gelöscht werden!").arg(path));
    // The companion of a deleted profile protects nothing any more.
    QFile::remove(TQVL_FileObject::ChecksumFileName(path));
}
