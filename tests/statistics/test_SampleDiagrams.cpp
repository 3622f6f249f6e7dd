// Draws sample success diagrams into PNG files for a person to look at
// (scripts/screenshot-diagram.sh); disabled in the normal test run.
#include "query/QVL_Result_Unit.h"
#include "statistics/QVL_Statistics_QuerySuccessDiagram.h"

#include <gtest/gtest.h>

#include <QImage>

#include <memory>

namespace {

TEST(SampleDiagrams, DISABLED_WritePngFiles)
{
    const QString folder = qEnvironmentVariableIsSet("QUORVEL_DIAGRAM_OUT")
                               ? qEnvironmentVariable("QUORVEL_DIAGRAM_OUT")
                               : QStringLiteral("/tmp");
    TQVL_DateTime::SetClock([] { return QDateTime(QDate(2024, 3, 10), QTime(18, 0)); });
    const double now = TQVL_DateTime::Now().Serial();

    // Three lessons over the last three weeks, a fourth with a single query.
    std::vector<std::unique_ptr<TQVL_Result_Unit>> units;
    const struct
    {
        double firstDay, everyDays;
        int count, startPercent, gain;
    } histories[] = {{20.3, 2.1, 10, 35, 7}, {17.6, 3.4, 6, 60, 5}, {12.2, 1.3, 9, 20, 9}, {4.5, 1, 1, 75, 0}};
    for (const auto& h : histories) {
        units.push_back(std::make_unique<TQVL_Result_Unit>(QString::number(units.size())));
        for (int i = 0; i < h.count; ++i) {
            const int percent = std::min(100, h.startPercent + h.gain * i - (i % 3 == 2 ? 15 : 0));
            units.back()->AddQuery(300, 20, false, percent / 5, TQVL_DateTime(now - h.firstDay + i * h.everyDays));
        }
    }
    TQVL_Statistics_UnitResults all;
    for (const auto& unit : units)
        all.push_back(unit.get());

    TQVL_Statistics_QuerySuccessDiagram diagram;
    const auto write = [&](QSize size, const TQVL_Statistics_UnitResults& list, const QString& name) {
        QImage image(size, QImage::Format_RGB32);
        diagram.Clear(image);
        diagram.Draw(image, list);
        const QString file = folder + QLatin1Char('/') + name;
        ASSERT_TRUE(image.save(file)) << file.toStdString();
        std::printf("%s\n", qPrintable(file));
    };

    // The statistics screen: the last 21 days, on a time axis and spread evenly.
    diagram.DiagramWidth = 450;
    diagram.DiagramHeight = 150;
    diagram.AutoRange = false;
    diagram.DateFrom = TQVL_DateTime(now - 21).DateOf();
    diagram.DateTo = TQVL_DateTime(now);
    diagram.ScaleToDate = true;
    write(QSize(520, 190), all, QStringLiteral("diagram-statistics-timeline.png"));
    diagram.ScaleToDate = false;
    write(QSize(520, 190), all, QStringLiteral("diagram-statistics-spread.png"));

    // The result screen after a query of the first and the lone lesson.
    diagram.DiagramWidth = 460;
    diagram.DiagramHeight = 110;
    diagram.AutoRange = true;
    diagram.ScaleToDate = true;
    write(QSize(530, 150), {all[0], all[3]}, QStringLiteral("diagram-result.png"));
    write(QSize(530, 150), {all[3]}, QStringLiteral("diagram-result-single.png"));

    TQVL_DateTime::SetClock({});
}

} // namespace
