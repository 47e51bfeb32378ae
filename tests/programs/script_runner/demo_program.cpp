// A small program for the script runner's tests: a "Tap me" counter, a box that echoes
// what is typed into it, an edit box, a "Spin" button that never returns, a "Throw" button
// whose exception nothing catches, and an "Edge" counter that hangs over the screen's right
// edge. Its exit status is the number of taps counted.
#include "windows.h"

#include <stdexcept>
#include <string>

namespace {

int g_taps = 0;

LRESULT CALLBACK CounterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) {
        ++g_taps;
        std::u16string text = u"Tapped " + std::u16string(1, static_cast<char16_t>(u'0' + g_taps % 10));
        SetWindowTextW(hwnd, text.c_str());
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK EchoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN: SetFocus(hwnd); return 0;
    case WM_CHAR: {
        WCHAR text[256];
        int length = GetWindowTextW(hwnd, text, 255);
        if (length < 254) {
            text[length] = static_cast<WCHAR>(wParam);
            text[length + 1] = 0;
            SetWindowTextW(hwnd, text);
        }
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_BACK || wParam == VK_DELETE) {
            SetWindowTextW(hwnd, u"");
        }
        return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK SpinProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) {
        volatile bool forever = true;
        while (forever) {
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Counts only taps on the screen: one beyond its edge cannot happen on the handheld.
LRESULT CALLBACK EdgeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, &point);
        if (point.x >= GetSystemMetrics(SM_CXSCREEN)) {
            return 0;
        }
    }
    return CounterProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ThrowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) {
        throw std::runtime_error("the demo's own failure\nwith a second line");
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(g_taps);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Register(const char16_t* name, WNDPROC proc, int background) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(background + 1));
    cls.lpszClassName = name;
    RegisterClassW(&cls);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
    Register(u"DemoForm", FormProc, COLOR_WINDOW);
    Register(u"DemoCounter", CounterProc, COLOR_BTNFACE);
    Register(u"DemoEcho", EchoProc, COLOR_INFOBK);
    Register(u"DemoSpin", SpinProc, COLOR_BTNSHADOW);
    Register(u"DemoThrow", ThrowProc, COLOR_BTNSHADOW);
    Register(u"DemoEdge", EdgeProc, COLOR_BTNFACE);
    HWND form = CreateWindowExW(0, u"DemoForm", u"Demo", 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    CreateWindowExW(0, u"DemoCounter", u"Tap me", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 20, 200, 40, form,
                    reinterpret_cast<HMENU>(1), instance, nullptr);
    CreateWindowExW(0, u"DemoEcho", u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 80, 200, 30, form,
                    reinterpret_cast<HMENU>(2), instance, nullptr);
    CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 130, 200, 24, form,
                    reinterpret_cast<HMENU>(4), instance, nullptr);
    CreateWindowExW(0, u"DemoSpin", u"Spin", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 200, 200, 30, form,
                    reinterpret_cast<HMENU>(3), instance, nullptr);
    CreateWindowExW(0, u"DemoThrow", u"Throw", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 160, 200, 30, form,
                    reinterpret_cast<HMENU>(5), instance, nullptr);
    // Its centre lies beyond the screen; only its left part can be tapped.
    CreateWindowExW(0, u"DemoEdge", u"Edge", WS_POPUP | WS_VISIBLE | WS_BORDER, 200, 264, 120, 24, form,
                    nullptr, instance, nullptr);
    ShowWindow(form, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return g_taps;
}
