#pragma once

#include <QSize>

#include <initializer_list>

class QTreeView;
class QWidget;

// Sizes from the font instead of fixed pixels: the design's sizes were made
// for a narrow font at 96 dpi and are kept as the least a control gets.
namespace FitToText {

// The size `widget` needs for its contents: at least `design`, wider when its
// layout needs more, and as high as the contents need at that width (wrapped
// texts included).
QSize Grown(const QWidget& widget, QSize design);

// Widens each column of `view` to its header text and to the texts of its rows,
// never below the design's width in `least` (missing entries: 0). The view's
// minimum width then holds all columns, so the screen around it grows instead
// of cutting the last ones off.
void Columns(QTreeView& view, std::initializer_list<int> least = {});

} // namespace FitToText
