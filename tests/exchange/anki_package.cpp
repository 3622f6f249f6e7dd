// Writes a package of awkward cards for the check by a reader we did not
// write (anki_reader.mjs), and what that reader must find in it as JSON.
#include "exchange/QVL_Export_Anki.h"
#include "exchange/QVL_Export_KVTML.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: anki_package <package.apkg> <expected.json>\n");
        return 2;
    }
    const auto card = [](const char* foreign, const char* home, const char* note = "", const char* foreign2 = "") {
        TQVL_Card_Voc_Values values;
        values.foreign1 = QString::fromUtf8(foreign);
        values.foreign2 = QString::fromUtf8(foreign2);
        values.home1 = QString::fromUtf8(home);
        values.note = QString::fromUtf8(note);
        return values;
    };
    const std::vector<TQVL_Card_Voc_Values> cards = {
        card("house", "Haus", "Gebäude", "home"), card("<b>bold</b> & co", "a < b > c"),
        card("two\nlines", "zwei\nZeilen"),       card("дом", "Haus", "кириллица"),
        card("σπίτι", "Haus"),                    card("Straße", "ÄÖÜ äöü ß"),
    };
    TQVL_Export_Anki writer;
    writer.DeckName = QStringLiteral("Englisch - Grundwortschatz");
    try {
        QFile package(QString::fromLocal8Bit(argv[1]));
        if (!package.open(QIODevice::WriteOnly) || package.write(writer.Write(cards)) < 0)
            return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    QJsonArray expected;
    for (const TQVL_Card_Voc_Values& values : cards) {
        QString back = TQVL_Export_Anki::FieldText(TQVL_Export_KVTML::JoinedMeanings(values.home1, values.home2, values.home3));
        if (!values.note.isEmpty())
            back += QStringLiteral("<br><small>") + TQVL_Export_Anki::FieldText(values.note) + QStringLiteral("</small>");
        expected.append(QJsonObject{
            {"front", TQVL_Export_Anki::FieldText(
                          TQVL_Export_KVTML::JoinedMeanings(values.foreign1, values.foreign2, values.foreign3))},
            {"back", back}});
    }
    QFile json(QString::fromLocal8Bit(argv[2]));
    if (!json.open(QIODevice::WriteOnly))
        return 1;
    json.write(QJsonDocument(QJsonObject{{"deck", writer.DeckName}, {"notes", expected}}).toJson());
    return 0;
}
