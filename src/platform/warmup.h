#pragma once

#include <thread>

// Loads, beside the main thread, what the first window waits for longest: the system's list of
// fonts and Qt's image plugins. The main thread builds the window meanwhile and finds them
// loaded, or waits for the rest. Made after the application object; joined when it goes.
class StartupWarmUp {
public:
    StartupWarmUp();
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;

private:
    std::thread thread_;
};
