// The class registry: RegisterClassW, UnregisterClassW, GetClassInfoW, GetClassNameW.
#include "window/window_class.h"

#include "window/window_registry.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace device {
namespace {

std::vector<std::unique_ptr<WindowClass>> g_classes;
ATOM g_nextAtom = 0xC000;

bool IsAtom(LPCWSTR name) { return IS_INTRESOURCE(name); }

char16_t FoldCase(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

bool Matches(const WindowClass& cls, LPCWSTR name) {
    if (IsAtom(name)) {
        return cls.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
    }
    return SameClassName(cls.name, name);
}

WindowClass* FindExact(HINSTANCE instance, LPCWSTR name, bool system) {
    for (auto& cls : g_classes) {
        if (cls->system == system && (system || cls->instance == instance) && Matches(*cls, name)) {
            return cls.get();
        }
    }
    return nullptr;
}

} // namespace

bool SameClassName(const std::u16string& a, LPCWSTR b) {
    size_t i = 0;
    for (; b[i] != 0; ++i) {
        if (i >= a.size() || FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return i == a.size();
}

WindowClass* FindWindowClass(HINSTANCE instance, LPCWSTR name) {
    if (name == nullptr) {
        return nullptr;
    }
    // A class the program registered wins over a standard class of the same name.
    if (WindowClass* local = FindExact(instance, name, false)) {
        return local;
    }
    if (WindowClass* system = FindExact(nullptr, name, true)) {
        return system;
    }
    // Programs often pass another module handle; any local class of that name will do.
    for (auto& cls : g_classes) {
        if (!cls->system && Matches(*cls, name)) {
            return cls.get();
        }
    }
    return nullptr;
}

void RegisterSystemClass(const ClassDescriptor& descriptor) {
    auto cls = std::make_unique<WindowClass>();
    cls->name = descriptor.name;
    cls->atom = g_nextAtom++;
    cls->style = descriptor.style;
    cls->wndProc = descriptor.wndProc;
    cls->wndExtra = descriptor.wndExtra;
    cls->background = descriptor.background;
    cls->system = true;
    cls->dumpExtra = descriptor.dumpExtra;
    cls->currentText = descriptor.currentText;
    g_classes.push_back(std::move(cls));
}

std::u16string CurrentText(const Window* window) {
    if (window->windowClass != nullptr && window->windowClass->currentText != nullptr) {
        return window->windowClass->currentText(window->handle);
    }
    return window->text;
}

void ResetWindowClasses() {
    g_classes.clear();
    g_nextAtom = 0xC000;
}

} // namespace device

using device::WindowClass;

ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass) {
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr ||
        lpWndClass->lpfnWndProc == nullptr || lpWndClass->cbWndExtra < 0 ||
        lpWndClass->cbClsExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (IS_INTRESOURCE(lpWndClass->lpszClassName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    for (auto& cls : device::g_classes) {
        if (!cls->system && cls->instance == lpWndClass->hInstance &&
            device::SameClassName(cls->name, lpWndClass->lpszClassName)) {
            SetLastError(ERROR_CLASS_ALREADY_EXISTS);
            return 0;
        }
    }
    auto cls = std::make_unique<WindowClass>();
    cls->name = lpWndClass->lpszClassName;
    cls->atom = device::g_nextAtom++;
    cls->style = lpWndClass->style;
    cls->wndProc = lpWndClass->lpfnWndProc;
    cls->clsExtra = lpWndClass->cbClsExtra;
    cls->wndExtra = lpWndClass->cbWndExtra;
    cls->instance = lpWndClass->hInstance;
    cls->icon = lpWndClass->hIcon;
    cls->cursor = lpWndClass->hCursor;
    cls->background = lpWndClass->hbrBackground;
    if (lpWndClass->lpszMenuName != nullptr && !IS_INTRESOURCE(lpWndClass->lpszMenuName)) {
        cls->menuName = lpWndClass->lpszMenuName;
    }
    ATOM atom = cls->atom;
    device::g_classes.push_back(std::move(cls));
    return atom;
}

BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
    auto& classes = device::g_classes;
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        WindowClass& cls = **it;
        if (!cls.system && cls.instance == hInstance && device::Matches(cls, lpClassName)) {
            if (cls.windowCount > 0) {
                SetLastError(ERROR_CLASS_HAS_WINDOWS);
                return FALSE;
            }
            classes.erase(it);
            return TRUE;
        }
    }
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
}

BOOL WINAPI GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass) {
    WindowClass* cls = device::FindWindowClass(hInstance, lpClassName);
    if (cls == nullptr || lpWndClass == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    lpWndClass->style = cls->style;
    lpWndClass->lpfnWndProc = cls->wndProc;
    lpWndClass->cbClsExtra = cls->clsExtra;
    lpWndClass->cbWndExtra = cls->wndExtra;
    lpWndClass->hInstance = cls->system ? hInstance : cls->instance;
    lpWndClass->hIcon = cls->icon;
    lpWndClass->hCursor = cls->cursor;
    lpWndClass->hbrBackground = cls->background;
    lpWndClass->lpszMenuName = cls->menuName.empty() ? nullptr : cls->menuName.c_str();
    lpWndClass->lpszClassName = lpClassName;
    return TRUE;
}

int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
    device::Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return 0;
    }
    if (lpClassName == nullptr || nMaxCount <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::u16string& name = window->windowClass->name;
    int count = std::min<int>(static_cast<int>(name.size()), nMaxCount - 1);
    std::copy_n(name.begin(), count, lpClassName);
    lpClassName[count] = 0;
    return count;
}
