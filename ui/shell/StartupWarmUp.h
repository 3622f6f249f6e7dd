#pragma once

#include <thread>

// Work of the start that the second processor core can do while the first
// connects to the display and builds the window: the font configuration
// (reading every configuration file and font cache) is needed by the first
// text the window measures, and takes a few milliseconds on its own.
class TStartupWarmUp
{
public:
    // Starts at once; before the application object exists is best.
    TStartupWarmUp();
    // Waits for what was started.
    ~TStartupWarmUp();
    TStartupWarmUp(const TStartupWarmUp&) = delete;
    TStartupWarmUp& operator=(const TStartupWarmUp&) = delete;

    // Waits for what was started; call before the first font is used.
    void Finish();

private:
    std::thread worker;
};
