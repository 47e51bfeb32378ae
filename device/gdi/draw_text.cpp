// DrawTextW: formatted text in a rectangle (alignment, wrapping, prefixes, tabs, ellipsis),
// or with DT_CALCRECT only the rectangle the text needs. Answers the text's height.
#include "gdi/draw_text_layout.h"
#include "gdi/raster.h"
#include "gdi/text_run.h"
#include "winbase.h"
#include "winuser.h"

using namespace device::gdi;

namespace {

int TextLength(LPCWSTR text, int count) {
    if (count >= 0) {
        return count;
    }
    int length = 0;
    while (text[length] != 0) {
        ++length;
    }
    return length;
}

// Underlines the characters that followed a '&' prefix, as wide as each character.
void UnderlinePrefixed(DcObject& dc, const FaceMetrics& metrics, const LayoutLine& line, int x,
                       int baseline, const RECT& limit) {
    const uint32_t pixel = ToPixel(dc.state.textColor);
    const int top = baseline + metrics.underlineTop;
    for (size_t i = 0; i < line.text.size(); ++i) {
        if (line.underlined[i]) {
            const RECT bar{x, top, x + line.advances[i], top + metrics.underlineThickness};
            FillSurfaceRect(dc, IntersectRects(bar, limit), pixel, Mix::Copy);
        }
        x += line.advances[i];
    }
}

} // namespace

// DT_VCENTER and DT_BOTTOM apply to DT_SINGLELINE text only; with either, the answer is the
// distance from the rectangle's top to the bottom of the text, as on Windows. DT_EDITCONTROL
// leaves out a last line that would show only in part, and lets DT_WORDBREAK split words that
// fit no line. The text is drawn with the DC's colours and background mode but always from the
// top-left, whatever SetTextAlign says.
int WINAPI DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return 0;
    }
    if (lprc == nullptr || (lpchText == nullptr && cchText != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const DcFont font = FontOf(*dc);
    if (font.face == nullptr) {
        return 0;
    }
    const int count = lpchText != nullptr ? TextLength(lpchText, cchText) : 0;
    const bool calcRect = (format & DT_CALCRECT) != 0;
    if (count == 0) {
        if (calcRect) {
            lprc->right = lprc->left;
            lprc->bottom = lprc->top;
        }
        return 0;
    }

    const FaceMetrics& metrics = font.face->Metrics();
    // Clamped so that the arithmetic below cannot overflow for absurd rectangles.
    const RECT box{Shift(lprc->left, 0, 0), Shift(lprc->top, 0, 0), Shift(lprc->right, 0, 0),
                   Shift(lprc->bottom, 0, 0)};
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    LayoutOptions options;
    options.processPrefixes = (format & DT_NOPREFIX) == 0;
    options.singleLine = singleLine;
    options.wordBreak = (format & DT_WORDBREAK) != 0;
    options.breakLongWords = (format & DT_EDITCONTROL) != 0;
    options.expandTabs = (format & DT_EXPANDTABS) != 0;
    options.endEllipsis = (format & DT_END_ELLIPSIS) != 0;
    options.maxWidth = box.right - box.left;
    options.tabWidth = 8 * std::max(1, metrics.aveCharWidth);
    const std::vector<LayoutLine> lines = LayOutText(*font.face, lpchText, count, options);

    const int lineHeight =
        metrics.height + ((format & DT_EXTERNALLEADING) != 0 ? metrics.externalLeading : 0);
    const int textHeight = lineHeight * static_cast<int>(lines.size());
    if (calcRect) {
        int widest = 0;
        for (const LayoutLine& line : lines) {
            widest = std::max(widest, line.width);
        }
        lprc->right = box.left + widest;
        lprc->bottom = box.top + textHeight;
        return textHeight;
    }

    int y = box.top;
    if (singleLine && (format & DT_VCENTER) != 0) {
        y = box.top + (box.bottom - box.top - lineHeight) / 2;
    } else if (singleLine && (format & DT_BOTTOM) != 0) {
        y = box.bottom - lineHeight;
    }
    const RECT surfaceBox = dc->SurfaceRect(box);
    const RECT* clip = (format & DT_NOCLIP) != 0 ? nullptr : &surfaceBox;
    const RECT limit = clip != nullptr ? *clip : kUnboundedRect;
    for (const LayoutLine& line : lines) {
        if ((format & DT_EDITCONTROL) != 0 && y + lineHeight > box.bottom && y != box.top) {
            break;
        }
        int x = box.left;
        if ((format & DT_CENTER) != 0) {
            x = box.left + (box.right - box.left - line.width) / 2;
        } else if ((format & DT_RIGHT) != 0) {
            x = box.right - line.width;
        }
        const int baseline = dc->SurfaceY(y + metrics.ascent);
        PaintText(*dc, font, dc->SurfaceX(x), baseline, line.width, nullptr, clip,
                  line.text.data(), static_cast<int>(line.text.size()), line.advances.data());
        UnderlinePrefixed(*dc, metrics, line, dc->SurfaceX(x), baseline, limit);
        y += lineHeight;
    }
    if (singleLine && (format & (DT_VCENTER | DT_BOTTOM)) != 0) {
        return y - box.top;
    }
    return textHeight;
}
