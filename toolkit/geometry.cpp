// Position and size through BoundsRect, the client area, coordinates and invalidation.
#include "control_factory.h"
#include "properties.h"

#include <cstring>

RECT GetBoundsRect(TControl* control) {
    RECT rect = control->BoundsRect;
    if (control->Handle != nullptr) {
        GetWindowRect(control->Handle, &rect);
        if (control->IsControl && control->Parent != nullptr) {
            POINT origin = ClientToScreen(control->Parent, POINT{0, 0});
            OffsetRect(&rect, -origin.x, -origin.y);
        }
    }
    // The field always holds the last position seen or set.
    control->BoundsRect = rect;
    return rect;
}

void SetBoundsRect(TControl* control, const RECT& rect) {
    const RECT old = GetBoundsRect(control);
    if (std::memcmp(&rect, &old, sizeof(RECT)) == 0) {
        return;
    }
    if (control->IsForm && control->BoundsSet == 0) {
        // A form given explicit bounds gets a caption bar.
        SetStyle(control, control->Style | WS_CAPTION | WS_SYSMENU);
    }
    control->BoundsSet |= 0x0C;
    if (rect.left != control->BoundsRect.left) {
        control->BoundsSet |= 0x01;
    }
    if (rect.top != control->BoundsRect.top) {
        control->BoundsSet |= 0x02;
    }
    control->BoundsRect = rect;
    if (control->Handle == nullptr) {
        return;
    }
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (width == old.right - old.left && height == old.bottom - old.top) {
        flags |= SWP_NOSIZE;
    } else if (rect.left == old.left && rect.top == old.top) {
        flags |= SWP_NOMOVE;
    }
    SetWindowPos(control->Handle, nullptr, rect.left, rect.top, width, height, flags);
    if (control->RedrawOnResize && (flags & SWP_NOSIZE) == 0) {
        Invalidate(control);
    }
}

LONG GetLeft(TControl* control) { return GetBoundsRect(control).left; }
LONG GetTop(TControl* control) { return GetBoundsRect(control).top; }

LONG GetWidth(TControl* control) {
    RECT rect = GetBoundsRect(control);
    return rect.right - rect.left;
}

LONG GetHeight(TControl* control) {
    RECT rect = GetBoundsRect(control);
    return rect.bottom - rect.top;
}

void SetLeft(TControl* control, LONG x) {
    RECT rect = GetBoundsRect(control);
    LONG width = rect.right - rect.left;
    rect.left = x;
    rect.right = x + width;
    SetBoundsRect(control, rect);
}

void SetTop(TControl* control, LONG y) {
    RECT rect = GetBoundsRect(control);
    LONG height = rect.bottom - rect.top;
    rect.top = y;
    rect.bottom = y + height;
    SetBoundsRect(control, rect);
}

void SetWidth(TControl* control, LONG width) {
    RECT rect = GetBoundsRect(control);
    rect.right = rect.left + width;
    SetBoundsRect(control, rect);
}

void SetHeight(TControl* control, LONG height) {
    RECT rect = GetBoundsRect(control);
    rect.bottom = rect.top + height;
    SetBoundsRect(control, rect);
}

TControl* SetPosition(TControl* control, LONG x, LONG y) {
    SetLeft(control, x);
    SetTop(control, y);
    return control;
}

TControl* SetSize(TControl* control, LONG width, LONG height) {
    RECT rect = GetBoundsRect(control);
    if (width > 0) {
        rect.right = rect.left + width;
    }
    if (height > 0) {
        rect.bottom = rect.top + height;
    }
    SetBoundsRect(control, rect);
    return control;
}

RECT ClientRect(TControl* control) {
    RECT rect = control->BoundsRect;
    if (GetWindowHandle(control) != nullptr) {
        GetClientRect(control->Handle, &rect);
    }
    rect.top += control->ClientTopInset;
    rect.bottom -= control->ClientBottomInset;
    rect.left += control->ClientLeftInset;
    rect.right -= control->ClientRightInset;
    return rect;
}

LONG ClientWidth(TControl* control) {
    RECT rect = ClientRect(control);
    return rect.right - rect.left;
}

LONG ClientHeight(TControl* control) {
    RECT rect = ClientRect(control);
    return rect.bottom - rect.top;
}

POINT ClientToScreen(TControl* control, POINT point) {
    if (control->Handle != nullptr) {
        ClientToScreen(control->Handle, &point);
    }
    return point;
}

POINT ScreenToClient(TControl* control, POINT point) {
    if (control->Handle != nullptr) {
        ScreenToClient(control->Handle, &point);
    }
    return point;
}

void Invalidate(TControl* control) {
    if (control->Handle != nullptr) {
        InvalidateRect(control->Handle, nullptr, TRUE);
    }
}

void UpdateAll(TControl* control) {
    if (control->Handle == nullptr) {
        return;
    }
    UpdateWindow(control->Handle);
    for (LONG i = 0; i < control->Children->Count; ++i) {
        UpdateAll(static_cast<TControl*>(control->Children->Get(i)));
    }
}
