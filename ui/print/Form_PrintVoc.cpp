#include "ui/print/Form_PrintVoc.h"

#include "app/QVL.h"
#include "content/QVL_Card_Container.h"
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Language.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Math.h"
#include "ui/print/PrintPages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QFontMetrics>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace {

const QString tahoma = QStringLiteral("Tahoma");

QString joined(const QStringList& meanings)
{
    QStringList kept;
    for (const QString& meaning : meanings)
        if (!meaning.isEmpty())
            kept << meaning;
    return kept.join(QStringLiteral(", "));
}

} // namespace

TFormPrintVoc::TFormPrintVoc(TQVL& engine, QWidget* parent) : TFormPrintCards(engine, parent)
{
    setObjectName(QStringLiteral("FormPrintVoc"));
    setWindowTitle(QStringLiteral("Vokabeltrainer Quorvel - Vokabeln drucken"));
    Label1->setText(QStringLiteral("Vokabeln drucken"));
    const auto box = [this](const char* name, const QString& text, bool checked) {
        auto* check = new QCheckBox(text, Group_Settings);
        check->setObjectName(QLatin1String(name));
        check->setChecked(checked);
        SettingsLayout()->addWidget(check);
        RebuildOnChange(check);
        return check;
    };
    SettingsLayout()->addSpacing(8);
    check_Foreign = box("check_Foreign", QStringLiteral("Fremdsprache"), true);
    check_German = box("check_German", QStringLiteral("Deutsch"), true);
    check_AllMeanings = box("check_AllMeanings", QStringLiteral("Alle Bedeutungen"), false);
    check_Note = box("check_Note", QStringLiteral("Anmerkungen"), true);
    check_Hint = box("check_Hint", QStringLiteral("Tip"), false);
    check_Success = box("check_Success", QStringLiteral("Erfolg"), true);
    SettingsLayout()->addSpacing(8);
    check_PaintList = new QRadioButton(QStringLiteral("Liste"), Group_Settings);
    check_PaintList->setObjectName(QStringLiteral("check_PaintList"));
    check_PaintList->setChecked(true);
    check_PaintFields = new QRadioButton(QStringLiteral("Kärtchen"), Group_Settings);
    check_PaintFields->setObjectName(QStringLiteral("check_PaintFields"));
    auto* form = new QButtonGroup(this);
    form->addButton(check_PaintList);
    form->addButton(check_PaintFields);
    SettingsLayout()->addWidget(check_PaintList);
    SettingsLayout()->addWidget(check_PaintFields);
    SettingsLayout()->addStretch(1);
    connect(check_PaintFields, &QRadioButton::toggled, this, [this](bool cards) {
        // Cards have no room for these; back on the list they are as the learner left them.
        const std::array<QCheckBox*, 3> listOnly{check_Note, check_Hint, check_Success};
        for (std::size_t i = 0; i < listOnly.size(); ++i) {
            QCheckBox* check = listOnly[i];
            const QSignalBlocker quiet(check);
            if (cards)
                listChecks[i] = check->isChecked();
            check->setChecked(!cards && listChecks[i]);
            check->setEnabled(!cards);
        }
        BuildPages();
    });
    SetLandscape();
    BuildPages();
}

QString TFormPrintVoc::HelpPage() const
{
    return QStringLiteral("help_prin_voc.html");
}

void TFormPrintVoc::ReadSettings()
{
    TFormPrintCards::ReadSettings();
    foreign = check_Foreign->isChecked();
    german = check_German->isChecked();
    allMeanings = check_AllMeanings->isChecked();
    note = check_Note->isChecked();
    hint = check_Hint->isChecked();
    success = check_Success->isChecked();
    paintFields = check_PaintFields->isChecked();
}

QList<int> TFormPrintVoc::Columns() const
{
    QList<int> codes;
    if (foreign)
        codes << (allMeanings ? QList<int>{0, 1, 2} : QList<int>{0});
    if (german)
        codes << (allMeanings ? QList<int>{3, 4, 5} : QList<int>{3});
    if (note)
        codes << 6;
    if (hint)
        codes << 7;
    if (success)
        codes << 8;
    return codes;
}

