#include "ui/shell/Style.h"

#include "ui/shell/Icons.h"

QIcon TQuorvelStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton)
        return Icons::Get(QStringLiteral("menu-overflow"));
    return QProxyStyle::standardIcon(icon, option, widget);
}
