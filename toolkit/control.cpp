// TControl: field defaults, linking into a parent, and the teardown order.
#include "control.h"

#include "application.h"
#include "canvas.h"
#include "properties.h"

void NoRealign(TControl* /*control*/) {}

TControlProc RealignHook = NoRealign;
TControlProc ApplyFontHook = nullptr;

bool NoDispatch(TControl* /*control*/, MSG& /*msg*/, LRESULT& /*result*/) { return false; }

void KeepSize(TControl* /*control*/) {}

void ClearText(TControl* control) { SetText(control, std::u16string()); }

void TControl::Init() {
    DispatchProc = NoDispatch;
    AutoSizeProc = KeepSize;
    CommandTable.ClearProc = ClearText;
    Color = clWindow;
    TextColor = clWindowText;
    Margin = 2;
    // The constructors run Init twice (NewObject, then InitParented); the lists are made
    // only once so that the first pair is not lost.
    if (Children == nullptr) {
        Children = NewList();
    }
    if (MessageHandlers == nullptr) {
        MessageHandlers = NewList();
    }
    Style = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER;
    Visible = true;
    Enabled = true;
}

void TControl::InitParented(TControl* parent) {
    Init();
    if (parent != nullptr) {
        Color = parent->Color;
    }
    SetParent(this, parent);
}

void TControl::Destroy() {
    // Teardown order: leave the form's focus, hide, let OnDestroy and the attached objects
    // (children first among them, in the order they were added) go, then release what the
    // control itself holds.
    TControl* form = ParentForm(this);
    if (form != nullptr && form->FocusedControl == this) {
        form->FocusedControl = nullptr;
    }
    // A form's focus handler may have made it the main form's FocusedControl even when
    // it is not the main form's child; never leave the main form pointing at freed memory.
    if (MainForm != nullptr && MainForm->FocusedControl == this) {
        MainForm->FocusedControl = nullptr;
    }
    if (Handle != nullptr) {
        ShowWindow(Handle, SW_HIDE);
    }
    FireOnDestroy();
    FreeAutoFreeObjects();
    // A child that someone still holds survived its Free above; it must not reach this
    // control through Parent once the memory is gone.
    for (LONG i = 0; Children != nullptr && i < Children->Count; ++i) {
        static_cast<TControl*>(Children->Get(i))->Parent = nullptr;
    }
    if (!Destroyed) {
        Destroyed = true;
        FreeAndNil(Canvas);
        if (Handle != nullptr) {
            if (IsWindow(Handle)) {
                SetPropW(Handle, kSelfProperty, nullptr);
                if (OldWndProc != nullptr) {
                    // Un-subclass first, so that the standard control's own procedure
                    // hears WM_DESTROY and WM_NCDESTROY and releases what it keeps.
                    SetWindowLongPtrW(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldWndProc));
                }
                DestroyWindow(Handle);
            }
            Handle = nullptr;
        }
        if (BackgroundBrush != nullptr) {
            DeleteObject(BackgroundBrush);
            BackgroundBrush = nullptr;
        }
        Text.clear();
        if (Parent != nullptr) {
            Parent->Children->Remove(this);
            RemoveFromAutoFree(Parent, this);
            if (Parent->FocusedControl == this) {
                Parent->FocusedControl = nullptr;
            }
        }
        FreeAndNil(Children);
        FreeAndNil(MessageHandlers);
        DropAutoFreeList();
    }
    delete this;
}
