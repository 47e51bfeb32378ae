// Running the device inside a test process: start and stop it, pump its messages, and
// say what happens when the program waits for input. Not part of the Win32 API.
#pragma once

#include "windows.h"

#include <functional>
#include <string>

namespace device::host {

struct Options {
    std::u16string platform = u"PocketPC"; // what SPI_GETPLATFORMTYPE answers
    int screenWidth = 240;                  // the screen's size in pixels
    int screenHeight = 320;
};

// A fresh headless device with a virtual clock; any earlier state is gone.
void StartHeadless(const Options& options = {});
void Stop();

// Dispatches what is pending — posted messages, input, painting — as a message loop
// would, until nothing is left; stops before a pending WM_QUIT, which stays queued.
// Returns the number of messages dispatched.
int PumpMessages();

// Lets `milliseconds` of the virtual clock pass, moving it from one due timer to the next
// (the caret's blink included) and dispatching what comes due, as an idle program would
// see it; then pumps what is pending at the end.
void RunFor(DWORD milliseconds);

// Queues a step to run the next time the program waits in GetMessageW with nothing to do
// (inside RunApplication, a modal loop or MessageBoxW). Once the steps are used up, the
// device posts WM_QUIT, as a finished script does.
void WhenIdle(std::function<void()> step);
void ClearIdleSteps();

bool IsQuitPending();

} // namespace device::host
