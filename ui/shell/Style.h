#pragma once

#include <QProxyStyle>

// The platform's style with the program's own icon for the menu bar's
// overflow button. Qt's icon there is a PNG whose format Qt asks every
// installed image plugin about first, loading all of them (with their
// libraries) while the window is still being built.
class TQuorvelStyle : public QProxyStyle
{
public:
    TQuorvelStyle() = default;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override;
};
