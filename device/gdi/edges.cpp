// DrawEdge: the classic 3-D borders made of two one-pixel parts, an outer and an inner, each
// with a top-left and a bottom-right colour taken from the system colours.
#include "gdi/edges.h"

#include "gdi/raster.h"
#include "gdi/system_colors.h"
#include "winuser.h"

namespace device::gdi {

void FillLogicalRect(DcObject& dc, const RECT& r, COLORREF color) {
    FillSurfaceRect(dc, dc.SurfaceRect(r), ToPixel(color), Mix::Copy);
}

namespace {

struct PartColors {
    int topLeft;
    int bottomRight;
};

// The colours of one part. Soft edges swap the top-left colours of the two parts, which gives
// push buttons their white outer highlight.
PartColors ColorsOf(UINT bits, bool outer, UINT flags) {
    if ((flags & BF_MONO) != 0) {
        const int color = outer ? COLOR_WINDOWFRAME : COLOR_WINDOW;
        return {color, color};
    }
    if ((flags & BF_FLAT) != 0) {
        const int color = outer ? COLOR_BTNSHADOW : COLOR_BTNFACE;
        return {color, color};
    }
    const bool soft = (flags & BF_SOFT) != 0;
    const bool raised = (bits & (BDR_RAISEDOUTER | BDR_RAISEDINNER)) != 0;
    if (outer) {
        return raised ? PartColors{soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW}
                      : PartColors{soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
    }
    return raised ? PartColors{soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}
                  : PartColors{soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
}

// Draws one part along the sides in flags and moves those sides of r inwards. The bottom-right
// colour owns the two corners it shares with the top-left lines.
void DrawPart(DcObject& dc, RECT& r, const PartColors& colors, UINT flags) {
    if (IsRectEmptyRect(r)) {
        return;
    }
    const bool left = (flags & BF_LEFT) != 0;
    const bool top = (flags & BF_TOP) != 0;
    const bool right = (flags & BF_RIGHT) != 0;
    const bool bottom = (flags & BF_BOTTOM) != 0;
    const COLORREF light = SystemColor(colors.topLeft);
    const COLORREF dark = SystemColor(colors.bottomRight);
    if (top) {
        FillLogicalRect(dc, RECT{r.left, r.top, r.right - (right ? 1 : 0), r.top + 1}, light);
    }
    if (left) {
        FillLogicalRect(dc, RECT{r.left, r.top, r.left + 1, r.bottom - (bottom ? 1 : 0)}, light);
    }
    if (bottom) {
        FillLogicalRect(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, dark);
    }
    if (right) {
        FillLogicalRect(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, dark);
    }
    r.left += left ? 1 : 0;
    r.top += top ? 1 : 0;
    r.right -= right ? 1 : 0;
    r.bottom -= bottom ? 1 : 0;
}

} // namespace

void DrawEdgeOn(DcObject& dc, RECT* rect, UINT edge, UINT flags) {
    RECT r = *rect;
    const UINT outer = edge & BDR_OUTER;
    const UINT inner = edge & BDR_INNER;
    if (outer != 0) {
        DrawPart(dc, r, ColorsOf(outer, true, flags), flags);
    }
    if (inner != 0) {
        DrawPart(dc, r, ColorsOf(inner, false, flags), flags);
    }
    if ((flags & BF_MIDDLE) != 0 && !IsRectEmptyRect(r)) {
        FillLogicalRect(dc, r, SystemColor((flags & BF_MONO) != 0 ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    if ((flags & BF_ADJUST) != 0) {
        *rect = r;
    }
}

} // namespace device::gdi

using namespace device::gdi;

BOOL WINAPI DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr || qrc == nullptr) {
        return FALSE;
    }
    DrawEdgeOn(*dc, qrc, edge, grfFlags);
    return TRUE;
}
