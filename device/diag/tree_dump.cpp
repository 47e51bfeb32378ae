// The window-tree dump (JSON) and the screen's pixels.
#include "device_diag.h"

#include "diag/json_writer.h"
#include "diag/replace_file.h"
#include "display/png_image.h"
#include "input/focus.h"
#include "paint/screen.h"
#include "window/geometry.h"
#include "window/window_class.h"
#include "window/window_registry.h"
#include "window/window_tree.h"

#include <cstdio>

namespace device::diag {
namespace {

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", value);
    return text;
}

long long HandleNumber(HWND hwnd) { return static_cast<long long>(reinterpret_cast<ULONG_PTR>(hwnd)); }

void WriteRect(JsonWriter& out, const RECT& rect) { out.Rect(rect.left, rect.top, rect.right, rect.bottom); }

void WriteWindow(JsonWriter& out, Window* window) {
    out.BeginObject();
    out.Key("handle");
    out.Number(HandleNumber(window->handle));
    out.Key("class");
    out.String(window->windowClass->name);
    out.Key("text");
    out.String(CurrentText(window));
    out.Key("style");
    out.String(Hex(window->style));
    out.Key("exstyle");
    out.String(Hex(window->exStyle));
    out.Key("id");
    out.Number(static_cast<long long>(window->id));
    out.Key("rect");
    WriteRect(out, WindowRectOnScreen(window));
    out.Key("client");
    WriteRect(out, ClientRectOnScreen(window));
    out.Key("visible");
    out.Bool(IsEffectivelyVisible(window));
    out.Key("enabled");
    out.Bool(!window->IsDisabledFlag());
    out.Key("focused");
    out.Bool(FocusWindow() == window);
    if (window->windowClass->dumpExtra != nullptr) {
        window->windowClass->dumpExtra(window->handle, out);
    }
    out.Key("children");
    out.BeginArray();
    for (Window* child : window->children) {
        WriteWindow(out, child);
    }
    out.EndArray();
    out.EndObject();
}

HWND FindIn(Window* window, const std::u16string& text) {
    if (!window->IsVisibleFlag()) {
        return nullptr;
    }
    for (Window* child : window->children) {
        if (HWND found = FindIn(child, text)) {
            return found;
        }
    }
    return CurrentText(window) == text ? window->handle : nullptr;
}

} // namespace

std::string DumpWindowTree() {
    JsonWriter out;
    out.BeginObject();
    out.Key("screen");
    out.BeginObject();
    out.Key("width");
    out.Number(Screen().width);
    out.Key("height");
    out.Number(Screen().height);
    out.EndObject();
    Window* active = ActiveWindow();
    Window* focus = FocusWindow();
    out.Key("foreground");
    active != nullptr ? out.Number(HandleNumber(active->handle)) : out.Null();
    out.Key("focus");
    focus != nullptr ? out.Number(HandleNumber(focus->handle)) : out.Null();
    out.Key("windows");
    out.BeginArray();
    if (Window* desktop = Desktop()) {
        for (Window* top : desktop->children) {
            WriteWindow(out, top);
        }
    }
    out.EndArray();
    out.EndObject();
    return out.Text() + "\n";
}

bool WriteScreenshot(const std::string& path, std::string* error) {
    const gdi::Surface screen = ComposedScreen();
    return ReplaceFile(
        path,
        [&screen](const std::string& temporary, std::string* failure) {
            return WritePng(screen, temporary, failure);
        },
        error);
}

std::vector<uint32_t> ScreenPixels(int* width, int* height) {
    gdi::Surface screen = ComposedScreen();
    *width = screen.width;
    *height = screen.height;
    return screen.pixels;
}

uint32_t ScreenPixel(int x, int y) {
    gdi::Surface screen = ComposedScreen();
    return screen.Contains(x, y) ? screen.At(x, y) : 0;
}

HWND FindWindowByText(const std::u16string& text) {
    Window* desktop = Desktop();
    if (desktop == nullptr) {
        return nullptr;
    }
    for (Window* top : desktop->children) {
        if (HWND found = FindIn(top, text)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace device::diag
