// Border drawing shared by DrawEdge and DrawFrameControl.
#pragma once

#include "gdi/dc_state.h"

namespace device::gdi {

// Fills a logical rectangle with a colour, inside the DC's clip.
void FillLogicalRect(DcObject& dc, const RECT& r, COLORREF color);

// DrawEdge on a DC already looked up; with BF_ADJUST, *rect becomes the area inside the border.
void DrawEdgeOn(DcObject& dc, RECT* rect, UINT edge, UINT flags);

} // namespace device::gdi
