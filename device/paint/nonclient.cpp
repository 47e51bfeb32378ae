// Frame geometry and painting of the non-client area.
#include "paint/nonclient.h"

#include "input/focus.h"
#include "window/geometry.h"
#include "window/window_tree.h"

#include <algorithm>

namespace device {
namespace {

struct Frame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

bool HasDialogFrame(const Window* window) {
    return (window->exStyle & WS_EX_DLGMODALFRAME) != 0 ||
           ((window->style & WS_DLGFRAME) != 0 && (window->style & WS_BORDER) == 0);
}

bool HasThinBorder(const Window* window) {
    return (window->style & WS_BORDER) != 0 && !HasDialogFrame(window);
}

bool HasCaption(const Window* window) { return (window->style & WS_CAPTION) == WS_CAPTION; }

int BorderWidth(const Window* window) {
    int width = 0;
    if (HasDialogFrame(window)) {
        width += GetSystemMetrics(SM_CXDLGFRAME);
    } else if (HasThinBorder(window)) {
        width += GetSystemMetrics(SM_CXBORDER);
    }
    if ((window->exStyle & WS_EX_CLIENTEDGE) != 0) {
        width += GetSystemMetrics(SM_CXEDGE);
    } else if ((window->exStyle & WS_EX_STATICEDGE) != 0) {
        width += GetSystemMetrics(SM_CXBORDER);
    }
    return width;
}

// The rectangle inside the borders and the caption, before the scroll bars.
RECT InsideFrame(const Window* window, const RECT& windowRect) {
    int border = BorderWidth(window);
    RECT inside{windowRect.left + border, windowRect.top + border, windowRect.right - border,
                windowRect.bottom - border};
    if (HasCaption(window)) {
        inside.top += GetSystemMetrics(SM_CYCAPTION);
    }
    inside.right = std::max(inside.right, inside.left);
    inside.bottom = std::max(inside.bottom, inside.top);
    return inside;
}

bool ShowsBar(const Window* window, const RECT& inside, int bar) {
    if (bar == SB_VERT) {
        return (window->style & WS_VSCROLL) != 0 && Width(inside) >= GetSystemMetrics(SM_CXVSCROLL);
    }
    return (window->style & WS_HSCROLL) != 0 && Height(inside) >= GetSystemMetrics(SM_CYHSCROLL);
}

const ScrollBarState* BarState(const Window* window, int bar) {
    const auto& state = bar == SB_VERT ? window->vertScroll : window->horzScroll;
    return state.has_value() ? &*state : nullptr;
}

void PaintScrollBar(const Window* window, HDC hdc, int bar, POINT windowOrigin) {
    RECT rect;
    if (!ScrollBarRect(window, bar, &rect)) {
        return;
    }
    rect = Offset(rect, -windowOrigin.x, -windowOrigin.y);
    bool vertical = bar == SB_VERT;
    int arrow = vertical ? std::min(GetSystemMetrics(SM_CYVSCROLL), Height(rect) / 2)
                         : std::min(GetSystemMetrics(SM_CXHSCROLL), Width(rect) / 2);
    RECT first = rect;
    RECT last = rect;
    if (vertical) {
        first.bottom = first.top + arrow;
        last.top = last.bottom - arrow;
    } else {
        first.right = first.left + arrow;
        last.left = last.right - arrow;
    }
    int thumbStart = 0;
    int thumbLength = 0;
    int trackStart = 0;
    int trackLength = 0;
    bool hasThumb = ScrollThumbSpan(window, bar, &thumbStart, &thumbLength, &trackStart, &trackLength);
    UINT inactive = hasThumb ? 0 : DFCS_INACTIVE;
    DrawFrameControl(hdc, &first, DFC_SCROLL, (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | inactive);
    DrawFrameControl(hdc, &last, DFC_SCROLL, (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | inactive);
    RECT track = rect;
    if (vertical) {
        track.top = first.bottom;
        track.bottom = last.top;
    } else {
        track.left = first.right;
        track.right = last.left;
    }
    FillRect(hdc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
    if (hasThumb) {
        RECT thumb = rect;
        if (vertical) {
            thumb.top = rect.top + thumbStart;
            thumb.bottom = thumb.top + thumbLength;
        } else {
            thumb.left = rect.left + thumbStart;
            thumb.right = thumb.left + thumbLength;
        }
        DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
}

void PaintCaption(const Window* window, HDC hdc, const RECT& windowRectLocal) {
    int border = BorderWidth(window);
    RECT caption{windowRectLocal.left + border, windowRectLocal.top + border,
                 windowRectLocal.right - border,
                 windowRectLocal.top + border + GetSystemMetrics(SM_CYCAPTION)};
    Window* active = ActiveWindow();
    bool isActive = active != nullptr && TopLevelOf(const_cast<Window*>(window)) == active;
    FillRect(hdc, &caption, GetSysColorBrush(isActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    LOGFONTW font{};
    font.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectW(&font);
    HGDIOBJ old = SelectObject(hdc, bold);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(isActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT text = caption;
    text.left += 4;
    DrawTextW(hdc, window->text.c_str(), static_cast<int>(window->text.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(hdc, old);
    DeleteObject(bold);
}

} // namespace

RECT ClientRectFor(const Window* window, const RECT& windowRect) {
    RECT client = InsideFrame(window, windowRect);
    if (ShowsBar(window, client, SB_VERT)) {
        client.right -= GetSystemMetrics(SM_CXVSCROLL);
    }
    if (ShowsBar(window, client, SB_HORZ)) {
        client.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    }
    return client;
}

bool ScrollBarRect(const Window* window, int bar, RECT* rect) {
    RECT windowRect = WindowRectOnScreen(window);
    RECT inside = InsideFrame(window, windowRect);
    bool vertical = ShowsBar(window, inside, SB_VERT);
    RECT afterVertical = inside;
    if (vertical) {
        afterVertical.right -= GetSystemMetrics(SM_CXVSCROLL);
    }
    bool horizontal = ShowsBar(window, afterVertical, SB_HORZ);
    RECT client = afterVertical;
    if (horizontal) {
        client.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    }
    if (bar == SB_VERT && vertical) {
        *rect = RECT{client.right, client.top, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom};
        return true;
    }
    if (bar == SB_HORZ && horizontal) {
        *rect = RECT{client.left, client.bottom, client.right, client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
        return true;
    }
    return false;
}

bool ScrollThumbSpan(const Window* window, int bar, int* start, int* length, int* trackStart,
                     int* trackLength) {
    RECT rect;
    if (!ScrollBarRect(window, bar, &rect)) {
        return false;
    }
    bool vertical = bar == SB_VERT;
    int total = vertical ? Height(rect) : Width(rect);
    int arrow = std::min(vertical ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL), total / 2);
    *trackStart = arrow;
    *trackLength = total - 2 * arrow;
    const ScrollBarState* state = BarState(window, bar);
    if (state == nullptr || *trackLength <= 0) {
        return false;
    }
    int range = state->max - state->min + 1;
    if (range <= 0 || (state->page != 0 && static_cast<int>(state->page) >= range)) {
        return false;
    }
    int thumb = state->page == 0 ? GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB)
                                 : static_cast<int>(static_cast<long long>(*trackLength) * state->page / range);
    thumb = std::max(thumb, 8);
    if (thumb >= *trackLength) {
        return false;
    }
    int span = state->max - std::max<int>(static_cast<int>(state->page), 1) + 1 - state->min;
    int pos = state->tracking ? state->trackPos : state->pos;
    int offset = span > 0 ? static_cast<int>(static_cast<long long>(pos - state->min) *
                                             (*trackLength - thumb) / span)
                          : 0;
    offset = std::clamp(offset, 0, *trackLength - thumb);
    *start = *trackStart + offset;
    *length = thumb;
    return true;
}

int ScrollPositionForThumb(const Window* window, int bar, int thumbStart) {
    int start = 0;
    int length = 0;
    int trackStart = 0;
    int trackLength = 0;
    const ScrollBarState* state = BarState(window, bar);
    if (state == nullptr || !ScrollThumbSpan(window, bar, &start, &length, &trackStart, &trackLength)) {
        return state != nullptr ? state->pos : 0;
    }
    int span = state->max - std::max<int>(static_cast<int>(state->page), 1) + 1 - state->min;
    int room = trackLength - length;
    int offset = std::clamp(thumbStart - trackStart, 0, room);
    if (room <= 0 || span <= 0) {
        return state->min;
    }
    return state->min + static_cast<int>((static_cast<long long>(offset) * span + room / 2) / room);
}

ScrollPart ScrollBarPartAt(const Window* window, int bar, POINT screenPoint) {
    RECT rect;
    if (!ScrollBarRect(window, bar, &rect) || !Contains(rect, screenPoint)) {
        return ScrollPart::None;
    }
    bool vertical = bar == SB_VERT;
    int along = vertical ? screenPoint.y - rect.top : screenPoint.x - rect.left;
    int total = vertical ? Height(rect) : Width(rect);
    int arrow = std::min(vertical ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL), total / 2);
    if (along < arrow) {
        return ScrollPart::LineUp;
    }
    if (along >= total - arrow) {
        return ScrollPart::LineDown;
    }
    int start = 0;
    int length = 0;
    int trackStart = 0;
    int trackLength = 0;
    if (!ScrollThumbSpan(window, bar, &start, &length, &trackStart, &trackLength)) {
        return ScrollPart::None;
    }
    if (along < start) {
        return ScrollPart::PageUp;
    }
    if (along >= start + length) {
        return ScrollPart::PageDown;
    }
    return ScrollPart::Thumb;
}

int NonClientHitTest(const Window* window, POINT screenPoint) {
    RECT windowRect = WindowRectOnScreen(window);
    if (!Contains(windowRect, screenPoint)) {
        return HTNOWHERE;
    }
    if (Contains(ClientRectOnScreen(window), screenPoint)) {
        return HTCLIENT;
    }
    RECT bar;
    if (ScrollBarRect(window, SB_VERT, &bar) && Contains(bar, screenPoint)) {
        return HTVSCROLL;
    }
    if (ScrollBarRect(window, SB_HORZ, &bar) && Contains(bar, screenPoint)) {
        return HTHSCROLL;
    }
    if (HasCaption(window)) {
        RECT inside = InsideFrame(window, windowRect);
        if (screenPoint.y < inside.top && screenPoint.y >= inside.top - GetSystemMetrics(SM_CYCAPTION)) {
            return HTCAPTION;
        }
    }
    return HTBORDER;
}

void PaintNonClient(Window* window) {
    HDC hdc = GetWindowDC(window->handle);
    if (hdc == nullptr) {
        return;
    }
    RECT screenRect = WindowRectOnScreen(window);
    POINT origin{screenRect.left, screenRect.top};
    RECT local{0, 0, Width(screenRect), Height(screenRect)};
    RECT edge = local;
    if (HasDialogFrame(window)) {
        DrawEdge(hdc, &edge, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
        InflateRect(&edge, -(GetSystemMetrics(SM_CXDLGFRAME) - 2), -(GetSystemMetrics(SM_CYDLGFRAME) - 2));
    } else if (HasThinBorder(window)) {
        FrameRect(hdc, &edge, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&edge, -1, -1);
    }
    if ((window->exStyle & WS_EX_CLIENTEDGE) != 0) {
        DrawEdge(hdc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    } else if ((window->exStyle & WS_EX_STATICEDGE) != 0) {
        DrawEdge(hdc, &edge, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
    if (HasCaption(window)) {
        PaintCaption(window, hdc, local);
    }
    PaintScrollBar(window, hdc, SB_VERT, origin);
    PaintScrollBar(window, hdc, SB_HORZ, origin);
    RECT vertical;
    RECT horizontal;
    if (ScrollBarRect(window, SB_VERT, &vertical) && ScrollBarRect(window, SB_HORZ, &horizontal)) {
        RECT corner{vertical.left, horizontal.top, vertical.right, horizontal.bottom};
        corner = Offset(corner, -origin.x, -origin.y);
        FillRect(hdc, &corner, GetSysColorBrush(COLOR_BTNFACE));
    }
    ReleaseDC(window->handle, hdc);
}

} // namespace device

#include "shell/system_info.h"

namespace device {

RECT MaximizedWindowRect(const Window* window) {
    RECT area = window->IsChild() ? RECT{0, 0, Width(window->parent->clientRect), Height(window->parent->clientRect)}
                                  : WorkArea();
    int border = BorderWidth(window);
    InflateRect(&area, border, border);
    return area;
}

} // namespace device
