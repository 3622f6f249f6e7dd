#pragma once

#include <QList>
#include <QString>

#include <functional>

class TFormMeta;
class TKQ_ClickMatrix;
class TNavigator;

// One tile of a menu screen: its caption, its icon's name (none when empty)
// and what choosing it does.
struct TMenuTile
{
    QString Caption;
    QString Icon;
    std::function<void(TNavigator& navigator)> Action;
};

// The tile menu of a menu screen: 120 x 60 tiles with icons, centred, below
// the screen's header. Choosing a tile runs its action with the screen's navigator.
TKQ_ClickMatrix* CreateMenuTiles(TFormMeta& screen, const QList<TMenuTile>& tiles);
