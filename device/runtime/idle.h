// What the device does when the program waits for a message and none is there: replay
// the next script step, wait for the desktop window's input, or run a test's next step.
#pragma once

namespace device {

enum class IdleResult {
    Produced,  // something was queued (input, a posted message, a quit)
    Exhausted, // nothing more will ever come
};

class IdleDriver {
public:
    virtual ~IdleDriver() = default;
    // Called with an empty queue, after all painting has been delivered.
    virtual IdleResult OnIdle() = 0;
    // The screen changed since the last call; show it (desktop window) or ignore it.
    virtual void Present() {}
};

void SetIdleDriver(IdleDriver* driver);
IdleDriver* CurrentIdleDriver();

// Runs the driver for a waiting GetMessageW. When nothing more can come, the device posts
// WM_QUIT so that message loops end; a program that keeps waiting after that is stopped
// with a message on stderr.
void RunIdle();

// Marks the screen as changed so that the driver presents it before waiting.
void ScreenChanged();

} // namespace device
