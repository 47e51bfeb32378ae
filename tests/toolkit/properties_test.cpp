// Properties and geometry: bounds before and after the window exists and the
// SetWindowPos calls they make, text, enabled state, focus, visibility and re-parenting.
#include "application.h"
#include "control_factory.h"
#include "dispatch.h"
#include "properties.h"
#include "support/message_log.h"
#include "toolkit_fixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A standard class of the test's own that keeps what is typed into it as its text.
constexpr const char16_t* kTypingClass = u"TestTyping";

LRESULT CALLBACK TypingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        WCHAR text[64] = {};
        int length = GetWindowTextW(hwnd, text, 63);
        if (length < 62) {
            text[length] = static_cast<WCHAR>(wParam);
            DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Records the flags of every SetWindowPos that reaches the control.
struct PositionLog {
    std::vector<UINT> flags;
    static bool Filter(void* data, MSG& msg, LRESULT&) {
        if (msg.message == WM_WINDOWPOSCHANGING) {
            static_cast<PositionLog*>(data)->flags.push_back(reinterpret_cast<WINDOWPOS*>(msg.lParam)->flags & 0xFF);
        }
        return false;
    }
};

class Properties : public test::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        WNDCLASSW typing{};
        typing.lpfnWndProc = TypingProc;
        typing.hInstance = GetModuleHandleW(nullptr);
        typing.lpszClassName = kTypingClass;
        ASSERT_NE(RegisterClassW(&typing), 0);
    }
};

TEST_F(Properties, BoundsWrittenBeforeTheWindowExistsAreStoredAndUsedToCreateIt) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Düğme");
    EXPECT_EQ(button->BoundsSet, 0);
    SetLeft(button, 10);
    EXPECT_EQ(button->BoundsSet, 0x0D); // left changed, bounds written
    EXPECT_EQ(button->BoundsRect.left, 10);
    EXPECT_EQ(button->BoundsRect.right, 74); // the width stays
    SetSize(button, 85, 0);
    EXPECT_EQ(GetWidth(button), 85);
    EXPECT_EQ(GetHeight(button), 22);
    EXPECT_EQ(button->BoundsSet, 0x0D);
    EXPECT_EQ(form->Style, 0x16000000u); // no bounds given: no caption
    Show(form);
    POINT origin = ClientToScreen(form, POINT{0, 0});
    RECT rect{};
    GetWindowRect(button->Handle, &rect);
    EXPECT_EQ(rect.left - origin.x, 10);
    EXPECT_EQ(rect.top - origin.y, 2);
    EXPECT_EQ(rect.right - rect.left, 85);
    RECT bounds = GetBoundsRect(button);
    EXPECT_EQ(bounds.left, 10);
    EXPECT_EQ(bounds.top, 2);
    Free(form);
}

TEST_F(Properties, ALiveControlIsMovedOrResizedWithTheMatchingSetWindowPosFlags) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* label = CreateLabel(form, u"Etiket");
    Show(form);
    Pump();
    PositionLog log;
    label->OnMessage = TOnMessage{&PositionLog::Filter, &log};

    SetPosition(label, 20, 2); // the top stays: one move
    EXPECT_EQ(log.flags, std::vector<UINT>{SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE});
    EXPECT_EQ(label->BoundsSet, 0x0D);

    log.flags.clear();
    SetSize(label, 90, 30);
    EXPECT_EQ(log.flags, std::vector<UINT>{SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE});

    log.flags.clear();
    SetBoundsRect(label, RECT{5, 6, 50, 60});
    EXPECT_EQ(log.flags, std::vector<UINT>{SWP_NOZORDER | SWP_NOACTIVATE});
    EXPECT_EQ(label->BoundsSet, 0x0F);

    log.flags.clear();
    label->BoundsSet = 0;
    SetBoundsRect(label, RECT{5, 6, 50, 60}); // the same rectangle again
    SetSize(label, 0, 0);
    EXPECT_TRUE(log.flags.empty());
    EXPECT_EQ(label->BoundsSet, 0);
    label->OnMessage = TOnMessage{};
    Free(form);
}

TEST_F(Properties, ReadingTextFromALiveControlReturnsWhatWasTyped) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* box = CreateStdControl(form, kTypingClass, WS_CHILD | WS_VISIBLE | WS_TABSTOP, nullptr);
    SetText(box, u"ilk");
    EXPECT_EQ(GetText(box), u"ilk"); // no window yet: the stored value
    Show(form);
    Pump();
    ASSERT_EQ(GetFocus(), box->Handle);
    device::input::TypeText(u"-şöç");
    Pump();
    EXPECT_EQ(GetText(box), u"ilk-şöç");
    EXPECT_EQ(box->Text, u"ilk-şöç");
    SetText(box, u"");
    EXPECT_EQ(GetWindowTextLengthW(box->Handle), 0);
    Free(form);
}

TEST_F(Properties, SelectAllSelectsTheWholeTextOfAnEditBox) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* edit = CreateEditBox(form, 0);
    SetText(edit, u"Adres satırı");
    Show(form);
    SendMessageW(edit->Handle, EM_SETSEL, 3, 5);
    SelectAll(edit);
    DWORD start = 99;
    DWORD end = 99;
    SendMessageW(edit->Handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 12u);
    Free(form);
}

