// Alignment, label auto-sizing and anchors.
#include "layout.h"

#include "canvas.h"
#include "control_factory.h"
#include "dispatch.h"
#include "properties.h"

#include <string>

namespace {

// Sets an AlignState bit for a scope and clears it again, also while an exception passes.
class AlignStateScope {
public:
    AlignStateScope(TControl* control, BYTE bit) : m_control(control), m_bit(bit) {
        m_control->AlignState |= m_bit;
    }
    ~AlignStateScope() { m_control->AlignState &= static_cast<BYTE>(~m_bit); }
    AlignStateScope(const AlignStateScope&) = delete;
    AlignStateScope& operator=(const AlignStateScope&) = delete;

private:
    TControl* m_control;
    BYTE m_bit;
};

// Sets AutoSizing for a scope and puts back what it was.
class AutoSizingScope {
public:
    explicit AutoSizingScope(TControl* control) : m_control(control), m_saved(control->AutoSizing) {
        m_control->AutoSizing = true;
    }
    ~AutoSizingScope() { m_control->AutoSizing = m_saved; }
    AutoSizingScope(const AutoSizingScope&) = delete;
    AutoSizingScope& operator=(const AutoSizingScope&) = delete;

private:
    TControl* m_control;
    bool m_saved;
};

bool InMask(BYTE align, unsigned mask) {
    return align < 8 && (mask & (1u << align)) != 0;
}

// Where alignment puts the child, and how much of the area it takes.
RECT AlignedBounds(BYTE align, const RECT& cur, RECT& area, LONG margin) {
    const LONG width = cur.right - cur.left;
    const LONG height = cur.bottom - cur.top;
    RECT placed = cur;
    switch (align) {
    case alLeft:
        placed = RECT{area.left + margin, area.top + margin, area.left + margin + width,
                      area.bottom - margin};
        area.left += width + margin;
        break;
    case alTop:
        placed = RECT{area.left + margin, area.top + margin, area.right - margin,
                      area.top + margin + height};
        area.top += height + margin;
        break;
    case alRight:
        placed = RECT{area.right - margin - width, area.top + margin, area.right - margin,
                      area.bottom - margin};
        area.right -= width + margin;
        break;
    case alBottom:
        placed = RECT{area.left + margin, area.bottom - margin - height, area.right - margin,
                      area.bottom - margin};
        area.bottom -= height + margin;
        break;
    case alClient:
        placed = area;
        InflateRect(&placed, -margin, -margin);
        break;
    default:
        break;
    }
    // A container narrower than its margins leaves an empty child, never a negative one.
    if (placed.right < placed.left) {
        placed.right = placed.left;
    }
    if (placed.bottom < placed.top) {
        placed.bottom = placed.top;
    }
    return placed;
}

void PlaceAligned(TControl* container, RECT& area, unsigned mask) {
    // A placement may add or remove children; the list is read afresh each time.
    for (LONG i = 0; i < ChildCount(container); ++i) {
        TControl* child = ChildAt(container, i);
        if ((!child->Visible && !child->ShowPending) || !InMask(child->Align, mask) ||
            (child->AlignState & kAligningChildren) != 0) {
            continue;
        }
        if (!child->AutoSizing && child->Align != alNone) {
            const RECT cur = GetBoundsRect(child);
            const RECT placed = AlignedBounds(child->Align, cur, area, container->Margin);
            const bool moved = placed.left != cur.left || placed.top != cur.top;
            const bool resized = placed.right - placed.left != cur.right - cur.left ||
                                 placed.bottom - placed.top != cur.bottom - cur.top;
            if (moved || resized) {
                AlignStateScope placing(child, kBeingPlaced);
                SetBoundsRect(child, placed);
            }
            if (resized) {
                child->AlignState |= kRealignPending;
            }
        }
        // A resized panel re-arranges its own children; so does any child whose
        // realignment was put off while it was hidden.
        if ((child->AlignState & kRealignPending) != 0) {
            RealignChildren(child);
        }
    }
}

// Records the parent's current client size for the anchor handler (reading it makes the
// parent's window if needed).
void WatchParentWidth(TControl* control) {
    if (control->Parent != nullptr) {
        AttachHandler(control->Parent, AnchorHandler);
        control->Parent->LastClientWidth = ClientWidth(control->Parent);
    }
}

void WatchParentHeight(TControl* control) {
    if (control->Parent != nullptr) {
        AttachHandler(control->Parent, AnchorHandler);
        control->Parent->LastClientHeight = ClientHeight(control->Parent);
    }
}

} // namespace

TControl* SetAlign(TControl* control, BYTE align) {
    RealignHook = RequestRealign;
    if (control->AutoSizing || align == control->Align) {
        return control;
    }
    control->Align = align;
    RequestRealign(control);
    return control;
}

