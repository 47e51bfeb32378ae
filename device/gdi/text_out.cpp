// ExtTextOutW and TextOutW: text placed by the DC's alignment (TA_LEFT/RIGHT/CENTER,
// TA_TOP/BOTTOM/BASELINE, TA_UPDATECP), with the opaque and clipping rectangle options.
#include <algorithm>
#include <cstdint>

#include "gdi/raster.h"
#include "gdi/text_run.h"
#include "winbase.h"

namespace device::gdi {

void PaintText(DcObject& dc, const DcFont& font, int x, int baseline, int width,
               const RECT* opaqueRect, const RECT* clipRect, const WCHAR* text, int count,
               const int* advances) {
    const FaceMetrics& metrics = font.face->Metrics();
    const RECT limit = clipRect != nullptr ? *clipRect : kUnboundedRect;
    const uint32_t background = ToPixel(dc.state.bkColor);
    if (opaqueRect != nullptr) {
        FillSurfaceRect(dc, *opaqueRect, background, Mix::Copy);
    }
    if (count <= 0) {
        return;
    }
    if (dc.state.bkMode == OPAQUE) {
        const RECT cell{x, baseline - metrics.ascent, x + width, baseline + metrics.descent};
        FillSurfaceRect(dc, IntersectRects(cell, limit), background, Mix::Copy);
    }
    RunStyle style;
    style.pixel = ToPixel(dc.state.textColor);
    style.underline = font.font->logFont.lfUnderline != 0;
    style.strikeout = font.font->logFont.lfStrikeOut != 0;
    DrawRun(dc, *font.face, text, count, x, baseline, advances, style, limit);
}

} // namespace device::gdi

using namespace device::gdi;

BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString,
                        UINT c, const INT* lpDx) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (lpString == nullptr && c > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DcFont font = FontOf(*dc);
    if (font.face == nullptr) {
        return FALSE;
    }
    if (c > static_cast<UINT>(kCoordinateLimit)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int count = static_cast<int>(c);
    const UINT align = dc->state.textAlign;
    if ((align & TA_UPDATECP) != 0) {
        x = dc->state.currentPos.x;
        y = dc->state.currentPos.y;
    }

    int width = 0;
    if (lpDx != nullptr) {
        int64_t sum = 0;
        for (int i = 0; i < count; ++i) {
            sum += lpDx[i];
        }
        width = static_cast<int>(std::clamp<int64_t>(sum, -kCoordinateLimit, kCoordinateLimit));
    } else {
        width = RunWidth(*font.face, lpString, count);
    }

    int left = x;
    if ((align & TA_CENTER) == TA_CENTER) {
        left = x - width / 2;
    } else if ((align & TA_CENTER) == TA_RIGHT) {
        left = x - width;
    }
    const FaceMetrics& metrics = font.face->Metrics();
    int baseline = y + metrics.ascent;
    if ((align & TA_BASELINE) == TA_BASELINE) {
        baseline = y;
    } else if ((align & TA_BASELINE) == TA_BOTTOM) {
        baseline = y - metrics.descent;
    }

    RECT surfaceRect{};
    if (lprect != nullptr) {
        surfaceRect = dc->SurfaceRect(*lprect);
    }
    const bool opaque = lprect != nullptr && (options & ETO_OPAQUE) != 0;
    const bool clipped = lprect != nullptr && (options & ETO_CLIPPED) != 0;
    PaintText(*dc, font, dc->SurfaceX(left), dc->SurfaceY(baseline), width,
              opaque ? &surfaceRect : nullptr, clipped ? &surfaceRect : nullptr, lpString, count,
              lpDx);

    if ((align & TA_UPDATECP) != 0) {
        if ((align & TA_CENTER) == TA_LEFT) {
            dc->state.currentPos.x = x + width;
        } else if ((align & TA_CENTER) == TA_RIGHT) {
            dc->state.currentPos.x = x - width;
        }
    }
    return TRUE;
}

BOOL WINAPI TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c) {
    if (c < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ExtTextOutW(hdc, x, y, 0, nullptr, lpString, static_cast<UINT>(c), nullptr);
}
