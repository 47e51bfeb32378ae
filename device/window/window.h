// The window record of the device: one per HWND, owned by the handle table, linked into
// the window tree (parent, owner, children in z-order).
#pragma once

#include "gdi/region.h"
#include "windows.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace device {

struct WindowClass;

enum class ShowState { Normal, Minimized, Maximized };

// State of one of a window's own scroll bars (WS_HSCROLL / WS_VSCROLL).
struct ScrollBarState {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    bool tracking = false;
};

struct Window {
    HWND handle = nullptr;
    WindowClass* windowClass = nullptr;
    WNDPROC wndProc = nullptr;
    HINSTANCE instance = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT_PTR id = 0; // GWL_ID: the control identifier of a child window
    LONG_PTR userData = 0;
    std::u16string text;
    std::vector<BYTE> extraBytes; // cbWndExtra

    // Tree. Top-level windows are children of the desktop window; `owner` is only ever set
    // on top-level windows. Children are kept in z-order, the topmost first.
    Window* parent = nullptr;
    Window* owner = nullptr;
    std::vector<Window*> children;

    // Geometry, both in the client coordinates of the parent (screen coordinates for
    // top-level windows).
    RECT windowRect{};
    RECT clientRect{};
    ShowState showState = ShowState::Normal;
    RECT restoreRect{}; // window rectangle to return to from maximized or minimized

    // Painting: the part of the window that must be redrawn, in screen coordinates.
    gdi::Region updateRegion;
    bool eraseNeeded = false;
    bool ncPaintNeeded = false;
    bool inPaint = false; // between BeginPaint and EndPaint

    std::vector<std::pair<std::u16string, HANDLE>> properties;
    std::optional<ScrollBarState> horzScroll;
    std::optional<ScrollBarState> vertScroll;

    // Lifecycle.
    bool creating = true;         // inside CreateWindowExW
    bool destroying = false;      // DestroyWindow has begun on this window
    bool destroyed = false;       // WM_NCDESTROY delivered; the record awaits release
    bool sizeMovePending = false; // overlapped window: first WM_SIZE/WM_MOVE come with the first show
    bool deviceOwned = false;     // the device's own shell windows: never activated, not in dumps' foreground

    bool IsChild() const { return (style & WS_CHILD) != 0; }
    bool IsVisibleFlag() const { return (style & WS_VISIBLE) != 0; }
    bool IsDisabledFlag() const { return (style & WS_DISABLED) != 0; }
};

} // namespace device
