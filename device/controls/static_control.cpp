// The "STATIC" class: labels and plain rectangles. Text is drawn with the colours its
// parent chooses in WM_CTLCOLORSTATIC; taps fall through to the window beneath unless the
// control asks for them with SS_NOTIFY.
//
// Not emulated:
// - SS_ICON, SS_BITMAP, SS_OWNERDRAW, SS_ETCHED* and the gray and white frames: only the
//   background is painted
// - STM_SETICON/STM_GETICON/STM_SETIMAGE/STM_GETIMAGE
// - SS_ENDELLIPSIS, SS_PATHELLIPSIS, SS_WORDELLIPSIS, SS_SUNKEN
#include "controls/control_classes.h"
#include "controls/control_support.h"
#include "window/window_registry.h"

#include <new>
#include <string>
#include <type_traits>

namespace device {
namespace {

struct StaticState {
    // The window that hears the notifications: the parent when the control was made.
    HWND notifyWindow = nullptr;
    HFONT font = nullptr; // WM_SETFONT; null draws with the system font
};

// The state lives in the window's extra bytes and goes with the window record.
static_assert(std::is_trivially_destructible_v<StaticState>);

StaticState* StateOf(HWND hwnd) {
    Window* window = LookUp(hwnd);
    if (window == nullptr || window->extraBytes.size() < sizeof(StaticState)) {
        return nullptr;
    }
    return std::launder(reinterpret_cast<StaticState*>(window->extraBytes.data()));
}

DWORD StyleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

bool HasNotifyStyle(HWND hwnd) {
    return (StyleOf(hwnd) & SS_NOTIFY) != 0;
}

// Notifications go to the window that was the parent when the control was made.
void Notify(HWND hwnd, WORD code) {
    StaticState* state = StateOf(hwnd);
    controls::SendCommand(hwnd, state != nullptr ? state->notifyWindow : nullptr, code);
}

// The parent's colours for the control: the brush it returns and whatever it sets on the
// DC; a parent that answers 0 leaves it to the default procedure's static colours.
HBRUSH AskParentForColours(HWND hwnd, HDC hdc) {
    return controls::AskForColours(hwnd, GetParent(hwnd), WM_CTLCOLORSTATIC, hdc);
}

// --- Painting, one routine per type ---------------------------------------------------

using PaintRoutine = void (*)(HWND hwnd, HDC hdc, const RECT& client, DWORD style, UINT detail);

// Text: `detail` holds the DrawTextW flags of the type.
void PaintText(HWND hwnd, HDC hdc, const RECT& client, DWORD style, UINT detail) {
    HBRUSH brush = AskParentForColours(hwnd, hdc);
    if (brush != nullptr) {
        FillRect(hdc, &client, brush);
    }
    if (!IsWindow(hwnd)) {
        return;
    }
    UINT format = detail;
    if ((style & SS_NOPREFIX) != 0) {
        format |= DT_NOPREFIX;
    }
    if ((style & SS_CENTERIMAGE) != 0) {
        // One line, centred top to bottom.
        format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    }
    if ((style & WS_DISABLED) != 0) {
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    }
    int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) {
        return;
    }
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    RECT box = client;
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &box, format);
}

// A filled rectangle: `detail` is the system colour.
void PaintRect(HWND, HDC hdc, const RECT& client, DWORD, UINT detail) {
    FillRect(hdc, &client, GetSysColorBrush(static_cast<int>(detail)));
}

// A one-pixel frame: `detail` is the system colour; the inside is left as it was.
void PaintFrame(HWND, HDC hdc, const RECT& client, DWORD, UINT detail) {
    FrameRect(hdc, &client, GetSysColorBrush(static_cast<int>(detail)));
}

// A type the device does not draw: the parent's background only.
void PaintBackground(HWND hwnd, HDC hdc, const RECT& client, DWORD, UINT) {
    HBRUSH brush = AskParentForColours(hwnd, hdc);
    if (brush != nullptr) {
        FillRect(hdc, &client, brush);
    }
}

struct TypeEntry {
    DWORD type; // style & SS_TYPEMASK
    PaintRoutine paint;
    UINT detail;
};

