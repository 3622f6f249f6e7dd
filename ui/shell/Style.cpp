#include "ui/shell/Style.h"

#include "ui/shell/Icons.h"

#include <QWidget>

QIcon TQuorvelStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton)
        return Icons::Get(QStringLiteral("menu-overflow"));
    return QProxyStyle::standardIcon(icon, option, widget);
}

void TQuorvelStyle::polish(QWidget* widget)
{
    QProxyStyle::polish(widget);
    // Styles read this attribute of the window as "the keyboard is in use here" and then draw the focus.
    if (widget && widget->isWindow())
        widget->setAttribute(Qt::WA_KeyboardFocusChange);
}
