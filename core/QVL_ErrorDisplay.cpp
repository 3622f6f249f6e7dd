#include "core/QVL_ErrorDisplay.h"

#include <QtDebug>

namespace {

class LogErrorDisplay final : public TQVL_ErrorDisplay
{
public:
    void ShowError(const QString& text) override { qWarning().noquote() << text; }
};

LogErrorDisplay logDisplay;
TQVL_ErrorDisplay* installed = nullptr;

} // namespace

TQVL_ErrorDisplay& TQVL_ErrorDisplay::Current()
{
    return installed ? *installed : logDisplay;
}

TQVL_ErrorDisplay* TQVL_ErrorDisplay::Install(TQVL_ErrorDisplay* display)
{
    TQVL_ErrorDisplay* previous = installed;
    installed = display;
    return previous;
}
