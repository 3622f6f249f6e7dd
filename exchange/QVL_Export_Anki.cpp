#include "exchange/QVL_Export_Anki.h"

#include "core/QVL_ArchiveLibrary.h"
#include "core/QVL_Error.h"
#include "exchange/QVL_Export_KVTML.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>


#include <atomic>

namespace {

// Field separator of the notes table.
constexpr char16_t fieldSeparator = 0x1f;
constexpr qint64 defaultDeckId = 1;

TQVL_Error packageError(const QString& cause)
{
    return TQVL_Error::WithCause(QStringLiteral("Das Lernkarten-Paket kann nicht erstellt werden."), cause);
}

const TQVL_ArchiveLibrary& zipLibrary()
{
    const TQVL_ArchiveLibrary* library = TQVL_ArchiveLibrary::Get();
    if (!library)
        throw packageError(QStringLiteral("Die Bibliothek libarchive fehlt."));
    return *library;
}

la_ssize_t appendToBytes(archive*, void* bytes, const void* data, size_t size)
{
    static_cast<QByteArray*>(bytes)->append(static_cast<const char*>(data), qsizetype(size));
    return la_ssize_t(size);
}

QByteArray zipped(const std::vector<std::pair<QByteArray, QByteArray>>& files)
{
    const TQVL_ArchiveLibrary& zip = zipLibrary();
    QByteArray bytes;
    archive* writer = zip.archive_write_new();
    const auto fail = [&] {
        const QString cause = QString::fromUtf8(zip.archive_error_string(writer));
        zip.archive_write_free(writer);
        return packageError(cause);
    };
    if (zip.archive_write_set_format_zip(writer) != ARCHIVE_OK ||
        zip.archive_write_open(writer, &bytes, nullptr, appendToBytes, nullptr) != ARCHIVE_OK)
        throw fail();
    for (const auto& [name, content] : files) {
        archive_entry* entry = zip.archive_entry_new();
        zip.archive_entry_set_pathname(entry, name.constData());
        zip.archive_entry_set_size(entry, content.size());
        zip.archive_entry_set_filetype(entry, AE_IFREG);
        zip.archive_entry_set_perm(entry, 0644);
        const bool written = zip.archive_write_header(writer, entry) == ARCHIVE_OK &&
                             zip.archive_write_data(writer, content.constData(), size_t(content.size())) ==
                                 la_ssize_t(content.size());
        zip.archive_entry_free(entry);
        if (!written)
            throw fail();
    }
    if (zip.archive_write_close(writer) != ARCHIVE_OK)
        throw fail();
    zip.archive_write_free(writer);
    return bytes;
}

QString compact(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// The sort field's checksum: the first eight hex digits of its SHA-1 as a number.
qint64 fieldChecksum(const QString& field)
{
    const QByteArray sha = QCryptographicHash::hash(field.toUtf8(), QCryptographicHash::Sha1).toHex();
    return sha.left(8).toLongLong(nullptr, 16);
}

QJsonObject noteType(qint64 id, qint64 deckId, qint64 now)
{
    const auto field = [](const char* name, int ord) {
        return QJsonObject{{"name", QString::fromUtf8(name)}, {"ord", ord}, {"sticky", false}, {"rtl", false},
                           {"font", "Arial"}, {"size", 20}, {"media", QJsonArray()}};
    };
    const auto side = [](const char* name, int ord, const char* question, const char* answer) {
        return QJsonObject{{"name", QString::fromUtf8(name)}, {"ord", ord}, {"qfmt", QString::fromUtf8(question)},
                           {"afmt", QString::fromUtf8(answer)}, {"did", QJsonValue()}, {"bqfmt", ""}, {"bafmt", ""}};
    };
    return QJsonObject{
        {"id", id},
        {"name", "Quorvel (beide Richtungen)"},
        {"type", 0},
        {"mod", now},
        {"usn", -1},
        {"sortf", 0},
        {"did", deckId},
        {"tmpls", QJsonArray{side("Fremdsprache", 0, "{{Vorderseite}}", "{{FrontSide}}<hr id=answer>{{Rückseite}}"),
                             side("Muttersprache", 1, "{{Rückseite}}", "{{FrontSide}}<hr id=answer>{{Vorderseite}}")}},
        {"flds", QJsonArray{field("Vorderseite", 0), field("Rückseite", 1)}},
        {"css", ".card { font-family: sans-serif; font-size: 20px; text-align: center; }"},
        {"latexPre", ""},
        {"latexPost", ""},
        {"tags", QJsonArray()},
        {"vers", QJsonArray()},
        {"req", QJsonArray{QJsonArray{0, "all", QJsonArray{0}}, QJsonArray{1, "all", QJsonArray{1}}}},
    };
}

QJsonObject deck(qint64 id, const QString& name, qint64 now)
{
    return QJsonObject{{"id", id},           {"name", name},           {"mod", now},
                       {"usn", -1},          {"lrnToday", QJsonArray{0, 0}}, {"revToday", QJsonArray{0, 0}},
                       {"newToday", QJsonArray{0, 0}}, {"timeToday", QJsonArray{0, 0}}, {"collapsed", false},
                       {"desc", ""},         {"dyn", 0},               {"conf", 1},
                       {"extendNew", 10},    {"extendRev", 50}};
}

QJsonObject deckOptions()
{
    return QJsonObject{
        {"id", 1},
        {"name", "Default"},
        {"mod", 0},
        {"usn", 0},
        {"maxTaken", 60},
        {"autoplay", true},
        {"timer", 0},
        {"replayq", true},
        {"dyn", false},
        {"new", QJsonObject{{"delays", QJsonArray{1, 10}}, {"ints", QJsonArray{1, 4, 7}}, {"initialFactor", 2500},
                            {"order", 1}, {"perDay", 20}, {"bury", true}}},
        {"lapse", QJsonObject{{"delays", QJsonArray{10}}, {"mult", 0}, {"minInt", 1}, {"leechFails", 8},
                              {"leechAction", 0}}},
        {"rev", QJsonObject{{"perDay", 200}, {"ease4", 1.3}, {"fuzz", 0.05}, {"maxIvl", 36500}, {"bury", true}}},
    };
}

const char* const schema[] = {
    "CREATE TABLE col (id integer primary key, crt integer not null, mod integer not null, scm integer not null, "
    "ver integer not null, dty integer not null, usn integer not null, ls integer not null, conf text not null, "
    "models text not null, decks text not null, dconf text not null, tags text not null)",
    "CREATE TABLE notes (id integer primary key, guid text not null, mid integer not null, mod integer not null, "
    "usn integer not null, tags text not null, flds text not null, sfld integer not null, csum integer not null, "
    "flags integer not null, data text not null)",
    "CREATE TABLE cards (id integer primary key, nid integer not null, did integer not null, ord integer not null, "
    "mod integer not null, usn integer not null, type integer not null, queue integer not null, due integer not null, "
    "ivl integer not null, factor integer not null, reps integer not null, lapses integer not null, left integer not "
    "null, odue integer not null, odid integer not null, flags integer not null, data text not null)",
    "CREATE TABLE revlog (id integer primary key, cid integer not null, usn integer not null, ease integer not null, "
    "ivl integer not null, lastIvl integer not null, factor integer not null, time integer not null, type integer "
    "not null)",
    "CREATE TABLE graves (usn integer not null, oid integer not null, type integer not null)",
    "CREATE INDEX ix_notes_usn on notes (usn)",
    "CREATE INDEX ix_cards_usn on cards (usn)",
    "CREATE INDEX ix_revlog_usn on revlog (usn)",
    "CREATE INDEX ix_cards_nid on cards (nid)",
    "CREATE INDEX ix_cards_sched on cards (did, queue, due)",
    "CREATE INDEX ix_revlog_cid on revlog (cid)",
    "CREATE INDEX ix_notes_csum on notes (csum)",
};

void exec(QSqlQuery& query, const QString& statement)
{
    if (!query.exec(statement))
        throw packageError(query.lastError().text());
}

// One connection per export: Qt's database connections are named and per thread.
QString connectionName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("quorvel-export-%1").arg(next++);
}

} // namespace

