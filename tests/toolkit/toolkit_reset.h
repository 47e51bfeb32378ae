// Puts the toolkit's process-wide state back to how a fresh process starts, so that each
// test begins as a program would.
#pragma once

#include "application.h"
#include "control.h"
#include "control_factory.h"

namespace test {

// Clears MainForm, AppRunning, AppTerminated and CreatingControl, restarts ControlIdCounter
// at 0x8000, forgets the cached platform type and restores the hooks' defaults. Objects
// are not freed: a test frees what it made before resetting.
inline void ResetToolkit() {
    MainForm = nullptr;
    AppRunning = false;
    AppTerminated = false;
    CreatingControl = nullptr;
    ControlIdCounter = 0x8000;
    PlatformTypeCache = 255;
    RealignHook = NoRealign;
    ApplyFontHook = nullptr;
}

} // namespace test
