#include "ui/shell/StartupWarmUp.h"

#include <fontconfig/fontconfig.h>

TStartupWarmUp::TStartupWarmUp()
{
    // The font configuration is global to the process and made once; Qt finds
    // it ready instead of loading it on the first text.
    worker = std::thread([] { FcInit(); });
}

TStartupWarmUp::~TStartupWarmUp()
{
    Finish();
}

void TStartupWarmUp::Finish()
{
    if (worker.joinable())
        worker.join();
}
