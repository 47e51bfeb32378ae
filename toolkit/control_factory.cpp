// The control constructors, their command tables, and window creation on demand.
#include "control_factory.h"

#include "dispatch.h"
#include "properties.h"

#include "aygshell.h"

TControl* CreatingControl = nullptr;
WORD ControlIdCounter = 0x8000;
BYTE PlatformTypeCache = 255;

namespace {

TCommandTable MakeTable(WORD click, WORD enter, WORD leave, WORD change, WORD extraWidth, WORD extraHeight) {
    TCommandTable table;
    table.ClearProc = ClearText;
    table.ClickCode = click;
    table.EnterCode = enter;
    table.LeaveCode = leave;
    table.ChangeCode = change;
    table.AutoSizeExtraWidth = extraWidth;
    table.AutoSizeExtraHeight = extraHeight;
    return table;
}

TCommandTable MakeEditTable() {
    TCommandTable table = MakeTable(0, EN_SETFOCUS, EN_KILLFOCUS, EN_CHANGE, 0, 6);
    table.GetSelectionMessage = EM_GETSEL;
    table.SetSelectionMessage = EM_SETSEL;
    return table;
}

// A double click reaches the button's own procedure as a second press.
bool ButtonDoubleClickHandler(TControl* /*control*/, MSG& msg, LRESULT& /*result*/) {
    if (msg.message == WM_LBUTTONDBLCLK) {
        msg.message = WM_LBUTTONDOWN;
    }
    return false;
}

// The focused button is the default button.
bool DefaultButtonHandler(TControl* control, MSG& msg, LRESULT& /*result*/) {
    if (msg.message == WM_SETFOCUS) {
        SetStyle(control, control->Style | BS_DEFPUSHBUTTON);
    } else if (msg.message == WM_KILLFOCUS) {
        SetStyle(control, control->Style & ~BS_DEFPUSHBUTTON);
    }
    return false;
}

// Each edit option adds style bits when it is set (a non-negative entry) or, stored as
// the complement, when it is clear (a negative entry).
constexpr LONG kEditOptionStyles[12] = {
    static_cast<LONG>(~(WS_HSCROLL | ES_AUTOHSCROLL)), // eoNoHScroll
    static_cast<LONG>(~(WS_VSCROLL | ES_AUTOVSCROLL)), // eoNoVScroll
    static_cast<LONG>(ES_LOWERCASE),
    static_cast<LONG>(ES_MULTILINE),
    static_cast<LONG>(ES_NOHIDESEL),
    static_cast<LONG>(ES_OEMCONVERT),
    static_cast<LONG>(ES_PASSWORD),
    static_cast<LONG>(ES_READONLY),
    static_cast<LONG>(ES_UPPERCASE),
    static_cast<LONG>(ES_WANTRETURN),
    0, // eoWantTab: no style bit
    static_cast<LONG>(ES_NUMBER),
};

} // namespace

const TCommandTable kButtonCommands = MakeTable(BN_CLICKED, BN_SETFOCUS, BN_KILLFOCUS, 0, 14, 6);
const TCommandTable kStaticCommands = MakeTable(STN_CLICKED, 0, 0, 0, 1, 1);
const TCommandTable kEditCommands = MakeEditTable();

TControl* NewControl(TControl* parent, const std::u16string& className) {
    TControl* control = NewObject<TControl>();
    control->InitParented(parent);
    control->ClassName = className;
    if (parent != nullptr) {
        control->Margin = parent->Margin;
        control->TextColor = parent->TextColor;
        control->Font = Assign(nullptr, parent->Font);
        if (control->Font != nullptr) {
            AddToAutoFree(control, control->Font);
            SetParentTool(control->Font, parent->Font);
            control->Font->OnChange = MakeEvent<FontChanged>(control);
            FontChanged(control, control->Font);
        }
        control->Color = parent->Color;
        control->Brush = Assign(nullptr, parent->Brush);
        if (control->Brush != nullptr) {
            AddToAutoFree(control, control->Brush);
            SetParentTool(control->Brush, parent->Brush);
            control->Brush->OnChange = MakeEvent<BrushChanged>(control);
            BrushChanged(control, control->Brush);
        }
    }
    return control;
}

