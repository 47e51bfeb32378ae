// DrawFrameControl: push-button faces and scroll-bar arrow buttons, drawn from DrawEdge and
// the system colours.
#include <algorithm>

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

// With DFC_BUTTON only push buttons are drawn; check boxes and radio buttons are not (the
// device's own controls do not use them).
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
