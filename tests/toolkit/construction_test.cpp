// Construction and window creation on demand: no window before it is needed, parents
// first, the "Form" class registered once, control ids, the first tab stop, edit styles,
// the form's default geometry with and without a menu bar.
#include "application.h"
#include "control_factory.h"
#include "dispatch.h"
#include "graphics.h"
#include "properties.h"
#include "support/message_log.h"
#include "toolkit_fixture.h"

#include "aygshell.h"

#include <gtest/gtest.h>

namespace {

class Construction : public test::ToolkitTest {};

RECT WindowRect(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

TEST_F(Construction, ConstructorsMakeNoWindow) {
    TControl* form = CreateForm(nullptr, u"Boş");
    TControl* button = CreateButton(form, u"Düğme");
    TControl* label = CreateLabel(form, u"Etiket");
    TControl* panel = CreatePanel(form, 0);
    TControl* edit = CreateEditBox(panel, 0);
    SetPosition(button, 10, 20);
    SetSize(button, 50, 30);
    SetText(label, u"Başka");
    for (TControl* control : {form, button, label, panel, edit}) {
        EXPECT_EQ(control->Handle, nullptr);
    }
    EXPECT_EQ(device::diag::FindWindowByText(u"Boş"), nullptr);
    EXPECT_EQ(form->Style, 0x16000000u);
    EXPECT_EQ(form->Children->Count, 3);
    Free(form);
}

TEST_F(Construction, AChildsWindowIsMadeAfterItsParentsAndBothWaitHiddenUntilShown) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Düğme");
    test::StartLog();
    HWND buttonWindow = GetWindowHandle(button);
    ASSERT_NE(buttonWindow, nullptr);
    ASSERT_NE(form->Handle, nullptr);
    device::spy::SetRole(form->Handle, "form");
    device::spy::SetRole(buttonWindow, "button");
    test::Records created;
    for (const auto& record : test::Only(test::Log(), {WM_NCCREATE})) {
        if (record.hwnd == form->Handle || record.hwnd == buttonWindow) {
            created.push_back(record); // the form's menu bar is made in between
        }
    }
    EXPECT_TRUE(test::MatchesSequence(created,
                                      {{"form", WM_NCCREATE}, {"button", WM_NCCREATE}}, "handle on demand"));
    // Made only because the handle was needed: hidden, to be shown by the real display.
    EXPECT_FALSE(IsWindowVisible(form->Handle));
    EXPECT_FALSE(IsWindowVisible(buttonWindow));
    EXPECT_TRUE(form->ShowPending);
    EXPECT_TRUE(button->ShowPending);
    EXPECT_EQ(GetPropW(buttonWindow, kSelfProperty), button);
    EXPECT_EQ(GetPropW(form->Handle, kSelfProperty), form);

    Show(form);
    EXPECT_TRUE(IsWindowVisible(form->Handle));
    EXPECT_TRUE(IsWindowVisible(buttonWindow));
    EXPECT_FALSE(form->ShowPending);
    EXPECT_FALSE(button->ShowPending);
    Free(form);
}

TEST_F(Construction, TheFormClassIsRegisteredOnceAndStandardControlsAreSubclassed) {
    TControl* first = CreateForm(nullptr, u"Bir");
    TControl* second = CreateForm(nullptr, u"İki");
    second->ClassStyle |= CS_NOCLOSE; // a second registration would carry this style
    TControl* button = CreateButton(first, u"Düğme");
    Show(first);
    Show(second);
    WNDCLASSW info{};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), u"Form", &info));
    EXPECT_EQ(info.lpfnWndProc, ToolkitWndProc);
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(first->OldWndProc, nullptr);
    EXPECT_EQ(second->OldWndProc, nullptr);

    WNDCLASSW buttonClass{};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), u"BUTTON", &buttonClass));
    EXPECT_EQ(button->OldWndProc, buttonClass.lpfnWndProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(button->Handle, GWLP_WNDPROC)), ToolkitWndProc);
    Free(first);
    Free(second);
}

TEST_F(Construction, StandardControlsTakeIdsFrom0x8000AndFormsTakeNone) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Düğme");
    TControl* label = CreateLabel(form, u"Etiket");
    TControl* other = CreateForm(form, u"Başka");
    TControl* edit = CreateEditBox(form, 0);
    EXPECT_EQ(button->ControlId, 0x8000u);
    EXPECT_EQ(label->ControlId, 0x8001u);
    EXPECT_EQ(edit->ControlId, 0x8002u);
    EXPECT_EQ(form->ControlId, 0u);
    EXPECT_EQ(other->ControlId, 0u);
    EXPECT_EQ(other->Style, 0x96000000u); // a form with a parent is a popup
    EXPECT_EQ(button->TabOrder, 1);
    EXPECT_EQ(edit->TabOrder, 3);
    EXPECT_EQ(form->TabOrder, 3);
    Show(form);
    EXPECT_EQ(GetWindowLongW(button->Handle, GWL_ID), 0x8000);
    Free(form);
}

TEST_F(Construction, TheFirstTabStopBuiltIntoAFormBecomesItsFocusedControl) {
    TControl* form = CreateForm(nullptr, u"Form");
    CreateLabel(form, u"Etiket"); // not a tab stop
    EXPECT_EQ(form->FocusedControl, nullptr);
    TControl* edit = CreateEditBox(form, 0);
    CreateButton(form, u"Düğme");
    EXPECT_EQ(form->FocusedControl, edit);
    Free(form);
}

