// What DefWindowProcW does with the messages the toolkit passes on, and SetParent.
#include "support/device_fixture.h"
#include "support/message_log.h"

namespace {

using test::Sent;
using test::WParam;

class DefaultProcedureTest : public test::DeviceTest {
protected:
    HWND form_ = nullptr;
    HWND child_ = nullptr;
    void SetUp() override {
        DeviceTest::SetUp();
        form_ = MakeWindow("form", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
        child_ = MakeWindow("child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, form_, 1);
        Pump();
    }
};

TEST_F(DefaultProcedureTest, CloseDestroysTheWindowAndDestroyDoesNotQuit) {
    EXPECT_EQ(SendMessageW(form_, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(form_));
    EXPECT_FALSE(IsWindow(child_));
    EXPECT_FALSE(device::host::IsQuitPending());
}

TEST_F(DefaultProcedureTest, EraseUsesTheClassBrushAndSaysWhetherItErased) {
    HDC hdc = GetDC(form_);
    EXPECT_EQ(SendMessageW(form_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0), 1);
    ReleaseDC(form_, hdc);
    WNDCLASSW bare{};
    bare.lpfnWndProc = DefWindowProcW;
    bare.lpszClassName = u"NoBrush";
    RegisterClassW(&bare);
    HWND window = CreateWindowExW(0, u"NoBrush", u"", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    hdc = GetDC(window);
    EXPECT_EQ(SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0), 0);
    ReleaseDC(window, hdc);
}

TEST_F(DefaultProcedureTest, ControlColoursAreTheSystemOnes) {
    HDC hdc = GetDC(child_);
    auto brushFor = [&](UINT message) {
        return reinterpret_cast<HBRUSH>(DefWindowProcW(form_, message, reinterpret_cast<WPARAM>(hdc),
                                                       reinterpret_cast<LPARAM>(child_)));
    };
    EXPECT_EQ(brushFor(WM_CTLCOLOREDIT), GetSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(GetBkColor(hdc), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(brushFor(WM_CTLCOLORBTN), GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_EQ(brushFor(WM_CTLCOLORSTATIC), GetSysColorBrush(COLOR_STATIC));
    EXPECT_EQ(GetTextColor(hdc), GetSysColor(COLOR_STATICTEXT));
    ReleaseDC(child_, hdc);
}

TEST_F(DefaultProcedureTest, ChildrenAskTheirParentAboutActivationAndTheCursor) {
    test::StartLog();
    EXPECT_EQ(SendMessageW(child_, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(form_),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_ACTIVATE);
    SendMessageW(child_, WM_SETCURSOR, reinterpret_cast<WPARAM>(child_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_TRUE(test::MatchesSequence(test::Log(),
                                      {
                                          {"child", WM_MOUSEACTIVATE},
                                          {"form", WM_MOUSEACTIVATE, Sent | test::Defwnd},
                                          {"child", WM_SETCURSOR},
                                          {"form", WM_SETCURSOR, Sent | test::Defwnd},
                                      },
                                      "a child's defaults"));
    EXPECT_EQ(SendMessageW(form_, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(child_), NF_QUERY), NFR_UNICODE);
}

TEST_F(DefaultProcedureTest, ActivationGivesTheWindowTheFocus) {
    HWND other = MakeWindow("other", WS_POPUP | WS_VISIBLE, 0, 26, 10, 10);
    Pump();
    ASSERT_EQ(GetFocus(), other);
    SendMessageW(form_, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), form_);
}

TEST_F(DefaultProcedureTest, SetParentMovesTheWindowUnderTheNewParent) {
    HWND second = MakeWindow("second", WS_POPUP | WS_VISIBLE, 0, 100, 240, 100);
    EXPECT_EQ(SetParent(child_, second), form_);
    EXPECT_EQ(GetParent(child_), second);
    EXPECT_EQ(GetWindow(second, GW_CHILD), child_);
    EXPECT_EQ(GetWindow(form_, GW_CHILD), nullptr);
    RECT rect;
    GetWindowRect(child_, &rect);
    EXPECT_EQ(rect.left, 10); // the same place in the new parent's client area
    EXPECT_EQ(rect.top, 110);
    EXPECT_TRUE(IsWindowVisible(child_));
    DestroyWindow(second);
    EXPECT_FALSE(IsWindow(child_));
    EXPECT_TRUE(IsWindow(form_));
}

} // namespace
