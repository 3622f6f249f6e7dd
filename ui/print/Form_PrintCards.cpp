#include "ui/print/Form_PrintCards.h"

#include "app/QVL.h"
#include "content/QVL_Card.h"
#include "content/QVL_Card_Container.h"
#include "content/QVL_Language.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Math.h"
#include "query/QVL_Result_Card.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "ui/print/PrintPages.h"
#include "ui/shell/DialogService.h"
#include "ui/units/UnitKindScreens.h"
#include "users/QVL_User.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int margin = 20;
const QColor bandGrey(0x80, 0x80, 0x80);

} // namespace

const QList<int> TFormPrintCards::FontSizes{6, 8, 9, 10, 11, 12, 14, 16, 18, 22, 24};

TFormPrintCards::TFormPrintCards(TQVL& engine, QWidget* parent) : TFormPrintMeta(engine, parent)
{
    Group_Settings = new QGroupBox(QStringLiteral("Einstellungen"), Content());
    Group_Settings->setObjectName(QStringLiteral("Group_Settings"));
    settingsLayout = new QVBoxLayout(Group_Settings);
    const auto box = [this](const char* name, const QString& text, bool checked) {
        auto* check = new QCheckBox(text, Group_Settings);
        check->setObjectName(QLatin1String(name));
        check->setChecked(checked);
        settingsLayout->addWidget(check);
        return check;
    };
    check_Captions = box("check_Captions", QStringLiteral("Überschriften"), true);
    check_HeaderAndFooter = box("check_HeaderAndFooter", QStringLiteral("Lektion && Seitenzahlen"), true);
    check_Gridlines = box("check_Gridlines", QStringLiteral("Linien"), false);
    auto* sizeRow = new QHBoxLayout;
    auto* sizeLabel = new QLabel(QStringLiteral("Schriftgröße:"), Group_Settings);
    combo_FontSize = new QComboBox(Group_Settings);
    combo_FontSize->setObjectName(QStringLiteral("combo_FontSize"));
    combo_FontSize->setEditable(true);
    for (const int size : FontSizes)
        combo_FontSize->addItem(QString::number(size));
    combo_FontSize->setCurrentText(QStringLiteral("11"));
    sizeLabel->setBuddy(combo_FontSize);
    sizeRow->addWidget(sizeLabel);
    sizeRow->addWidget(combo_FontSize, 1);
    settingsLayout->addLayout(sizeRow);
    SettingsRow()->addWidget(Group_Settings, 0, Qt::AlignTop);

    for (QCheckBox* check : {check_Captions, check_HeaderAndFooter, check_Gridlines})
        RebuildOnChange(check);
    connect(combo_FontSize, &QComboBox::currentTextChanged, this, [this] { BuildPages(); });
}

TFormPrintCards::~TFormPrintCards() = default;

const TQVL_Unit& TFormPrintCards::Unit() const
{
    return core.Units->GetActiveUnit();
}

void TFormPrintCards::PrintActiveUnit(TQVL& core, QWidget* parent)
{
    const TQVL_Unit& unit = core.Units->GetActiveUnit();
    if (!unit.IsOpen)
        return;
    const TUnitKindScreens& screens = ScreensOfKind(unit.Typ);
    if (screens.Print)
        screens.Print(core, parent);
    else if (!screens.NotPrintable.isEmpty())
        TDialogService::Current().ShowInformation(screens.NotPrintable);
}

void TFormPrintCards::RebuildOnChange(QCheckBox* box)
{
    connect(box, &QCheckBox::toggled, this, [this] { BuildPages(); });
}

void TFormPrintCards::ReadSettings()
{
    ShowCaptions = check_Captions->isChecked();
    ShowHeaderFooter = check_HeaderAndFooter->isChecked();
    ShowGridLines = check_Gridlines->isChecked();
    bool number = false;
    const int size = combo_FontSize->currentText().trimmed().toInt(&number);
    FontSize = number && size > 0 && size <= 400 ? size : 11;
}

QString TFormPrintCards::Shortened(const QFontMetrics& metrics, const QString& text, int width)
{
    QString shown = text;
    while (metrics.horizontalAdvance(shown) > width) {
        if (metrics.horizontalAdvance(QStringLiteral("T")) > width || shown == QLatin1String("..."))
            return QString();
        shown = shown.left(std::max<qsizetype>(0, shown.size() - 4)) + QStringLiteral("...");
    }
    return shown;
}

void TFormPrintCards::DrawCellText(QPainter& canvas, const QString& text, int left, int top, int width)
{
    const QFontMetrics metrics(canvas.font());
    const QString shown = Shortened(metrics, text, width);
    if (!shown.isEmpty())
        canvas.drawText(QPoint(left, top + metrics.ascent()), shown);
}

