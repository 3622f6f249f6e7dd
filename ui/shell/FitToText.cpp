#include "ui/shell/FitToText.h"

#include <QHeaderView>
#include <QLayout>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

namespace FitToText {

QSize Grown(const QWidget& widget, QSize design)
{
    const QSize least = widget.minimumSizeHint();
    const int width = std::max(design.width(), least.width());
    int height = std::max(design.height(), least.height());
    // Wrapped texts need more lines the narrower they get; the minimum size
    // hint cannot know the width, the layout can.
    if (const QLayout* layout = widget.layout(); layout && layout->hasHeightForWidth())
        height = std::max(height, layout->totalMinimumHeightForWidth(width));
    return {width, height};
}

void Columns(QTreeView& view, std::initializer_list<int> least)
{
    QHeaderView& header = *view.header();
    const auto* designed = least.begin();
    int total = 0;
    for (int column = 0; column < header.count(); ++column) {
        const int designWidth = column < int(least.size()) ? designed[column] : 0;
        if (header.isSectionHidden(column))
            continue;
        // Public in the base class; the tree view's own override is protected.
        const int rows = static_cast<const QAbstractItemView&>(view).sizeHintForColumn(column);
        const int needed = std::max({designWidth, header.sectionSizeHint(column), rows});
        total += needed;
        // A stretched column takes what is left; the minimum width below leaves it enough.
        if (header.sectionResizeMode(column) != QHeaderView::Stretch)
            header.resizeSection(column, needed);
    }
    const int frame = 2 * view.frameWidth();
    const int scrollBar = view.verticalScrollBar() ? view.style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    view.setMinimumWidth(std::max(view.minimumWidth(), total + frame + scrollBar));
}

} // namespace FitToText
