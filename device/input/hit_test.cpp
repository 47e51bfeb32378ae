// Hit testing, WindowFromPoint and ChildWindowFromPoint.
#include "input/hit_test.h"

#include "message/dispatch.h"
#include "window/geometry.h"
#include "window/window_registry.h"

#include <vector>

namespace device {
namespace {

// Every window under the point, in the order the platform asks them: each child's own
// subtree before the child, siblings from the top of the z-order down, the parent last.
// A disabled window is listed but its children are not examined.
void CollectCandidates(Window* window, POINT point, std::vector<Window*>* list) {
    if (!window->IsDisabledFlag() && Contains(ClientRectOnScreen(window), point)) {
        for (Window* child : window->children) {
            if (child->IsVisibleFlag() && Contains(WindowRectOnScreen(child), point)) {
                CollectCandidates(child, point, list);
            }
        }
    }
    list->push_back(window);
}

} // namespace

HitResult HitTest(POINT screenPoint) {
    std::vector<Window*> candidates;
    Window* desktop = Desktop();
    for (Window* top : desktop->children) {
        if (top->IsVisibleFlag() && Contains(WindowRectOnScreen(top), screenPoint)) {
            CollectCandidates(top, screenPoint, &candidates);
        }
    }
    std::vector<HWND> handles;
    handles.reserve(candidates.size());
    for (Window* candidate : candidates) {
        handles.push_back(candidate->handle);
    }
    // A window answering HTTRANSPARENT lets the point through to the next window beneath.
    for (HWND hwnd : handles) {
        Window* candidate = LookUp(hwnd);
        if (candidate == nullptr) {
            continue;
        }
        if (candidate->IsDisabledFlag()) {
            return HitResult{candidate, HTERROR};
        }
        LRESULT code = Send(candidate, WM_NCHITTEST, 0, MAKELPARAM(screenPoint.x, screenPoint.y));
        Window* alive = LookUp(hwnd);
        if (alive == nullptr) {
            continue;
        }
        if (static_cast<int>(code) != HTTRANSPARENT) {
            return HitResult{alive, static_cast<int>(code)};
        }
    }
    return HitResult{desktop, HTCLIENT};
}

} // namespace device

HWND WINAPI WindowFromPoint(POINT Point) {
    device::HitResult hit = device::HitTest(Point);
    return hit.window != nullptr ? hit.window->handle : nullptr;
}

HWND WINAPI ChildWindowFromPoint(HWND hWndParent, POINT Point) {
    device::Window* parent = device::FromHandle(hWndParent);
    if (parent == nullptr) {
        return nullptr;
    }
    POINT screen = Point;
    POINT origin = device::ClientOriginOnScreen(parent);
    screen.x += origin.x;
    screen.y += origin.y;
    if (!device::Contains(device::WindowRectOnScreen(parent), screen)) {
        return nullptr;
    }
    for (device::Window* child : parent->children) {
        if (device::Contains(device::WindowRectOnScreen(child), screen)) {
            return child->handle;
        }
    }
    return hWndParent;
}
