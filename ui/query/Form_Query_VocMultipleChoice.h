#pragma once

#include "ui/query/Form_Query_Voc.h"

#include <vector>

class QListWidget;
class TQVL_Card;

// The multiple-choice query: the question of the vocabulary window, answered
// by picking one of five entries — the card's own answer among those of four
// other random cards of the pile — with the mouse or the digit keys 1 to 5.
class TFormQueryVocMultipleChoice : public TFormQueryVoc
{
    Q_OBJECT
public:
    static constexpr int EntryCount = 5;

    TFormQueryVocMultipleChoice(QWidget* parent, TQVL& core);

    QListWidget* TntListBox1 = nullptr;

protected:
    void DisplayQuestion(TQVL_Query_Card& card, int direction) override;
    std::unique_ptr<TQVL_Card_Return> GetUserInput(TQVL_Query_Card& card) override;
    // Without a chosen entry: "Bitte wählen Sie eine Antwort."
    void ResultClicked() override;
    void LayoutControls() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Handles the digit keys; true when the key was one of them.
    bool digitPressed(int key);

    // The cards behind the entries, in list order.
    std::vector<const TQVL_Card*> entryCards;
    int direction = 1;
};
