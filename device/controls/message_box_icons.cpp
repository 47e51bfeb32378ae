// The message-box icons, drawn with pens, brushes and a bold glyph rather than taken from
// bitmaps: a red disc with a white cross, a blue disc with a white "i", a blue-ringed disc
// with a "?", and a yellow triangle with a "!".
#include "controls/message_box_icons.h"

namespace device {
namespace {

constexpr int kSize = kMessageBoxIconSize;

// Selects a brush and a pen for one shape and puts the old ones back afterwards.
class ShapeTools {
public:
    ShapeTools(HDC hdc, COLORREF fill, COLORREF outline, int outlineWidth = 1)
        : m_hdc(hdc), m_brush(CreateSolidBrush(fill)),
          m_pen(CreatePen(PS_SOLID, outlineWidth, outline)), m_oldBrush(SelectObject(hdc, m_brush)),
          m_oldPen(SelectObject(hdc, m_pen)) {}
    ~ShapeTools() {
        SelectObject(m_hdc, m_oldBrush);
        SelectObject(m_hdc, m_oldPen);
        DeleteObject(m_brush);
        DeleteObject(m_pen);
    }
    ShapeTools(const ShapeTools&) = delete;
    ShapeTools& operator=(const ShapeTools&) = delete;

private:
    HDC m_hdc;
    HBRUSH m_brush;
    HPEN m_pen;
    HGDIOBJ m_oldBrush;
    HGDIOBJ m_oldPen;
};

// One bold character centred in `box`.
void DrawGlyph(HDC hdc, const RECT& box, char16_t glyph, COLORREF color) {
    LOGFONTW logFont{};
    logFont.lfHeight = -22;
    logFont.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectW(&logFont);
    HGDIOBJ oldFont = SelectObject(hdc, font);
    int oldMode = SetBkMode(hdc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(hdc, color);
    RECT cell = box;
    const char16_t text[2] = {glyph, 0};
    DrawTextW(hdc, text, 1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(hdc, oldColor);
    SetBkMode(hdc, oldMode);
    SelectObject(hdc, oldFont);
    DeleteObject(font);
}

void DrawStop(HDC hdc, int x, int y) {
    {
        ShapeTools tools(hdc, RGB(220, 30, 30), RGB(128, 0, 0));
        Ellipse(hdc, x + 1, y + 1, x + kSize - 1, y + kSize - 1);
    }
    HPEN pen = CreatePen(PS_SOLID, 4, RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    MoveToEx(hdc, x + 10, y + 10, nullptr);
    LineTo(hdc, x + kSize - 10, y + kSize - 10);
    MoveToEx(hdc, x + kSize - 11, y + 10, nullptr);
    LineTo(hdc, x + 9, y + kSize - 10);
    SelectObject(hdc, oldPen);
    DeleteObject(pen);
}

void DrawQuestion(HDC hdc, int x, int y) {
    {
        ShapeTools tools(hdc, RGB(255, 255, 255), RGB(30, 80, 200), 2);
        Ellipse(hdc, x + 1, y + 1, x + kSize - 1, y + kSize - 1);
    }
    DrawGlyph(hdc, RECT{x, y, x + kSize, y + kSize}, u'?', RGB(30, 80, 200));
}

void DrawExclamation(HDC hdc, int x, int y) {
    {
        ShapeTools tools(hdc, RGB(255, 210, 0), RGB(0, 0, 0));
        const POINT corners[3] = {
            {x + kSize / 2, y + 1}, {x + kSize - 1, y + kSize - 2}, {x, y + kSize - 2}};
        Polygon(hdc, corners, 3);
    }
    DrawGlyph(hdc, RECT{x, y + 6, x + kSize, y + kSize - 1}, u'!', RGB(0, 0, 0));
}

void DrawInformation(HDC hdc, int x, int y) {
    {
        ShapeTools tools(hdc, RGB(30, 80, 200), RGB(0, 40, 140));
        Ellipse(hdc, x + 1, y + 1, x + kSize - 1, y + kSize - 1);
    }
    DrawGlyph(hdc, RECT{x, y, x + kSize, y + kSize}, u'i', RGB(255, 255, 255));
}

} // namespace

bool DrawMessageBoxIcon(HDC hdc, int x, int y, UINT iconFlag) {
    switch (iconFlag & MB_ICONMASK) {
    case MB_ICONHAND: DrawStop(hdc, x, y); return true;
    case MB_ICONQUESTION: DrawQuestion(hdc, x, y); return true;
    case MB_ICONEXCLAMATION: DrawExclamation(hdc, x, y); return true;
    case MB_ICONASTERISK: DrawInformation(hdc, x, y); return true;
    default: return false;
    }
}

} // namespace device
