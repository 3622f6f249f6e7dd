#pragma once

#include "content/QVL_Card_Voc_Values.h"
#include "core/QVL_Error.h"
#include "exchange/QVL_Import_Languages.h"

#include <QString>

#include <functional>
#include <vector>

// What a reader found in one foreign file: the cards in file order and, when
// the file names them, its languages.
class TQVL_Import_Source
{
public:
    std::vector<TQVL_Card_Voc_Values> Cards;
    QString LangCodeHome;
    QString LangCodeForeign;
    // How the bytes were decoded ("UTF-8", "UTF-16", "Windows-1252").
    QString Encoding;
    // Every language the file names, in file order (readers of files that name languages).
    std::vector<TQVL_Import_Language> Languages;
};

// Called while a file is read with the position reached and the whole size;
// returning false cancels the import.
using TQVL_Import_Progress = std::function<bool(qint64 done, qint64 total)>;

// Raised when the learner cancels a running import.
class TQVL_Import_Cancelled : public TQVL_Error
{
public:
    TQVL_Import_Cancelled() : TQVL_Error(QStringLiteral("Abbruch durch Benutzer!")) {}
};
