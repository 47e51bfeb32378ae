// Check boxes, radio buttons and group boxes of the "BUTTON" class: the check they keep,
// how the auto types move it on a click, and how they are drawn.
#include "controls/button_state.h"
#include "controls/control_support.h"
#include "window/window_registry.h"

#include <algorithm>

namespace device::button {
namespace {

// The box or circle is 13 pixels square at the handheld's 96 dots per inch.
constexpr int kCheckSize = 13;
// The group box's label starts this far in from its frame's left edge.
constexpr int kGroupLabelIndent = 7;

LRESULT HighestCheck(DWORD style) {
    switch (TypeOf(style)) {
    case BS_3STATE:
    case BS_AUTO3STATE: return BST_INDETERMINATE;
    default: return KeepsACheck(style) ? BST_CHECKED : BST_UNCHECKED;
    }
}

// The platform sets a radio button's WS_TABSTOP without WM_STYLECHANGING, so that the tab
// key reaches only the checked button of a group.
void SetTabStop(HWND hwnd, bool on) {
    if (Window* window = LookUp(hwnd)) {
        window->style = on ? (window->style | WS_TABSTOP) : (window->style & ~WS_TABSTOP);
    }
}

// Unchecks the other auto radio buttons of the group, walked as the dialog manager walks
// it, so that hidden and disabled ones keep their check as on the platform. The walk is
// bounded in case an answer reshapes the group under it.
void UncheckTheRestOfTheGroup(HWND hwnd) {
    HWND parent = GetParent(hwnd);
    HWND start = GetNextDlgGroupItem(parent, hwnd, TRUE);
    int steps = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ++steps;
    }
    HWND sibling = start;
    while (sibling != nullptr && steps-- > 0) {
        if (sibling != hwnd && TypeOf(StyleOf(sibling)) == BS_AUTORADIOBUTTON) {
            SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        sibling = GetNextDlgGroupItem(parent, sibling, FALSE);
        if (sibling == start) {
            break;
        }
    }
}

// Where a box of kCheckSize sits beside the label: at the middle of the client height
// unless BS_TOP or BS_BOTTOM say otherwise.
RECT BoxRect(const RECT& client, DWORD style, bool onTheRight) {
    RECT box = client;
    if (onTheRight) {
        box.left = box.right - kCheckSize;
    } else {
        box.right = box.left + kCheckSize;
    }
    int free = (client.bottom - client.top) - kCheckSize;
    switch (style & BS_VCENTER) {
    case BS_TOP: box.top = client.top; break;
    case BS_BOTTOM: box.top = client.bottom - kCheckSize; break;
    default: box.top = client.top + free / 2; break;
    }
    box.bottom = box.top + kCheckSize;
    return box;
}

// Where DrawTextW puts the text within `area` for this format: the focus rectangle goes
// round it.
RECT TextExtent(HDC hdc, const std::u16string& text, RECT area, UINT format) {
    RECT measured = area;
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
    int width = measured.right - measured.left;
    int height = measured.bottom - measured.top;
    RECT placed = area;
    if ((format & DT_CENTER) != 0) {
        placed.left = area.left + (area.right - area.left - width) / 2;
    } else if ((format & DT_RIGHT) != 0) {
        placed.left = area.right - width;
    }
    placed.right = placed.left + width;
    if ((format & DT_VCENTER) != 0) {
        placed.top = area.top + (area.bottom - area.top - height) / 2;
    } else if ((format & DT_BOTTOM) != 0) {
        placed.top = area.bottom - height;
    }
    placed.bottom = placed.top + height;
    return placed;
}

UINT CheckFrameState(const ButtonState& state, DWORD style) {
    UINT flags = DFCS_BUTTONCHECK;
    if (IsRadio(style)) {
        flags = DFCS_BUTTONRADIO;
    } else if (state.check == BST_INDETERMINATE) {
        flags = DFCS_BUTTON3STATE;
    }
    if (state.check != BST_UNCHECKED) {
        flags |= DFCS_CHECKED;
    }
    if (state.pushed) {
        flags |= DFCS_PUSHED;
    }
    if ((style & WS_DISABLED) != 0) {
        flags |= DFCS_INACTIVE;
    }
    return flags;
}

} // namespace

LRESULT OnSetCheck(HWND hwnd, WPARAM wParam) {
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr) {
        return 0;
    }
    DWORD style = StyleOf(hwnd);
    LRESULT check = std::min(static_cast<LRESULT>(std::min<WPARAM>(wParam, BST_INDETERMINATE)),
                             HighestCheck(style));
    if (IsRadio(style)) {
        SetTabStop(hwnd, check != BST_UNCHECKED);
    }
    if (state->check != check) {
        state->check = check;
        controls::DrawNow(hwnd, Paint);
    }
    if (TypeOf(style) == BS_AUTORADIOBUTTON && check == BST_CHECKED && (style & WS_CHILD) != 0) {
        UncheckTheRestOfTheGroup(hwnd);
    }
    return 0;
}