int TFormPrintCards::PrintList(QPainter& canvas, const QList<TColumn>& columns, int width, int index, int rowHeight,
                               int top, int left, int height)
{
    const int columnWidth = columns.isEmpty() ? width : width / int(columns.size());
    const QFont normal = canvas.font();
    const auto centred = [&](int rowTop) { return rowTop + rowHeight / 2 - QFontMetrics(canvas.font()).height() / 2; };
    int rowTop = top;
    if (ShowCaptions) {
        QFont bold = normal;
        bold.setBold(true);
        canvas.setFont(bold);
        for (int column = 0; column < columns.size(); ++column)
            DrawCellText(canvas, columns[column].Header, left + column * columnWidth, centred(rowTop), columnWidth);
        rowTop += rowHeight;
        canvas.setFont(normal);
        canvas.setPen(Qt::black);
        canvas.drawLine(left, rowTop, left + width, rowTop);
    }
    const TQVL_Unit& unit = Unit();
    while (index < unit.Cards->Count()) {
        if (const TQVL_Card* card = unit.Cards->Card(index)) {
            for (int column = 0; column < columns.size(); ++column) {
                const TColumn& shown = columns[column];
                canvas.setFont(shown.Family.isEmpty() ? normal : TPrintPages::PageFont(shown.Family, FontSize));
                DrawCellText(canvas, shown.Text(*card), left + column * columnWidth, centred(rowTop), columnWidth);
                canvas.setFont(normal);
            }
        }
        rowTop += rowHeight;
        ++index;
        if (rowTop + rowHeight - top >= height)
            break;
        if (ShowGridLines && index < unit.Cards->Count()) {
            canvas.setPen(QColor(0x80, 0x80, 0x80));
            canvas.drawLine(left, rowTop, left + width, rowTop);
            canvas.setPen(Qt::black);
        }
    }
    return index;
}

const TQVL_Language* TFormPrintCards::OpenLanguage(bool foreignSide) const
{
    if (!core.Languages)
        return nullptr;
    if (!foreignSide)
        return core.Languages->HomeLanguage && core.Languages->HomeLanguage->IsOpen ? core.Languages->HomeLanguage.get()
                                                                                     : nullptr;
    const auto* language = dynamic_cast<const TQVL_Language*>(&core.Languages->ActiveFile());
    return language && language->IsOpen ? language : nullptr;
}

QString TFormPrintCards::LanguageFontFamily(bool foreignSide) const
{
    const TQVL_Language* language = OpenLanguage(foreignSide);
    return language && language->FontUse ? language->SmallFont().Name : QStringLiteral("Tahoma");
}

QString TFormPrintCards::SuccessText(const TQVL_Card& card) const
{
    // A card or lesson never queried has no record; printing does not make one.
    const TQVL_Result_Unit* results =
        core.Users->HasActiveUser() ? core.Users->GetActiveUser().Results().FindUnit(Unit().Uid) : nullptr;
    const TQVL_Result_Card* record = results ? results->FindCard(card.Uid) : nullptr;
    const qint32 right = record ? record->all_right : 0;
    const qint32 queried = record ? record->all_queried : 0;
    const qint64 percent = queried > 0 ? RoundHalfEven(right * 100.0 / queried) : 0;
    return QStringLiteral("%1 von %2 (%3%)").arg(right).arg(queried).arg(percent);
}

void TFormPrintCards::drawBand(QPainter& canvas, int top, int width, int height, const QString& left,
                               const QString& right)
{
    canvas.save();
    canvas.setFont(TPrintPages::PageFont(QStringLiteral("Tahoma"), 11));
    canvas.setPen(bandGrey);
    const QFontMetrics metrics(canvas.font());
    const int textTop = top + height / 2 - metrics.height() / 2;
    const int rightWidth = metrics.horizontalAdvance(right);
    DrawCellText(canvas, left, margin, textTop, std::max(0, width - rightWidth - 10));
    canvas.drawText(QPoint(margin + width - rightWidth, textTop + metrics.ascent()), right);
    canvas.restore();
}

void TFormPrintCards::PaintPages(TPrintPages& pages)
{
    ReadSettings();
    const TQVL_Unit& unit = Unit();
    if (!unit.IsOpen)
        return;
    const int h = ShowHeaderFooter ? 21 : 0;
    const int width = pages.PageSize().width() - 2 * margin;
    const int height = pages.PageSize().height() - margin - 2 * h - margin;
    contentHeight = height;
    const QString today = QLocale(QLocale::German).toString(QDate::currentDate(), QLocale::ShortFormat);
    const int count = unit.Cards->Count();
    int index = 0;
    pageNumber = 0;
    while (index < count) {
        QPainter& canvas = pages.BeginPage();
        ++pageNumber;
        canvas.setFont(TPrintPages::PageFont(QStringLiteral("Tahoma"), FontSize));
        canvas.setPen(Qt::black);
        const int rowHeight = int(RoundHalfEven(QFontMetrics(canvas.font()).height() * 1.5));
        if (ShowHeaderFooter)
            drawBand(canvas, margin, width, h, QStringLiteral("Vokabeltrainer Quorvel"), today);
        const int next = PrintRows(canvas, width - 20, index, rowHeight, margin + 10 + h, margin + 10, height - 20);
        // A row taller than the page still gets a page of its own: printing always ends.
        index = std::max(next, index + 1);
        if (ShowHeaderFooter)
            drawBand(canvas, margin + h + height, width, h, QStringLiteral("Lektion: ") + unit.FileName,
                     QStringLiteral("Seite %1").arg(pageNumber));
        pages.EndPage();
    }
}