TControl* CreateStdControl(TControl* parent, const std::u16string& className, DWORD style,
                           const TCommandTable* commands) {
    TControl* control = NewControl(parent, className);
    if (commands != nullptr) {
        control->CommandTable = *commands;
    }
    control->IsControl = true;
    control->Style = style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    control->Visible = (style & WS_VISIBLE) != 0;
    control->TabStop = (style & WS_TABSTOP) != 0;
    TControl* form = ParentForm(control);
    if (parent != nullptr) {
        LONG left = parent->Margin + parent->ClientLeftInset;
        LONG top = parent->Margin + parent->ClientTopInset;
        control->BoundsRect = RECT{left, top, left + 64, top + 64};
        if (form != nullptr) {
            ++form->TabOrder;
            control->TabOrder = form->TabOrder;
        }
    }
    // The first tab stop built into a form gets the focus when the form is activated.
    if ((style & WS_TABSTOP) != 0 && form != nullptr && form->FocusedControl == nullptr) {
        form->FocusedControl = control;
    }
    control->ControlId = ControlIdCounter++;
    AttachHandler(control, StdControlHandler);
    return control;
}

TControl* CreateForm(TControl* parent, const std::u16string& caption) {
    TControl* form = NewControl(parent, u"Form");
    form->Style &= ~WS_BORDER;
    if (parent != nullptr) {
        form->Style |= WS_POPUP;
    }
    form->ClassStyle |= CS_DBLCLKS;
    AttachHandler(form, FormFocusHandler);
    AttachHandler(form, EraseBackgroundHandler);
    SetText(form, caption);
    form->IsForm = true;
    return form;
}

TControl* CreateButton(TControl* parent, const std::u16string& caption) {
    TControl* button = CreateStdControl(parent, u"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_PUSHLIKE,
                                        &kButtonCommands);
    button->Color = clBtnFace;
    if (button->Brush != nullptr) {
        SetToolColor(button->Brush, clBtnFace);
    }
    button->BoundsRect.bottom = button->BoundsRect.top + 22;
    button->TextAlign = 2;
    SetText(button, caption);
    AttachHandler(button, ButtonDoubleClickHandler);
    AttachHandler(button, DefaultButtonHandler);
    return button;
}

TControl* CreateLabel(TControl* parent, const std::u16string& caption) {
    TControl* label = CreateStdControl(parent, u"STATIC",
                                       WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP,
                                       &kStaticCommands);
    label->NoTextRedraw = 1;
    label->RedrawOnResize = true;
    label->BoundsRect.bottom = label->BoundsRect.top + 22;
    SetText(label, caption);
    return label;
}

TControl* CreatePanel(TControl* parent, BYTE edgeStyle) {
    TControl* panel = CreateStdControl(parent, u"STATIC",
                                       WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP,
                                       &kStaticCommands);
    panel->BoundsRect.right = panel->BoundsRect.left + 100;
    panel->BoundsRect.bottom = panel->BoundsRect.top + 100;
    if (edgeStyle <= 1) {
        panel->Style |= WS_BORDER;
    }
    return panel;
}

TControl* CreateEditBox(TControl* parent, TEditOptions options) {
    DWORD bits = 0;
    for (int i = 0; i < 12; ++i) {
        LONG entry = kEditOptionStyles[i];
        bool set = (options & (1u << i)) != 0;
        if (entry >= 0 && set) {
            bits |= static_cast<DWORD>(entry);
        } else if (entry < 0 && !set) {
            bits |= ~static_cast<DWORD>(entry);
        }
    }
    bool multiline = (options & eoMultiline) != 0;
    if (!multiline) {
        bits &= ~(WS_HSCROLL | WS_VSCROLL);
    }
    TControl* edit = CreateStdControl(parent, u"EDIT", bits | WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP,
                                      &kEditCommands);
    edit->BoundsRect.right = edit->BoundsRect.left + (multiline ? 200 : 100);
    edit->BoundsRect.bottom = edit->BoundsRect.top + (multiline ? 200 : 22);
    return edit;
}

HWND GetWindowHandle(TControl* control) {
    if (control->Handle != nullptr) {
        return control->Handle;
    }
    if (!control->VisibleSet) {
        // Made only because someone needs the handle: hidden until the real display.
        ApplyVisible(control, false);
        control->CreateWindow();
        control->ShowPending = true;
    } else {
        control->CreateWindow();
    }
    return control->Handle;
}

bool CreateWindow(TControl* control) { return control->CreateWindow(); }

void CreateChildWindows(TControl* control) {
    // A child's creation may add or remove children; read the list afresh each time.
    for (LONG i = 0; control->Children != nullptr && i < control->Children->Count; ++i) {
        static_cast<TControl*>(control->Children->Get(i))->CreateWindow();
    }
}

