// DrawFrameControl: push-button faces, check boxes, radio buttons and scroll-bar arrow
// buttons, drawn from DrawEdge and the system colours.
#include <algorithm>
#include <cmath>

#include "gdi/edges.h"
#include "gdi/system_colors.h"
#include "winbase.h"
#include "winuser.h"

using namespace device::gdi;

namespace {

constexpr UINT kTypeMask = 0x00FF;

UINT EdgeStyle(UINT state) {
    UINT flags = BF_RECT | BF_MIDDLE | BF_ADJUST;
    if ((state & DFCS_FLAT) != 0) {
        flags |= BF_FLAT;
    }
    if ((state & DFCS_MONO) != 0) {
        flags |= BF_MONO;
    }
    return flags;
}

BOOL DrawPushButton(DcObject& dc, RECT* rect, UINT state) {
    const bool down = (state & (DFCS_PUSHED | DFCS_CHECKED)) != 0;
    DrawEdgeOn(dc, rect, down ? EDGE_SUNKEN : EDGE_RAISED, EdgeStyle(state) | BF_SOFT);
    return TRUE;
}

// The inside of a box or circle: the window colour, or the face while pushed or inactive.
COLORREF CheckInterior(UINT state) {
    return SystemColor((state & (DFCS_INACTIVE | DFCS_PUSHED)) != 0 ? COLOR_BTNFACE : COLOR_WINDOW);
}

// A check box: a sunken (or, with DFCS_FLAT, thinly framed) white square, with a tick when
// checked; greyed with DFCS_INACTIVE, its face while pushed. The third state
// (DFCS_BUTTON3STATE with DFCS_CHECKED) is a gray tick on a dithered face.
BOOL DrawCheckBox(DcObject& dc, RECT* rect, UINT state) {
    DrawEdgeOn(dc, rect, EDGE_SUNKEN, (EdgeStyle(state) & ~BF_MIDDLE) | BF_ADJUST);
    bool inactive = (state & DFCS_INACTIVE) != 0;
    bool thirdState = (state & kTypeMask) == DFCS_BUTTON3STATE && (state & DFCS_CHECKED) != 0;
    FillLogicalRect(dc, *rect, thirdState ? SystemColor(COLOR_BTNFACE) : CheckInterior(state));
    if (thirdState) {
        // Every other pixel of the highlight over the face, as the platform dithers it.
        for (int y = rect->top; y < rect->bottom; ++y) {
            for (int x = rect->left + ((y - rect->top) % 2); x < rect->right; x += 2) {
                FillLogicalRect(dc, RECT{x, y, x + 1, y + 1}, SystemColor(COLOR_BTNHIGHLIGHT));
            }
        }
    }
    if ((state & DFCS_CHECKED) == 0) {
        return TRUE;
    }
    COLORREF ink = SystemColor(inactive || thirdState ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    if (width < 5 || height < 5) {
        return TRUE;
    }
    // The tick: down and right from the left third, then up to the top right, three pixels thick.
    const int left = rect->left + 1;
    const int bottom = rect->top + height - 2;
    const int low = std::max(1, (width - 2) / 3);
    for (int x = 0; x < width - 2; ++x) {
        int y = x < low ? bottom - (low - x) : bottom - (x - low);
        int top = std::max(static_cast<int>(rect->top) + 1, y - 2);
        FillLogicalRect(dc, RECT{left + x, top, left + x + 1, std::min(y + 1, static_cast<int>(rect->bottom) - 1)},
                        ink);
    }
    return TRUE;
}

// A radio button: a sunken circle in the four 3-D colours, the window colour inside and a
// dot when checked. Each pixel takes its colour from its distance to the centre and from
// the side of the diagonal it lies on, lit from the top left.
BOOL DrawRadioButton(DcObject& dc, const RECT& rect, UINT state) {
    const int size = std::min(rect.right - rect.left, rect.bottom - rect.top);
    if (size < 4) {
        return TRUE;
    }
    const double centre = (size - 1) / 2.0;
    const double outer = size / 2.0;
    const bool inactive = (state & DFCS_INACTIVE) != 0;
    const double dot = (state & DFCS_CHECKED) != 0 ? outer / 3.0 + 0.1 : -1.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x - centre;
            const double dy = y - centre;
            const double distance = std::sqrt(dx * dx + dy * dy);
            if (distance >= outer) {
                continue;
            }
            const bool lit = dx + dy > 0; // bottom right of the diagonal
            COLORREF color;
            if (distance >= outer - 1.0) {
                color = SystemColor(lit ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
            } else if (distance >= outer - 2.0) {
                color = SystemColor(lit ? COLOR_3DLIGHT : COLOR_3DDKSHADOW);
            } else if (distance < dot) {
                color = SystemColor(inactive ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
            } else {
                color = CheckInterior(state);
            }
            const int px = rect.left + x;
            const int py = rect.top + y;
            FillLogicalRect(dc, RECT{px, py, px + 1, py + 1}, color);
        }
    }
    return TRUE;
}

enum class Direction { Up, Down, Left, Right };

// A filled triangle pointing in direction, its apex at the middle of the box's far side.
void DrawArrow(DcObject& dc, const RECT& box, Direction direction, COLORREF color) {
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const int half = std::max(1, (std::min(width, height) - 2) / 4);
    const int depth = half + 1; // rows from apex to base
    const bool vertical = direction == Direction::Up || direction == Direction::Down;
    const int centreX = box.left + (width - 1) / 2;
    const int centreY = box.top + (height - 1) / 2;
    for (int k = 0; k < depth; ++k) {
        // Row k from the apex spans the centre +-k.
        if (vertical) {
            const int top = box.top + (height - depth) / 2;
            const int y = direction == Direction::Up ? top + k : top + depth - 1 - k;
            FillLogicalRect(dc, RECT{centreX - k, y, centreX + k + 1, y + 1}, color);
        } else {
            const int left = box.left + (width - depth) / 2;
            const int x = direction == Direction::Left ? left + k : left + depth - 1 - k;
            FillLogicalRect(dc, RECT{x, centreY - k, x + 1, centreY + k + 1}, color);
        }
    }
}

BOOL DrawScrollButton(DcObject& dc, RECT* rect, UINT state) {
    Direction direction = Direction::Up;
    switch (state & kTypeMask) {
    case DFCS_SCROLLUP:
        direction = Direction::Up;
        break;
    case DFCS_SCROLLDOWN:
        direction = Direction::Down;
        break;
    case DFCS_SCROLLLEFT:
        direction = Direction::Left;
        break;
    case DFCS_SCROLLRIGHT:
        direction = Direction::Right;
        break;
    default:
        // FIXME: combo box, size grip and the other scroll parts are not drawn.
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const RECT whole = *rect;
    const bool pushed = (state & DFCS_PUSHED) != 0;
    // A pressed arrow button is flat and its arrow moves one pixel down and right.
    DrawEdgeOn(dc, rect, EDGE_RAISED, EdgeStyle(state) | (pushed ? BF_FLAT : 0));
    RECT box = whole;
    if (pushed) {
        box.left += 1;
        box.top += 1;
        box.right += 1;
        box.bottom += 1;
    }
    if ((state & DFCS_INACTIVE) != 0) {
        // Embossed: a highlight copy one pixel down-right under the grey arrow.
        RECT shadow{box.left + 1, box.top + 1, box.right + 1, box.bottom + 1};
        DrawArrow(dc, shadow, direction, SystemColor(COLOR_BTNHIGHLIGHT));
        DrawArrow(dc, box, direction, SystemColor(COLOR_BTNSHADOW));
    } else {
        DrawArrow(dc, box, direction, SystemColor(COLOR_BTNTEXT));
    }
    return TRUE;
}

} // namespace

// With DFC_BUTTON push buttons, check boxes (two- and three-state) and radio buttons are
// drawn; the radio button's separate image and mask parts are not.
BOOL WINAPI DrawFrameControl(HDC hdc, LPRECT lprc, UINT uType, UINT uState) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr || lprc == nullptr) {
        return FALSE;
    }
    RECT rect = *lprc;
    switch (uType) {
    case DFC_BUTTON:
        if ((uState & kTypeMask) == DFCS_BUTTONPUSH) {
            return DrawPushButton(*dc, &rect, uState);
        }
        if ((uState & kTypeMask) == DFCS_BUTTONCHECK || (uState & kTypeMask) == DFCS_BUTTON3STATE) {
            return DrawCheckBox(*dc, &rect, uState);
        }
        if ((uState & kTypeMask) == DFCS_BUTTONRADIO) {
            return DrawRadioButton(*dc, rect, uState);
        }
        break;
    case DFC_SCROLL:
        return DrawScrollButton(*dc, &rect, uState);
    default:
        break;
    }
    // FIXME: other frame control types and button kinds are not drawn.
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}
