// The scrolling container: its three handlers, the scroll ranges from the children's
// extent, and moving the children when a position changes.
//
// The children sit at their scrolled positions: the content's top-left edge (the shown
// children's extent widened by the Margin) lies at minus the scroll positions. Range
// updates are posted as CM_UPDATESCROLL, never sent, so they run once the size change or
// showing that asked for them has completed.
#include "scrolling.h"

#include "control_factory.h"
#include "dispatch.h"
#include "properties.h"

#include <algorithm>

namespace {

// Clears the container's ChildrenChangedHook while its children are moved, so that the
// moves are not taken for children being added; puts it back also while an exception
// passes.
class ChildrenChangedHookPause {
public:
    explicit ChildrenChangedHookPause(TControl* container)
        : m_container(container), m_saved(container->ChildrenChangedHook) {
        m_container->ChildrenChangedHook = nullptr;
    }
    ~ChildrenChangedHookPause() { m_container->ChildrenChangedHook = m_saved; }
    ChildrenChangedHookPause(const ChildrenChangedHookPause&) = delete;
    ChildrenChangedHookPause& operator=(const ChildrenChangedHookPause&) = delete;

private:
    TControl* m_container;
    TChildrenChangedProc m_saved;
};

// The bar's position; 0 when the window has no scroll information.
int ScrollPosition(TControl* container, int bar) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(container->Handle, bar, &info) ? info.nPos : 0;
}

void CoverDescendants(TControl* control) {
    for (LONG i = 0; i < ChildCount(control); ++i) {
        TControl* child = ChildAt(control, i);
        ScrollChildAdded(control, child);
        CoverDescendants(child);
    }
}

void RunAfterScrollHook(TControl* container) {
    if (container->AfterScrollHook != nullptr) {
        container->AfterScrollHook(container);
    }
}

void NotifyChildrenChanged(TControl* container) {
    if (container->ChildrenChangedHook != nullptr) {
        container->ChildrenChangedHook(container, nullptr);
    }
}

// The new position for a scroll request, clamped as the container does it: never past the
// last full page, never before the start.
int RequestedPosition(const SCROLLINFO& info, WORD code, int lineStep) {
    int pos = info.nPos;
    const int page = static_cast<int>(std::min<UINT>(info.nPage, 0x7FFFFFFF));
    switch (code) {
    case SB_LINEUP:
        pos -= lineStep;
        break;
    case SB_LINEDOWN:
        pos += lineStep;
        break;
    case SB_PAGEUP:
        pos -= std::max(page, 1);
        break;
    case SB_PAGEDOWN:
        pos += std::max(page, 1);
        break;
    case SB_THUMBTRACK:
        pos = info.nTrackPos;
        break;
    case SB_TOP:
        pos = info.nMin;
        break;
    case SB_BOTTOM:
        pos = info.nMax;
        break;
    default:
        break;
    }
    const long long last = static_cast<long long>(info.nMax) - page + 1;
    if (pos > last) {
        pos = static_cast<int>(last);
    }
    if (pos < info.nMin) {
        pos = info.nMin;
    }
    return pos;
}

void Scroll(TControl* container, int bar, WORD code) {
    SCROLLINFO info{
        sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(container->Handle, bar, &info)) {
        return; // a bar that does not exist has nothing to move
    }
    const int old = info.nPos;
    info.nPos = RequestedPosition(
        info, code, bar == SB_HORZ ? container->HorzLineStep : container->VertLineStep);
    if (info.nPos == old) {
        return;
    }
    info.fMask = SIF_POS;
    SetScrollInfo(container->Handle, bar, &info, TRUE);
    ChildrenChangedHookPause pause(container);
    RunAfterScrollHook(container);
}

} // namespace

void MakeScrolling(TControl* container) {
    // First in the list, so it runs after every other attached handler.
    AttachHandlerLast(container, ScrollBarHandler);
    AttachHandler(container, ScrollContainerHandler);
    container->AfterScrollHook = ScrollChildren;
    container->HorzLineStep = 16;
    container->VertLineStep = 16;
    container->ChildrenChangedHook = ScrollChildAdded;
    CoverDescendants(container);
}

void ScrollChildAdded(TControl* /*parent*/, TControl* child) {
    if (child == nullptr) {
        return;
    }
    AttachHandler(child, ScrollFocusHandler);
    if (child->ChildrenChangedHook == nullptr) {
        child->ChildrenChangedHook = ScrollChildAdded;
    }
}

bool ScrollContainerHandler(TControl* container, MSG& msg, LRESULT& /*result*/) {
    if (msg.message == WM_SIZE || (msg.message == WM_SHOWWINDOW && msg.wParam != 0)) {
        PostMessageW(container->Handle, CM_UPDATESCROLL, 0, 0);
        return false;
    }
    if (msg.message == CM_UPDATESCROLL) {
        UpdateScrollRanges(container);
        TControl* form = ParentForm(container);
        ScrollIntoView(form != nullptr ? form->FocusedControl : nullptr, container);
        return true;
    }
    return false;
}