constexpr TypeEntry kTypes[] = {
    {SS_LEFT, PaintText, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK},
    {SS_CENTER, PaintText, DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK},
    {SS_RIGHT, PaintText, DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK},
    // One line per line feed, cut at the right edge.
    {SS_LEFTNOWORDWRAP, PaintText, DT_LEFT | DT_EXPANDTABS},
    {SS_BLACKRECT, PaintRect, static_cast<UINT>(COLOR_3DDKSHADOW)},
    {SS_GRAYRECT, PaintRect, static_cast<UINT>(COLOR_3DSHADOW)},
    {SS_WHITERECT, PaintRect, static_cast<UINT>(COLOR_3DHIGHLIGHT)},
    {SS_BLACKFRAME, PaintFrame, static_cast<UINT>(COLOR_3DDKSHADOW)},
};

void Paint(HWND hwnd, HDC hdc) {
    StaticState* state = StateOf(hwnd);
    if (state == nullptr) {
        return;
    }
    int saved = SaveDC(hdc);
    if (state->font != nullptr) {
        SelectObject(hdc, state->font);
    }
    DWORD style = StyleOf(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    TypeEntry entry{style & SS_TYPEMASK, PaintBackground, 0};
    for (const TypeEntry& known : kTypes) {
        if (known.type == (style & SS_TYPEMASK)) {
            entry = known;
            break;
        }
    }
    entry.paint(hwnd, hdc, client, style, entry.detail);
    RestoreDC(hdc, saved);
}

// --- Messages ------------------------------------------------------------------------

LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    Window* window = LookUp(hwnd);
    if (window != nullptr && window->extraBytes.size() >= sizeof(StaticState)) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* state = new (window->extraBytes.data()) StaticState{};
        state->notifyWindow = create != nullptr ? create->hwndParent : nullptr;
    }
    return DefWindowProcW(hwnd, WM_NCCREATE, wParam, lParam);
}

LRESULT OnNcDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (StaticState* state = StateOf(hwnd)) {
        *state = StaticState{};
    }
    return DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
}

// Without SS_NOTIFY the control is see-through for the stylus: the tap goes to the window
// beneath (usually the form), which is how forms hear taps on their labels.
LRESULT OnNcHitTest(HWND hwnd) {
    return HasNotifyStyle(hwnd) ? HTCLIENT : HTTRANSPARENT;
}

LRESULT OnPaint(HWND hwnd, WPARAM wParam) { return controls::PaintWith(hwnd, wParam, Paint); }


LRESULT OnSetFont(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (StaticState* state = StateOf(hwnd)) {
        state->font = reinterpret_cast<HFONT>(wParam);
    }
    if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) {
        controls::RepaintNow(hwnd);
    }
    return 0;
}

LRESULT OnGetFont(HWND hwnd) {
    StaticState* state = StateOf(hwnd);
    return state != nullptr ? reinterpret_cast<LRESULT>(state->font) : 0;
}

// The press itself is the click (not the release); the control never takes the focus.
LRESULT OnButtonDown(HWND hwnd) {
    if (HasNotifyStyle(hwnd)) {
        Notify(hwnd, STN_CLICKED);
    }
    return 0;
}

LRESULT OnButtonDblClk(HWND hwnd) {
    if (HasNotifyStyle(hwnd)) {
        Notify(hwnd, STN_DBLCLK);
    }
    return 0;
}

LRESULT OnEnable(HWND hwnd, WPARAM wParam) {
    if (HasNotifyStyle(hwnd)) {
        Notify(hwnd, wParam != 0 ? STN_ENABLE : STN_DISABLE);
    }
    controls::RepaintNow(hwnd);
    return 0;
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: return OnNcCreate(hwnd, wParam, lParam);
    case WM_NCDESTROY: return OnNcDestroy(hwnd, wParam, lParam);
    case WM_NCHITTEST: return OnNcHitTest(hwnd);
    case WM_ERASEBKGND: return 1; // everything is drawn in WM_PAINT
    case WM_PAINT:
    case WM_PRINTCLIENT: return OnPaint(hwnd, wParam);
    case WM_SETTEXT: return controls::SetTextAndRepaint(hwnd, wParam, lParam);
    case WM_SETFONT: return OnSetFont(hwnd, wParam, lParam);
    case WM_GETFONT: return OnGetFont(hwnd);
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN: return OnButtonDown(hwnd);
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK: return OnButtonDblClk(hwnd);
    case WM_ENABLE: return OnEnable(hwnd, wParam);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

ClassDescriptor StaticClassDescriptor() {
    constexpr int kExtraBytes = static_cast<int>(sizeof(StaticState));
    return ClassDescriptor{u"STATIC", CS_DBLCLKS | CS_PARENTDC, StaticProc, kExtraBytes, nullptr,
                           nullptr};
}

} // namespace device
