// Stock objects: made once on first use, marked so that DeleteObject leaves them alone, and
// shared by every DC (a fresh DC holds BLACK_PEN, WHITE_BRUSH and SYSTEM_FONT).
#include <array>
#include <cstring>

#include "gdi/handle_table.h"
#include "winbase.h"

namespace device::gdi {

namespace {

HGDIOBJ InsertStock(std::unique_ptr<GdiObject> object) {
    object->stock = true;
    return InsertObject(std::move(object));
}

HGDIOBJ StockBrush(UINT style, COLORREF color) {
    auto brush = std::make_unique<BrushObject>();
    brush->style = style;
    brush->color = color;
    return InsertStock(std::move(brush));
}

HGDIOBJ StockPen(int style, COLORREF color) {
    auto pen = std::make_unique<PenObject>();
    pen->style = style;
    pen->color = color;
    return InsertStock(std::move(pen));
}

HGDIOBJ StockFont(LONG height, BYTE pitchAndFamily, const char* face) {
    auto font = std::make_unique<FontObject>();
    font->logFont.lfHeight = height;
    font->logFont.lfWeight = FW_NORMAL;
    font->logFont.lfCharSet = DEFAULT_CHARSET;
    font->logFont.lfPitchAndFamily = pitchAndFamily;
    for (size_t i = 0; face[i] != '\0' && i + 1 < LF_FACESIZE; ++i) {
        font->logFont.lfFaceName[i] = static_cast<WCHAR>(face[i]);
    }
    return InsertStock(std::move(font));
}

struct StockTable {
    std::array<HGDIOBJ, kStockObjectCount> objects{};
    HGDIOBJ defaultBitmap = nullptr;

    StockTable() {
        objects[WHITE_BRUSH] = StockBrush(BS_SOLID, RGB(255, 255, 255));
        objects[LTGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(192, 192, 192));
        objects[GRAY_BRUSH] = StockBrush(BS_SOLID, RGB(128, 128, 128));
        objects[DKGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(64, 64, 64));
        objects[BLACK_BRUSH] = StockBrush(BS_SOLID, RGB(0, 0, 0));
        objects[NULL_BRUSH] = StockBrush(BS_NULL, 0);
        objects[WHITE_PEN] = StockPen(PS_SOLID, RGB(255, 255, 255));
        objects[BLACK_PEN] = StockPen(PS_SOLID, RGB(0, 0, 0));
        objects[NULL_PEN] = StockPen(PS_NULL, 0);
        // The fixed-pitch fonts are not in the Windows CE list; they exist here all the same.
        objects[kOemFixedFont] = StockFont(-12, FIXED_PITCH | FF_MODERN, "Terminal");
        objects[kAnsiFixedFont] = StockFont(-12, FIXED_PITCH | FF_MODERN, "Courier New");
        objects[kAnsiVarFont] = StockFont(-11, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
        // The system font: an em of 12 pixels, what a 9-point Tahoma is at 96 dpi.
        objects[SYSTEM_FONT] = StockFont(-12, VARIABLE_PITCH | FF_SWISS, "System");
        objects[kDeviceDefaultFont] = StockFont(-12, VARIABLE_PITCH | FF_SWISS, "System");
        objects[DEFAULT_PALETTE] = InsertStock(std::make_unique<PaletteObject>());
        objects[kSystemFixedFont] = StockFont(-12, FIXED_PITCH | FF_MODERN, "Fixedsys");
        objects[DEFAULT_GUI_FONT] = StockFont(-11, VARIABLE_PITCH | FF_SWISS, "Tahoma");

        auto bitmap = std::make_unique<BitmapObject>();
        bitmap->surface.Resize(1, 1, 0);
        bitmap->bitsPixel = 1;
        defaultBitmap = InsertStock(std::move(bitmap));
    }
};

StockTable& Stock() {
    static StockTable table;
    return table;
}

} // namespace

HBITMAP DefaultBitmap() { return static_cast<HBITMAP>(Stock().defaultBitmap); }

} // namespace device::gdi

using namespace device::gdi;

HGDIOBJ WINAPI GetStockObject(int i) {
    if (i < 0 || i >= kStockObjectCount || Stock().objects[i] == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Stock().objects[i];
}
