// The Pocket PC shell: the navigation bar, the menu bar, the "ok" button and the system
// values the toolkit asks for.
#include "support/device_fixture.h"
#include "support/message_log.h"

#include "aygshell.h"

#include <algorithm>
#include <vector>

namespace {

using test::LParam;
using test::Posted;
using test::WParam;

class ShellTest : public test::DeviceTest {};

TEST_F(ShellTest, TheWorkAreaStartsBelowTheNavigationBar) {
    RECT area;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 26);
    EXPECT_EQ(area.right, 240);
    EXPECT_EQ(area.bottom, 320);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 320);
}

TEST_F(ShellTest, TheBarsTheWorkAreaAndTheMetricsFollowTheScreensSize) {
    const struct {
        int cx, cy;
    } sizes[] = {{240, 320}, {320, 240}, {240, 240}, {800, 160}};
    for (const auto& size : sizes) {
        device::host::Stop();
        device::host::StartHeadless(device::host::Options{u"PocketPC", size.cx, size.cy});
        const std::string name = std::to_string(size.cx) + "x" + std::to_string(size.cy);
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), size.cx) << name;
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), size.cy) << name;
        EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), size.cy - 26) << name;
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(GetDeviceCaps(screen, HORZRES), size.cx) << name;
        EXPECT_EQ(GetDeviceCaps(screen, VERTRES), size.cy) << name;
        ReleaseDC(nullptr, screen);
        RECT area;
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
        EXPECT_TRUE(area.left == 0 && area.top == 26 && area.right == size.cx && area.bottom == size.cy) << name;
        int width = 0;
        int height = 0;
        device::diag::ScreenPixels(&width, &height);
        EXPECT_EQ(width, size.cx) << name;
        EXPECT_EQ(height, size.cy) << name;
        // A class the device always has: the test's own went with the device restarted.
        HWND form = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 26, size.cx, size.cy - 26,
                                    nullptr, nullptr, nullptr, nullptr);
        SHMENUBARINFO info{};
        info.cbSize = SHMENUBARINFO_SIZE_32BIT;
        info.hwndParent = form;
        info.dwFlags = SHCMBF_EMPTYBAR;
        ASSERT_TRUE(SHCreateMenuBar(&info)) << name;
        RECT bar;
        GetWindowRect(info.hwndMB, &bar);
        EXPECT_TRUE(bar.left == 0 && bar.top == size.cy - 26 && bar.right == size.cx && bar.bottom == size.cy)
            << name;
        // The "ok" button keeps to the right end of the navigation bar.
        SHDoneButton(form, SHDB_SHOW);
        Pump();
        test::StartLog();
        device::input::Tap(size.cx - 16, 13);
        Pump();
        EXPECT_EQ(test::Only(test::Log(), {WM_COMMAND}).size(), 1u) << name;
    }
}

