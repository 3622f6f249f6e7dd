#include "sync/QVL_Sync_Results.h"

#include "core/QVL_Error.h"
#include "core/QVL_XML.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLStream.h"
#include "query/QVL_Result_User.h"

#include <algorithm>

QByteArray TQVL_Sync_Results::OriginBytes(const TQVL_Result_User& results, TQVL_DateTime taken)
{
    TQVL_XMLStream stream(1);
    stream.DateTime(QLatin1String("taken"), taken);
    stream.Begin(QLatin1String("results"));
    results.WriteXML(stream);
    stream.End();
    return stream.Finish();
}

TQVL_DateTime TQVL_Sync_Results::ReadOrigin(const QByteArray& bytes, const QString& fileName,
                                            TQVL_Result_User& results)
{
    try {
        TQVL_NativeXML xml;
        xml.Parse(bytes);
        const TQVL_XMLElement root = xml.Element();
        const TQVL_DateTime taken = root.NeedChild(QLatin1String("taken")).AsDateTime();
        results.LoadFromXML(root.NeedChild(QLatin1String("results")));
        return taken;
    } catch (const TQVL_Error& error) {
        throw TQVL_Error::WithCause(
            QStringLiteral("Die Datei \"%1\" ist kein gültiger Ausgangsstand der Synchronisation!").arg(fileName),
            error.Message());
    }
}

int TQVL_Sync_Results::Replay(TQVL_Result_User& results, TQVL_DateTime taken, std::vector<TQVL_Result_Step> steps)
{
    std::erase_if(steps, [&](const TQVL_Result_Step& step) { return step.Now.Serial() <= taken.Serial(); });
    std::stable_sort(steps.begin(), steps.end(), [](const TQVL_Result_Step& a, const TQVL_Result_Step& b) {
        if (a.Now.Serial() != b.Now.Serial())
            return a.Now.Serial() < b.Now.Serial();
        return a.Device < b.Device;
    });
    for (const TQVL_Result_Step& step : steps)
        step.ApplyTo(results);
    return int(steps.size());
}
