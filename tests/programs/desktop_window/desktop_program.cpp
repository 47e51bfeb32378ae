// A small program for the desktop window's tests: an EDIT, a "Kaydet" BUTTON that saves the
// edit's text, and a log of every stylus, key and character message its loop takes, so that
// the tests can see exactly what the desktop's input became. F5 writes the device's screen.
// It writes its files into the current directory.
#include "device_diag.h"
#include "windows.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr int kSaveId = 2;

HWND g_edit = nullptr;

std::string Utf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// One line per event, flushed at once: the tests read the log while the program runs.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Log(const char* format, ...) {
    static FILE* log = std::fopen("messages.log", "w");
    if (log == nullptr) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(log, format, arguments);
    va_end(arguments);
    std::fputc('\n', log);
    std::fflush(log);
}

void LogWindow(const char* name, HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    Log("window %s %ld %ld %ld %ld", name, static_cast<long>(rect.left),
        static_cast<long>(rect.top), static_cast<long>(rect.right), static_cast<long>(rect.bottom));
}

int Down(int key) {
    return (GetKeyState(key) & 0x8000) != 0 ? 1 : 0;
}

void LogMessage(const MSG& msg) {
    const char* key = nullptr;
    switch (msg.message) {
    case WM_LBUTTONDOWN:
        Log("stylus down %ld %ld", static_cast<long>(msg.pt.x), static_cast<long>(msg.pt.y));
        return;
    case WM_MOUSEMOVE:
        Log("stylus move %ld %ld", static_cast<long>(msg.pt.x), static_cast<long>(msg.pt.y));
        return;
    case WM_LBUTTONUP:
        Log("stylus up %ld %ld", static_cast<long>(msg.pt.x), static_cast<long>(msg.pt.y));
        return;
    case WM_CHAR:
        Log("char 0x%04X", static_cast<unsigned>(msg.wParam));
        return;
    case WM_SYSCHAR:
        Log("syschar 0x%04X", static_cast<unsigned>(msg.wParam));
        return;
    case WM_KEYDOWN:
        key = "keydown";
        break;
    case WM_KEYUP:
        key = "keyup";
        break;
    case WM_SYSKEYDOWN:
        key = "syskeydown";
        break;
    case WM_SYSKEYUP:
        key = "syskeyup";
        break;
    default:
        return;
    }
    Log("%s 0x%02X shift=%d control=%d menu=%d", key, static_cast<unsigned>(msg.wParam),
        Down(VK_SHIFT), Down(VK_CONTROL), Down(VK_MENU));
}

void Save() {
    WCHAR text[256] = {};
    GetWindowTextW(g_edit, text, 256);
    std::ofstream("saved.txt", std::ios::binary) << Utf8(text);
    Log("saved");
}

// Writes the device's screen once every message before it, painting included, is done:
// then it is what the desktop window shows next.
void WriteScreenshotWhenSettled() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        LogMessage(msg);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::string error;
    if (device::diag::WriteScreenshot("screen.png.part", &error) &&
        std::rename("screen.png.part", "screen.png") == 0) {
        Log("screenshot");
    } else {
        Log("screenshot failed: %s", error.c_str());
    }
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kSaveId && HIWORD(wParam) == BN_CLICKED) {
        Save();
        SetFocus(g_edit);
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
    WCHAR platform[32] = {};
    if (SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof(platform), platform, 0)) {
        Log("platform %s", Utf8(platform).c_str());
    }
    Register(u"DesktopForm", FormProc, COLOR_WINDOW);
    HWND form = CreateWindowExW(0, u"DesktopForm", u"Masaüstü", 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    g_edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                             10, 20, 220, 24, form, reinterpret_cast<HMENU>(1), instance, nullptr);
    HWND save =
        CreateWindowExW(0, u"BUTTON", u"Kaydet", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 80, 70, 80,
                        30, form, reinterpret_cast<HMENU>(kSaveId), instance, nullptr);
    ShowWindow(form, show);
    SetFocus(g_edit);
    LogWindow("edit", g_edit);
    LogWindow("save", save);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        LogMessage(msg);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (msg.message == WM_KEYUP && msg.wParam == VK_F1 + 4) { // F5
            WriteScreenshotWhenSettled();
        }
    }
    Log("quit %d", static_cast<int>(msg.wParam));
    return static_cast<int>(msg.wParam);
}
