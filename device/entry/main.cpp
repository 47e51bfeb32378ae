// The process entry point of every program on the device: main() starts the device and
// calls the program's WinMain.
#include "device_runtime.h"

#ifdef DEVICE_HAS_SDL
#include "display/sdl_display.h"
#endif

int main(int argc, char** argv) {
#ifdef DEVICE_HAS_SDL
    return device::RunProgram(argc, argv, device::CreateSdlDisplay);
#else
    return device::RunProgram(argc, argv, nullptr);
#endif
}
