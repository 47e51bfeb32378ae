// Pocket PC shell services of the device: the menu bar along the bottom of the screen and
// the "ok" button of the navigation bar.
#pragma once

#include "windef.h"
#include "winuser.h"

typedef struct tagSHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
} SHMENUBARINFO, *PSHMENUBARINFO;

// The structure's size as 32-bit Pocket PC programs fill it in; the device accepts it as
// well as sizeof(SHMENUBARINFO).
inline constexpr DWORD SHMENUBARINFO_SIZE_32BIT = 36;

inline constexpr DWORD SHCMBF_EMPTYBAR = 0x0001;
inline constexpr DWORD SHCMBF_HIDDEN = 0x0002;
inline constexpr DWORD SHCMBF_HIDESIPBUTTON = 0x0004;
inline constexpr DWORD SHCMBF_COLORBK = 0x0008;
inline constexpr DWORD SHCMBF_HMENU = 0x0010;

BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* pmbi);
HWND WINAPI SHFindMenuBar(HWND hwnd);

inline constexpr DWORD SHDB_SHOW = 0x0001;
inline constexpr DWORD SHDB_HIDE = 0x0002;
inline constexpr DWORD SHDB_SHOWCANCEL = 0x0004;

BOOL WINAPI SHDoneButton(HWND hwndRequester, DWORD dwState);
