#include "ui/query/Form_Query_Voc.h"

#include "content/QVL_Card_Sound.h"
#include "content/QVL_Unit.h"
#include "app/QVL.h"
#include "query/QVL_Card_Return_Voc.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_ReadAloud.h"
#include "ui/play/ReadAloud.h"
#include "ui/shell/ForeignInput.h"
#include "ui/query/Form_QueryResultVoc.h"
#include "ui/shell/Theme.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/PlainText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

TFormQueryVoc::TFormQueryVoc(QWidget* parent, TQVL& qvl) : TFormQueryMeta(parent, qvl)
{
    setObjectName(QStringLiteral("FormQueryVoc"));
    SetHelpPage(QStringLiteral("help_query_voc.html"));
    QWidget* area = Content();

    // The shadow first, so that the question lies on top of it.
    TntLabel2 = new QLabel(area);
    TntLabel2->setObjectName(QStringLiteral("TntLabel2"));
    TntLabel1 = new QLabel(area);
    TntLabel1->setObjectName(QStringLiteral("TntLabel1"));
    questionFont = TntLabel1->font();
    questionFont.setPointSize(Theme::QuestionPointSize);
    questionFont.setBold(true);
    for (QLabel* label : {TntLabel1, TntLabel2}) {
        AsPlainText(label);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setWordWrap(true);
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, label == TntLabel1 ? Theme::Ink : QColor(Qt::white));
        label->setPalette(colours);
    }
    SetQuestionFont(questionFont);

    Label_Note = AsPlainText(new QLabel(area));
    Label_Note->setObjectName(QStringLiteral("Label_Note"));
    Label_Note->setAlignment(Qt::AlignCenter);
    Label_Note->setWordWrap(true);
    Label_Note->hide();

    TntEdit1 = new QLineEdit(area);
    TntEdit1->setObjectName(QStringLiteral("TntEdit1"));
    TntEdit1->setAccessibleName(QStringLiteral("Antwort"));
    answerFont = TntEdit1->font();
    answerFont.setPointSize(Theme::AnswerPointSize);
    TntEdit1->setFont(answerFont);
    connect(TntEdit1, &QLineEdit::returnPressed, this, [this] { ResultClicked(); });

    Button_Hint = new QPushButton(QStringLiteral("Tip"), area);
    Button_Hint->setObjectName(QStringLiteral("Button_Hint"));
    Button_Hint->resize(50, 26);
    Button_Hint->hide();
    connect(Button_Hint, &QPushButton::clicked, this, [this] { Guarded([this] { showHint(); }); });

    Button_ReadAloud = ReadAloud::CreateButton(area);
}

void TFormQueryVoc::DisplayQuestion(TQVL_Query_Card& card, int direction)
{
    TFormQueryMeta::DisplayQuestion(card, direction);
    TntEdit1->show();
    TntEdit1->clear();
    TntEdit1->setEnabled(true);

    const auto* voc = dynamic_cast<const TQVL_Card_Voc*>(card.Card);
    QString question;
    if (voc) {
        const QString meanings[3] = {direction == 1 ? voc->foreign1 : voc->home1,
                                     direction == 1 ? voc->foreign2 : voc->home2,
                                     direction == 1 ? voc->foreign3 : voc->home3};
        // One of the first three, two or one meanings; an empty one is never asked.
        const int count = !meanings[2].isEmpty() ? 3 : !meanings[1].isEmpty() ? 2 : 1;
        QStringList given;
        for (int i = 0; i < count; ++i)
            if (!meanings[i].isEmpty())
                given << meanings[i];
        if (!given.isEmpty())
            question = given[given.size() == 1 ? 0 : Query().Random(int(given.size()))];
        Label_Note->setText(voc->note);
        hintText = voc->hint;
    } else {
        Label_Note->clear();
        hintText.clear();
    }
    SetQuestionText(question);
    Label_Note->setVisible(!Label_Note->text().isEmpty());
    Button_Hint->setVisible(!hintText.isEmpty());
    hintUsed = false;

    const TQVL_Language* asked = direction == 1 ? ForeignLanguage() : HomeLanguage();
    const TQVL_Language* answered = direction == 1 ? HomeLanguage() : ForeignLanguage();
    SetQuestionFont(ProfileBigFont(asked, questionFont));
    TntEdit1->setFont(ProfileBigFont(answered, answerFont));
    // The learner types the foreign meaning when the home side is asked.
    if (direction == 2)
        MarkForeignInput(TntEdit1);
    else
        TntEdit1->setProperty("Tag", 0);

    // The card's recording of the asked side, or its text read aloud when the learner wants that.
    ReadAloud::Play(TQVL_ReadAloud::For(*card.Card, card.Unit, direction == 1, question, true, ReadAloud::IsOn()),
                    this);

    LayoutControls();
    TntEdit1->setFocus(Qt::OtherFocusReason);
}

