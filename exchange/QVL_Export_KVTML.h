#pragma once

#include "content/QVL_Card_Voc_Values.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Writes vocabulary cards as a KVTML 2.0 document as KDE's vocabulary programs
// read it: two identifiers (the foreign language first), one entry per card
// with a translation per language, all entries in one lesson. Several meanings
// of a side share its text, separated by "; " as a learner types them; the
// note is the foreign side's comment and the hint its paraphrase.
class TQVL_Export_KVTML
{
public:
    QString Title;
    // Program language codes ("eng", "ger") and the names the learner knows.
    QString LangCodeForeign, LangNameForeign;
    QString LangCodeHome, LangNameHome;

    QByteArray Write(const std::vector<TQVL_Card_Voc_Values>& cards) const;

    // The meanings of one side as one text, and back.
    static QString JoinedMeanings(const QString& first, const QString& second, const QString& third);
    static void SplitMeanings(const QString& text, QString& first, QString& second, QString& third);
};
