// Hit testing, WindowFromPoint and ChildWindowFromPoint.
#include "input/hit_test.h"

#include "message/dispatch.h"
#include "window/geometry.h"
#include "window/window_registry.h"

#include <vector>

namespace device {
namespace {

// Windows under the point, the deepest first, stopping inside a disabled window.
void CollectCandidates(Window* parent, POINT point, std::vector<Window*>* path) {
    for (Window* child : parent->children) {
        if (!child->IsVisibleFlag() || !Contains(WindowRectOnScreen(child), point)) {
            continue;
        }
        if (!child->IsDisabledFlag() && Contains(ClientRectOnScreen(child), point)) {
            CollectCandidates(child, point, path);
        }
        path->push_back(child);
        return;
    }
}

} // namespace

HitResult HitTest(POINT screenPoint) {
    std::vector<Window*> path;
    Window* desktop = Desktop();
    // Top-level windows in z-order; a transparent answer passes the point to the next one.
    for (Window* top : desktop->children) {
        if (!top->IsVisibleFlag() || !Contains(WindowRectOnScreen(top), screenPoint)) {
            continue;
        }
        path.clear();
        if (!top->IsDisabledFlag() && Contains(ClientRectOnScreen(top), screenPoint)) {
            CollectCandidates(top, screenPoint, &path);
        }
        path.push_back(top);
        for (Window* candidate : path) {
            if (candidate->IsDisabledFlag()) {
                return HitResult{candidate, HTERROR};
            }
            HWND hwnd = candidate->handle;
            LRESULT code = Send(candidate, WM_NCHITTEST, 0, MAKELPARAM(screenPoint.x, screenPoint.y));
            Window* alive = LookUp(hwnd);
            if (alive == nullptr) {
                return HitResult{};
            }
            if (static_cast<int>(code) != HTTRANSPARENT) {
                return HitResult{alive, static_cast<int>(code)};
            }
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
