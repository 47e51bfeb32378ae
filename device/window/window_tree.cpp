// The tree operations of USER: linking and z-order, GetParent, GetWindow, IsChild.
#include "window/window_tree.h"

#include "window/window_registry.h"

#include <algorithm>

namespace device {
namespace {

bool IsTopmost(const Window* window) {
    return window->parent == Desktop() && (window->exStyle & WS_EX_TOPMOST) != 0;
}

// Where a window may go at the top of its group: below every topmost top-level window
// when it is not topmost itself.
size_t FirstIndexOfGroup(const Window* parent, const Window* child) {
    if (parent != Desktop() || IsTopmost(child)) {
        return 0;
    }
    size_t index = 0;
    while (index < parent->children.size() && IsTopmost(parent->children[index])) {
        ++index;
    }
    return index;
}

void RaiseOwnedWindows(Window* owner) {
    Window* desktop = Desktop();
    // Collect first: raising reorders the list being walked.
    std::vector<Window*> owned;
    for (Window* sibling : desktop->children) {
        if (sibling->owner == owner) {
            owned.push_back(sibling);
        }
    }
    // Keep the owned windows' own order: raise the lowest first.
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        UnlinkWindow(*it);
        LinkWindow(desktop, *it, HWND_TOP);
        RaiseOwnedWindows(*it);
    }
}

} // namespace

void LinkWindow(Window* parent, Window* child, HWND insertAfter) {
    child->parent = parent;
    auto& list = parent->children;
    if (insertAfter == HWND_BOTTOM) {
        list.push_back(child);
        return;
    }
    if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
        Window* after = LookUp(insertAfter);
        auto it = std::find(list.begin(), list.end(), after);
        if (it != list.end()) {
            list.insert(it + 1, child);
            return;
        }
    }
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(FirstIndexOfGroup(parent, child)), child);
}

void UnlinkWindow(Window* child) {
    if (child->parent == nullptr) {
        return;
    }
    auto& list = child->parent->children;
    list.erase(std::remove(list.begin(), list.end(), child), list.end());
}

bool BringToTop(Window* window) {
    Window* parent = window->parent;
    if (parent == nullptr) {
        return false;
    }
    std::vector<Window*> before = parent->children;
    UnlinkWindow(window);
    LinkWindow(parent, window, HWND_TOP);
    if (parent == Desktop()) {
        RaiseOwnedWindows(window);
    }
    return before != parent->children;
}

bool IsTopLevel(const Window* window) { return window->parent == Desktop(); }

Window* TopLevelOf(Window* window) {
    while (window != nullptr && window->parent != nullptr && window->parent != Desktop()) {
        window = window->parent;
    }
    return window;
}

bool IsSelfOrDescendant(const Window* window, const Window* ancestor) {
    for (const Window* w = window; w != nullptr; w = w->parent) {
        if (w == ancestor) {
            return true;
        }
    }
    return false;
}

bool IsEffectivelyVisible(const Window* window) {
    for (const Window* w = window; w != nullptr && w != Desktop(); w = w->parent) {
        if (!w->IsVisibleFlag()) {
            return false;
        }
    }
    return window != nullptr;
}

} // namespace device

using device::Window;

BOOL WINAPI IsWindow(HWND hWnd) { return device::LookUp(hWnd) != nullptr ? TRUE : FALSE; }

HWND WINAPI GetDesktopWindow() {
    Window* desktop = device::Desktop();
    return desktop != nullptr ? desktop->handle : nullptr;
}

HWND WINAPI GetParent(HWND hWnd) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    if (window->IsChild()) {
        return window->parent != nullptr ? window->parent->handle : nullptr;
    }
    if ((window->style & WS_POPUP) != 0 && window->owner != nullptr) {
        return window->owner->handle;
    }
    return nullptr;
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
    Window* parent = device::LookUp(hWndParent);
    Window* window = device::LookUp(hWnd);
    if (parent == nullptr || window == nullptr) {
        return FALSE;
    }
    while (window->IsChild() && window->parent != nullptr) {
        window = window->parent;
        if (window == parent) {
            return TRUE;
        }
    }
    return FALSE;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
    Window* window = device::FromHandle(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    if (uCmd == GW_OWNER) {
        return window->owner != nullptr ? window->owner->handle : nullptr;
    }
    if (uCmd == GW_CHILD) {
        return window->children.empty() ? nullptr : window->children.front()->handle;
    }
    if (window->parent == nullptr) {
        return nullptr;
    }
    const auto& siblings = window->parent->children;
    auto it = std::find(siblings.begin(), siblings.end(), window);
    switch (uCmd) {
    case GW_HWNDFIRST: return siblings.front()->handle;
    case GW_HWNDLAST: return siblings.back()->handle;
    case GW_HWNDNEXT: return (it + 1) != siblings.end() ? (*(it + 1))->handle : nullptr;
    case GW_HWNDPREV: return it != siblings.begin() ? (*(it - 1))->handle : nullptr;
    default: SetLastError(ERROR_INVALID_GW_COMMAND); return nullptr;
    }
}
