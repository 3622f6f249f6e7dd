#pragma once

#include "ui/shell/FormMeta.h"
#include "ui/shell/MenuTiles.h"

#include <QList>

class TKQ_ClickMatrix;
class TPanelTodayOverview;
class TQVL;

// The main menu: the hub from which the learner reaches every function.
class TFormMainMenu : public TFormMeta
{
    Q_OBJECT
public:
    TFormMainMenu(QWidget* parent, TQVL& core);

    // The tiles in their order; the editing tile's caption follows the unit.
    static QList<TMenuTile> Tiles();
    static constexpr int EditTile = 5;

    TKQ_ClickMatrix* KQ_ClickMatrix1;
    // Below the tiles; hidden by the option for the plain menu.
    TPanelTodayOverview* Panel_Today;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Opens the storage as the active unit and starts its query as the query menu does.
    void startStorageQuery(const QString& path);

    TQVL& core;
};
