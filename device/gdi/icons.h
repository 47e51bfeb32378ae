// Icons made from bitmaps (CreateIconIndirect): the device keeps their pixels, so that
// DrawIconEx and image lists can draw them.
#pragma once

#include "gdi/surface.h"
#include "windef.h"

namespace device::gdi {

struct Icon {
    Surface color; // XORed over what the mask leaves
    Surface mask;  // white where the screen shows through, black where the image covers it
    bool isIcon = true;
    DWORD hotX = 0;
    DWORD hotY = 0;
};

// The icon behind handle, or null (standard icons from LoadIconW have no pixels here).
const Icon* FindIcon(HICON handle);

// Stores icon and returns its handle; 0 with the error set when the table is full.
HICON InsertIcon(Icon icon);

// A width x height block of from at (x, y); what lies outside from is black.
Surface CopyBlock(const Surface& from, int x, int y, int width, int height);

} // namespace device::gdi
