#include "content/QVL_Unit_Data.h"

#include "content/QVL_Unit.h"
#include "content/QVL_Unit_New.h"
#include "core/QVL_Error.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Moves the unit's file to `target` and opens it there: the unit is closed
// and opened again, so whoever follows the unit sees it under its new name.
// On failure the unit is open under its old name again.
void renameFile(TQVL_Unit& unit, const QString& target)
{
    const QString source = unit.FileName;
    unit.CloseFile();
    // QFile::rename never replaces an existing file.
    if (!QFile::rename(source, target)) {
        unit.Open(source);
        throw TQVL_Error(QStringLiteral("Datei \"%1\" kann nicht in \"%2\" umbenannt werden.").arg(source, target));
    }
    unit.Open(target);
}

} // namespace

TQVL_Unit_Data TQVL_Unit_Data::FromUnit(const TQVL_Unit& unit)
{
    TQVL_Unit_Data data;
    data.Name = QFileInfo(unit.FileName).completeBaseName();
    data.LangCodeHome = unit.LangCodeHome;
    data.LangCodeForeign = unit.LangCodeForeign;
    return data;
}

bool TQVL_Unit_Data::ApplyTo(TQVL_Unit& unit) const
{
    if (!unit.IsOpen)
        throw TQVL_Error(QStringLiteral("Keine Datei geöffnet!"));
    const QString name = TQVL_Unit_New::CheckedName(Name);
    if (LangCodeHome.isEmpty() || LangCodeForeign.isEmpty())
        throw TQVL_Error(QStringLiteral("Bitte wählen Sie die Muttersprache und die Fremdsprache der Lektion."));
    const QFileInfo file(unit.FileName);
    const QString target = file.absolutePath() + QLatin1Char('/') + name + QLatin1Char('.') + file.suffix();
    const bool renaming = name != file.completeBaseName();
    if (renaming && QFileInfo::exists(target))
        throw TQVL_Error(QStringLiteral("Eine Lektion mit der Bezeichnung \"%1\" besteht bereits. Bitte wählen Sie "
                                        "eine andere Bezeichnung.")
                             .arg(name));
    // A rename opens the file again: what is in memory must be in the file first.
    if (renaming || LangCodeHome != unit.LangCodeHome || LangCodeForeign != unit.LangCodeForeign) {
        const QString home = unit.LangCodeHome, foreign = unit.LangCodeForeign;
        unit.LangCodeHome = LangCodeHome;
        unit.LangCodeForeign = LangCodeForeign;
        try {
            unit.Save();
        } catch (...) {
            unit.LangCodeHome = home;
            unit.LangCodeForeign = foreign;
            throw;
        }
    }
    if (renaming)
        renameFile(unit, target);
    return renaming;
}