QString TQVL_Export_Anki::FieldText(const QString& text)
{
    QString html = text.toHtmlEscaped();
    html.replace(QLatin1String("\n"), QLatin1String("<br>"));
    return html;
}

QByteArray TQVL_Export_Anki::Write(const std::vector<TQVL_Card_Voc_Values>& cards) const
{
    QTemporaryDir folder;
    if (!folder.isValid())
        throw packageError(folder.errorString());
    const QString databaseFile = folder.filePath(QStringLiteral("collection.anki2"));
    const qint64 now = Now ? Now : QDateTime::currentSecsSinceEpoch();
    const qint64 nowMs = now * 1000;
    const qint64 deckId = nowMs;
    const qint64 noteTypeId = nowMs + 1;
    const QString name = connectionName();
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        database.setDatabaseName(databaseFile);
        if (!database.open())
            throw packageError(database.lastError().text());
        QSqlQuery query(database);
        for (const char* statement : schema)
            exec(query, QString::fromLatin1(statement));
        database.transaction();

        query.prepare(QStringLiteral("INSERT INTO col VALUES (1, ?, ?, ?, 11, 0, 0, 0, ?, ?, ?, ?, '{}')"));
        query.addBindValue(now);
        query.addBindValue(nowMs);
        query.addBindValue(nowMs);
        query.addBindValue(compact(QJsonObject{{"nextPos", 1}, {"curDeck", deckId}, {"activeDecks", QJsonArray{deckId}},
                                               {"curModel", QString::number(noteTypeId)}}));
        query.addBindValue(compact(QJsonObject{{QString::number(noteTypeId), noteType(noteTypeId, deckId, now)}}));
        query.addBindValue(compact(QJsonObject{
            {QString::number(defaultDeckId), deck(defaultDeckId, QStringLiteral("Default"), now)},
            {QString::number(deckId), deck(deckId, DeckName.isEmpty() ? QStringLiteral("Quorvel") : DeckName, now)}}));
        query.addBindValue(compact(QJsonObject{{"1", deckOptions()}}));
        if (!query.exec())
            throw packageError(query.lastError().text());

        QSqlQuery note(database);
        note.prepare(QStringLiteral("INSERT INTO notes VALUES (?, ?, ?, ?, -1, '', ?, ?, ?, 0, '')"));
        QSqlQuery card(database);
        card.prepare(QStringLiteral("INSERT INTO cards VALUES (?, ?, ?, ?, ?, -1, 0, 0, ?, 0, 0, 0, 0, 0, 0, 0, 0, '')"));
        for (std::size_t i = 0; i < cards.size(); ++i) {
            const TQVL_Card_Voc_Values& values = cards[i];
            QString back = FieldText(TQVL_Export_KVTML::JoinedMeanings(values.home1, values.home2, values.home3));
            for (const QString* extra : {&values.note, &values.hint})
                if (!extra->isEmpty())
                    back += QStringLiteral("<br><small>") + FieldText(*extra) + QStringLiteral("</small>");
            const QString front =
                FieldText(TQVL_Export_KVTML::JoinedMeanings(values.foreign1, values.foreign2, values.foreign3));
            const qint64 noteId = nowMs + 2 + qint64(i);
            note.addBindValue(noteId);
            note.addBindValue(QUuid::createUuid().toString(QUuid::WithoutBraces).left(10));
            note.addBindValue(noteTypeId);
            note.addBindValue(now);
            note.addBindValue(front + QChar(fieldSeparator) + back);
            note.addBindValue(front);
            note.addBindValue(fieldChecksum(front));
            if (!note.exec())
                throw packageError(note.lastError().text());
            for (int side = 0; side < 2; ++side) {
                card.addBindValue(noteId * 2 + side);
                card.addBindValue(noteId);
                card.addBindValue(deckId);
                card.addBindValue(side);
                card.addBindValue(now);
                card.addBindValue(qint64(i) + 1); // new cards come in lesson order
                if (!card.exec())
                    throw packageError(card.lastError().text());
            }
        }
        if (!database.commit())
            throw packageError(database.lastError().text());
        database.close();
    }
    QSqlDatabase::removeDatabase(name);

    QFile file(databaseFile);
    if (!file.open(QIODevice::ReadOnly))
        throw packageError(file.errorString());
    return zipped({{"collection.anki2", file.readAll()}, {"media", "{}"}});
}
