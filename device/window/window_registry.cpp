// The handle table and the desktop window.
#include "window/window_registry.h"

#include "message/dispatch.h"
#include "window/window_class.h"

#include <memory>
#include <vector>

namespace device {

std::vector<registry_detail::Slot> registry_detail::g_slots(1);

namespace {

using registry_detail::g_slots;
using registry_detail::Slot;

std::vector<size_t> g_freeSlots;
std::vector<std::unique_ptr<Window>> g_released;
Window* g_desktop = nullptr;
// Each start of the device hands out handles from a new generation, so that a handle
// kept from an earlier start never names a window of this one.
WORD g_firstGeneration = 1;

HWND MakeHandle(size_t index, WORD generation) {
    return reinterpret_cast<HWND>((static_cast<ULONG_PTR>(generation) << 16) | index);
}

} // namespace

Window* Desktop() { return g_desktop; }

Window* AllocateWindow() {
    size_t index;
    if (!g_freeSlots.empty()) {
        index = g_freeSlots.back();
        g_freeSlots.pop_back();
    } else {
        index = g_slots.size();
        if (index > 0xFFFF) {
            return nullptr; // the table is full, as a real system runs out of handles
        }
        g_slots.emplace_back();
        g_slots.back().generation = g_firstGeneration;
    }
    Slot& slot = g_slots[index];
    slot.window = std::make_unique<Window>();
    slot.window->handle = MakeHandle(index, slot.generation);
    return slot.window.get();
}

void ReleaseWindow(Window* window) {
    size_t index = reinterpret_cast<ULONG_PTR>(window->handle) & 0xFFFF;
    Slot& slot = g_slots[index];
    g_released.push_back(std::move(slot.window));
    slot.generation = static_cast<WORD>(slot.generation + 1);
    if (slot.generation == 0) {
        slot.generation = 1;
    }
    g_freeSlots.push_back(index);
    CollectReleasedWindows();
}

void CollectReleasedWindows() {
    if (DeliveryDepth() == 0) {
        g_released.clear();
    }
}

void CreateDesktop(WNDPROC desktopProc, WindowClass* desktopClass) {
    Window* desktop = AllocateWindow();
    desktop->windowClass = desktopClass;
    desktop->wndProc = desktopProc;
    desktop->style = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    desktop->creating = false;
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    desktop->windowRect = screen;
    desktop->clientRect = screen;
    desktop->deviceOwned = true;
    if (desktopClass != nullptr) {
        desktopClass->windowCount++;
    }
    g_desktop = desktop;
}

void ResetWindowRegistry() {
    g_desktop = nullptr;
    g_released.clear();
    g_slots.clear();
    g_slots.resize(1);
    g_freeSlots.clear();
    g_firstGeneration = static_cast<WORD>(g_firstGeneration + 0x100);
    if (g_firstGeneration < 0x100) {
        g_firstGeneration = 1;
    }
}

} // namespace device