QString TFormPrintVoc::ColumnHeader(int code) const
{
    const auto adjective = [this](bool foreignSide) {
        const TQVL_Language* language = OpenLanguage(foreignSide);
        return language ? language->Adjective : QString();
    };
    switch (code) {
    case 0:
    case 1:
    case 2:
        return adjective(true) + (allMeanings ? QStringLiteral(" %1").arg(code + 1) : QString());
    case 3:
    case 4:
    case 5:
        return adjective(false) + (allMeanings ? QStringLiteral(" %1").arg(code - 2) : QString());
    case 6: return QStringLiteral("Anmerkung");
    case 7: return QStringLiteral("Tip");
    case 8: return QStringLiteral("Erfolg");
    default: return QString();
    }
}

QString TFormPrintVoc::cellText(const TQVL_Card_Voc& card, int code) const
{
    switch (code) {
    case 0: return card.foreign1;
    case 1: return card.foreign2;
    case 2: return card.foreign3;
    case 3: return card.home1;
    case 4: return card.home2;
    case 5: return card.home3;
    case 6: return card.note;
    case 7: return card.hint;
    case 8: return SuccessText(card);
    default: return QString();
    }
}

QString TFormPrintVoc::fontFamily(int code) const
{
    if (code > 5)
        return tahoma;
    return LanguageFontFamily(code <= 2);
}

int TFormPrintVoc::PrintRows(QPainter& canvas, int width, int index, int rowHeight, int top, int left, int height)
{
    return paintFields ? printFields(canvas, width, index, top, left, height)
                       : printList(canvas, width, index, rowHeight, top, left, height);
}

int TFormPrintVoc::printList(QPainter& canvas, int width, int index, int rowHeight, int top, int left, int height)
{
    QList<TColumn> columns;
    for (int code : Columns())
        columns.append({ColumnHeader(code), fontFamily(code), [this, code](const TQVL_Card& card) {
                            const auto* voc = dynamic_cast<const TQVL_Card_Voc*>(&card);
                            return voc ? cellText(*voc, code) : QString();
                        }});
    return PrintList(canvas, columns, width, index, rowHeight, top, left, height);
}

int TFormPrintVoc::printFields(QPainter& canvas, int width, int index, int top, int left, int height)
{
    const int cardWidth = (width - CardsPerRow * 20 + 20) / CardsPerRow;
    const int cardHeight = int(RoundHalfEven(cardWidth / 1.5));
    const TQVL_Unit& unit = Unit();
    const QFont normal = canvas.font();
    const auto line = [&](const QString& text, int code, int x, int centreY, int room) {
        canvas.setFont(TPrintPages::PageFont(fontFamily(code), FontSize));
        const QFontMetrics metrics(canvas.font());
        const QString shown = Shortened(metrics, text, room);
        if (!shown.isEmpty())
            canvas.drawText(QPoint(x + (cardWidth - metrics.horizontalAdvance(shown)) / 2,
                                   centreY - metrics.height() / 2 + metrics.ascent()),
                            shown);
        canvas.setFont(normal);
    };
    int rowTop = top;
    while (index < unit.Cards->Count()) {
        for (int slot = 0; slot < CardsPerRow && index < unit.Cards->Count(); ++slot, ++index) {
            const int x = left + slot * (cardWidth + 20);
            canvas.setPen(Qt::black);
            canvas.setBrush(Qt::NoBrush);
            canvas.drawRect(x, rowTop, cardWidth, cardHeight);
            const auto* card = dynamic_cast<const TQVL_Card_Voc*>(unit.Cards->Card(index));
            if (!card)
                continue;
            const QString foreignText =
                allMeanings ? joined({card->foreign1, card->foreign2, card->foreign3}) : card->foreign1;
            const QString homeText = allMeanings ? joined({card->home1, card->home2, card->home3}) : card->home1;
            if (foreign && german) {
                line(foreignText, 0, x, rowTop + int(RoundHalfEven(0.33 * cardHeight)), cardWidth - 4);
                line(homeText, 3, x, rowTop + int(RoundHalfEven(0.66 * cardHeight)), cardWidth - 6);
            } else if (foreign) {
                line(foreignText, 0, x, rowTop + cardHeight / 2, cardWidth - 4);
            } else if (german) {
                line(homeText, 3, x, rowTop + cardHeight / 2, cardWidth - 6);
            }
        }
        if (!(rowTop + 2 * cardHeight - top + 20 < height))
            break;
        rowTop += cardHeight + 20;
    }
    return index;
}
