// Per-window data: window longs (styles, identifier, procedure, user data, extra bytes),
// window text and window properties.
#include "message/dispatch.h"
#include "window/window_class.h"
#include "window/window_registry.h"

#include <algorithm>
#include <cstring>

using device::Window;

namespace {

// WM_STYLECHANGING lets the window edit the new value; WM_STYLECHANGED reports it. Neither
// redraws: programs follow with SetWindowPos(SWP_FRAMECHANGED) for that.
LONG ChangeStyle(Window* window, int index, DWORD value) {
    DWORD& field = index == GWL_STYLE ? window->style : window->exStyle;
    STYLESTRUCT change{field, value};
    HWND hwnd = window->handle;
    device::Send(window, WM_STYLECHANGING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&change));
    window = device::LookUp(hwnd);
    if (window == nullptr) {
        return 0;
    }
    DWORD& target = index == GWL_STYLE ? window->style : window->exStyle;
    DWORD old = target;
    change.styleOld = old;
    target = change.styleNew;
    device::Send(window, WM_STYLECHANGED, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&change));
    return static_cast<LONG>(old);
}

template <typename T>
bool ExtraBytes(Window* window, int index, T** slot) {
    if (index < 0 || static_cast<size_t>(index) + sizeof(T) > window->extraBytes.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
    }
    *slot = reinterpret_cast<T*>(window->extraBytes.data() + index);
    return true;
}

char16_t Fold(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

bool SamePropertyName(const std::u16string& name, LPCWSTR key) {
    const char16_t* stored = name.c_str();
    size_t i = 0;
    // Programs mostly ask with the very spelling they set; letters of another case are
    // compared folded only where the plain comparison stops.
    while (stored[i] == key[i] && key[i] != 0) {
        ++i;
    }
    if (i == name.size() && key[i] == 0) {
        return true;
    }
    for (; i < name.size(); ++i) {
        if (key[i] == 0 || Fold(stored[i]) != Fold(key[i])) {
            return false;
        }
    }
    return key[i] == 0;
}

std::u16string PropertyKey(LPCWSTR key) {
    if (IS_INTRESOURCE(key)) {
        // Atoms are kept under a name no string can have.
        return std::u16string(1, u'\0') + static_cast<char16_t>(reinterpret_cast<ULONG_PTR>(key));
    }
    return key;
}

bool SameAtom(const std::u16string& name, LPCWSTR key) {
    return name.size() == 2 && name[0] == u'\0' && name[1] == static_cast<char16_t>(reinterpret_cast<ULONG_PTR>(key));
}

// Programs that bind an object to their windows ask on every message, so it compares in
// place and allocates nothing.
auto FindProperty(Window* window, LPCWSTR key) {
    auto it = window->properties.begin();
    const auto end = window->properties.end();
    const bool atom = IS_INTRESOURCE(key);
    for (; it != end; ++it) {
        if (atom ? SameAtom(it->first, key) : SamePropertyName(it->first, key)) {
            break;
        }
    }
    return it;
}

} // namespace

LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return 0;
    }
    switch (nIndex) {
    case GWL_STYLE: return static_cast<LONG>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
    case GWL_ID: return static_cast<LONG>(window->id);
    case GWL_USERDATA: return static_cast<LONG>(window->userData);
    default: {
        LONG* slot = nullptr;
        return ExtraBytes(window, nIndex, &slot) ? *slot : 0;
    }
    }
}

LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return 0;
    }
    switch (nIndex) {
    case GWL_STYLE:
    case GWL_EXSTYLE: return ChangeStyle(window, nIndex, static_cast<DWORD>(dwNewLong));
    case GWL_ID: {
        LONG old = static_cast<LONG>(window->id);
        window->id = static_cast<UINT_PTR>(static_cast<DWORD>(dwNewLong));
        return old;
    }
    case GWL_USERDATA: {
        LONG old = static_cast<LONG>(window->userData);
        window->userData = dwNewLong;
        return old;
    }
    case GWLP_WNDPROC:
    case GWLP_HINSTANCE:
    case GWLP_HWNDPARENT:
        // Pointer-valued indexes do not fit a LONG on a 64-bit system.
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    default: {
        LONG* slot = nullptr;
        if (!ExtraBytes(window, nIndex, &slot)) {
            return 0;
        }
        LONG old = *slot;
        *slot = dwNewLong;
        return old;
    }
    }
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return 0;
    }
    switch (nIndex) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(window->wndProc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(window->owner != nullptr ? window->owner->handle : nullptr);
    case GWLP_USERDATA: return window->userData;
    case GWLP_ID: return static_cast<LONG_PTR>(window->id);
    case GWL_STYLE:
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<DWORD>(GetWindowLongW(hWnd, nIndex)));
    default: {
        LONG_PTR* slot = nullptr;
        return ExtraBytes(window, nIndex, &slot) ? *slot : 0;
    }
    }
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return 0;
    }
    switch (nIndex) {
    case GWLP_WNDPROC: {
        // Later messages go to the new procedure; the old value is returned so that the
        // subclass can pass messages on with CallWindowProcW.
        LONG_PTR old = reinterpret_cast<LONG_PTR>(window->wndProc);
        window->wndProc = reinterpret_cast<WNDPROC>(dwNewLong);
        return old;
    }
    case GWLP_HINSTANCE: {
        LONG_PTR old = reinterpret_cast<LONG_PTR>(window->instance);
        window->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
        return old;
    }
    case GWLP_HWNDPARENT: {
        LONG_PTR old = reinterpret_cast<LONG_PTR>(window->owner != nullptr ? window->owner->handle : nullptr);
        if (!window->IsChild()) {
            window->owner = device::LookUp(reinterpret_cast<HWND>(dwNewLong));
        }
        return old;
    }
    case GWLP_USERDATA: {
        LONG_PTR old = window->userData;
        window->userData = dwNewLong;
        return old;
    }
    case GWLP_ID: {
        LONG_PTR old = static_cast<LONG_PTR>(window->id);
        window->id = static_cast<UINT_PTR>(dwNewLong);
        return old;
    }
    case GWL_STYLE:
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(static_cast<DWORD>(ChangeStyle(window, nIndex, static_cast<DWORD>(dwNewLong))));
    default: {
        LONG_PTR* slot = nullptr;
        if (!ExtraBytes(window, nIndex, &slot)) {
            return 0;
        }
        LONG_PTR old = *slot;
        *slot = dwNewLong;
        return old;
    }
    }
}

int WINAPI GetWindowTextLengthW(HWND hWnd) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return 0;
    }
    return static_cast<int>(device::Send(window, WM_GETTEXTLENGTH, 0, 0));
}

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
    if (lpString != nullptr && nMaxCount > 0) {
        lpString[0] = 0;
    }
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr || lpString == nullptr || nMaxCount <= 0) {
        return 0;
    }
    return static_cast<int>(device::Send(window, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                         reinterpret_cast<LPARAM>(lpString)));
}

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    return static_cast<BOOL>(device::Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

BOOL WINAPI SetPropW(HWND hWnd, LPCWSTR lpString, HANDLE hData) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr || lpString == nullptr) {
        return FALSE;
    }
    auto it = FindProperty(window, lpString);
    if (it != window->properties.end()) {
        it->second = hData;
    } else {
        window->properties.emplace_back(PropertyKey(lpString), hData);
    }
    return TRUE;
}

HANDLE WINAPI GetPropW(HWND hWnd, LPCWSTR lpString) {
    Window* window = device::LookUp(hWnd);
    if (window == nullptr || lpString == nullptr) {
        return nullptr;
    }
    auto it = FindProperty(window, lpString);
    return it != window->properties.end() ? it->second : nullptr;
}

HANDLE WINAPI RemovePropW(HWND hWnd, LPCWSTR lpString) {
    Window* window = device::LookUp(hWnd);
    if (window == nullptr || lpString == nullptr) {
        return nullptr;
    }
    auto it = FindProperty(window, lpString);
    if (it == window->properties.end()) {
        return nullptr;
    }
    HANDLE data = it->second;
    window->properties.erase(it);
    return data;
}
