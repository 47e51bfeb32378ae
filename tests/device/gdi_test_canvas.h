// Tiny drawing targets for the GDI tests: a memory DC over a small bitmap, a window DC over a
// small surface, and a picture of the pixels as text so that a test can state exactly which
// pixels a call changed.
#pragma once

#include <algorithm>
#include <map>
#include <string>

#include "gdi/dc.h"
#include "gdi/surface.h"
#include "windows.h"

namespace gdi_test {

// A memory DC with a width x height bitmap selected, filled with fill.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255))
        : m_width(width), m_height(height) {
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateCompatibleBitmap(m_dc, width, height);
        m_previous = SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~MemoryCanvas() {
        SelectObject(m_dc, m_previous);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int width() const { return m_width; }
    int height() const { return m_height; }

    void Fill(COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        RECT all{0, 0, m_width, m_height};
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }

    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

    // Counts the pixels of the given colour.
    int Count(COLORREF color) const {
        int count = 0;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                count += At(x, y) == color ? 1 : 0;
            }
        }
        return count;
    }

    // Bounding box of the pixels that are not background; empty when there are none.
    RECT Ink(COLORREF background = RGB(255, 255, 255)) const {
        RECT box{m_width, m_height, 0, 0};
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                if (At(x, y) != background) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
            }
        }
        return box.left < box.right ? box : RECT{0, 0, 0, 0};
    }

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
};

// The pixels of area as rows of characters: each colour in legend prints as its character,
// any other colour as '?', a pixel the DC cannot read as ' '.
inline std::string Picture(HDC dc, const RECT& area, const std::map<COLORREF, char>& legend) {
    std::string text;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF color = GetPixel(dc, x, y);
            if (color == CLR_INVALID) {
                text += ' ';
                continue;
            }
            auto found = legend.find(color);
            text += found != legend.end() ? found->second : '?';
        }
        text += '\n';
    }
    return text;
}

inline const std::map<COLORREF, char> kBlackOnWhite = {{RGB(255, 255, 255), '.'},
                                                       {RGB(0, 0, 0), '#'}};

// Picture of a surface's pixels (0x00RRGGBB), with a legend in COLORREF.
inline std::string Picture(const device::gdi::Surface& surface,
                           const std::map<COLORREF, char>& legend) {
    std::string text;
    for (int y = 0; y < surface.height; ++y) {
        for (int x = 0; x < surface.width; ++x) {
            auto found = legend.find(device::gdi::ToColorRef(surface.At(x, y)));
            text += found != legend.end() ? found->second : '?';
        }
        text += '\n';
    }
    return text;
}

} // namespace gdi_test
