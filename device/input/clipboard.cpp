// The device clipboard: one owner at a time, data handed over as LocalAlloc memory as
// Windows CE does it.
#include "windows.h"

#include <map>

namespace {

bool g_open = false;
std::map<UINT, HANDLE> g_data;

} // namespace

namespace device {

void ResetClipboard() {
    for (auto& entry : g_data) {
        LocalFree(entry.second);
    }
    g_data.clear();
    g_open = false;
}

} // namespace device

BOOL WINAPI OpenClipboard(HWND hWndNewOwner) {
    (void)hWndNewOwner;
    if (g_open) {
        return FALSE;
    }
    g_open = true;
    return TRUE;
}

BOOL WINAPI CloseClipboard() {
    if (!g_open) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    g_open = false;
    return TRUE;
}

BOOL WINAPI EmptyClipboard() {
    if (!g_open) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    for (auto& entry : g_data) {
        LocalFree(entry.second);
    }
    g_data.clear();
    return TRUE;
}

HANDLE WINAPI SetClipboardData(UINT uFormat, HANDLE hMem) {
    if (!g_open) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    auto it = g_data.find(uFormat);
    if (it != g_data.end() && it->second != hMem) {
        LocalFree(it->second);
    }
    // The clipboard owns the memory from now on.
    g_data[uFormat] = hMem;
    return hMem;
}

HANDLE WINAPI GetClipboardData(UINT uFormat) {
    if (!g_open) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    auto it = g_data.find(uFormat);
    return it != g_data.end() ? it->second : nullptr;
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format) { return g_data.count(format) != 0 ? TRUE : FALSE; }