TEST_F(Properties, WritingTextInvalidatesAButtonButNotALabel) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* label = CreateLabel(form, u"Etiket");
    TControl* button = SetPosition(CreateButton(form, u"Düğme"), 2, 60);
    Show(form);
    Pump();
    RECT update{};
    SetText(label, u"Yeni etiket");
    EXPECT_FALSE(GetUpdateRect(label->Handle, &update, FALSE));
    SetText(button, u"Yeni düğme");
    EXPECT_TRUE(GetUpdateRect(button->Handle, &update, FALSE));
    Free(form);
}

TEST_F(Properties, DisablingBeforeTheWindowExistsMakesItDisabled) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Düğme");
    SetEnabled(button, false);
    EXPECT_EQ(button->Style & WS_DISABLED, WS_DISABLED);
    EXPECT_FALSE(GetEnabled(button));
    Show(form);
    EXPECT_FALSE(IsWindowEnabled(button->Handle));
    SetEnabled(button, true);
    EXPECT_TRUE(IsWindowEnabled(button->Handle));
    EXPECT_EQ(button->Style & WS_DISABLED, 0u);
    Free(form);
}

TEST_F(Properties, FocusingAControlWithoutTabStopChangesNothing) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Düğme");
    TControl* label = CreateLabel(form, u"Etiket");
    TControl* windowless = CreateButton(nullptr, u"Penceresiz");
    Show(form);
    Pump();
    ASSERT_EQ(GetFocus(), button->Handle);
    SetFocused(label, true);
    EXPECT_EQ(GetFocus(), button->Handle);
    EXPECT_EQ(form->FocusedControl, button);
    // A tab stop without a window cannot take the focus, and does not take it away.
    EXPECT_FALSE(CanFocus(windowless));
    EXPECT_EQ(GetFocus(), button->Handle);
    Free(windowless);
    Free(form);
}

TEST_F(Properties, FocusingAControlTellsTheOneThatHadItAndMovesTheFocus) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* first = CreateButton(form, u"Bir");
    TControl* second = SetPosition(CreateButton(form, u"İki"), 2, 60);
    int exits = 0;
    first->OnExit = TOnEvent{[](void* data, TRefObject*) { ++*static_cast<int*>(data); }, &exits};
    Show(form);
    Pump();
    SetFocused(second, true);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(GetFocus(), second->Handle);
    EXPECT_EQ(form->FocusedControl, second);

    // Without OnExit the focus is first taken from everyone, then given: the one that had
    // it hears of no successor, the new one of no predecessor.
    device::spy::SetRole(first->Handle, "first");
    device::spy::SetRole(second->Handle, "second");
    test::StartLog();
    SetFocused(first, true);
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_SETFOCUS, WM_KILLFOCUS}),
                                      {
                                          {"second", WM_KILLFOCUS, test::Sent | test::WParam, 0},
                                          {"first", WM_SETFOCUS, test::Sent | test::WParam, 0},
                                      },
                                      "focus moved by SetFocused"));
    EXPECT_EQ(exits, 1);
    Free(form);
}

TEST_F(Properties, OnShowFiresOnlyWhenAHiddenWindowIsShown) {
    TControl* form = CreateForm(nullptr, u"Form");
    int shows = 0;
    SetOnShow(form, TOnEvent{[](void* data, TRefObject*) { ++*static_cast<int*>(data); }, &shows});
    Show(form);
    EXPECT_EQ(shows, 1);
    Show(form); // already on screen: the WM_SHOWWINDOW it sends again is no news
    EXPECT_EQ(shows, 1);
    SetVisible(form, false);
    EXPECT_FALSE(form->Visible);
    Show(form); // the toolkit's own WM_SHOWWINDOW and then ShowWindow's both find it hidden
    EXPECT_EQ(shows, 3);
    Free(form);
}

TEST_F(Properties, VisibilityOfAChildComesFromItsFieldAndOfAFormFromItsWindow) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Düğme");
    Show(form);
    ShowWindow(form->Handle, SW_HIDE); // behind the toolkit's back
    EXPECT_FALSE(GetVisible(form));
    EXPECT_TRUE(GetVisible(button));
    SetVisible(button, false);
    EXPECT_FALSE(IsWindowVisible(button->Handle));
    EXPECT_TRUE(button->VisibleSet);
    EXPECT_EQ(button->Style & WS_VISIBLE, 0u);
    Free(form);
}

TEST_F(Properties, ReparentingMovesALiveWindowAndOnlyRelinksAControlWithout) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* left = CreatePanel(form, 2);
    TControl* right = SetPosition(CreatePanel(form, 2), 110, 2);
    TControl* button = CreateButton(left, u"Düğme");
    TControl* later = CreateButton(nullptr, u"Sonra");
    Show(form);
    ASSERT_EQ(GetParent(button->Handle), left->Handle);
    SetParent(button, right);
    EXPECT_EQ(GetParent(button->Handle), right->Handle);
    EXPECT_EQ(ChildCount(left), 0);
    EXPECT_EQ(ChildAt(right, 0), button);

    SetParent(later, right);
    EXPECT_EQ(later->Handle, nullptr);
    EXPECT_EQ(ChildAt(right, 1), later);
    Free(form); // the re-parented controls go with their new parent
}

TEST_F(Properties, AStyleWriteReachesTheLiveWindow) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* panel = CreatePanel(form, 2);
    Show(form);
    SetStyle(panel, panel->Style | WS_BORDER);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(panel->Handle, GWL_STYLE)) & WS_BORDER, WS_BORDER);
    RECT client = ClientRect(panel);
    EXPECT_EQ(client.right, 98); // the frame changed: the border takes a pixel each side
    EXPECT_EQ(ClientWidth(panel), 98);
    Free(form);
}

} // namespace