TEST_F(Construction, EditBoxStylesFollowTheOptionsAndOnlyMultilineKeepsScrollBars) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* single = CreateEditBox(form, 0);
    EXPECT_EQ(single->Style, 0x508100C0u | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(GetWidth(single), 100);
    EXPECT_EQ(GetHeight(single), 22);

    TControl* number = CreateEditBox(form, eoNumber);
    EXPECT_EQ(number->Style & ES_NUMBER, ES_NUMBER);

    TControl* multi = CreateEditBox(form, eoMultiline);
    EXPECT_EQ(multi->Style, 0x50B100C4u | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(GetWidth(multi), 200);
    EXPECT_EQ(GetHeight(multi), 200);

    TControl* bare = CreateEditBox(form, eoMultiline | eoNoHScroll | eoNoVScroll | eoPassword);
    EXPECT_EQ(bare->Style & (WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL), 0u);
    EXPECT_EQ(bare->Style & ES_PASSWORD, ES_PASSWORD);
    Free(form);
}

TEST_F(Construction, AFormWithoutBoundsFillsTheWorkAreaDownToItsMenuBar) {
    TControl* form = CreateForm(nullptr, u"Form");
    Show(form);
    HWND bar = SHFindMenuBar(form->Handle);
    ASSERT_NE(bar, nullptr);
    RECT barRect = WindowRect(bar);
    RECT rect = WindowRect(form->Handle);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 26);
    EXPECT_EQ(rect.right, 240);
    EXPECT_EQ(rect.bottom, barRect.top);
    EXPECT_EQ(barRect.top, 294);
    EXPECT_EQ(GetPlatformType(), 1);
    Free(form);
}

// A Smartphone names itself, or (Smartphone 2002) refuses the question with
// ERROR_ACCESS_DENIED; either way it is one.
TEST_F(Construction, OnASmartphoneAFormGetsNoMenuBarAndReachesTheScreensBottom) {
    for (const char16_t* platform : {u"SmartPhone", u"SmartPhone2002"}) {
        device::host::Stop();
        device::host::StartHeadless(device::host::Options{platform});
        test::ResetToolkit();
        EXPECT_EQ(GetPlatformType(), 2);
        TControl* form = CreateForm(nullptr, u"Form");
        Show(form);
        EXPECT_EQ(SHFindMenuBar(form->Handle), nullptr);
        RECT rect = WindowRect(form->Handle);
        EXPECT_EQ(rect.top, 26);
        EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
        Free(form);
    }
}

TEST_F(Construction, AMaximizedFormEndsWhereItsMenuBarStartsOnEveryScreen) {
    const struct {
        const char16_t* platform;
        int width, height;
        LONG bottom; // of the maximized form
    } cases[] = {
        {u"PocketPC", 240, 320, 294}, {u"PocketPC", 320, 240, 214}, {u"SmartPhone", 240, 320, 320}, // no bar
    };
    for (const auto& test : cases) {
        device::host::Stop();
        device::host::StartHeadless(device::host::Options{test.platform, test.width, test.height});
        test::ResetToolkit();
        TControl* form = CreateForm(nullptr, u"Form");
        SetVisible(form, false);
        SetWindowState(form, 2);
        const RECT rect = WindowRect(form->Handle);
        EXPECT_TRUE(rect.left == 0 && rect.top == 26 && rect.right == test.width && rect.bottom == test.bottom)
            << test.width << "x" << test.height << ": bottom " << rect.bottom;
        EXPECT_EQ(form->WindowState, 2); // still maximized after the shortening
        EXPECT_NE(GetWindowLongW(form->Handle, GWL_STYLE) & WS_MAXIMIZE, 0);
        Free(form);
    }
}

TEST_F(Construction, AFontSetBeforeTheWindowExistsReachesItWhenItIsMade) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Düğme");
    SetFontHeight(GetFont(button), -20);
    Show(form);
    EXPECT_EQ(SendMessageW(button->Handle, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetHandle(button->Font)));
    Free(form);
}

// A window that cannot be made (its owner's window is gone) leaves no control waiting to
// be bound to the next toolkit window that is made.
TEST_F(Construction, AFailedWindowCreationClearsTheControlBeingCreated) {
    TControl* owner = CreateForm(nullptr, u"Sahip");
    Show(owner);
    AddRef(owner); // outlives its window
    DestroyWindow(owner->Handle);
    TControl* child = CreateForm(owner, u"Çocuk");
    EXPECT_FALSE(child->CreateWindow());
    EXPECT_EQ(child->Handle, nullptr);
    EXPECT_EQ(CreatingControl, nullptr);
    Free(owner);
    Free(owner);
}

TEST_F(Construction, AFormWithExplicitBoundsKeepsThemAndGetsACaption) {
    TControl* form = CreateForm(nullptr, u"Form");
    SetBoundsRect(form, RECT{10, 40, 210, 240});
    EXPECT_EQ(form->Style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    Show(form);
    RECT rect = WindowRect(form->Handle);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right, 210);
    EXPECT_EQ(rect.bottom, 240); // above the menu bar: not shortened
    Free(form);
}

TEST_F(Construction, ADoubleClickReachesTheButtonAsASecondPress) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Düğme");
    Show(form);
    Pump();
    ASSERT_EQ(GetCapture(), nullptr);
    // With BS_NOTIFY the button's own procedure would only report a double click; as a
    // press it takes the capture.
    SendMessageW(button->Handle, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), button->Handle);
    SendMessageW(button->Handle, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Free(form);
}

} // namespace
