#pragma once

#include "query/QVL_Query_PlaySettings.h"
#include "ui/shell/FormMeta.h"

class QPushButton;
class TKQ_ClickMatrix;
class TQVL;

// The play menu ("Vokabeln vorspielen"): the learner picks how the cards of
// the active unit are played back. Shown, it empties the card pile and sets
// the query up for play; a choice adds the unit and opens the play screen of
// the unit's kind, or the unit list for several units.
class TFormMenuPlay : public TFormMeta
{
    Q_OBJECT
public:
    TFormMenuPlay(QWidget* parent, TQVL& engine);
    ~TFormMenuPlay() override;

    // Chooses tile `index` (a TQVL_PlayForm) as a click does.
    void SelectTile(int index);

    TKQ_ClickMatrix* KQ_ClickMatrix1 = nullptr;
    QPushButton* Button_Back = nullptr;

private:
    void prepare();
    void choose(TQVL_PlayForm form);

    TQVL& core;
};