bool ScrollBarHandler(TControl* container, MSG& msg, LRESULT& /*result*/) {
    switch (msg.message) {
    case WM_SIZE:
        NotifyChildrenChanged(container);
        break;
    case WM_SHOWWINDOW:
        if (msg.wParam != 0) {
            container->Visible = false;
            CreateChildWindows(container);
            container->Visible = true;
            NotifyChildrenChanged(container);
        }
        break;
    case WM_HSCROLL:
        Scroll(container, SB_HORZ, LOWORD(msg.wParam));
        break;
    case WM_VSCROLL:
        Scroll(container, SB_VERT, LOWORD(msg.wParam));
        break;
    default:
        break;
    }
    return false;
}

bool ScrollFocusHandler(TControl* control, MSG& msg, LRESULT& /*result*/) {
    if (msg.message != WM_SETFOCUS) {
        return false;
    }
    for (TControl* ancestor = control->Parent; ancestor != nullptr; ancestor = ancestor->Parent) {
        if (ancestor->AfterScrollHook != nullptr) {
            ScrollIntoView(control, ancestor);
            break;
        }
    }
    return false;
}

void UpdateScrollRanges(TControl* container) {
    const RECT content = ContentBounds(container);
    RECT client = ClientRect(container);
    if (client.right == 0 || client.bottom == 0) {
        return;
    }
    SetScrollBar(container, SB_HORZ, client.right, content.left, content.right);
    client = ClientRect(container); // the first bar may have taken room from the client area
    SetScrollBar(container, SB_VERT, client.bottom, content.top, content.bottom);
    RunAfterScrollHook(container);
}

void SetScrollBar(TControl* container, int bar, int page, int lo, int hi) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (GetScrollInfo(container->Handle, bar, &info)) {
        info.nMin = 0;
        info.nMax = hi - lo;
    } else {
        info.nMin = 0;
        info.nMax = std::max(page - 1, hi - 1);
    }
    info.nPage = static_cast<UINT>(page);
    info.nPos = -lo;
    SetScrollInfo(container->Handle, bar, &info, TRUE);
}

RECT ContentBounds(TControl* container) {
    RECT content{0, 0, 0, 0};
    for (LONG i = 0; i < ChildCount(container); ++i) {
        TControl* child = ChildAt(container, i);
        if (!IsShown(child)) {
            continue;
        }
        const RECT b = GetBoundsRect(child);
        if (content.left == content.right) {
            content.left = b.left;
            content.right = b.right;
        } else {
            content.left = std::min(content.left, b.left);
            content.right = std::max(content.right, b.right);
        }
        if (content.top == content.bottom) {
            content.top = b.top;
            content.bottom = b.bottom;
        } else {
            content.top = std::min(content.top, b.top);
            content.bottom = std::max(content.bottom, b.bottom);
        }
    }
    const LONG margin = container->Margin;
    content.left -= margin;
    content.right += margin - 1;
    content.top -= margin;
    content.bottom += margin - 1;
    return content;
}

bool IsShown(TControl* control) {
    if (!GetVisible(control) && !control->ShowPending) {
        return false;
    }
    return !control->IsControl || control->Parent == nullptr || IsShown(control->Parent);
}

void ScrollChildren(TControl* container) {
    if (!GetVisible(container)) {
        return;
    }
    const RECT content = ContentBounds(container);
    const LONG dx = -ScrollPosition(container, SB_HORZ) - content.left;
    const LONG dy = -ScrollPosition(container, SB_VERT) - content.top;
    if (dx == 0 && dy == 0) {
        return;
    }
    ChildrenChangedHookPause pause(container);
    for (LONG i = 0; i < ChildCount(container); ++i) {
        TControl* child = ChildAt(container, i);
        RECT bounds = GetBoundsRect(child);
        OffsetRect(&bounds, dx, dy);
        SetBoundsRect(child, bounds);
    }
    UpdateAll(container);
}

bool ScrollIntoView(TControl* control, TControl* container) {
    if (control == nullptr) {
        return false;
    }
    const RECT b = GetBoundsRect(control);
    POINT topLeft{b.left, b.top};
    POINT bottomRight{b.right, b.bottom};
    if (control->Parent != nullptr) {
        topLeft = ScreenToClient(container, ClientToScreen(control->Parent, topLeft));
        bottomRight = ScreenToClient(container, ClientToScreen(control->Parent, bottomRight));
    }
    if (!ScrollBarToInclude(container, SB_VERT, topLeft.y, bottomRight.y,
                            ClientHeight(container)) &&
        !ScrollBarToInclude(container, SB_HORZ, topLeft.x, bottomRight.x, ClientWidth(container))) {
        return false;
    }
    ScrollChildren(container);
    return true;
}

bool ScrollBarToInclude(TControl* container, int bar, int lo, int hi, int extent) {
    int pos = ScrollPosition(container, bar);
    const int margin = container->Margin;
    if (lo < margin) {
        pos -= margin - lo;
    } else if (hi <= extent - margin) {
        return false;
    } else {
        pos += hi + margin - extent;
    }
    SetScrollPos(container->Handle, bar, pos, TRUE);
    return true;
}
