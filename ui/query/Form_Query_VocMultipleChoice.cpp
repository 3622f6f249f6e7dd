#include "ui/query/Form_Query_VocMultipleChoice.h"

#include "content/QVL_Card_Voc.h"
#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "query/QVL_Card_Return_Voc.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Query_Cardpile.h"
#include "ui/shell/Guarded.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

// The meanings of the answered side: home for direction 1, foreign for 2.
QStringList answerMeanings(const TQVL_Card* card, int direction)
{
    const auto* voc = dynamic_cast<const TQVL_Card_Voc*>(card);
    if (!voc)
        return {};
    QStringList meanings = direction == 1 ? QStringList{voc->home1, voc->home2, voc->home3}
                                          : QStringList{voc->foreign1, voc->foreign2, voc->foreign3};
    meanings.removeAll(QString());
    return meanings;
}

} // namespace

TFormQueryVocMultipleChoice::TFormQueryVocMultipleChoice(QWidget* parent, TQVL& qvl) : TFormQueryVoc(parent, qvl)
{
    setObjectName(QStringLiteral("FormQueryVocMultipleChoice"));
    SetHelpPage(QStringLiteral("help_query_voc_multiplechoice.html"));
    TntListBox1 = new QListWidget(Content());
    TntListBox1->setObjectName(QStringLiteral("TntListBox1"));
    TntListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    TntListBox1->installEventFilter(this);
    connect(TntListBox1, &QListWidget::itemDoubleClicked, this, [this] { ResultClicked(); });
    TntEdit1->hide();
}

void TFormQueryVocMultipleChoice::DisplayQuestion(TQVL_Query_Card& card, int questionDirection)
{
    TFormQueryVoc::DisplayQuestion(card, questionDirection);
    direction = questionDirection;
    TQVL_Query& query = Query();
    const int position = query.Random(EntryCount);
    entryCards.clear();
    const int available = std::min(EntryCount, int(query.Cardpile->Cards.size()) - 1);
    if (available > 0)
        for (const TQVL_Query_Card* other : query.Cardpile->GetRandomCards(available, &card))
            entryCards.push_back(other->Card);
    if (available == EntryCount) {
        entryCards[std::size_t(position)] = card.Card;
    } else {
        // A pile of fewer than six cards (a storage with few cards due) lists all of them.
        entryCards.insert(entryCards.begin() + position % (available + 1), card.Card);
    }

    TntListBox1->clear();
    for (const TQVL_Card* entry : entryCards)
        TntListBox1->addItem(answerMeanings(entry, direction).join(QStringLiteral(", ")));
    TntListBox1->setCurrentRow(-1);
    TntListBox1->clearSelection();
    TntListBox1->setEnabled(true);

    TntEdit1->hide();
    const TQVL_Language* answered = direction == 1 ? HomeLanguage() : ForeignLanguage();
    TntListBox1->setFont(ProfileSmallFont(answered, font()));
    TntListBox1->show();
    LayoutControls();
    TntListBox1->setFocus(Qt::OtherFocusReason);
}

std::unique_ptr<TQVL_Card_Return> TFormQueryVocMultipleChoice::GetUserInput(TQVL_Query_Card& card)
{
    std::unique_ptr<TQVL_Card_Return> answer = TFormQueryVoc::GetUserInput(card);
    TntListBox1->setEnabled(false);
    auto* typed = dynamic_cast<TQVL_Card_Return_Voc*>(answer.get());
    const int row =
        TntListBox1->currentItem() && TntListBox1->currentItem()->isSelected() ? TntListBox1->currentRow() : -1;
    if (typed) {
        typed->Text.clear();
        if (row >= 0 && row < int(entryCards.size())) {
            // The entry joins the meanings with commas for reading; the answer
            // gives them as separate meanings, or a right pick of a card with
            // two meanings would be judged as one unknown meaning.
            const QStringList meanings = answerMeanings(entryCards[std::size_t(row)], direction);
            typed->Text = typed->Delimiter.isNull() ? meanings.value(0)
                                                    : meanings.join(QString(typed->Delimiter) + QLatin1Char(' '));
        }
    }
    return answer;
}

void TFormQueryVocMultipleChoice::ResultClicked()
{
    Guarded([this] {
        const QListWidgetItem* chosen = TntListBox1->currentItem();
        if (!chosen || !chosen->isSelected())
            throw TQVL_Error(QStringLiteral("Bitte wählen Sie eine Antwort."));
        Query().DisplayQuestionEnd();
    });
}

bool TFormQueryVocMultipleChoice::digitPressed(int key)
{
    if (key < Qt::Key_0 || key > Qt::Key_9)
        return false;
    // Only while the question waits for the learner.
    if (!TntListBox1->isEnabled() || !Button_Result->isEnabled())
        return true;
    const int digit = key - Qt::Key_0;
    const int count = TntListBox1->count();
    if (digit >= 1 && digit <= count) {
        TntListBox1->setCurrentRow(digit - 1);
        ResultClicked();
    } else if (digit == 0 || digit == count + 1) {
        TntListBox1->setCurrentRow(-1);
        TntListBox1->clearSelection();
        ResultClicked();
    }
    return true;
}

bool TFormQueryVocMultipleChoice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TntListBox1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (digitPressed(key->key()))
                return true;
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                if (Button_Result->isEnabled())
                    ResultClicked();
                return true;
            }
        }
    }
    return TFormQueryVoc::eventFilter(watched, event);
}

void TFormQueryVocMultipleChoice::keyPressEvent(QKeyEvent* event)
{
    if ((event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) &&
        digitPressed(event->key()))
        return;
    TFormQueryVoc::keyPressEvent(event);
}

void TFormQueryVocMultipleChoice::LayoutControls()
{
    TFormQueryVoc::LayoutControls();
    if (!TntListBox1)
        return;
    const int w = Content()->width();
    const int h = Content()->height();
    const int rowHeight = std::max(TntListBox1->sizeHintForRow(0), TntListBox1->fontMetrics().height() + 2);
    const int listHeight = rowHeight * EntryCount + 2 * TntListBox1->frameWidth() + 4;
    TntListBox1->setGeometry((w - w / 2) / 2, h / 2, w / 2, listHeight);
    // The note goes below the list, which takes the answer field's place.
    const int noteWidth = std::max(0, w - 40);
    const int noteHeight = Label_Note->heightForWidth(std::max(1, noteWidth));
    const int spaceTop = h / 2 + listHeight;
    Label_Note->setGeometry(20, spaceTop + (h - 40 - spaceTop - noteHeight) / 2, noteWidth, noteHeight);
}
