#include "ui/edit/Form_EditVoc.h"

#include "app/QVL.h"
#include "content/QVL_Card_Voc.h"
#include "ui/shell/ForeignInput.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/PlainText.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QLineEdit* input(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

TFormEditVoc::TFormEditVoc(TQVL& core, QWidget* parent) : TFormEdit(core, parent)
{
    setObjectName(QStringLiteral("FormEditVoc"));
    SetCaption(QStringLiteral("Vokabeln hinzufügen"));
    SetSubCaption(QStringLiteral("Geben Sie die Bedeutungen der Vokabel ein. Mit \"Übernehmen & Nächste\" speichern "
                                 "Sie die Karte und legen die nächste an."));
    QWidget* area = Editor();
    TntEdit1 = input(area, "TntEdit1");
    TntEdit2 = input(area, "TntEdit2");
    TntEdit3 = input(area, "TntEdit3");
    TntEdit4 = input(area, "TntEdit4");
    TntEdit5 = input(area, "TntEdit5");
    TntEdit6 = input(area, "TntEdit6");
    TntEdit7 = input(area, "TntEdit7");
    TntEdit8 = input(area, "TntEdit8");

    const TQVL_Language* foreign = ForeignLanguage();
    const TQVL_Language* home = HomeLanguage();
    const QString foreignAdjective = AdjectivePlural(foreign, QStringLiteral("Fremdsprachliche"));
    const QString homeAdjective = AdjectivePlural(home, QStringLiteral("Muttersprachliche"));
    // The adjectives come from the language profiles' files.
    Label_Foreign = AsPlainText(new QLabel(QStringLiteral("%1 Bedeutungen:").arg(foreignAdjective), area));
    Label_Foreign->setObjectName(QStringLiteral("Label_Foreign"));
    Label_Home = AsPlainText(new QLabel(QStringLiteral("%1 Bedeutungen:").arg(homeAdjective), area));
    Label_Home->setObjectName(QStringLiteral("Label_Home"));
    QLineEdit* const foreignInputs[] = {TntEdit1, TntEdit3, TntEdit5};
    QLineEdit* const homeInputs[] = {TntEdit2, TntEdit4, TntEdit6};
    for (int row = 0; row < 3; ++row) {
        QLineEdit* foreignInput = foreignInputs[row];
        QLineEdit* homeInput = homeInputs[row];
        foreignInput->setToolTip(
            PlainToolTip(QStringLiteral("%1. %2 Bedeutung dieser Vokabel").arg(row + 1).arg(foreignAdjective)));
        homeInput->setToolTip(
            PlainToolTip(QStringLiteral("%1. %2 Bedeutung dieser Vokabel").arg(row + 1).arg(homeAdjective)));
        MarkForeignInput(foreignInput);
        ApplyProfileFont(foreignInput, foreign);
        ApplyProfileFont(homeInput, home);
    }
    ApplyProfileFont(TntEdit7, home);
    ApplyProfileFont(TntEdit8, home);
    auto* noteLabel = new QLabel(QStringLiteral("Anmerkung:"), area);
    noteLabel->setBuddy(TntEdit7);
    auto* hintLabel = new QLabel(QStringLiteral("Tip:"), area);
    hintLabel->setBuddy(TntEdit8);

    Grid = new QGridLayout(area);
    Grid->setContentsMargins(24, 8, 24, 8);
    Grid->setHorizontalSpacing(24);
    Grid->setVerticalSpacing(6);
    Grid->setColumnStretch(0, 1);
    Grid->setColumnStretch(1, 1);
    Grid->addWidget(Label_Foreign, 0, 0);
    Grid->addWidget(Label_Home, 0, 1);
    for (int row = 0; row < 3; ++row) {
        Grid->addWidget(foreignInputs[row], row + 1, 0);
        Grid->addWidget(homeInputs[row], row + 1, 1);
    }
    Grid->setRowMinimumHeight(4, 10);
    Grid->addWidget(noteLabel, 5, 0);
    Grid->addWidget(hintLabel, 5, 1);
    Grid->addWidget(TntEdit7, 6, 0);
    Grid->addWidget(TntEdit8, 6, 1);
    Grid->setRowStretch(20, 1);

    setTabOrder(TntEdit1, TntEdit2);
    setTabOrder(TntEdit2, TntEdit3);
    setTabOrder(TntEdit3, TntEdit4);
    setTabOrder(TntEdit4, TntEdit5);
    setTabOrder(TntEdit5, TntEdit6);
    setTabOrder(TntEdit6, TntEdit7);
    setTabOrder(TntEdit7, TntEdit8);
    connect(TntEdit1, &QLineEdit::returnPressed, this, [this] { TntEdit2->setFocus(); });
    connect(TntEdit2, &QLineEdit::returnPressed, this, [this] { Guarded([this] { SaveAndNext(); }); });
}

TFormEditVoc::~TFormEditVoc() = default;

int TFormEditVoc::CardKind() const
{
    return tVoc;
}

QString TFormEditVoc::HelpPage() const
{
    return QStringLiteral("help_edit_voc.html");
}

TQVL_Card_Voc_Values TFormEditVoc::Values() const
{
    TQVL_Card_Voc_Values values;
    values.foreign1 = TntEdit1->text();
    values.home1 = TntEdit2->text();
    values.foreign2 = TntEdit3->text();
    values.home2 = TntEdit4->text();
    values.foreign3 = TntEdit5->text();
    values.home3 = TntEdit6->text();
    values.note = TntEdit7->text();
    values.hint = TntEdit8->text();
    return values;
}

void TFormEditVoc::SetValues(const TQVL_Card_Voc_Values& values)
{
    TntEdit1->setText(values.foreign1);
    TntEdit2->setText(values.home1);
    TntEdit3->setText(values.foreign2);
    TntEdit4->setText(values.home2);
    TntEdit5->setText(values.foreign3);
    TntEdit6->setText(values.home3);
    TntEdit7->setText(values.note);
    TntEdit8->setText(values.hint);
}

void TFormEditVoc::ShowCard(int index)
{
    TFormEdit::ShowCard(index);
    const auto* card = dynamic_cast<const TQVL_Card_Voc*>(CurrentCard());
    SetValues(card ? TQVL_Card_Voc_Values::FromCard(*card) : TQVL_Card_Voc_Values());
    for (QWidget* input : Editor()->findChildren<QLineEdit*>())
        input->setEnabled(card != nullptr);
    if (isVisible())
        TntEdit1->setFocus();
}

void TFormEditVoc::WriteCard(TQVL_Card& card)
{
    auto* voc = dynamic_cast<TQVL_Card_Voc*>(&card);
    if (!voc)
        return;
    const TQVL_Card_Voc_Values before = TQVL_Card_Voc_Values::FromCard(*voc);
    const TQVL_Card_Voc_Values values = valuesFor(*voc);
    if (values == before)
        return;
    values.ApplyTo(*voc);
    MarkModified();
}

TQVL_Card_Voc_Values TFormEditVoc::valuesFor(const TQVL_Card_Voc& card) const
{
    TQVL_Card_Voc_Values values = Values();
    if (!WithSoundFiles()) {
        // A sound card shown here keeps its files.
        const TQVL_Card_Voc_Values stored = TQVL_Card_Voc_Values::FromCard(card);
        values.foreign_filename = stored.foreign_filename;
        values.home_filename = stored.home_filename;
    }
    return values;
}

bool TFormEditVoc::IsCardEmpty() const
{
    const auto* card = dynamic_cast<const TQVL_Card_Voc*>(CurrentCard());
    return card && valuesFor(*card).IsEmpty(true);
}
