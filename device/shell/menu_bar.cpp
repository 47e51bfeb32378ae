// SHCreateMenuBar and SHFindMenuBar: the menu bar along the bottom of the screen, owned by
// the window it was made for and shown while that window is in front.
#include "input/focus.h"
#include "message/dispatch.h"
#include "shell/shell_hooks.h"
#include "shell/system_info.h"
#include "window/window_class.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include "aygshell.h"

#include <algorithm>
#include <vector>

namespace device {
namespace {

constexpr const char16_t* kMenuBarClass = u"menu_worker";
constexpr int kInputPanelButtonWidth = 26;

struct MenuBar {
    HWND bar;
    HWND owner;
    DWORD flags;
};

std::vector<MenuBar> g_menuBars;

const MenuBar* FindByBar(HWND bar) {
    auto it = std::find_if(g_menuBars.begin(), g_menuBars.end(), [&](const MenuBar& m) { return m.bar == bar; });
    return it != g_menuBars.end() ? &*it : nullptr;
}

void DrawKeyboardIcon(HDC hdc, const RECT& button) {
    RECT body{button.left + 4, button.top + 7, button.right - 4, button.bottom - 6};
    FrameRect(hdc, &body, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HBRUSH keys = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (int row = 0; row < 2; ++row) {
        for (int x = body.left + 2; x + 2 <= body.right - 2; x += 3) {
            RECT key{x, body.top + 2 + row * 3, x + 2, body.top + 3 + row * 3};
            FillRect(hdc, &key, keys);
        }
    }
    RECT space{body.left + 5, body.bottom - 3, body.right - 5, body.bottom - 2};
    FillRect(hdc, &space, keys);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    RECT bar{0, 0, ScreenWidth(), kMenuBarHeight};
    FillRect(hdc, &bar, GetSysColorBrush(COLOR_BTNFACE));
    RECT line{0, 0, ScreenWidth(), 1};
    FillRect(hdc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT highlight{0, 1, ScreenWidth(), 2};
    FillRect(hdc, &highlight, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    const MenuBar* menuBar = FindByBar(hwnd);
    if (menuBar != nullptr && (menuBar->flags & SHCMBF_HIDESIPBUTTON) == 0) {
        // The input panel button; the input panel itself is not emulated.
        RECT button{ScreenWidth() - kInputPanelButtonWidth - 2, 2, ScreenWidth() - 2, kMenuBarHeight};
        DrawEdge(hdc, &button, BDR_RAISEDINNER, BF_RECT);
        DrawKeyboardIcon(hdc, button);
    }
    EndPaint(hwnd, &paint);
}

LRESULT CALLBACK MenuBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCDESTROY:
        g_menuBars.erase(std::remove_if(g_menuBars.begin(), g_menuBars.end(),
                                        [&](const MenuBar& m) { return m.bar == hwnd; }),
                         g_menuBars.end());
        return DefWindowProcW(hwnd, message, wParam, lParam);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterMenuBarClass() {
    RegisterSystemClass(ClassDescriptor{kMenuBarClass, 0, MenuBarProc, 0, nullptr, nullptr});
}

void ForgetMenuBars() { g_menuBars.clear(); }

Window* MenuBarOf(const Window* owner) {
    for (const MenuBar& menuBar : g_menuBars) {
        if (menuBar.owner == owner->handle) {
            return LookUp(menuBar.bar);
        }
    }
    return nullptr;
}

// The menu bar of the foreground window shows; the others hide. A foreground window
// without a bar of its own (a message box) leaves the bars as they are.
void UpdateMenuBars() {
    Window* active = ActiveWindow();
    if (active == nullptr || MenuBarOf(active) == nullptr) {
        return;
    }
    std::vector<MenuBar> bars = g_menuBars;
    for (const MenuBar& menuBar : bars) {
        Window* bar = LookUp(menuBar.bar);
        if (bar == nullptr) {
            continue;
        }
        bool show = menuBar.owner == active->handle && (menuBar.flags & SHCMBF_HIDDEN) == 0;
        if (show != bar->IsVisibleFlag()) {
            ShowWindow(menuBar.bar, show ? SW_SHOWNA : SW_HIDE);
        }
    }
}

} // namespace device

BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* pmbi) {
    if (pmbi == nullptr || (pmbi->cbSize != sizeof(SHMENUBARINFO) && pmbi->cbSize != SHMENUBARINFO_SIZE_32BIT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    device::Window* owner = device::FromHandle(pmbi->hwndParent);
    if (owner == nullptr) {
        return FALSE;
    }
    owner = device::TopLevelOf(owner);
    HWND bar = CreateWindowExW(0, device::kMenuBarClass, u"", WS_POPUP, 0,
                               device::ScreenHeight() - device::kMenuBarHeight, device::ScreenWidth(),
                               device::kMenuBarHeight, owner->handle, nullptr, nullptr, nullptr);
    device::Window* window = device::LookUp(bar);
    if (window == nullptr) {
        return FALSE;
    }
    window->deviceOwned = true;
    device::g_menuBars.push_back(device::MenuBar{bar, owner->handle, pmbi->dwFlags});
    pmbi->hwndMB = bar;
    if (device::ActiveWindow() == owner) {
        device::UpdateMenuBars();
    }
    return TRUE;
}

HWND WINAPI SHFindMenuBar(HWND hwnd) {
    device::Window* owner = device::LookUp(hwnd);
    if (owner == nullptr) {
        return nullptr;
    }
    device::Window* bar = device::MenuBarOf(owner);
    return bar != nullptr ? bar->handle : nullptr;
}

BOOL WINAPI SHDoneButton(HWND hwndRequester, DWORD dwState) {
    device::Window* window = device::FromHandle(hwndRequester);
    if (window == nullptr) {
        return FALSE;
    }
    // The flag is the shell's own note on the window; it changes no style through
    // SetWindowLongW, so the window hears nothing of it.
    if ((dwState & SHDB_SHOW) != 0) {
        window->exStyle |= WS_EX_CAPTIONOKBTN;
    } else if ((dwState & SHDB_HIDE) != 0) {
        window->exStyle &= ~WS_EX_CAPTIONOKBTN;
    }
    device::NotifyShellOfTitle(device::TopLevelOf(window));
    return TRUE;
}
