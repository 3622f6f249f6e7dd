#pragma once

#include "ui/shell/FormMeta.h"

#include <functional>

class QGridLayout;
class QPushButton;
class TQVL;
class TQVL_Card;
class TQVL_Language;
class TQVL_Unit;

// Base of the card editors: shows one card of the active unit at a time,
// moves between the cards and keeps the save rules. Cards change in memory
// only; the unit file is written by "Übernehmen & Zurück", or after the
// learner said "Ja" when leaving any other way with changed cards.
class TFormEdit : public TFormMeta
{
    Q_OBJECT
public:
    TFormEdit(TQVL& core, QWidget* parent = nullptr);
    ~TFormEdit() override;

    // Opens on a fresh empty card at the end of the unit.
    void Start() override;
    // Leaving with changed cards asks whether to save them: "Ja" saves the
    // unit, "Nein" reads it back from its file, "Abbrechen" keeps the editor
    // open (raises "Abbruch durch Benutzer!").
    void BeforeClose() override;

    // The card kind CreateNewCard makes.
    virtual int CardKind() const = 0;
    // Writes the inputs into the card at CardIndex (WriteCard), then removes
    // that card when it is empty; returns whether it was removed. After a
    // removal nothing is written until the next ShowCard, so inputs of a
    // removed card never land on the card that moved into its place.
    bool SaveCard();
    // Appends a new empty card and shows it.
    virtual void CreateNewCard();
    // Makes `index` current, sets the navigation buttons and fills the inputs.
    virtual void ShowCard(int index);
    // Every input of the card is empty.
    virtual bool IsCardEmpty() const = 0;

    // The buttons' actions.
    void ShowFirst();
    void ShowPrevious();
    void ShowNext();
    void ShowLast();
    void NewCard();
    void DeleteCard();
    void SaveAndNext();
    void SaveAndDone();

    // Whether cards changed since the unit was last written.
    bool Modified() const { return modified; }
    TQVL_Unit& Unit() const;

    // Runs after "Übernehmen & Zurück" saved the unit; the opener switches to the main menu.
    std::function<void()> OnDone;
    // Escape: the opener switches away, and BeforeClose asks about changed cards.
    std::function<void()> OnLeave;

    int CardIndex = 0;
    QPushButton* Button_First = nullptr;
    QPushButton* Button_Previous = nullptr;
    QPushButton* Button_Next = nullptr;
    QPushButton* Button_Last = nullptr;
    QPushButton* Button_New = nullptr;
    QPushButton* Button_Delete = nullptr;
    QPushButton* Button_SaveAndNext = nullptr;
    QPushButton* Button_SaveAndDone = nullptr;
    QPushButton* Button_Help = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The area above the buttons for the editor's own inputs (no layout of its own).
    QWidget* Editor() const { return editor; }
    virtual QString HelpPage() const = 0;
    // Copies the inputs into `card` (the card at CardIndex); MarkModified when that changes it.
    virtual void WriteCard(TQVL_Card& card) = 0;
    // The card at CardIndex while one is shown, else nullptr.
    TQVL_Card* CurrentCard() const;
    // A card was changed in memory.
    void MarkModified() { modified = true; }
    // The open language profiles of the unit, or nullptr.
    const TQVL_Language* ForeignLanguage() const;
    const TQVL_Language* HomeLanguage() const;
    // The profile's "adjective_plural", or `fallback` without a profile.
    static QString AdjectivePlural(const TQVL_Language* language, const QString& fallback);
    // The profile's own small font when its font use is on, else the widget's font.
    static void ApplyProfileFont(QWidget* input, const TQVL_Language* language);

    TQVL& Core;

private:
    void showClamped(int index);
    QPushButton* navigationButton(const char* name, const QString& icon, const QString& hint);

    QWidget* editor = nullptr;
    bool modified = false;
    bool showing = false;
    // Cards up to this uid were in the file when the editor opened.
    qint32 firstNewUid = 1;
};
