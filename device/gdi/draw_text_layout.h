// How DrawTextW lays out text before drawing: prefix characters, line breaks, word wrapping,
// tab expansion and end ellipses. Kept apart from the drawing so each step can be reasoned
// about (and tested) on its own.
#pragma once

#include <string>
#include <vector>

#include "gdi/font_face.h"

namespace device::gdi {

struct LayoutLine {
    std::u16string text;
    std::vector<bool> underlined; // per unit: follows a '&' prefix
    std::vector<int> advances;    // per unit, tabs expanded
    int width = 0;
};

struct LayoutOptions {
    bool processPrefixes = true; // not DT_NOPREFIX
    bool singleLine = false;     // DT_SINGLELINE
    bool wordBreak = false;      // DT_WORDBREAK
    bool breakLongWords = false; // DT_EDITCONTROL: a word wider than the line is split
    bool expandTabs = false;     // DT_EXPANDTABS
    bool endEllipsis = false;    // DT_END_ELLIPSIS
    int maxWidth = 0;            // the rectangle's width
    int tabWidth = 8;            // pixels between tab stops
};

std::vector<LayoutLine> LayOutText(FontFace& face, const WCHAR* text, int count,
                                   const LayoutOptions& options);

} // namespace device::gdi