bool TControl::CreateWindow() {
    if (Parent != nullptr && GetWindowHandle(Parent) == nullptr) {
        return false;
    }
    if (Handle != nullptr) {
        CreateChildWindows(this);
        if (ShowPending) {
            ApplyVisible(this, true);
            ShowPending = false;
        }
        return true;
    }
    // The class name is passed as the string itself; the fixed 64-unit buffer of the
    // creation record is not needed, so no name can overrun it.
    const std::u16string className = ClassName;
    const std::u16string caption = Text;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    int x = BoundsRect.left;
    int y = BoundsRect.top;
    int width = BoundsRect.right - BoundsRect.left;
    int height = BoundsRect.bottom - BoundsRect.top;
    if (width == 0) {
        width = CW_USEDEFAULT;
    }
    if (height == 0) {
        height = CW_USEDEFAULT;
    }
    if (!IsControl && (BoundsSet & 0x03) == 0) {
        x = CW_USEDEFAULT;
        y = CW_USEDEFAULT;
    }
    HWND parentWindow = Parent != nullptr ? GetWindowHandle(Parent) : nullptr;
    HMENU menu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ControlId));
    WNDCLASSW windowClass{};
    windowClass.style = ClassStyle;
    windowClass.lpfnWndProc = OldWndProc;
    windowClass.hInstance = instance;

    if (IsForm) {
        // A form without explicit bounds covers the work area down to the screen's bottom
        // (the menu bar below shortens it again).
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        if (x == CW_USEDEFAULT) {
            x = work.left;
        }
        if (y == CW_USEDEFAULT) {
            y = work.top;
        }
        if (width == CW_USEDEFAULT) {
            width = work.right - x;
        }
        if (height == CW_USEDEFAULT) {
            height = GetSystemMetrics(SM_CYSCREEN) - y;
        }
    }
    if (OldWndProc == nullptr) {
        // Full addresses are compared: a match on part of a 64-bit address could take a
        // standard class for the toolkit's own and leave the control unsubclassed.
        WNDCLASSW existing{};
        if (GetClassInfoW(instance, className.c_str(), &existing) && existing.lpfnWndProc != ToolkitWndProc) {
            OldWndProc = existing.lpfnWndProc;
        }
    }
    if (parentWindow == nullptr && (Style & WS_CHILD) != 0) {
        return false;
    }
    WNDCLASSW existing{};
    if (!GetClassInfoW(instance, className.c_str(), &existing)) {
        windowClass.lpszClassName = className.c_str();
        windowClass.lpfnWndProc = ToolkitWndProc;
        if (RegisterClassW(&windowClass) == 0) {
            return false;
        }
    }
    if (OldWndProc == nullptr) {
        CreatingControl = this;
    }
    Handle = CreateWindowExW(0, className.c_str(), caption.c_str(), Style, x, y, width, height, parentWindow, menu,
                             instance, nullptr);
    if (Handle == nullptr) {
        // Nothing must bind to this control later, and a retry starts from scratch.
        if (CreatingControl == this) {
            CreatingControl = nullptr;
        }
        return false;
    }
    if (OldWndProc != nullptr) {
        // As on 64-bit Windows the procedure is a pointer-valued index: SetWindowLongW
        // refuses GWLP_WNDPROC (-4), SetWindowLongPtrW takes it.
        SetWindowLongPtrW(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ToolkitWndProc));
    }
    if (!IsControl && GetPlatformType() != 2) {
        SHMENUBARINFO info{};
        // The 32-bit structure size Pocket PC programs pass; the device accepts it.
        info.cbSize = SHMENUBARINFO_SIZE_32BIT;
        info.hwndParent = Handle;
        info.dwFlags = SHCMBF_EMPTYBAR;
        if (SHCreateMenuBar(&info)) {
            EndAboveMenuBar(this, info.hwndMB);
        }
    }
    if ((Style & WS_VISIBLE) != 0) {
        SendToControl(this, WM_SHOWWINDOW, 1, 0);
    }
    if (GetPropW(Handle, kSelfProperty) == nullptr) {
        CreatingControl = nullptr;
        SetPropW(Handle, kSelfProperty, this);
    }
    if (OnHandleCreated != nullptr) {
        OnHandleCreated(this);
    }
    if (ApplyFontHook != nullptr) {
        ApplyFontHook(this);
    }
    CreateChildWindows(this);
    return true;
}

void EndAboveMenuBar(TControl* form, HWND menuBar) {
    RECT bar{};
    RECT window{};
    if (menuBar == nullptr || !GetWindowRect(menuBar, &bar) || !GetWindowRect(form->Handle, &window)) {
        return;
    }
    if (window.bottom > bar.top) {
        SetWindowPos(form->Handle, nullptr, 0, 0, window.right - window.left, bar.top - window.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
}

int GetPlatformType() {
    if (PlatformTypeCache == 255) {
        WCHAR buffer[51] = {};
        if (SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof buffer, buffer, 0)) {
            buffer[50] = 0;
            const std::u16string name = buffer;
            PlatformTypeCache = name == u"PocketPC" ? 1 : name == u"SmartPhone" ? 2 : 0;
        } else {
            PlatformTypeCache = GetLastError() == ERROR_ACCESS_DENIED ? 2 : 0;
        }
    }
    return PlatformTypeCache;
}