TEST_F(ShellTest, ThePlatformTypeNeedsRoomForItsTerminator) {
    WCHAR buffer[51];
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof buffer, buffer, 0));
    EXPECT_EQ(std::u16string(buffer), u"PocketPC");
    SetLastError(0);
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETPLATFORMTYPE, 4, buffer, 0));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    device::host::Stop();
    device::host::StartHeadless(device::host::Options{u"SmartPhone"});
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof buffer, buffer, 0));
    EXPECT_EQ(std::u16string(buffer), u"SmartPhone");
    device::host::Stop();
    device::host::StartHeadless(device::host::Options{u"SmartPhone2002"});
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof buffer, buffer, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(ShellTest, TheMenuBarLivesAtTheBottomForAsLongAsItsWindow) {
    HWND form = MakeWindow("form", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
    SHMENUBARINFO info{};
    info.cbSize = SHMENUBARINFO_SIZE_32BIT;
    info.hwndParent = form;
    info.dwFlags = SHCMBF_EMPTYBAR;
    ASSERT_TRUE(SHCreateMenuBar(&info));
    ASSERT_NE(info.hwndMB, nullptr);
    RECT bar;
    ASSERT_TRUE(GetWindowRect(info.hwndMB, &bar));
    EXPECT_EQ(bar.top, 294);
    EXPECT_EQ(bar.bottom, 320);
    EXPECT_EQ(bar.right - bar.left, 240);
    EXPECT_TRUE(IsWindowVisible(info.hwndMB)); // its window is in front
    EXPECT_EQ(SHFindMenuBar(form), info.hwndMB);
    DestroyWindow(form);
    EXPECT_FALSE(IsWindow(info.hwndMB));
    SHMENUBARINFO bad{};
    bad.cbSize = 12;
    bad.hwndParent = form;
    EXPECT_FALSE(SHCreateMenuBar(&bad));
}

TEST_F(ShellTest, TheOkButtonPostsTheWindowItsOwnConfirmation) {
    HWND form = MakeWindow("form", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
    Pump();
    ASSERT_TRUE(SHDoneButton(form, SHDB_SHOW));
    EXPECT_NE(static_cast<DWORD>(GetWindowLongW(form, GWL_EXSTYLE)) & WS_EX_CAPTIONOKBTN, 0u);
    Pump();
    test::StartLog();
    device::input::Tap(240 - 16, 13);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::ForRole(test::Only(test::Log(), {WM_COMMAND}), "form"),
                                      {{"form", WM_COMMAND, Posted | WParam | LParam, MAKEWPARAM(IDOK, 0),
                                        reinterpret_cast<LPARAM>(form)}},
                                      "a tap on ok"));
    SHDoneButton(form, SHDB_HIDE);
    test::StartLog();
    device::input::Tap(240 - 16, 13);
    Pump();
    EXPECT_TRUE(test::Only(test::Log(), {WM_COMMAND}).empty());
}

TEST_F(ShellTest, TheShellsTrafficNeverReachesTheProgramsLoopYetItIsServed) {
    HWND form = MakeWindow("form", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
    HWND desktop = GetDesktopWindow();
    HWND navigationBar = WindowFromPoint(POINT{120, 10});
    ASSERT_NE(navigationBar, form);
    Pump();
    ASSERT_TRUE(SHDoneButton(form, SHDB_SHOW));
    InvalidateRect(nullptr, nullptr, TRUE); // the whole screen, the shell's windows too
    PostMessageW(navigationBar, WM_USER, 0, 0);
    device::input::Tap(240 - 16, 13); // "ok" on the navigation bar
    test::StartLog();
    std::vector<MSG> taken;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        taken.push_back(msg);
        DispatchMessageW(&msg);
    }
    for (const MSG& m : taken) {
        EXPECT_NE(m.hwnd, desktop) << m.message;
        EXPECT_NE(m.hwnd, navigationBar) << m.message;
    }
    auto shell = test::Log();
    auto heard = [&](HWND hwnd, UINT message) {
        return std::any_of(shell.begin(), shell.end(),
                           [&](const auto& record) { return record.hwnd == hwnd && record.message == message; });
    };
    EXPECT_TRUE(heard(desktop, WM_PAINT));
    EXPECT_TRUE(heard(navigationBar, WM_PAINT));
    EXPECT_TRUE(heard(navigationBar, WM_USER));
    EXPECT_TRUE(heard(navigationBar, WM_LBUTTONUP));
    EXPECT_TRUE(std::any_of(taken.begin(), taken.end(), [&](const MSG& m) {
        return m.hwnd == form && m.message == WM_COMMAND && LOWORD(m.wParam) == IDOK;
    })) << "the ok tap still reaches the program as its command";
}

TEST_F(ShellTest, TheNavigationBarShowsTheForegroundTitle) {
    auto titlePixels = [] {
        int white = 0;
        for (int y = 4; y < 22; ++y) {
            for (int x = 30; x < 200; ++x) {
                white += device::diag::ScreenPixel(x, y) == 0xFFFFFF ? 1 : 0;
            }
        }
        return white;
    };
    EXPECT_EQ(titlePixels(), 0);
    HWND form = MakeWindow("form", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
    SetWindowTextW(form, u"Adres Defteri");
    Pump();
    int shown = titlePixels();
    EXPECT_GT(shown, 20);
    SetWindowTextW(form, u"A");
    Pump();
    EXPECT_LT(titlePixels(), shown);
}

} // namespace
