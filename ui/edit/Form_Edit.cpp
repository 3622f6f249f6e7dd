#include "ui/edit/Form_Edit.h"

#include "app/QVL.h"
#include "core/QVL_Error.h"
#include "ui/help/HelpService.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

TFormEdit::TFormEdit(TQVL& core, QWidget* parent) : TFormMeta(parent), Core(core)
{
    SetHeaderHeight(TallHeaderHeight);
    editor = new QWidget(Content());
    editor->setObjectName(QStringLiteral("Panel_Editor"));

    Button_First = navigationButton("Button_First", QStringLiteral("card-first"), QStringLiteral("Erste Karte anzeigen"));
    Button_Previous = navigationButton("Button_Previous", QStringLiteral("card-previous"),
                                       QStringLiteral("Vorheriger Karte anzeigen"));
    Button_Next = navigationButton("Button_Next", QStringLiteral("card-next"),
                                   QStringLiteral("Nachfolgende Karte anzeigen"));
    Button_Last = navigationButton("Button_Last", QStringLiteral("card-last"), QStringLiteral("Letzte Karte anzeigen"));
    Button_New = navigationButton("Button_New", QStringLiteral("card-new"), QStringLiteral("Neue Karte erstellen"));
    Button_Delete = navigationButton("Button_Delete", QStringLiteral("delete"), QStringLiteral("Aktuelle Karte löschen"));
    const auto textButton = [this](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption, Content());
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        return button;
    };
    Button_Help = textButton("Button_Help", QStringLiteral("Hilfe"));
    Button_SaveAndNext = textButton("Button_SaveAndNext", QStringLiteral("Übernehmen && Nächste"));
    Button_SaveAndDone = textButton("Button_SaveAndDone", QStringLiteral("Übernehmen && Zurück"));

    const auto bind = [this](QPushButton* button, void (TFormEdit::*action)()) {
        connect(button, &QPushButton::clicked, this, [this, action] { Guarded([this, action] { (this->*action)(); }); });
    };
    bind(Button_First, &TFormEdit::ShowFirst);
    bind(Button_Previous, &TFormEdit::ShowPrevious);
    bind(Button_Next, &TFormEdit::ShowNext);
    bind(Button_Last, &TFormEdit::ShowLast);
    bind(Button_New, &TFormEdit::NewCard);
    bind(Button_Delete, &TFormEdit::DeleteCard);
    bind(Button_SaveAndNext, &TFormEdit::SaveAndNext);
    bind(Button_SaveAndDone, &TFormEdit::SaveAndDone);
    connect(Button_Help, &QPushButton::clicked, this, [this] { Guarded([this] { THelpService::ShowHelpPage(HelpPage()); }); });

    auto* navigation = new QHBoxLayout;
    navigation->setSpacing(4);
    for (QPushButton* button : {Button_First, Button_Previous, Button_Next, Button_Last, Button_New, Button_Delete})
        navigation->addWidget(button);
    navigation->addStretch(1);
    navigation->addWidget(Button_Help);
    navigation->addWidget(Button_SaveAndNext);
    navigation->addWidget(Button_SaveAndDone);

    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(12, 8, 12, 10);
    layout->setSpacing(8);
    layout->addWidget(editor, 1);
    layout->addLayout(navigation);
}

TFormEdit::~TFormEdit() = default;

QPushButton* TFormEdit::navigationButton(const char* name, const QString& icon, const QString& hint)
{
    auto* button = new QPushButton(Content());
    button->setObjectName(QLatin1String(name));
    button->setIcon(Icons::Get(icon));
    button->setIconSize(QSize(20, 20));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoDefault(false);
    return button;
}

TQVL_Unit& TFormEdit::Unit() const
{
    return Core.Units->GetActiveUnit();
}

void TFormEdit::Start()
{
    firstNewUid = Unit().Cards->MaxCardId + 1;
    CreateNewCard();
}

void TFormEdit::BeforeClose()
{
    TQVL_Unit& unit = Unit();
    if (!unit.IsOpen)
        return;
    SaveCard();
    if (!modified)
        return;
    switch (TDialogService::Current().ConfirmOrCancel(QStringLiteral("Änderungen an der Lektion speichern?"))) {
    case TDialogChoice::Yes:
        unit.Save();
        modified = false;
        break;
    case TDialogChoice::No: {
        // The cards in memory go back to what the file holds, so that nothing
        // else (a query, the next save) picks up the dropped changes.
        const QString fileName = unit.FileName;
        unit.CloseFile();
        unit.Open(fileName);
        modified = false;
        break;
    }
    case TDialogChoice::Cancel:
        // SaveCard may have removed the empty card on screen: show a valid one again.
        showClamped(CardIndex);
        throw TQVL_Error(QStringLiteral("Abbruch durch Benutzer!"));
    }
}

void TFormEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && OnLeave) {
        event->accept();
        const auto leave = OnLeave;
        Guarded(leave);
        return;
    }
    TFormMeta::keyPressEvent(event);
}

TQVL_Card* TFormEdit::CurrentCard() const
{
    const TQVL_Card_Container& cards = *Unit().Cards;
    return showing && CardIndex >= 0 && CardIndex < cards.Count() ? cards.Card(CardIndex) : nullptr;
}

bool TFormEdit::SaveCard()
{
    TQVL_Card* card = CurrentCard();
    if (!card)
        return false;
    WriteCard(*card);
    if (!IsCardEmpty())
        return false;
    Unit().Cards->Delete(CardIndex);
    showing = false;
    return true;
}

void TFormEdit::CreateNewCard()
{
    TQVL_Card_Container& cards = *Unit().Cards;
    cards.NewCard(CardKind());
    ShowCard(cards.Count() - 1);
}

void TFormEdit::ShowCard(int index)
{
    const int count = Unit().Cards->Count();
    CardIndex = index;
    showing = index >= 0 && index < count;
    Button_First->setVisible(index > 0);
    Button_Previous->setVisible(index > 0);
    Button_Next->setVisible(index < count - 1);
    Button_Last->setVisible(index < count - 1);
    Button_New->setVisible(true);
    Button_Delete->setVisible(true);
}

// Shows the card at `index`, kept within the cards; a new card when none is left.
void TFormEdit::showClamped(int index)
{
    const int count = Unit().Cards->Count();
    if (count == 0)
        CreateNewCard();
    else
        ShowCard(std::clamp(index, 0, count - 1));
}

void TFormEdit::ShowFirst()
{
    SaveCard();
    showClamped(0);
}

void TFormEdit::ShowPrevious()
{
    SaveCard();
    showClamped(CardIndex - 1);
}

void TFormEdit::ShowNext()
{
    // When the current card was removed as empty, the next one has moved into its place.
    const bool removed = SaveCard();
    showClamped(removed ? CardIndex : CardIndex + 1);
}

void TFormEdit::ShowLast()
{
    SaveCard();
    showClamped(Unit().Cards->Count() - 1);
}

void TFormEdit::NewCard()
{
    SaveCard();
    CreateNewCard();
}

void TFormEdit::DeleteCard()
{
    TQVL_Card_Container& cards = *Unit().Cards;
    if (CardIndex >= 0 && CardIndex < cards.Count()) {
        if (cards.Card(CardIndex)->Uid < firstNewUid)
            modified = true;
        cards.Delete(CardIndex);
        showing = false;
    }
    CardIndex = std::max(CardIndex - 1, 0);
    if (cards.Count() > 0)
        ShowCard(std::min(CardIndex, cards.Count() - 1));
    else
        CreateNewCard();
}

void TFormEdit::SaveAndNext()
{
    SaveCard();
    CreateNewCard();
}

void TFormEdit::SaveAndDone()
{
    SaveCard();
    Unit().Save();
    modified = false;
    if (OnDone)
        OnDone();
}

const TQVL_Language* TFormEdit::ForeignLanguage() const
{
    const TQVL_Language& language = Core.Languages->GetActiveLanguage();
    return language.IsOpen ? &language : nullptr;
}

const TQVL_Language* TFormEdit::HomeLanguage() const
{
    const TQVL_Language* language = Core.Languages->HomeLanguage.get();
    return language && language->IsOpen ? language : nullptr;
}

QString TFormEdit::AdjectivePlural(const TQVL_Language* language, const QString& fallback)
{
    return language && !language->AdjectivePlural.isEmpty() ? language->AdjectivePlural : fallback;
}

void TFormEdit::ApplyProfileFont(QWidget* input, const TQVL_Language* language)
{
    if (!language || !language->FontUse)
        return;
    QFont font(language->SmallFont().Name);
    font.setPointSize(language->SmallFont().Size > 0 ? language->SmallFont().Size : input->font().pointSize());
    input->setFont(font);
}
