#include "core/QVL_Notices.h"

#include <QtDebug>

namespace {

TQVL_Notices::Receiver& installed()
{
    static TQVL_Notices::Receiver receiver;
    return receiver;
}

} // namespace

void TQVL_Notices::Show(const QString& text)
{
    if (installed())
        installed()(text);
    else
        qInfo().noquote() << text;
}

TQVL_Notices::Receiver TQVL_Notices::Install(Receiver receiver)
{
    Receiver previous = std::move(installed());
    installed() = std::move(receiver);
    return previous;
}
