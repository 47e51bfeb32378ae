// LoadCursorW and LoadIconW. Programs on the device carry no resources of their own, so only
// the system's standard cursors and icons (no instance, an IDC_ or IDI_ number) load; each
// has one shared handle that is never destroyed, as on the platform.
#include "windows.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::array<WORD, 9> kCursors = {32512, 32513, 32514, 32515, 32516, 32646, 32648, 32650, 32651};
constexpr WORD kFirstIcon = 32512;
constexpr WORD kLastIcon = 32517;

// Shared handles: distinct, non-null, and never valid as anything else's handle.
std::array<BYTE, kCursors.size()> g_cursorTokens{};
std::array<BYTE, kLastIcon - kFirstIcon + 1> g_iconTokens{};

bool IsStandard(HINSTANCE instance, LPCWSTR name, WORD* number) {
    if (instance != nullptr || !IS_INTRESOURCE(name)) {
        return false;
    }
    *number = static_cast<WORD>(reinterpret_cast<uintptr_t>(name));
    return true;
}

} // namespace

HCURSOR WINAPI LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName) {
    WORD number = 0;
    if (IsStandard(hInstance, lpCursorName, &number)) {
        for (size_t i = 0; i < kCursors.size(); ++i) {
            if (kCursors[i] == number) {
                return reinterpret_cast<HCURSOR>(&g_cursorTokens[i]);
            }
        }
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
    WORD number = 0;
    if (IsStandard(hInstance, lpIconName, &number) && number >= kFirstIcon && number <= kLastIcon) {
        return reinterpret_cast<HICON>(&g_iconTokens[number - kFirstIcon]);
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}
