#include "ui/query/Form_QueryResultPic.h"

#include "content/QVL_Card_Pic.h"
#include "query/QVL_Query_Card.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/PlainText.h"
#include "ui/shell/Theme.h"

#include <QLabel>
#include <QPushButton>

TFormQueryResultPic::TFormQueryResultPic(TQVL_Query& query, QWidget* parent) : TFormQueryResultMeta(query, parent)
{
    setObjectName(QStringLiteral("FormQueryResultPic"));
    auto makeLabel = [this](const char* name, const QString& text) {
        auto* label = AsPlainText(new QLabel(text, this));
        label->setObjectName(QString::fromLatin1(name));
        label->hide();
        return label;
    };
    Label_Answer = makeLabel("Label_Answer", QStringLiteral("Richtige Antwort:"));
    Label_AnswerText = makeLabel("Label_AnswerText", QString());
    QFont answerFont = Label_AnswerText->font();
    answerFont.setPointSize(Theme::ResultAnswerPointSize);
    answerFont.setBold(true);
    Label_AnswerText->setFont(answerFont);
    Label_RightAnswersAbove =
        makeLabel("Label_RightAnswersAbove", QStringLiteral("Die richtigen Antworten werden oben angezeigt."));
    Label_Success->hide();
    resize(DesignWidth, SlimHeight);
}

void TFormQueryResultPic::ShowAnswer(const TQVL_Query_AnswerShown& shown)
{
    TFormQueryResultMeta::ShowAnswer(shown);
    Label_Success->hide();
    Label_Answer->hide();
    Label_AnswerText->hide();
    Label_RightAnswersAbove->setVisible(!shown.AskSelfEvaluation && (shown.Result.Code == TQVL_StepCode::AlmostRight ||
                                                                     shown.Result.Code == TQVL_StepCode::Wrong));
    int height = SlimHeight;
    const auto* picture = dynamic_cast<const TQVL_Card_Pic*>(shown.Card.Card);
    if (picture && picture->answer_typ == 0) {
        Label_RightAnswersAbove->hide();
        Label_AnswerText->setText(QStringLiteral("\"") + picture->answer_text + QStringLiteral("\""));
        Label_AnswerText->setFont(
            TFormQueryMeta::ProfileSmallFont(TFormQueryMeta::ForeignLanguage(), Label_AnswerText->font()));
        Label_Answer->show();
        Label_AnswerText->show();
        height = TextHeight;
    }
    resize(width(), height);
    LayoutControls();
}

void TFormQueryResultPic::LayoutControls()
{
    const int w = width();
    const int h = height();
    Image_Right->move(10, 13);
    Image_Half->move(10, 13);
    Image_Wrong->move(10, 13);
    const int textLeft = AskingSelfEvaluation() ? 10 : 54;
    PlaceVerdictText(textLeft, 8);
    Label_RightAnswersAbove->setGeometry(54, 36, w - 54 - 104, 20);
    Label_Special->setGeometry(54, 36, w - 54 - 104, 20);
    if (AskingSelfEvaluation()) {
        // One line, so that the verdict buttons fit below it.
        Label_Answer->setGeometry(textLeft, 38, 112, 22);
        Label_AnswerText->setGeometry(textLeft + 114, 35, w - textLeft - 124, 28);
    } else {
        Label_Answer->setGeometry(textLeft, 38, w - textLeft - 104, 20);
        Label_AnswerText->setGeometry(textLeft, 58, w - textLeft - 104, 28);
    }
    Button_Ok->move(w - 100, h == SlimHeight ? (h - Button_Ok->height()) / 2 : h - 36);
    // The learner's own verdict: the two buttons at a third and two thirds of the width.
    const int buttonTop = h - 32;
    Button_Right->move(w / 3 - Button_Right->width() / 2, buttonTop);
    Button_Wrong->move(2 * w / 3 - Button_Wrong->width() / 2, buttonTop);
}