void RequestRealign(TControl* control) {
    if (control == nullptr || (control->AlignState & kBeingPlaced) != 0) {
        return;
    }
    TControl* target = control;
    if (!control->AutoSizing && control->Align != alNone && control->Parent != nullptr &&
        !control->IsForm) {
        control->AlignState |= kRealignPending;
        target = control->Parent;
    }
    if (IsLaidOut(target)) {
        RealignChildren(target);
    }
}

bool IsLaidOut(TControl* control) {
    // The field, not the live window: a form being shown has Visible set before its window
    // appears, and its pending realignment must run right then.
    const bool laidOut =
        (control->Visible || control->ShowPending) &&
        (control->IsForm || control->Parent == nullptr || IsLaidOut(control->Parent));
    if (!laidOut) {
        control->AlignState |= kRealignPending;
    }
    return laidOut;
}

void RealignChildren(TControl* container) {
    if ((container->AlignState & kAligningChildren) != 0) {
        return;
    }
    container->AlignState &= static_cast<BYTE>(~kRealignPending);
    if (ChildCount(container) == 0) {
        return;
    }
    AlignStateScope aligning(container, kAligningChildren);
    RECT area = ClientRect(container);
    constexpr unsigned kTopAndBottom = (1u << alTop) | (1u << alBottom);
    constexpr unsigned kLeftAndRight = (1u << alLeft) | (1u << alRight);
    constexpr unsigned kNoneAndClient = (1u << alNone) | (1u << alClient);
    PlaceAligned(container, area, kTopAndBottom);
    PlaceAligned(container, area, kLeftAndRight);
    PlaceAligned(container, area, kNoneAndClient);
}

TControl* AutoSize(TControl* control, bool on) {
    if (on) {
        control->AutoSizeProc = LabelAutoSize;
        LabelAutoSize(control);
    } else {
        control->AutoSizeProc = KeepSize;
    }
    return control;
}

void LabelAutoSize(TControl* control) {
    std::u16string text = control->Text;
    SIZE extent{0, 0};
    if (!text.empty()) {
        if (control->Handle == nullptr) {
            // Creating the window applies the font, which would measure again.
            control->AutoSizeProc = KeepSize;
            GetWindowHandle(control);
            control->AutoSizeProc = LabelAutoSize;
        }
        // An italic face leans past its advance; the blank leaves room for the last letter.
        if (control->Font != nullptr && control->Font->ToolData.Font.lfItalic != 0) {
            text += u' ';
        }
        extent = TextExtent(GetCanvas(control), text);
    }
    bool changed = false;
    {
        AutoSizingScope sizing(control);
        const BYTE align = control->Align;
        const LONG width = control->CommandTable.AutoSizeExtraWidth + extent.cx;
        const LONG height = control->CommandTable.AutoSizeExtraHeight + extent.cy;
        if ((align == alNone || align == alLeft || align == alRight) &&
            GetWidth(control) != width) {
            SetWidth(control, width);
            changed = true;
        }
        if ((align == alNone || align == alTop || align == alBottom) &&
            GetHeight(control) != height) {
            SetHeight(control, height);
            changed = true;
        }
    }
    if (changed) {
        RealignHook(control);
    }
}

TControl* Anchor(TControl* control, bool left, bool top, bool right, bool bottom) {
    control->AnchorLeft = left;
    WatchParentWidth(control);
    control->AnchorTop = top;
    WatchParentHeight(control);
    control->AnchorRight = right;
    WatchParentWidth(control);
    control->AnchorBottom = bottom;
    WatchParentHeight(control);
    return control;
}

bool AnchorHandler(TControl* parent, MSG& msg, LRESULT& /*result*/) {
    if (msg.message != WM_WINDOWPOSCHANGED) {
        return false;
    }
    const RECT client = ClientRect(parent);
    const LONG width = client.right;
    const LONG height = client.bottom;
    for (LONG i = 0; i < ChildCount(parent); ++i) {
        TControl* child = ChildAt(parent, i);
        if (width != parent->LastClientWidth && child->AnchorRight) {
            if (child->AnchorLeft) {
                SetWidth(child, width + GetWidth(child) - parent->LastClientWidth);
            } else {
                SetLeft(child, width + GetLeft(child) - parent->LastClientWidth);
            }
        }
        if (height != parent->LastClientHeight && child->AnchorBottom) {
            if (child->AnchorTop) {
                SetHeight(child, height + GetHeight(child) - parent->LastClientHeight);
            } else {
                SetTop(child, height + GetTop(child) - parent->LastClientHeight);
            }
        }
    }
    parent->LastClientWidth = width;
    parent->LastClientHeight = height;
    return false;
}
