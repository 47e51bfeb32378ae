// FOR TESTS ONLY: the reset of the toolkit's process-wide state.
#include "testing_reset.h"

#include "application.h"
#include "control_factory.h"

void ResetPlatformTypeCache();

void ResetToolkitForTesting() {
    MainForm = nullptr;
    AppRunning = false;
    AppTerminated = false;
    CreatingControl = nullptr;
    ControlIdCounter = 0x8000;
    ResetPlatformTypeCache();
    RealignHook = NoRealign;
    ApplyFontHook = nullptr;
}
