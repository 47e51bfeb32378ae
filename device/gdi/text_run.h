// A run of UTF-16 text on one baseline: measuring it glyph by glyph and drawing it through the
// glyph cache. ExtTextOutW, the extent functions and DrawTextW all go through here.
#pragma once

#include <vector>

#include "gdi/dc_state.h"
#include "gdi/font_face.h"

namespace device::gdi {

// The selected font of a DC and its face; face is null when no font file can be loaded.
struct DcFont {
    FontObject* font = nullptr;
    FontFace* face = nullptr;
};
DcFont FontOf(const DcObject& dc);

// Advance of each UTF-16 unit: a surrogate pair puts its glyph's advance on the first unit and
// 0 on the second, so counts stay in WCHARs as the Win32 extent functions count.
void MeasureRun(FontFace& face, const WCHAR* text, int count, std::vector<int>* advances);
int RunWidth(FontFace& face, const WCHAR* text, int count);

struct RunStyle {
    uint32_t pixel = 0;
    bool underline = false;
    bool strikeout = false;
};

// Draws count units with the pen starting at x on baseline (surface coordinates); advances
// gives each unit's step (lpDx) or is null for the font's own. Nothing lands outside limit or
// the DC's clip.
void DrawRun(DcObject& dc, FontFace& face, const WCHAR* text, int count, int x, int baseline,
             const int* advances, const RunStyle& style, const RECT& limit);

// ExtTextOutW once the reference point is resolved: the pen starts at x on baseline (surface
// coordinates), width is the run's advance. Fills opaqueRect with the background colour when
// given, the text cell too in OPAQUE mode, then draws the text and the font's underline and
// strikeout; nothing lands outside clipRect when given.
void PaintText(DcObject& dc, const DcFont& font, int x, int baseline, int width,
               const RECT* opaqueRect, const RECT* clipRect, const WCHAR* text, int count,
               const int* advances);

} // namespace device::gdi
