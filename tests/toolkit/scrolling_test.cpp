// The scrolling container: scrolling a focused child into view, the scroll codes and their
// clamping, controls added later, and the range update arriving posted.
#include "application.h"
#include "control_factory.h"
#include "dispatch.h"
#include "properties.h"
#include "scrolling.h"
#include "support/message_log.h"
#include "toolkit_fixture.h"

#include <gtest/gtest.h>

namespace {

using test::Posted;
using test::Sent;
using test::WParam;

class Scrolling : public test::ToolkitTest {
protected:
    void TearDown() override {
        Free(form_);
        ToolkitTest::TearDown();
    }
    // A shown, borderless form with a client area of 200 x clientHeight and Margin 1.
    TControl* Container(LONG clientHeight) {
        form_ = CreateForm(nullptr, u"Kaydırma");
        form_->Margin = 1;
        Show(form_);
        SetBoundsRect(form_, RECT{0, 26, 200, 26 + clientHeight});
        SetStyle(form_, form_->Style & ~(WS_CAPTION | WS_SYSMENU));
        return form_;
    }
    TControl* Child(LONG left, LONG top, LONG right, LONG bottom, TControl* parent = nullptr) {
        TControl* edit = CreateEditBox(parent != nullptr ? parent : form_, 0);
        SetBoundsRect(edit, RECT{left, top, right, bottom});
        CreateWindow(form_);
        return edit;
    }
    // The ranges as they settle: the first update falls back to a range from the page, and
    // a bar appearing posts another.
    void Settle() {
        UpdateScrollRanges(form_);
        Pump();
    }
    int Position(int bar) { return GetScrollPos(form_->Handle, bar); }
    TControl* form_ = nullptr;
};

TEST_F(Scrolling, AFocusedChildIsScrolledIntoViewVerticallyFirst) {
    TControl* container = Container(100);
    ASSERT_EQ(ClientHeight(container), 100);
    Child(1, 1, 50, 23);
    TControl* middle = Child(1, 31, 50, 53);
    TControl* edge = Child(60, 78, 100, 100); // inside the client area, not inside the Margin
    TControl* low = Child(1, 130, 50, 150);
    MakeScrolling(container);
    Settle();
    ASSERT_EQ(Position(SB_VERT), 0);
    SetFocused(edge, true);
    EXPECT_EQ(Position(SB_VERT), 1);
    SetFocused(low, true);
    EXPECT_EQ(Position(SB_VERT), 51); // its bottom comes to 99
    EXPECT_EQ(GetBoundsRect(low).bottom, 99);
    EXPECT_EQ(GetBoundsRect(middle).top, -20);
    SetFocused(middle, true);
    EXPECT_EQ(Position(SB_VERT), 30); // up by 21: its top comes to the Margin
    EXPECT_EQ(GetBoundsRect(middle).top, 1);
}

TEST_F(Scrolling, AChildOutOfViewBothWaysGetsOnlyTheVerticalCorrection) {
    TControl* container = Container(100);
    Child(1, 1, 50, 23);
    TControl* far = Child(300, 150, 350, 172);
    MakeScrolling(container);
    Settle();
    ASSERT_NE(GetWindowLongW(container->Handle, GWL_STYLE) & WS_HSCROLL, 0);
    const LONG left = GetBoundsRect(far).left;
    SetFocused(far, true);
    EXPECT_EQ(Position(SB_HORZ), 0);
    EXPECT_EQ(GetBoundsRect(far).left, left);
    EXPECT_EQ(GetBoundsRect(far).bottom, ClientHeight(container) - 1);
}

TEST_F(Scrolling, ScrollCodesMoveTheChildrenAndStopAtTheLastFullPage) {
    TControl* container = Container(100);
    TControl* top = Child(1, 1, 50, 23);
    TControl* bottom = Child(1, 270, 50, 298); // content 0..298: the last full page starts at 199
    MakeScrolling(container);
    Settle();
    const struct {
        WORD code;
        int position;
    } steps[] = {
        {SB_LINEDOWN, 16}, {SB_PAGEDOWN, 116}, {SB_PAGEDOWN, 199}, {SB_LINEUP, 183},
        {SB_TOP, 0},       {SB_PAGEUP, 0},     {SB_BOTTOM, 199},   {SB_THUMBPOSITION, 199},
    };
    for (const auto& step : steps) {
        SendMessageW(container->Handle, WM_VSCROLL, step.code, 0);
        EXPECT_EQ(Position(SB_VERT), step.position) << "code " << step.code;
        EXPECT_EQ(GetBoundsRect(top).top, 1 - step.position) << "code " << step.code;
    }
    // Recomputed while scrolled (the update also brings the focused control into view), the
    // range still counts the content above the view.
    SetFocused(bottom, true);
    test::StartLog();
    PostMessageW(container->Handle, CM_UPDATESCROLL, 0, 0);
    Pump();
    EXPECT_TRUE(test::Only(test::Log(), {WM_SIZE}).empty()); // the bar never went away meanwhile
    EXPECT_EQ(Position(SB_VERT), 199);
    EXPECT_EQ(GetBoundsRect(top).top, -198);
}

TEST_F(Scrolling, ControlsAddedLaterAnywhereBelowAreCoveredToo) {
    TControl* container = Container(100);
    Child(1, 1, 50, 23);
    MakeScrolling(container);
    TControl* panel = CreatePanel(container, 2);
    SetBoundsRect(panel, RECT{1, 100, 150, 200});
    TControl* upper = Child(10, 0, 60, 20, panel);
    TControl* inner = Child(10, 60, 60, 82, panel); // 160..182 in the container
    Settle();
    EXPECT_TRUE(IsHandlerAttached(panel, ScrollFocusHandler));
    SetFocused(inner, true);
    EXPECT_EQ(Position(SB_VERT), 83);
    POINT bottom = ScreenToClient(container, ClientToScreen(panel, POINT{0, GetBoundsRect(inner).bottom}));
    EXPECT_EQ(bottom.y, 99);
    SendMessageW(container->Handle, WM_VSCROLL, SB_BOTTOM, 0); // the panel's top goes to -1
    SetFocused(upper, true);
    EXPECT_EQ(Position(SB_VERT), 99);
}

TEST_F(Scrolling, TheRangeUpdateIsPostedAfterTheSizeChangeOrShowing) {
    TControl* container = Container(100);
    Child(1, 1, 50, 23);
    MakeScrolling(container);
    Pump();
    device::spy::SetRole(container->Handle, "container");
    const struct {
        const char* name;
        void (*act)(TControl*);
        std::vector<test::ExpectedMsg> expected;
    } cases[] = {
        {"resize",
         [](TControl* form) { SetSize(form, 0, 150); },
         {{"container", WM_SIZE, Sent}, {"container", CM_UPDATESCROLL, Posted}}},
        {"hide and show",
         [](TControl* form) {
             SetVisible(form, false);
             SetVisible(form, true);
         },
         // The Visible write sends WM_SHOWWINDOW before ShowWindow sends its own.
         {{"container", WM_SHOWWINDOW, Sent | WParam, FALSE},
          {"container", WM_SHOWWINDOW, Sent | WParam, FALSE},
          {"container", WM_SHOWWINDOW, Sent | WParam, TRUE},
          {"container", WM_SHOWWINDOW, Sent | WParam, TRUE},
          {"container", CM_UPDATESCROLL, Posted},
          {"container", CM_UPDATESCROLL, Posted}}},
    };
    for (const auto& test : cases) {
        test::StartLog();
        test.act(container);
        Pump();
        EXPECT_TRUE(test::MatchesSequence(test::Only(test::ForRole(test::Log(), "container"),
                                                     {WM_SHOWWINDOW, WM_SIZE, CM_UPDATESCROLL}),
                                          test.expected, test.name));
    }
}

} // namespace
