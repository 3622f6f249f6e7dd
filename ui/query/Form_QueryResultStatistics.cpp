#include "ui/query/Form_QueryResultStatistics.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "core/QVL_Math.h"
#include "query/QVL_Query.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_Unit_Query.h"
#include "query/QVL_Statistics_LastQuery.h"
#include "statistics/QVL_Statistics_QuerySuccessDiagram.h"
#include "ui/exchange/Form_UnitsIntegrate.h"
#include "ui/help/HelpService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"
#include "ui/shell/Navigator.h"
#include "ui/shell/Theme.h"

#include <QCheckBox>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int ratingSize = 48;

// "%3.2f" with the locale's decimal separator.
QString fixed2(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2);
}

QLabel* figureCaption(QWidget* parent, const QString& text, int top)
{
    auto* caption = new QLabel(text, parent);
    caption->setGeometry(24, top, 170, 20);
    return caption;
}

QLabel* figure(QWidget* parent, const char* name, int top)
{
    auto* value = new QLabel(parent);
    value->setObjectName(QString::fromLatin1(name));
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    QPalette colours = value->palette();
    colours.setColor(QPalette::WindowText, Theme::Ink);
    value->setPalette(colours);
    value->setGeometry(200, top, 150, 20);
    return value;
}

} // namespace

