// The device clipboard: one owner at a time, data handed over as LocalAlloc memory as
// Windows CE does it. Text put there as CF_TEXT (bytes of the ANSI code page) is also
// there as CF_UNICODETEXT, converted when first asked for, as the platform does.
#include "windows.h"

#include <algorithm>
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

namespace {

// CF_UNICODETEXT made from CF_TEXT through the ANSI code page, kept as clipboard data.
HANDLE SynthesizeUnicodeText() {
    auto ansi = g_data.find(CF_TEXT);
    if (ansi == g_data.end()) {
        return nullptr;
    }
    const auto* bytes = static_cast<const char*>(LocalLock(ansi->second));
    if (bytes == nullptr) {
        return nullptr;
    }
    size_t size = LocalSize(ansi->second);
    int length = static_cast<int>(std::find(bytes, bytes + size, '\0') - bytes);
    int wide = length > 0 ? MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0) : 0;
    HLOCAL memory = LocalAlloc(LMEM_FIXED, (static_cast<size_t>(wide) + 1) * sizeof(WCHAR));
    if (memory != nullptr) {
        auto* text = static_cast<WCHAR*>(LocalLock(memory));
        if (wide > 0) {
            MultiByteToWideChar(CP_ACP, 0, bytes, length, text, wide);
        }
        text[wide] = 0;
        LocalUnlock(memory);
        g_data[CF_UNICODETEXT] = memory;
    }
    LocalUnlock(ansi->second);
    return memory;
}

} // namespace

HANDLE WINAPI GetClipboardData(UINT uFormat) {
    if (!g_open) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    auto it = g_data.find(uFormat);
    if (it != g_data.end()) {
        return it->second;
    }
    return uFormat == CF_UNICODETEXT ? SynthesizeUnicodeText() : nullptr;
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
    bool present = g_data.count(format) != 0 || (format == CF_UNICODETEXT && g_data.count(CF_TEXT) != 0);
    return present ? TRUE : FALSE;
}
