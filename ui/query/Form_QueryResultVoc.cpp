#include "ui/query/Form_QueryResultVoc.h"

#include "content/QVL_Card_Sound.h"
#include "content/QVL_Unit.h"
#include "query/QVL_Card_Return_Voc.h"
#include "query/QVL_AnswerDiff.h"
#include "query/QVL_Query.h"
#include "query/QVL_Query_Card.h"
#include "query/QVL_Query_Evaluation_Options.h"
#include "query/QVL_Query_Options.h"
#include "query/QVL_Query_Step_Options.h"
#include "query/QVL_ReadAloud.h"
#include "ui/play/ReadAloud.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/Theme.h"
#include "ui/shell/PlainText.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

TFormQueryResultVoc::TFormQueryResultVoc(TQVL_Query& query, QWidget* parent)
    : TFormQueryResultMeta(query, parent), owner(query)
{
    setObjectName(QStringLiteral("FormQueryResultVoc"));
    auto makeLabel = [this](const char* name) {
        auto* label = AsPlainText(new QLabel(this));
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    Label_Foreign = makeLabel("Label_Foreign");
    Label_Home = makeLabel("Label_Home");
    Label3 = makeLabel("Label3");
    Label3->setText(QStringLiteral("Ihre Eingabe:"));
    Label_Input = new TMarkedTextLabel(this);
    Label_Input->setObjectName(QStringLiteral("Label_Input"));
    QFont meaning = Label_Foreign->font();
    meaning.setPointSize(Theme::ResultMeaningPointSize);
    meaning.setBold(true);
    Label_Foreign->setFont(meaning);
    Label_Home->setFont(meaning);
    resize(DesignWidth, DesignHeight);
}

void TFormQueryResultVoc::ShowAnswer(const TQVL_Query_AnswerShown& shown)
{
    TFormQueryResultMeta::ShowAnswer(shown);
    const auto* voc = dynamic_cast<const TQVL_Card_Voc*>(shown.Card.Card);
    // The answer's own sound after a pause (or its text read aloud); the window's end cancels it.
    const QString answerText = voc ? (shown.Direction == 1 ? voc->home1 : voc->foreign1) : QString();
    const TQVL_ReadAloud answerSide = TQVL_ReadAloud::For(*shown.Card.Card, shown.Card.Unit, shown.Direction == 2,
                                                          answerText, true, ReadAloud::IsOn());
    if (!answerSide.IsEmpty())
        QTimer::singleShot(SoundDelayMs, this, [this, answerSide] { ReadAloud::Play(answerSide, this); });

    Label_Foreign->setText(voc ? voc->ForeignText() : QString());
    Label_Home->setText(voc ? voc->HomeText() : QString());
    const auto* typed = dynamic_cast<const TQVL_Card_Return_Voc*>(shown.Answer);
    const QString input = typed ? typed->Text : QString();
    const TQVL_StepCode code = shown.Result.Code;
    const bool missed = code == TQVL_StepCode::AlmostRight || code == TQVL_StepCode::Wrong ||
                        code == TQVL_StepCode::MeaningMissing;
    Label_Input->setText(QStringLiteral("\"") + input + QStringLiteral("\""));
    Label_Input->ClearMarks();
    Label_Input->setToolTip(QString());
    Label_Input->setAccessibleDescription(QString());
    if (shown.ShowEvaluation && missed && voc && !input.trimmed().isEmpty()) {
        const QStringList expected = shown.Direction == 1 ? QStringList{voc->home1, voc->home2, voc->home3}
                                                          : QStringList{voc->foreign1, voc->foreign2, voc->foreign3};
        ShowDifferences(TQVL_AnswerDiff::ForAnswer(input, expected, typed->Delimiter,
                                                   owner.Options->Step().evaluation->ignorecase));
    }
    Label_Input->setVisible(shown.ShowUserAnswer);
    Label3->setVisible(shown.ShowUserAnswer);

    const QFont plain = font();
    const QFont meaning = Label_Foreign->font();
    Label_Foreign->setFont(TFormQueryMeta::ProfileSmallFont(TFormQueryMeta::ForeignLanguage(), meaning));
    Label_Home->setFont(TFormQueryMeta::ProfileSmallFont(TFormQueryMeta::HomeLanguage(), meaning));
    // The input is in the language that was answered.
    const TQVL_Language* answered = shown.Direction == 1 ? TFormQueryMeta::HomeLanguage() : TFormQueryMeta::ForeignLanguage();
    Label_Input->setFont(TFormQueryMeta::ProfileSmallFont(answered, plain));
    // A typed answer may hold a slip the check did not forgive; a choice among given answers cannot.
    if (owner.QueryType != TQVL_QueryType::MultipleChoice)
        OfferOverride();
    LayoutControls();
}

void TFormQueryResultVoc::LayoutControls()
{
    const int w = width();
    const int h = height();
    Image_Right->move(14, 12);
    Image_Half->move(14, 12);
    Image_Wrong->move(14, 12);
    PlaceVerdictText(AskingSelfEvaluation() ? 14 : 60, 18);
    Button_IWasRight->move(w - 112 - Button_IWasRight->width(), h - 38);
    const int successRight = !Button_IWasRight->isHidden() ? Button_IWasRight->x() - 6 : w - 216;
    Label_Success->setGeometry(14, h - 34, successRight - 14, 22);
    Label_Foreign->setGeometry(14, 58, w - 28, 26);
    Label_Home->setGeometry(14, 86, w - 28, 26);
    Label3->setGeometry(14, 116, 90, 22);
    Label_Input->setGeometry(104, 116, w - 118, 22);
    Label_Special->setGeometry(14, 142, w - 28, 22);
    Button_Ok->move(w - 104, h - 38);
    Button_Wrong->move(w - 104, h - 38);
    Button_Right->move(w - 202, h - 38);
}

void TFormQueryResultVoc::ShowDifferences(const TQVL_AnswerDiff::Parts& parts)
{
    // After the opening quote.
    Label_Input->SetMarks(parts, 1);
    const int differing = int(Label_Input->Marked().size());
    const int missing = int(Label_Input->Gaps().size());
    if (differing + missing == 0)
        return;
    Label_Input->setToolTip(QStringLiteral("Unterstrichen: Zeichen, die von der nächstliegenden Bedeutung abweichen; "
                                           "Spitze darunter: hier fehlen Zeichen."));
    Label_Input->setAccessibleDescription(
        QStringLiteral("Abweichende Stellen: %1, fehlende Stellen: %2").arg(differing).arg(missing));
}
