// The program's entry point on the device: the address book's start-up sequence.
#include "main_window.h"

#include "windows.h"

int WINAPI WinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/, int /*nShowCmd*/) {
    return RunAddressBook();
}