TFormQueryResultStatistics::TFormQueryResultStatistics(QWidget* parent, TQVL& qvl) : TFormMeta(parent), core(qvl)
{
    setObjectName(QStringLiteral("FormQueryResultStatistics"));
    SetCaption(QStringLiteral("Das Ergebnis Ihrer Abfrage"));
    QWidget* area = Content();

    figureCaption(area, QStringLiteral("Antworten:"), 12);
    Label1 = figure(area, "Label1", 12);
    figureCaption(area, QStringLiteral("Davon richtig:"), 34);
    Label5 = figure(area, "Label5", 34);
    figureCaption(area, QStringLiteral("Erfolgsquote:"), 56);
    Label2 = figure(area, "Label2", 56);
    figureCaption(area, QStringLiteral("Dauer der Abfrage:"), 78);
    Label7 = figure(area, "Label7", 78);
    figureCaption(area, QStringLiteral("Zeit je richtiger Antwort:"), 100);
    Label9 = figure(area, "Label9", 100);

    static const char* const partNames = "ABC";
    for (int part = 0; part < RatingParts; ++part) {
        for (int state = 0; state < RatingStates; ++state) {
            const QString name = QStringLiteral("%1%2").arg(QLatin1Char(partNames[part])).arg(state);
            auto* image = new QLabel(area);
            image->setObjectName(name);
            image->setPixmap(Icons::Pixmap(QStringLiteral("rating-") + name, ratingSize));
            image->setFixedSize(ratingSize, ratingSize);
            image->hide();
            Rating[std::size_t(part)][std::size_t(state)] = image;
        }
    }

    Label_Information = new QLabel(area);
    Label_Information->setObjectName(QStringLiteral("Label_Information"));
    Label_Information->setWordWrap(true);
    Label_Information->setAlignment(Qt::AlignRight | Qt::AlignTop);

    Image_Diagram = new QLabel(area);
    Image_Diagram->setObjectName(QStringLiteral("Image_Diagram"));
    Image_Diagram->setFixedSize(DiagramImageWidth, DiagramImageHeight);
    Label_NoResults = new QLabel(QStringLiteral("Es liegen keine historischen Abfrageergebnisse vor."), area);
    Label_NoResults->setObjectName(QStringLiteral("Label_NoResults"));
    Label_NoResults->setAlignment(Qt::AlignCenter);
    Label_NoResults->hide();
    Label_GraphSelfEvaluated = new QLabel(area);
    Label_GraphSelfEvaluated->setObjectName(QStringLiteral("Label_GraphSelfEvaluated"));
    Label_GraphSelfEvaluated->hide();
    dxCheckbox1 = new QCheckBox(QStringLiteral("Auf Zeitachse skalieren"), area);
    dxCheckbox1->setObjectName(QStringLiteral("dxCheckbox1"));
    dxCheckbox1->setChecked(true);
    connect(dxCheckbox1, &QCheckBox::toggled, this, [this] { Guarded([this] { DrawDiagram(); }); });

    auto makeButton = [area](const char* name, const QString& text) {
        auto* button = new QPushButton(text, area);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    Button_SingleResults = makeButton("Button_SingleResults", QStringLiteral("Einzelergebnisse"));
    Button_AddToLongTermStorage = makeButton("Button_AddToLongTermStorage", QStringLiteral("Langzeitspeicher"));
    Button_AddToLongTermStorage->setIcon(Icons::Get(QStringLiteral("storage")));
    Button_AddToLongTermStorage->setToolTip(QStringLiteral("Vokabeln in den Langzeitspeicher kopieren"));
    Button_Help = makeButton("Button_Help", QStringLiteral("Hilfe"));
    Button_Ok = makeButton("Button_Ok", QStringLiteral("Ok"));
    SetDefaultButton(Button_Ok);
    connect(Button_Ok, &QPushButton::clicked, this,
            [this] { Guarded([this] { Navigator().Show(TDestination::MainMenu); }); });
    connect(Button_Help, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_query_resultstatistics.html")); }); });
    connect(Button_SingleResults, &QPushButton::clicked, this, [this] { Guarded([this] { singleResults(); }); });
    connect(Button_AddToLongTermStorage, &QPushButton::clicked, this,
            [this] { Guarded([this] { addToLongTermStorage(); }); });

    area->installEventFilter(this);
    Guarded([this] { Refresh(); });
}

TFormQueryResultStatistics::~TFormQueryResultStatistics() = default;

std::array<int, TFormQueryResultStatistics::RatingParts> TFormQueryResultStatistics::RatingFor(int percent,
                                                                                               bool answered)
{
    if (!answered)
        return {0, 0, 0};
    if (percent < 10)
        return {1, 1, 1};
    if (percent < 20)
        return {1, 1, 2};
    if (percent < 30)
        return {1, 2, 2};
    if (percent < 70)
        return {2, 2, 2};
    if (percent < 80)
        return {3, 2, 2};
    if (percent < 90)
        return {3, 3, 2};
    return {3, 3, 3};
}

std::array<int, TFormQueryResultStatistics::RatingParts> TFormQueryResultStatistics::ShownRating() const
{
    std::array<int, RatingParts> states{-1, -1, -1};
    for (int part = 0; part < RatingParts; ++part)
        for (int state = 0; state < RatingStates; ++state)
            if (!Rating[std::size_t(part)][std::size_t(state)]->isHidden())
                states[std::size_t(part)] = state;
    return states;
}

void TFormQueryResultStatistics::showRating(const std::array<int, RatingParts>& states)
{
    for (int part = 0; part < RatingParts; ++part)
        for (int state = 0; state < RatingStates; ++state)
            Rating[std::size_t(part)][std::size_t(state)]->setVisible(states[std::size_t(part)] == state);
}

void TFormQueryResultStatistics::Refresh()
{
    const TQVL_Query& query = *core.Query;
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    Button_AddToLongTermStorage->setVisible(unit.IsOpen && unit.Typ == tVoc);

    const TQVL_Statistics_LastQuery& last = *core.Statistics->LastQuery;
    QString information;
    if (last.SelfEvaluated)
        information += QStringLiteral("Diese Abfrage wurde durch den Benutzer selbst bewertet.\n");
    if (!last.ResultsStored)
        information += QStringLiteral("Das Abfrageerbnis wurden nicht gespeichert.\n");
    Label_Information->setText(information);

    const qint32 answers = query.GetQueriedTotal();
    const qint32 right = query.GetRightTotal();
    if (answers > 0) {
        const double percent = double(right) * 100.0 / answers;
        Label2->setText(QStringLiteral("...") + fixed2(percent) + QStringLiteral(" %"));
        showRating(RatingFor(int(RoundHalfEven(percent)), true));
    } else {
        Label2->setText(QStringLiteral("...0 %"));
        showRating(RatingFor(0, false));
    }
    Label1->setText(QString::number(answers));
    Label5->setText(QString::number(right));
    const TQVL_DateTime duration = query.GetDuration();
    Label7->setText(duration.LongTimeText());
    if (right <= 0)
        Label9->setText(QStringLiteral("-/-"));
    else
        Label9->setText(fixed2(double(TQVL_Query::WholeSeconds(duration)) / right) + QStringLiteral(" Sek./Ri. Antw."));

    DrawDiagram();
}

void TFormQueryResultStatistics::DrawDiagram()
{
    Label_GraphSelfEvaluated->hide();
    if (!core.Users->HasActiveUser()) {
        Image_Diagram->clear();
        Label_NoResults->show();
        return;
    }
    const TQVL_Statistics_UnitResults units = core.Statistics->GetLastQueryUnitResults();
    TQVL_DateTime from = TQVL_Statistics::GetFirstQueryDate(units);
    TQVL_DateTime to = TQVL_Statistics::GetLastQueryDate(units);
    if (from == to) {
        from = TQVL_DateTime(from.Serial() - 0.5);
        to = TQVL_DateTime(to.Serial() + 0.5);
    }
    int inRange = 0;
    int selfEvaluated = 0;
    for (const TQVL_Result_Unit* unit : units) {
        for (int i = 0; i < unit->QueryCount(); ++i) {
            const TQVL_Result_Unit_Query& stored = unit->Query(i);
            if (from <= stored.datetime && stored.datetime <= to) {
                ++inRange;
                if (stored.selfevaluation)
                    ++selfEvaluated;
            }
        }
    }

    QImage image(DiagramImageWidth, DiagramImageHeight, QImage::Format_RGB32);
    TQVL_Statistics_QuerySuccessDiagram& diagram = *core.Statistics->Diagram;
    diagram.Clear(image);
    if (inRange == 0) {
        Label_NoResults->show();
    } else {
        Label_NoResults->hide();
        diagram.DiagramHeight = 110;
        diagram.DiagramWidth = 460;
        diagram.ScaleToDate = dxCheckbox1->isChecked();
        diagram.AutoRange = true;
        diagram.Draw(image, units);
    }
    Image_Diagram->setPixmap(QPixmap::fromImage(image));
    if (selfEvaluated > 0) {
        Label_GraphSelfEvaluated->setText(
            QStringLiteral("Die Ergebnisse von %1 Abfragen wurde durch Selbstbewertung erzeugt.").arg(selfEvaluated));
        Label_GraphSelfEvaluated->show();
    }
}

void TFormQueryResultStatistics::singleResults()
{
    Navigator().Show(TDestination::LastQueryCards);
}

void TFormQueryResultStatistics::addToLongTermStorage()
{
    TFormUnitsIntegrate::IntegrateActiveUnit(core);
}

void TFormQueryResultStatistics::layoutControls()
{
    const int w = Content()->width();
    const int h = Content()->height();
    const int ratingLeft = w - 24 - RatingParts * ratingSize;
    for (int part = 0; part < RatingParts; ++part)
        for (QLabel* image : Rating[std::size_t(part)])
            image->move(ratingLeft + part * ratingSize, 12);
    Label_Information->setGeometry(360, 12 + ratingSize + 8, std::max(0, w - 384), 48);
    const int diagramLeft = (w - DiagramImageWidth) / 2;
    Image_Diagram->move(diagramLeft, 128);
    Label_NoResults->setGeometry(diagramLeft, 128, DiagramImageWidth, DiagramImageHeight);
    Label_GraphSelfEvaluated->setGeometry(diagramLeft + 4, 128 + DiagramImageHeight + 4, 340, 20);
    dxCheckbox1->setGeometry(diagramLeft + DiagramImageWidth - 190, 128 + DiagramImageHeight + 4, 190, 20);
    const int buttonTop = h - 36;
    Button_SingleResults->setGeometry(24, buttonTop, 120, 26);
    Button_AddToLongTermStorage->setGeometry(152, buttonTop, 130, 26);
    Button_Ok->setGeometry(w - 24 - 90, buttonTop, 90, 26);
    Button_Help->setGeometry(w - 24 - 90 - 8 - 90, buttonTop, 90, 26);
}

bool TFormQueryResultStatistics::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Content() && event->type() == QEvent::Resize)
        layoutControls();
    return TFormMeta::eventFilter(watched, event);
}
