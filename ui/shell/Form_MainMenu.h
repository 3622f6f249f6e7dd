#pragma once

#include "ui/shell/FormMeta.h"

#include <QList>
#include <QPair>
#include <QString>

class TKQ_ClickMatrix;
class TPanelTodayOverview;
class TQVL;

// The main menu: the hub from which the learner reaches every function.
class TFormMainMenu : public TFormMeta
{
    Q_OBJECT
public:
    TFormMainMenu(QWidget* parent, TQVL& core);

    // The tiles: caption and icon name.
    static QList<QPair<QString, QString>> Tiles();

    TKQ_ClickMatrix* KQ_ClickMatrix1;
    // Below the tiles; hidden by the option for the plain menu.
    TPanelTodayOverview* Panel_Today;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void select(int index);
    // Opens the storage as the active unit and starts its query as the query menu does.
    void startStorageQuery(const QString& path);

    TQVL& core;
};
