#include "content/QVL_Unit_New.h"

#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "core/QVL_System.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString extension = QStringLiteral(".qxu");

} // namespace

QString TQVL_Unit_New::CheckedName(const QString& name)
{
    QString cleaned = name.trimmed();
    if (cleaned.endsWith(extension, Qt::CaseInsensitive))
        cleaned = cleaned.chopped(extension.size()).trimmed();
    if (cleaned.isEmpty())
        throw TQVL_Error(QStringLiteral("Bitte geben Sie eine Bezeichnung für die Lektion ein."));
    if (!TQVL_System::IsValidFileName(cleaned))
        throw TQVL_Error(QStringLiteral("Die Bezeichnung \"%1\" kann nicht als Dateiname verwendet werden. "
                                        "Die Zeichen \\ / : * ? \" < > | sind nicht erlaubt.")
                             .arg(cleaned));
    return cleaned;
}

QString TQVL_Unit_New::FilePath(const QString& folder) const
{
    return folder + QLatin1Char('/') + CheckedName(Name) + extension;
}

void TQVL_Unit_New::Validate(const QString& folder) const
{
    const QString path = FilePath(folder);
    if (QFileInfo::exists(path))
        throw TQVL_Error(QStringLiteral("Eine Lektion mit der Bezeichnung \"%1\" besteht bereits. Bitte wählen Sie "
                                        "eine andere Bezeichnung.")
                             .arg(CheckedName(Name)));
    if (Typ != tVoc && Typ != tGrammar && Typ != tPic && Typ != tSound)
        throw TQVL_Error(QStringLiteral("unit kind cannot be created"));
    if (LangCodeHome.isEmpty() || LangCodeForeign.isEmpty())
        throw TQVL_Error(QStringLiteral("Bitte wählen Sie die Muttersprache und die Fremdsprache der Lektion."));
    if (Typ == tGrammar && ArrangementId.isEmpty())
        throw TQVL_Error(QStringLiteral("Bitte wählen Sie eine Vorlage für die Grammatik-Karten."));
    if (!QFileInfo(folder).isDir())
        throw TQVL_Error(QStringLiteral("Das Verzeichnis \"%1\" existiert nicht.").arg(folder));
}

QString TQVL_Unit_New::Create(const QString& folder) const
{
    Validate(folder);
    const QString path = FilePath(folder);
    TQVL_Unit unit;
    unit.Typ = Typ;
    unit.LangCodeHome = LangCodeHome;
    unit.LangCodeForeign = LangCodeForeign;
    if (Typ == tGrammar)
        unit.ArrangementId = ArrangementId;
    QString pictureFolder;
    if (Typ == tPic && OwnPictureFolder) {
        // An existing folder of that name may belong to another unit: take the next free name.
        pictureFolder = TQVL_System::UniqueFileName(folder, CheckedName(Name) + QStringLiteral(" Bilder"));
        if (!QDir().mkpath(pictureFolder))
            throw TQVL_Error(QStringLiteral("Verzeichnis \"%1\" kann nicht erstellt werden.").arg(pictureFolder));
        // Stored relative to the unit file, so the unit can move with its pictures.
        unit.ExternalFilesDir = QFileInfo(pictureFolder).fileName();
    }
    try {
        unit.NewFile(path);
    } catch (...) {
        if (!pictureFolder.isEmpty())
            QDir().rmdir(pictureFolder);
        throw;
    }
    unit.CloseFile();
    return path;
}
