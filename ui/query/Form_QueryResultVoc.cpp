#include "ui/query/Form_QueryResultVoc.h"

#include "content/QVL_Card_Sound.h"
#include "content/QVL_Unit.h"
#include "query/QVL_Card_Return_Voc.h"
#include "query/QVL_Query_Card.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/Theme.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

TFormQueryResultVoc::TFormQueryResultVoc(TQVL_Query& query, QWidget* parent) : TFormQueryResultMeta(query, parent)
{
    setObjectName(QStringLiteral("FormQueryResultVoc"));
    auto makeLabel = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    Label_Foreign = makeLabel("Label_Foreign");
    Label_Home = makeLabel("Label_Home");
    Label3 = makeLabel("Label3");
    Label3->setText(QStringLiteral("Ihre Eingabe:"));
    Label_Input = makeLabel("Label_Input");
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
    // The answer's own sound after a pause; the window's end cancels it.
    if (const auto* sound = dynamic_cast<const TQVL_Card_Sound*>(shown.Card.Card)) {
        const QString named = shown.Direction == 1 ? sound->home_filename : sound->foreign_filename;
        // Relative names belong to the lesson's folder, never to the working directory.
        const QString fileName = shown.Card.Unit ? shown.Card.Unit->ExternalFilePath(named) : QString();
        QTimer::singleShot(SoundDelayMs, this, [fileName] { TFormQueryMeta::PlaySound(fileName); });
    }

    const auto* voc = dynamic_cast<const TQVL_Card_Voc*>(shown.Card.Card);
    Label_Foreign->setText(voc ? voc->ForeignText() : QString());
    Label_Home->setText(voc ? voc->HomeText() : QString());
    const auto* typed = dynamic_cast<const TQVL_Card_Return_Voc*>(shown.Answer);
    Label_Input->setText(QStringLiteral("\"") + (typed ? typed->Text : QString()) + QStringLiteral("\""));
    Label_Input->setVisible(shown.ShowUserAnswer);
    Label3->setVisible(shown.ShowUserAnswer);

    const QFont plain = font();
    const QFont meaning = Label_Foreign->font();
    Label_Foreign->setFont(TFormQueryMeta::ProfileSmallFont(TFormQueryMeta::ForeignLanguage(), meaning));
    Label_Home->setFont(TFormQueryMeta::ProfileSmallFont(TFormQueryMeta::HomeLanguage(), meaning));
    // The input is in the language that was answered.
    const TQVL_Language* answered = shown.Direction == 1 ? TFormQueryMeta::HomeLanguage() : TFormQueryMeta::ForeignLanguage();
    Label_Input->setFont(TFormQueryMeta::ProfileSmallFont(answered, plain));
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
    Label_Success->setGeometry(14, h - 34, w - 230, 22);
    Label_Foreign->setGeometry(14, 58, w - 28, 26);
    Label_Home->setGeometry(14, 86, w - 28, 26);
    Label3->setGeometry(14, 116, 90, 22);
    Label_Input->setGeometry(104, 116, w - 118, 22);
    Label_Special->setGeometry(14, 142, w - 28, 22);
    Button_Ok->move(w - 104, h - 38);
    Button_Wrong->move(w - 104, h - 38);
    Button_Right->move(w - 202, h - 38);
}
