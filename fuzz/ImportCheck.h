#pragma once

// What every import reader must hold to, whatever the bytes: an error names
// the file (and, when the file is at fault, the line); cards that were read
// are not empty and survive being written as a unit and read back.
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLStream.h"
#include "exchange/QVL_Import_Source.h"

#include <cstdlib>
#include <functional>

inline const QString FuzzFileName = QStringLiteral("eingabe.dat");

inline void CheckImport(const std::function<TQVL_Import_Source()>& read)
{
    TQVL_Import_Source source;
    try {
        source = read();
    } catch (const TQVL_Import_Cancelled&) {
        std::abort();
    } catch (const TQVL_Error& error) {
        if (!error.Message().contains(FuzzFileName) && !error.Message().startsWith(QStringLiteral("Bitte")))
            std::abort();
        return;
    }
    TQVL_Unit unit;
    unit.Typ = tVoc;
    for (const TQVL_Card_Voc_Values& values : source.Cards) {
        if (values.IsEmpty(false))
            std::abort();
        values.ApplyTo(static_cast<TQVL_Card_Voc&>(*unit.Cards->NewCard(tVoc)));
    }
    TQVL_XMLStream stream(1);
    unit.WriteXML(stream);
    const QByteArray bytes = stream.Finish();
    TQVL_Unit reread;
    TQVL_XML document;
    document.Parse(bytes);
    reread.ReadXML(document.Element());
    if (reread.Cards->Count() != unit.Cards->Count())
        std::abort();
    for (int i = 0; i < unit.Cards->Count(); ++i)
        if (TQVL_Card_Voc_Values::FromCard(static_cast<const TQVL_Card_Voc&>(*reread.Cards->Card(i))) !=
            TQVL_Card_Voc_Values::FromCard(static_cast<const TQVL_Card_Voc&>(*unit.Cards->Card(i))))
            std::abort();
}
