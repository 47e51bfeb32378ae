// DC attributes: colours, background mode, text alignment, ROP2 and the origins. Every setter
// answers the previous value, and the error value for a bad DC.
#include "gdi/dc_state.h"
#include "winbase.h"

using namespace device::gdi;

int WINAPI SetBkMode(HDC hdc, int mode) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return 0;
    }
    if (mode != TRANSPARENT && mode != OPAQUE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int previous = dc->state.bkMode;
    dc->state.bkMode = mode;
    return previous;
}

int WINAPI GetBkMode(HDC hdc) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    return dc != nullptr ? dc->state.bkMode : 0;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    const COLORREF previous = dc->state.bkColor;
    dc->state.bkColor = color & 0x00FFFFFF;
    return previous;
}

COLORREF WINAPI GetBkColor(HDC hdc) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    return dc != nullptr ? dc->state.bkColor : CLR_INVALID;
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    const COLORREF previous = dc->state.textColor;
    dc->state.textColor = color & 0x00FFFFFF;
    return previous;
}

COLORREF WINAPI GetTextColor(HDC hdc) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    return dc != nullptr ? dc->state.textColor : CLR_INVALID;
}

// GDI_ERROR (0xFFFFFFFF) for a bad DC, as Win32 answers.
UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return 0xFFFFFFFF;
    }
    const UINT previous = dc->state.textAlign;
    dc->state.textAlign = align;
    return previous;
}

UINT WINAPI GetTextAlign(HDC hdc) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    return dc != nullptr ? dc->state.textAlign : 0xFFFFFFFF;
}

// R2_COPYPEN, R2_XORPEN and R2_NOT are the mixes the device draws; others are refused.
int WINAPI SetROP2(HDC hdc, int rop2) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return 0;
    }
    if (rop2 != R2_COPYPEN && rop2 != R2_XORPEN && rop2 != R2_NOT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int previous = dc->state.rop2;
    dc->state.rop2 = rop2;
    return previous;
}

// Brushes are solid here, so the origin is only kept and reported.
BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (lppt != nullptr) {
        *lppt = dc->state.brushOrg;
    }
    dc->state.brushOrg = POINT{x, y};
    return TRUE;
}

// The viewport origin moves logical (0,0) to device (x,y); clipping stays in device units.
BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (lppt != nullptr) {
        *lppt = dc->state.viewportOrg;
    }
    dc->state.viewportOrg = POINT{x, y};
    return TRUE;
}

BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppoint) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr || lppoint == nullptr) {
        return FALSE;
    }
    *lppoint = dc->state.viewportOrg;
    return TRUE;
}
