#pragma once

#include <QProxyStyle>

// The platform's style with two changes:
// - the program's own icon for the menu bar's overflow button. Qt's icon there
//   is a PNG whose format Qt asks every installed image plugin about first,
//   loading all of them (with their libraries) while the window is still being built;
// - the keyboard focus is shown from the start in every window. Styles draw
//   the focus frame (of a list's current row, a check box, a button) only
//   once the window has seen a Tab, so a learner could not tell which control
//   the keys would reach.
class TQuorvelStyle : public QProxyStyle
{
public:
    TQuorvelStyle() = default;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override;
    void polish(QWidget* widget) override;
    using QProxyStyle::polish;
};
