// FOR TESTS ONLY: puts the toolkit's process-wide state back to how a fresh process
// starts. The program never calls it.
#pragma once

// Clears MainForm, AppRunning, AppTerminated and CreatingControl, restarts ControlIdCounter
// at 0x8000, forgets the cached platform type and restores the hooks' defaults. Objects
// are not freed: a test frees what it made before resetting.
void ResetToolkitForTesting();
