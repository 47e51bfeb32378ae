// The navigation bar across the top of the screen: the Start flag, the foreground
// window's title and, for a window that asked for it, the "ok" button.
#include "input/focus.h"
#include "message/dispatch.h"
#include "shell/shell_hooks.h"
#include "shell/system_info.h"
#include "window/geometry.h"
#include "window/window_class.h"
#include "window/window_registry.h"

namespace device {
namespace {

constexpr const char16_t* kNavigationBarClass = u"HHTaskBar";
constexpr int kOkButtonWidth = 26;
HWND g_navigationBar = nullptr;
bool g_okPressed = false;

Window* TitleWindow() {
    Window* active = ActiveWindow();
    return active != nullptr && !active->deviceOwned ? active : nullptr;
}

bool ShowsOkButton(const Window* title) {
    return title != nullptr && (title->exStyle & WS_EX_CAPTIONOKBTN) != 0;
}

RECT OkButtonRect() {
    return RECT{ScreenWidth() - kOkButtonWidth - 3, 4, ScreenWidth() - 3, kNavigationBarHeight - 4};
}

void FillGradient(HDC hdc, const RECT& rect, COLORREF top, COLORREF bottom) {
    int height = Height(rect);
    for (int y = 0; y < height; ++y) {
        auto mix = [&](int a, int b) { return static_cast<BYTE>(a + (b - a) * y / std::max(height - 1, 1)); };
        COLORREF color = RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                             mix(GetBValue(top), GetBValue(bottom)));
        HBRUSH brush = CreateSolidBrush(color);
        RECT line{rect.left, rect.top + y, rect.right, rect.top + y + 1};
        FillRect(hdc, &line, brush);
        DeleteObject(brush);
    }
}

void DrawStartFlag(HDC hdc) {
    // The four panes of the Start flag.
    const COLORREF panes[4] = {RGB(230, 60, 30), RGB(60, 180, 60), RGB(40, 120, 230), RGB(250, 200, 20)};
    for (int i = 0; i < 4; ++i) {
        RECT pane{5 + (i % 2) * 8, 5 + (i / 2) * 8, 12 + (i % 2) * 8, 12 + (i / 2) * 8};
        HBRUSH brush = CreateSolidBrush(panes[i]);
        FillRect(hdc, &pane, brush);
        DeleteObject(brush);
    }
}

void Paint(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    RECT bar{0, 0, ScreenWidth(), kNavigationBarHeight};
    FillGradient(hdc, bar, RGB(40, 90, 180), RGB(10, 40, 110));
    DrawStartFlag(hdc);
    Window* title = TitleWindow();
    LOGFONTW font{};
    font.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectW(&font);
    HGDIOBJ old = SelectObject(hdc, bold);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));
    RECT text{26, 0, ShowsOkButton(title) ? OkButtonRect().left - 4 : ScreenWidth() - 4, kNavigationBarHeight};
    if (title != nullptr) {
        DrawTextW(hdc, title->text.c_str(), static_cast<int>(title->text.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (ShowsOkButton(title)) {
        RECT ok = OkButtonRect();
        HBRUSH face = CreateSolidBrush(g_okPressed ? RGB(180, 200, 240) : RGB(255, 255, 255));
        FillRect(hdc, &ok, face);
        DeleteObject(face);
        FrameRect(hdc, &ok, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetTextColor(hdc, RGB(10, 40, 110));
        DrawTextW(hdc, u"ok", 2, &ok, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(hdc, old);
    DeleteObject(bold);
    EndPaint(hwnd, &paint);
}

void OnButtonUp(POINT point) {
    bool wasPressed = g_okPressed;
    g_okPressed = false;
    InvalidateRect(g_navigationBar, nullptr, FALSE);
    Window* title = TitleWindow();
    // The "ok" tap is posted to the window, as the shell puts it into the program's queue;
    // the window's own handle in lParam tells it that it is its own confirmation.
    if (wasPressed && ShowsOkButton(title) && Contains(OkButtonRect(), point)) {
        PostMessageW(title->handle, WM_COMMAND, MAKEWPARAM(IDOK, 0), reinterpret_cast<LPARAM>(title->handle));
    }
}

LRESULT CALLBACK NavigationBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_ERASEBKGND: return 1; // painted whole in WM_PAINT
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_LBUTTONDOWN: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (ShowsOkButton(TitleWindow()) && Contains(OkButtonRect(), point)) {
            g_okPressed = true;
            SetCapture(hwnd);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    }
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        OnButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

Window* NavigationBar() { return LookUp(g_navigationBar); }

void RegisterNavigationBarClass() {
    RegisterSystemClass(ClassDescriptor{kNavigationBarClass, 0, NavigationBarProc, 0, nullptr, nullptr});
}

void CreateNavigationBar() {
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, kNavigationBarClass, u"", WS_POPUP, 0, 0, ScreenWidth(),
                                kNavigationBarHeight, nullptr, nullptr, nullptr, nullptr);
    g_navigationBar = hwnd;
    g_okPressed = false;
    if (Window* bar = LookUp(hwnd)) {
        // Marked before it shows, so that it is never activated.
        bar->deviceOwned = true;
        ShowWindow(hwnd, SW_SHOWNA);
    }
}

void NotifyShellOfTitle(Window* window) {
    if (NavigationBar() != nullptr && window == ActiveWindow()) {
        InvalidateRect(g_navigationBar, nullptr, FALSE);
    }
}

void RefreshNavigationBar() {
    if (NavigationBar() != nullptr) {
        InvalidateRect(g_navigationBar, nullptr, FALSE);
    }
}

void ForgetNavigationBar() {
    g_navigationBar = nullptr;
    g_okPressed = false;
}

} // namespace device