void TFormQueryVoc::showHint()
{
    Label_Note->setText(hintText);
    Label_Note->show();
    hintUsed = true;
    LayoutControls();
}

std::unique_ptr<TQVL_Card_Return> TFormQueryVoc::GetUserInput(TQVL_Query_Card& card)
{
    TFormQueryMeta::GetUserInput(card);
    TntEdit1->hide();
    std::unique_ptr<TQVL_Card_Return> answer = CreateReturn(*card.Card);
    if (auto* typed = dynamic_cast<TQVL_Card_Return_Voc*>(answer.get())) {
        typed->Text = TntEdit1->text();
        typed->HintUsed = hintUsed;
        typed->Delimiter = core.Options->Delimiter();
    }
    return answer;
}

void TFormQueryVoc::DisplayAnswer(const TQVL_Query_AnswerShown& shown)
{
    Button_Hint->hide();
    TFormQueryMeta::DisplayAnswer(shown);
}

TFormQueryResultMeta* TFormQueryVoc::CreateResultWindow(QWidget* parent)
{
    return new TFormQueryResultVoc(Query(), parent);
}

void TFormQueryVoc::SetQuestionText(const QString& text)
{
    TntLabel1->setText(text);
    TntLabel2->setText(text);
}

void TFormQueryVoc::SetQuestionFont(const QFont& font)
{
    TntLabel1->setFont(font);
    TntLabel2->setFont(font);
}

void TFormQueryVoc::PlaceQuestion(int top, int height)
{
    const int w = Content()->width();
    TntLabel1->setGeometry(20, top, std::max(0, w - 40), height);
    TntLabel2->setGeometry(21, top + 1, std::max(0, w - 40), height);
}

void TFormQueryVoc::PlaceResultWindow()
{
    TFormQueryResultMeta* result = ResultWindow();
    if (!result)
        return;
    // Centred, but never over the question it answers: lowered below it when there is room.
    TFormQueryMeta::PlaceResultWindow();
    const int questionBottom = TntLabel1->isVisible() ? TntLabel1->geometry().bottom() + 4 : 0;
    const int lowest = Button_Abort->y() - result->height() - 4;
    if (result->y() < questionBottom && questionBottom <= lowest)
        result->move(result->x(), questionBottom);

    // The card's note stays readable: it moves into the free space below the answer window
    // (or above it) instead of lying under it.
    if (!Label_Note->isVisible() || !Label_Note->geometry().intersects(result->geometry()))
        return;
    const int noteHeight = Label_Note->height();
    const int belowTop = result->geometry().bottom() + 4;
    const int belowBottom = Button_Abort->y() - 4;
    if (belowBottom - belowTop >= noteHeight)
        Label_Note->move(Label_Note->x(), belowTop + (belowBottom - belowTop - noteHeight) / 2);
    else if (result->y() - 4 - questionBottom >= noteHeight)
        Label_Note->move(Label_Note->x(), questionBottom + (result->y() - 4 - questionBottom - noteHeight) / 2);
}

void TFormQueryVoc::LayoutControls()
{
    const int w = Content()->width();
    const int h = Content()->height();
    // Beside "Hilfe", in the row of the window's buttons.
    Button_ReadAloud->setGeometry(Button_Help->geometry().right() + 8, Button_Help->y(), 26, 26);
    const int questionHeight = std::max(TntLabel1->heightForWidth(std::max(1, w - 40)), 30);
    PlaceQuestion(h / 4, std::min(questionHeight, std::max(30, h * 2 / 3 - h / 4 - 4)));

    const int editWidth = w / 3;
    const int editHeight = TntEdit1->sizeHint().height();
    const int editTop = 2 * h / 3;
    TntEdit1->setGeometry((w - editWidth) / 2, editTop, editWidth, editHeight);
    Button_Hint->move(TntEdit1->geometry().right() + 8, editTop + (editHeight - Button_Hint->height()) / 2);

    // The note in the middle between the answer field and 40 pixels above the bottom.
    const int noteWidth = std::max(0, w - 40);
    const int noteHeight = Label_Note->heightForWidth(std::max(1, noteWidth));
    const int spaceTop = editTop + editHeight;
    const int spaceBottom = h - 40;
    Label_Note->setGeometry(20, spaceTop + (spaceBottom - spaceTop - noteHeight) / 2, noteWidth, noteHeight);
    PlaceResultWindow();
}
