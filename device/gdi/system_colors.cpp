// The system colour table (the classic "Windows Standard" scheme with white windows), and
// GetSysColor/GetSysColorBrush over it.
#include "gdi/system_colors.h"

#include <array>

#include "gdi/handle_table.h"
#include "winuser.h"

namespace device::gdi {

namespace {

constexpr std::array<COLORREF, C_SYS_COLOR_TYPES> kDefaultScheme = {
    RGB(192, 192, 192), // SCROLLBAR
    RGB(0, 128, 128),   // BACKGROUND
    RGB(0, 0, 128),     // ACTIVECAPTION
    RGB(128, 128, 128), // INACTIVECAPTION
    RGB(192, 192, 192), // MENU
    RGB(255, 255, 255), // WINDOW
    RGB(0, 0, 0),       // WINDOWFRAME
    RGB(0, 0, 0),       // MENUTEXT
    RGB(0, 0, 0),       // WINDOWTEXT
    RGB(255, 255, 255), // CAPTIONTEXT
    RGB(192, 192, 192), // ACTIVEBORDER
    RGB(192, 192, 192), // INACTIVEBORDER
    RGB(128, 128, 128), // APPWORKSPACE
    RGB(0, 0, 128),     // HIGHLIGHT
    RGB(255, 255, 255), // HIGHLIGHTTEXT
    RGB(192, 192, 192), // BTNFACE
    RGB(128, 128, 128), // BTNSHADOW
    RGB(128, 128, 128), // GRAYTEXT
    RGB(0, 0, 0),       // BTNTEXT
    RGB(192, 192, 192), // INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // BTNHIGHLIGHT
    RGB(0, 0, 0),       // 3DDKSHADOW
    RGB(192, 192, 192), // 3DLIGHT
    RGB(0, 0, 0),       // INFOTEXT
    RGB(255, 255, 225), // INFOBK
    RGB(255, 255, 255), // STATIC
    RGB(0, 0, 0),       // STATICTEXT
    RGB(0, 0, 128),     // GRADIENTACTIVECAPTION
    RGB(128, 128, 128), // GRADIENTINACTIVECAPTION
};

std::array<COLORREF, C_SYS_COLOR_TYPES>& Colors() {
    static std::array<COLORREF, C_SYS_COLOR_TYPES> colors = kDefaultScheme;
    return colors;
}

// One brush per system colour, made on first request; it reads the table whenever it paints.
std::array<HGDIOBJ, C_SYS_COLOR_TYPES>& Brushes() {
    static std::array<HGDIOBJ, C_SYS_COLOR_TYPES> brushes{};
    return brushes;
}

} // namespace

int SystemColorSlot(int index) {
    const int slot = index & ~SYS_COLOR_INDEX_FLAG;
    return slot >= 0 && slot < C_SYS_COLOR_TYPES ? slot : -1;
}

COLORREF SystemColor(int index) {
    const int slot = SystemColorSlot(index);
    return slot >= 0 ? Colors()[slot] : 0;
}

void SetSystemColor(int index, COLORREF color) {
    const int slot = SystemColorSlot(index);
    if (slot >= 0) {
        Colors()[slot] = color & 0x00FFFFFF;
    }
}

void ResetSystemColors() { Colors() = kDefaultScheme; }

} // namespace device::gdi

using namespace device::gdi;

DWORD WINAPI GetSysColor(int nIndex) { return SystemColor(nIndex); }

HBRUSH WINAPI GetSysColorBrush(int nIndex) {
    const int slot = SystemColorSlot(nIndex);
    if (slot < 0) {
        return nullptr;
    }
    HGDIOBJ& brush = Brushes()[slot];
    if (brush == nullptr) {
        auto object = std::make_unique<BrushObject>();
        object->systemColor = slot;
        object->stock = true;
        brush = InsertObject(std::move(object));
    }
    return static_cast<HBRUSH>(brush);
}
