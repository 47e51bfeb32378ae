// Text, style, visibility, enabled state, focus, parent, colour, fonts and the canvas.
#include "properties.h"

#include "canvas.h"
#include "control_factory.h"
#include "dispatch.h"

#include "aygshell.h"

LRESULT SendToControl(TControl* control, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(GetWindowHandle(control), message, wParam, lParam);
}

std::u16string GetText(TControl* control) {
    if (control->Handle != nullptr) {
        int length = GetWindowTextLengthW(control->Handle);
        std::u16string text(static_cast<size_t>(length > 0 ? length : 0), u'\0');
        if (length > 0) {
            int copied = GetWindowTextW(control->Handle, text.data(), length + 1);
            text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        }
        control->Text = text;
    }
    return control->Text;
}

void SetText(TControl* control, const std::u16string& text) {
    control->Text = text;
    if (control->Handle != nullptr) {
        SendMessageW(control->Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(control->Text.c_str()));
        if (control->NoTextRedraw != 1) {
            Invalidate(control);
        }
    }
    control->AutoSizeProc(control);
}

void SetStyle(TControl* control, DWORD style) {
    if (style == control->Style) {
        return;
    }
    control->Style = style;
    if (control->Handle != nullptr) {
        SetWindowLongW(control->Handle, GWL_STYLE, static_cast<LONG>(style));
        SetWindowPos(control->Handle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        Invalidate(control);
    }
}

bool GetVisible(TControl* control) {
    if (control->Handle != nullptr && !control->IsControl) {
        control->Visible = IsWindowVisible(control->Handle) != FALSE;
    }
    return control->Visible;
}

void SetVisible(TControl* control, bool visible) {
    control->VisibleSet = true;
    ApplyVisible(control, visible);
}

void ApplyVisible(TControl* control, bool visible) {
    control->Style &= ~WS_VISIBLE;
    if (visible) {
        control->Style |= WS_VISIBLE;
    }
    control->Visible = visible;
    if (control->Handle == nullptr) {
        return;
    }
    // Sent first, so that the control's own handlers see the change before the screen does.
    SendToControl(control, WM_SHOWWINDOW, visible ? 1 : 0, 0);
    if (visible) {
        RealignHook(control);
        ShowWindow(control->Handle, SW_SHOW);
    } else {
        control->ShowPending = false;
        ShowWindow(control->Handle, SW_HIDE);
        RealignHook(control);
    }
}

void SetWindowState(TControl* control, BYTE state) {
    if (state == control->WindowState) {
        return;
    }
    control->WindowState = state;
    static constexpr int kCommands[] = {SW_SHOWNOACTIVATE, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
    ShowWindow(GetWindowHandle(control), state < 3 ? kCommands[state] : SW_SHOWNOACTIVATE);
    // Maximized, a form covers the whole work area, the strip of its menu bar included; like
    // a form without explicit bounds it ends where its bar starts, so nothing of it is hidden.
    if (state == 2 && control->IsForm && control->Handle != nullptr) {
        EndAboveMenuBar(control, SHFindMenuBar(control->Handle));
    }
}

bool GetEnabled(TControl* control) {
    if (control->Handle != nullptr) {
        return IsWindowEnabled(control->Handle) != FALSE;
    }
    return (control->Style & WS_DISABLED) == 0;
}

void SetEnabled(TControl* control, bool enabled) {
    if (enabled == GetEnabled(control)) {
        return;
    }
    control->Enabled = enabled;
    if (enabled) {
        control->Style &= ~WS_DISABLED;
    } else {
        control->Style |= WS_DISABLED;
    }
    if (control->Handle != nullptr) {
        EnableWindow(control->Handle, enabled ? TRUE : FALSE);
    }
    Invalidate(control);
}

bool CanFocus(TControl* control) {
    if (!GetEnabled(control) || (!control->TabStop && (control->Style & WS_TABSTOP) == 0)) {
        return false;
    }
    if (control->Handle == nullptr) {
        return false; // SetFocus(0) would take the focus from whoever has it
    }
    FocusLockScope lock(control);
    SetFocus(control->Handle);
    return true;
}

void SetFocused(TControl* control, bool focused) {
    if (!focused || !control->TabStop) {
        return;
    }
    if (!control->IsControl) {
        SetForegroundWindow(GetWindowHandle(control));
        return;
    }
    TControl* form = ParentForm(control);
    if (form != nullptr) {
        TControl* previous = form->FocusedControl;
        if (previous != nullptr && previous != control) {
            if (previous->OnExit.IsSet()) {
                previous->OnExit.Fire(previous);
            } else {
                SetFocus(nullptr);
            }
        }
        form->FocusedControl = control;
    }
    SetFocus(GetWindowHandle(control));
}

TControl* ParentForm(TControl* control) {
    TControl* current = control;
    while (current != nullptr && current->IsControl) {
        current = current->Parent;
    }
    return current;
}

void SetParent(TControl* control, TControl* parent) {
    TControl* old = control->Parent;
    if (parent == old) {
        return;
    }
    if (old != nullptr) {
        old->Children->Remove(control);
        RemoveFromAutoFree(old, control);
        if (old->ChildrenChangedHook != nullptr) {
            old->ChildrenChangedHook(old, nullptr);
        }
    }
    control->Parent = parent;
    if (parent == nullptr) {
        return;
    }
    parent->Children->Add(control);
    AddToAutoFree(parent, control);
    if (control->Handle != nullptr) {
        SetParent(control->Handle, GetWindowHandle(parent));
    }
    if (parent->ChildrenChangedHook != nullptr) {
        parent->ChildrenChangedHook(parent, control);
    }
    if (control->ChildrenChangedHook != nullptr) {
        control->ChildrenChangedHook(parent, control);
    }
}

void SetColor(TControl* control, TColor color) {
    WORD message = control->CommandTable.BackgroundColorMessage;
    if (GetWindowHandle(control) != nullptr && message != 0) {
        SendToControl(control, message, 0, static_cast<LPARAM>(GetColorRGB(color)));
    }
    if (color == control->Color) {
        return;
    }
    control->Color = color;
    if (control->BackgroundBrush != nullptr) {
        DeleteObject(control->BackgroundBrush);
        control->BackgroundBrush = nullptr;
    }
    if (control->Brush != nullptr) {
        SetToolColor(control->Brush, color);
    }
    Invalidate(control);
}

void SelectAll(TControl* control) {
    const TCommandTable& table = control->CommandTable;
    SendToControl(control, table.SetSelectionMessage, 0, 0);
    DWORD start = 0;
    SendToControl(control, table.GetSelectionMessage, reinterpret_cast<WPARAM>(&start), 0);
    SendToControl(control, table.SetSelectionMessage, start, -1);
}

void SetOnShow(TControl* control, TOnEvent event) {
    control->OnShow = event;
    AttachHandler(control, ShowWatchHandler);
}

bool ShowWatchHandler(TControl* control, MSG& msg, LRESULT& /*result*/) {
    if (msg.message != WM_SHOWWINDOW || msg.hwnd != control->Handle) {
        return false;
    }
    bool wasVisible = IsWindowVisible(control->Handle) != FALSE;
    if (msg.wParam != 0) {
        control->Visible = true;
        if (!wasVisible) {
            control->OnShow.Fire(control);
        }
    } else {
        control->Visible = false;
    }
    return false;
}

TGraphicTool* GetFont(TControl* control) {
    if (control->Font == nullptr) {
        control->Font = NewFont();
        AddToAutoFree(control, control->Font);
        SetToolColor(control->Font, control->TextColor);
        control->Font->OnChange = MakeEvent<FontChanged>(control);
    }
    return control->Font;
}

TCanvas* GetCanvas(TControl* control) {
    if (control->Canvas == nullptr) {
        TCanvas* canvas = NewCanvas(nullptr);
        canvas->OnGetHandle = TOnGetHandle{SupplyDC, control};
        canvas->Owner = control;
        if (control->Font != nullptr) {
            canvas->Font = Assign(nullptr, control->Font);
        }
        if (control->Brush != nullptr) {
            canvas->Brush = Assign(nullptr, control->Brush);
        }
        control->Canvas = canvas;
    }
    return control->Canvas;
}

void FontChanged(TControl* control, TGraphicTool* font) {
    control->TextColor = font->ToolData.Color;
    if (ApplyFontHook != nullptr) {
        ApplyFontHook(control);
    }
    Invalidate(control);
}

void BrushChanged(TControl* control, TGraphicTool* brush) {
    control->Color = brush->ToolData.Color;
    if (control->BackgroundBrush != nullptr) {
        DeleteObject(control->BackgroundBrush);
        control->BackgroundBrush = nullptr;
    }
    Invalidate(control);
}

void ApplyFont(TControl* control) {
    if (control->Font == nullptr) {
        return;
    }
    if (control->Handle != nullptr) {
        control->TextColor = control->Font->ToolData.Color;
        SendToControl(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetHandle(control->Font)), 1);
    }
    if (control->Canvas != nullptr && control->Canvas->Font != nullptr) {
        Assign(control->Canvas->Font, control->Font);
    }
    control->AutoSizeProc(control);
}

LONG ChildCount(TControl* control) { return control->Children->Count; }

TControl* ChildAt(TControl* control, LONG index) { return static_cast<TControl*>(control->Children->Get(index)); }
