#include "exchange/QVL_Export.h"

#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"
#include "exchange/QVL_Export_Anki.h"
#include "exchange/QVL_Export_KVTML.h"

#include <QFileInfo>

bool TQVL_Export::CanExport(int kind)
{
    return kind == tVoc || kind == tSound || kind == tLongTermStorage;
}

std::vector<TQVL_Card_Voc_Values> TQVL_Export::Vocabulary(const TQVL_Unit& unit)
{
    if (!CanExport(unit.Typ))
        throw TQVL_Error(QStringLiteral("Eine Lektion der Art \"%1\" kann nicht exportiert werden: die Formate "
                                        "haben nur Platz für Vokabeln.")
                             .arg(TQVL_CardTypes::Caption(unit.Typ)));
    std::vector<TQVL_Card_Voc_Values> cards;
    cards.reserve(std::size_t(unit.Cards->Count()));
    for (int i = 0; i < unit.Cards->Count(); ++i) {
        const TQVL_Card* card = unit.Cards->Card(i);
        if (card->CardType != tVoc && card->CardType != tSound)
            continue;
        TQVL_Card_Voc_Values values = TQVL_Card_Voc_Values::FromCard(static_cast<const TQVL_Card_Voc&>(*card));
        // Sound files stay with the lesson; the formats have no place for them.
        values.foreign_filename.clear();
        values.home_filename.clear();
        cards.push_back(std::move(values));
    }
    return cards;
}

int TQVL_Export::ExportUnit(const TQVL_Unit& unit, const QString& fileName) const
{
    const std::vector<TQVL_Card_Voc_Values> cards = Vocabulary(unit);
    const QFileInfo target(fileName);
    if (target.exists() && !target.isFile())
        throw TQVL_Error(QStringLiteral("In \"%1\" kann nicht exportiert werden: es ist keine gewöhnliche Datei.")
                             .arg(fileName));
    QByteArray bytes;
    switch (Format) {
    case TQVL_Export_Format::CSV:
        bytes = CSV.Write(cards);
        break;
    case TQVL_Export_Format::KVTML: {
        TQVL_Export_KVTML kvtml;
        kvtml.Title = QFileInfo(unit.FileName).completeBaseName();
        kvtml.LangCodeForeign = unit.LangCodeForeign;
        kvtml.LangCodeHome = unit.LangCodeHome;
        kvtml.LangNameForeign = LangNameForeign;
        kvtml.LangNameHome = LangNameHome;
        bytes = kvtml.Write(cards);
        break;
    }
    case TQVL_Export_Format::Anki: {
        TQVL_Export_Anki anki;
        anki.DeckName = QFileInfo(unit.FileName).completeBaseName();
        bytes = anki.Write(cards);
        break;
    }
    }
    TQVL_SafeFile::Write(fileName, bytes);
    return int(cards.size());
}

QString TQVL_Export::FileFilter(TQVL_Export_Format format)
{
    switch (format) {
    case TQVL_Export_Format::CSV:
        return QStringLiteral("CSV-Dateien (*.csv)");
    case TQVL_Export_Format::KVTML:
        return QStringLiteral("KVTML-Dateien (*.kvtml)");
    case TQVL_Export_Format::Anki:
        return QStringLiteral("Lernkarten-Pakete (*.apkg)");
    }
    return {};
}

QString TQVL_Export::Extension(TQVL_Export_Format format)
{
    switch (format) {
    case TQVL_Export_Format::CSV:
        return QStringLiteral("csv");
    case TQVL_Export_Format::KVTML:
        return QStringLiteral("kvtml");
    case TQVL_Export_Format::Anki:
        return QStringLiteral("apkg");
    }
    return {};
}
