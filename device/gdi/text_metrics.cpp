// Text measurement: GetTextExtentExPointW, GetTextExtentPoint32W, GetTextMetricsW and
// GetTextFaceW, all from the selected font's real glyph advances.
#include <algorithm>

#include "gdi/text_run.h"
#include "winbase.h"

using namespace device::gdi;

namespace {

// TEXTMETRICW.tmPitchAndFamily bits. TMPF_FIXED_PITCH set means *variable* pitch, a Win32
// oddity that callers test for.
constexpr BYTE kTmpfFixedPitch = 0x01;
constexpr BYTE kTmpfVector = 0x02;
constexpr BYTE kTmpfTrueType = 0x04;

} // namespace

// The whole string is measured whatever nMaxExtent says; lpnFit counts the characters whose
// cumulative width stays within nMaxExtent, and alpDx gets every cumulative width.
BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR lpszString, int cchString, int nMaxExtent,
                                  LPINT lpnFit, LPINT lpnDx, LPSIZE lpSize) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (cchString < 0 || lpSize == nullptr || (lpszString == nullptr && cchString > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DcFont font = FontOf(*dc);
    if (font.face == nullptr) {
        return FALSE;
    }
    std::vector<int> advances;
    MeasureRun(*font.face, lpszString, cchString, &advances);
    int total = 0;
    int fit = 0;
    for (int i = 0; i < cchString; ++i) {
        total += advances[i];
        if (lpnDx != nullptr) {
            lpnDx[i] = total;
        }
        if (total <= nMaxExtent && fit == i) {
            fit = i + 1;
        }
    }
    if (lpnFit != nullptr) {
        *lpnFit = fit;
    }
    lpSize->cx = total;
    lpSize->cy = font.face->Metrics().height;
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
    return GetTextExtentExPointW(hdc, lpString, c, 0, nullptr, nullptr, psizl);
}

BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (lptm == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DcFont font = FontOf(*dc);
    if (font.face == nullptr) {
        return FALSE;
    }
    const FaceMetrics& m = font.face->Metrics();
    const LOGFONTW& lf = font.font->logFont;
    TEXTMETRICW tm{};
    tm.tmHeight = m.height;
    tm.tmAscent = m.ascent;
    tm.tmDescent = m.descent;
    tm.tmInternalLeading = m.internalLeading;
    tm.tmExternalLeading = m.externalLeading;
    tm.tmAveCharWidth = m.aveCharWidth;
    tm.tmMaxCharWidth = m.maxCharWidth;
    tm.tmWeight = m.weight;
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = 0x20;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = m.italic ? 255 : 0;
    tm.tmUnderlined = lf.lfUnderline != 0 ? 255 : 0;
    tm.tmStruckOut = lf.lfStrikeOut != 0 ? 255 : 0;
    tm.tmPitchAndFamily = m.fixedPitch ? (kTmpfVector | kTmpfTrueType | FF_MODERN)
                                       : (kTmpfFixedPitch | kTmpfVector | kTmpfTrueType | FF_SWISS);
    tm.tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf.lfCharSet;
    *lptm = tm;
    return TRUE;
}

// The name of the face actually used ("DejaVu Sans"), not the one asked for. Without a buffer
// the answer is the length with its terminator; with one, the characters copied.
int WINAPI GetTextFaceW(HDC hdc, int c, LPWSTR lpName) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return 0;
    }
    const DcFont font = FontOf(*dc);
    if (font.face == nullptr) {
        return 0;
    }
    const std::u16string& name = font.face->FamilyName();
    if (lpName == nullptr) {
        return static_cast<int>(name.size()) + 1;
    }
    if (c <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int copied = std::min(c - 1, static_cast<int>(name.size()));
    std::copy_n(name.data(), copied, lpName);
    lpName[copied] = 0;
    return copied;
}