void AdvanceCheck(HWND hwnd) {
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr) {
        return;
    }
    switch (TypeOf(StyleOf(hwnd))) {
    case BS_AUTOCHECKBOX:
        SendMessageW(hwnd, BM_SETCHECK, state->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED,
                     0);
        break;
    case BS_AUTORADIOBUTTON: SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0); break;
    case BS_AUTO3STATE:
        SendMessageW(hwnd, BM_SETCHECK,
                     state->check == BST_INDETERMINATE ? BST_UNCHECKED : state->check + 1, 0);
        break;
    default: break;
    }
}

// The box on the left (on the right with BS_LEFTTEXT), the label half a
// digit's width from it, and the focus rectangle round the label's text alone.
void PaintCheck(HWND hwnd, HDC hdc, const ButtonState& state, DWORD style) {
    HBRUSH background = controls::AskForColours(hwnd, nullptr, WM_CTLCOLORSTATIC, hdc);
    if (!IsWindow(hwnd)) {
        return;
    }
    RECT client;
    GetClientRect(hwnd, &client);
    if (background != nullptr) {
        FillRect(hdc, &client, background);
    }
    SIZE digit{};
    GetTextExtentPoint32W(hdc, u"0", 1, &digit);
    int gap = kCheckSize + static_cast<int>(digit.cx / 2);
    bool onTheRight = (style & BS_LEFTTEXT) != 0;
    RECT textArea = client;
    if (onTheRight) {
        textArea.right -= gap;
    } else {
        textArea.left += gap;
    }
    RECT box = BoxRect(client, style, onTheRight);
    DrawFrameControl(hdc, &box, DFC_BUTTON, CheckFrameState(state, style));

    std::u16string text = LabelText(hwnd);
    if (text.empty()) {
        return;
    }
    UINT format = LabelFormat(style, DT_LEFT);
    DrawLabel(hwnd, hdc, textArea, style, format);
    if (state.focused) {
        RECT focus = TextExtent(hdc, text, textArea, format);
        InflateRect(&focus, 1, 0);
        IntersectRect(&focus, &focus, &textArea);
        DrawFocusRect(hdc, &focus);
    }
}

// The frame runs through the middle of the label's first line; the label's own strip is
// painted over it in the parent's colour.
void PaintGroupBox(HWND hwnd, HDC hdc, const ButtonState&, DWORD style) {
    HBRUSH background = controls::AskForColours(hwnd, nullptr, WM_CTLCOLORSTATIC, hdc);
    if (!IsWindow(hwnd)) {
        return;
    }
    RECT client;
    GetClientRect(hwnd, &client);
    TEXTMETRICW metrics{};
    GetTextMetricsW(hdc, &metrics);
    RECT frame = client;
    frame.top += metrics.tmHeight / 2 - 1;
    DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);

    std::u16string text = LabelText(hwnd);
    if (text.empty()) {
        return;
    }
    RECT area = client;
    InflateRect(&area, -kGroupLabelIndent, 1);
    UINT format = LabelFormat((style & ~(BS_VCENTER | BS_MULTILINE)) | BS_TOP, DT_LEFT);
    RECT label = TextExtent(hdc, text, area, format);
    RECT strip{label.left - 1, label.top, label.right + 1, label.bottom + 1};
    if (background != nullptr) {
        FillRect(hdc, &strip, background);
    }
    DrawLabel(hwnd, hdc, label, style, format);
}

} // namespace device::button
