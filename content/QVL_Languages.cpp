#include "content/QVL_Languages.h"

#include "core/QVL_Error.h"
#include "core/QVL_System.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TQVL_Languages::TQVL_Languages()
    : HomeLanguage(std::make_unique<TQVL_Language>()), Names(std::make_unique<TQVL_LanguagesNames>())
{
    Initialize(std::make_unique<TQVL_Provider_Languages>(), QStringLiteral(".qxl"));
}

TQVL_Languages::~TQVL_Languages()
{
    if (Names->IsOpen)
        Names->CloseFile();
}

QString TQVL_Languages::CreateProfile(const QString& folder, const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || !TQVL_System::IsValidFileName(trimmed))
        throw TQVL_Error(QStringLiteral("Die Bezeichnung \"%1\" ist nicht gültig!").arg(name));
    const QString fileName = trimmed + QStringLiteral(".qxl");
    // Another system may see "englisch.qxl" and "Englisch.qxl" as one file.
    for (const QString& present : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (present.compare(fileName, Qt::CaseInsensitive) == 0)
            throw TQVL_Error(
                QStringLiteral("Ein Sprachprofil mit der Bezeichnung \"%1\" besteht bereits!").arg(trimmed));
    QDir().mkpath(folder);
    TQVL_Language profile;
    profile.Name = trimmed;
    profile.Adjective = trimmed;
    profile.AdjectivePlural = trimmed;
    profile.CharactersShow = true;
    const QString path = folder + QLatin1Char('/') + fileName;
    profile.NewFile(path);
    profile.CloseFile();
    return path;
}

void TQVL_Languages::DeleteProfile(const QString& path)
{
    if (!QFile::remove(path) && QFileInfo::exists(path))
        throw TQVL_Error(QStringLiteral("Das Sprachprofil \"%1\" konnte nicht gelöscht werden!").arg(path));
}
