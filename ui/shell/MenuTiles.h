#pragma once

#include <QList>
#include <QPair>
#include <QString>

class TFormMeta;
class TKQ_ClickMatrix;

// The tile menu of a menu screen: 120 x 60 tiles with icons, centred, below
// the screen's header. `tiles` are (caption, icon name) pairs.
TKQ_ClickMatrix* CreateMenuTiles(TFormMeta& screen, const QList<QPair<QString, QString>>& tiles);
