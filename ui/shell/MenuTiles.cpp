#include "ui/shell/MenuTiles.h"

#include "ui/shell/FormMeta.h"
#include "ui/shell/Icons.h"
#include "ui/shell/KQ_ClickMatrix.h"

#include <QVBoxLayout>

TKQ_ClickMatrix* CreateMenuTiles(TFormMeta& screen, const QList<TMenuTile>& tiles)
{
    auto* menu = new TKQ_ClickMatrix(screen.Content());
    menu->setObjectName(QStringLiteral("KQ_ClickMatrix1"));
    menu->SetItemWidth(120);
    menu->SetItemHeight(60);
    TKQ_ClickMatrixPaintOptions options;
    options.ShowBorderFrame = false;
    // The system font fills a 120-pixel tile with the longest captions; 11 pixels leave a margin.
    QFont captions = menu->font();
    captions.setPixelSize(11);
    options.TextFont = captions;
    menu->SetPaintOptions(options);
    menu->SetItemsPosition(ipCentered);
    menu->SetHandleHoovering(true);
    // A menu tile is chosen by one click, whether or not it has the focus.
    menu->SelectItemWhenUnFocused = true;
    menu->SingleClickToSelectItem = true;
    menu->BeginUpdate();
    for (const TMenuTile& tile : tiles)
        menu->Items().Add(tile.Caption, tile.Icon.isEmpty() ? QIcon() : Icons::Get(tile.Icon));
    menu->EndUpdate();
    menu->onSelectItem = [&screen, tiles](TKQ_ClickMatrixItem* item) {
        if (item && item->Index() >= 0 && item->Index() < tiles.size() && tiles[item->Index()].Action)
            tiles[item->Index()].Action(screen.Navigator());
    };
    auto* layout = new QVBoxLayout(screen.Content());
    layout->setContentsMargins(5, 20, 5, 5);
    layout->addWidget(menu);
    return menu;
}
