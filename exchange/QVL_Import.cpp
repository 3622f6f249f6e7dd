#include "exchange/QVL_Import.h"

#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "core/QVL_System.h"
#include "exchange/QVL_Import_KVTML.h"
#include "exchange/QVL_Import_PlainText.h"
#include "exchange/QVL_Import_Text.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// OnProgress hears of one file as thousandths of its work: the bytes coming
// in take the first tenth (they come far faster than the cards are read from
// them), the reader the rest.
constexpr qint64 progressScale = 1000;
constexpr qint64 readingShare = 100;

} // namespace

TQVL_Import_Source TQVL_Import::ReadFile(const QString& fileName) const
{
    const auto part = [this](qint64 from, qint64 share) -> TQVL_Import_Progress {
        if (!OnProgress)
            return {};
        return [this, from, share](qint64 done, qint64 total) {
            return OnProgress(from + (total > 0 ? share * std::min(done, total) / total : share), progressScale);
        };
    };
    const QByteArray bytes = TQVL_Import_Text::ReadFile(fileName, part(0, readingShare));
    if (bytes.isEmpty())
        throw TQVL_Import_Text::LineError(fileName, 1, QStringLiteral("Die Datei ist leer."));
    const TQVL_Import_Progress reading = part(readingShare, progressScale - readingShare);
    switch (Type) {
    case TQVL_Import_Type::itCSV:
        return CSV.Read(bytes, fileName, reading);
    case TQVL_Import_Type::itPlainText:
        return TQVL_Import_PlainText().Read(bytes, fileName, reading);
    case TQVL_Import_Type::itKVTML: {
        TQVL_Import_KVTML reader;
        reader.LangCodeHome = LangCodeHome;
        reader.LangCodeForeign = LangCodeForeign;
        reader.LanguagesFromSource = LanguagesFromSource;
        reader.Languages = Languages;
        return reader.Read(bytes, fileName, reading);
    }
    }
    throw TQVL_Error(QStringLiteral("import type not registered"));
}

std::vector<TQVL_Import_Language> TQVL_Import::FileLanguages(const QString& fileName) const
{
    if (Type != TQVL_Import_Type::itKVTML)
        return {};
    TQVL_Import_KVTML reader;
    reader.Languages = Languages;
    return reader.FileLanguages(TQVL_Import_Text::ReadFile(fileName, {}), fileName);
}

QString TQVL_Import::ImportFile(const QString& fileName, int* cardCount) const
{
    if (!QFileInfo(OutputFolder).isDir())
        throw TQVL_Error(QStringLiteral("Das Verzeichnis \"%1\" existiert nicht.").arg(OutputFolder));
    TQVL_Import_Source source = ReadFile(fileName);
    if (source.Cards.empty())
        throw TQVL_Import_Text::LineError(fileName, 1, QStringLiteral("Die Datei enthält keine Karten."));
    TQVL_Unit unit;
    unit.Typ = tVoc;
    const bool fromFile = LanguagesFromSource && !source.LangCodeHome.isEmpty() && !source.LangCodeForeign.isEmpty();
    unit.LangCodeHome = fromFile ? source.LangCodeHome : LangCodeHome;
    unit.LangCodeForeign = fromFile ? source.LangCodeForeign : LangCodeForeign;
    // Moved, not copied: the texts of a large file are not needed twice.
    for (TQVL_Card_Voc_Values& values : source.Cards) {
        auto& card = static_cast<TQVL_Card_Voc&>(*unit.Cards->NewCard(tVoc));
        card.foreign1 = std::move(values.foreign1);
        card.foreign2 = std::move(values.foreign2);
        card.foreign3 = std::move(values.foreign3);
        card.home1 = std::move(values.home1);
        card.home2 = std::move(values.home2);
        card.home3 = std::move(values.home3);
        card.note = std::move(values.note);
        card.hint = std::move(values.hint);
    }
    source.Cards.clear();
    QString name = QFileInfo(fileName).completeBaseName();
    if (name.isEmpty() || !TQVL_System::IsValidFileName(name))
        name = QStringLiteral("Import");
    const QString path = TQVL_System::UniqueFileName(OutputFolder, name + QStringLiteral(".qxu"));
    if (cardCount)
        *cardCount = unit.Cards->Count();
    unit.NewFile(path);
    unit.CloseFile();
    return path;
}

QString TQVL_Import::FileFilter(TQVL_Import_Type type)
{
    switch (type) {
    case TQVL_Import_Type::itCSV:
        return QStringLiteral("CSV - Datei (*.csv *.txt);;Alle Dateien (*)");
    case TQVL_Import_Type::itKVTML:
        return QStringLiteral("KVTML - Datei (*.kvtml *.xml);;Alle Dateien (*)");
    case TQVL_Import_Type::itPlainText:
        return QStringLiteral("Lernkarten-Export (*.txt *.tsv);;Alle Dateien (*)");
    }
    return QString();
}
