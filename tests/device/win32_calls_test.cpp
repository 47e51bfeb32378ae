// Win32 calls that programs commonly make beyond what the toolkit uses: window queries,
// dialog items and their groups, RedrawWindow and GetUpdateRgn, thread messages and the queue's status,
// synthesized input, and the standard cursors and icons.
#include "support/device_fixture.h"
#include "support/message_log.h"

#include <vector>

namespace {

using test::LParam;
using test::Posted;
using test::Sent;
using test::WParam;

class Win32Calls : public test::DeviceTest {
protected:
    HWND form_ = nullptr;
    HWND panel_ = nullptr;
    HWND button_ = nullptr;
    void SetUp() override {
        DeviceTest::SetUp();
        form_ = MakeWindow("form", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
        panel_ = MakeWindow("panel", WS_CHILD | WS_VISIBLE, 10, 10, 200, 100, form_, 11);
        button_ = MakeWindow("button", WS_CHILD | WS_VISIBLE, 5, 5, 40, 20, panel_, 12);
        Pump();
    }
};

BOOL CALLBACK CollectUntilButton(HWND hwnd, LPARAM lParam) {
    auto* seen = reinterpret_cast<std::vector<HWND>*>(lParam);
    seen->push_back(hwnd);
    return GetDlgCtrlID(hwnd) != 12;
}

TEST_F(Win32Calls, WindowQueriesAndDialogItems) {
    HWND owned = CreateWindowExW(0, kPlainClass, u"", WS_POPUP, 0, 0, 10, 10, form_, nullptr, nullptr, nullptr);
    struct Case {
        HWND window;
        UINT flags;
        HWND expected;
    };
    const Case cases[] = {
        {button_, GA_PARENT, panel_}, {button_, GA_ROOT, form_},   {button_, GA_ROOTOWNER, form_},
        {owned, GA_PARENT, GetDesktopWindow()}, {owned, GA_ROOT, owned}, {owned, GA_ROOTOWNER, form_},
        {GetDesktopWindow(), GA_PARENT, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetAncestor(c.window, c.flags), c.expected) << "flags " << c.flags;
    }

    // Every descendant, depth first; FALSE ends the walk.
    HWND other = MakeWindow("other", WS_CHILD, 0, 0, 5, 5, form_, 13);
    std::vector<HWND> seen;
    EXPECT_FALSE(EnumChildWindows(form_, CollectUntilButton, reinterpret_cast<LPARAM>(&seen)));
    EXPECT_EQ(seen, (std::vector<HWND>{panel_, button_}));

    // Items are the direct children by identifier.
    EXPECT_EQ(GetDlgItem(form_, 11), panel_);
    EXPECT_EQ(GetDlgItem(form_, 13), other);
    EXPECT_EQ(GetDlgItem(form_, 12), nullptr);
    EXPECT_EQ(GetDlgCtrlID(button_), 12);
    EXPECT_EQ(GetDlgCtrlID(form_), 0);
    EXPECT_EQ(SendDlgItemMessageW(form_, 11, WM_GETTEXTLENGTH, 0, 0), 0);
    SetWindowTextW(panel_, u"Ad");
    EXPECT_EQ(SendDlgItemMessageW(form_, 11, WM_GETTEXTLENGTH, 0, 0), 2);

    // Show states, and bringing a window to the top activates it.
    EXPECT_FALSE(IsZoomed(form_));
    ShowWindow(panel_, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(panel_));
    ShowWindow(panel_, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(panel_));
    EXPECT_FALSE(IsZoomed(panel_));
    HWND popup = MakeWindow("popup", WS_POPUP | WS_VISIBLE, 0, 40, 100, 100);
    ASSERT_EQ(GetActiveWindow(), popup);
    EXPECT_TRUE(BringWindowToTop(form_));
    EXPECT_EQ(GetActiveWindow(), form_);
    EXPECT_EQ(GetWindow(popup, GW_HWNDPREV), form_);
}

// Groups run from a WS_GROUP control to the next; hidden and disabled controls are passed
// over; the walk wraps round within the group; a grandchild stands for its child.
TEST_F(Win32Calls, GetNextDlgGroupItemWalksTheGroup) {
    HWND a = MakeWindow("a", WS_CHILD | WS_VISIBLE | WS_GROUP, 0, 120, 5, 5, form_, 1);
    HWND b = MakeWindow("b", WS_CHILD | WS_VISIBLE, 0, 130, 5, 5, form_, 2);
    MakeWindow("hidden", WS_CHILD, 0, 140, 5, 5, form_, 3);
    HWND c = MakeWindow("c", WS_CHILD | WS_VISIBLE, 0, 150, 5, 5, form_, 4);
    MakeWindow("disabled", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 160, 5, 5, form_, 5);
    HWND d = MakeWindow("d", WS_CHILD | WS_VISIBLE | WS_GROUP, 0, 170, 5, 5, form_, 6);
    struct Case {
        HWND from;
        BOOL previous;
        HWND expected;
    };
    const Case cases[] = {
        {a, FALSE, b}, {b, FALSE, c}, {c, FALSE, a}, {a, TRUE, c},
        {b, TRUE, a},  {d, FALSE, d}, {d, TRUE, d},  {button_, FALSE, panel_}, // alone before a
    };
    for (const Case& k : cases) {
        EXPECT_EQ(GetNextDlgGroupItem(form_, k.from, k.previous), k.expected)
            << device::spy::RoleOf(k.from) << (k.previous ? " backwards" : " forwards");
    }
    EXPECT_EQ(GetNextDlgGroupItem(nullptr, a, FALSE), nullptr);
}

// The rectangle AdjustWindowRectEx gives makes a window with exactly the client area asked for.
TEST_F(Win32Calls, AdjustWindowRectGivesTheFrameAroundAClientArea) {
    struct Case {
        DWORD style;
        DWORD exStyle;
    };
    const Case cases[] = {
        {WS_POPUP, 0},
        {WS_POPUP | WS_BORDER, 0},
        {WS_POPUP | WS_CAPTION, WS_EX_CLIENTEDGE},
        {WS_CHILD | WS_DLGFRAME, WS_EX_STATICEDGE},
    };
    for (const Case& c : cases) {
        RECT rect{20, 30, 120, 90};
        ASSERT_TRUE(AdjustWindowRectEx(&rect, c.style, FALSE, c.exStyle));
        HWND window = CreateWindowExW(c.exStyle, kPlainClass, u"", c.style, rect.left, rect.top, rect.right - rect.left,
                                      rect.bottom - rect.top, (c.style & WS_CHILD) != 0 ? form_ : nullptr, nullptr,
                                      nullptr, nullptr);
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, 100) << std::hex << c.style;
        EXPECT_EQ(client.bottom, 60) << std::hex << c.style;
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        POINT expected{20, 30};
        if ((c.style & WS_CHILD) != 0) {
            ClientToScreen(form_, &expected);
        }
        EXPECT_EQ(origin.x, expected.x) << std::hex << c.style;
        EXPECT_EQ(origin.y, expected.y) << std::hex << c.style;
        DestroyWindow(window);
    }
    EXPECT_FALSE(AdjustWindowRectEx(nullptr, WS_POPUP, FALSE, 0));
}

TEST_F(Win32Calls, RedrawWindowInvalidatesValidatesAndPaintsAtOnce) {
    test::StartLog();
    RECT part{0, 0, 20, 10};
    EXPECT_TRUE(RedrawWindow(panel_, &part, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW));
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_ERASEBKGND, WM_PAINT}),
                                      {{"panel", WM_ERASEBKGND}, {"panel", WM_PAINT}},
                                      "RDW_INVALIDATE | RDW_UPDATENOW paints inside the call, the child left out"));

    // The update region as a region, in client coordinates; RDW_VALIDATE takes it away.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    part = RECT{50, 30, 90, 60}; // clear of the button, which the panel's region leaves out
    RedrawWindow(panel_, &part, nullptr, RDW_INVALIDATE);
    RECT onButton{0, 0, 20, 10};
    RedrawWindow(panel_, &onButton, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    RedrawWindow(panel_, &onButton, nullptr, RDW_VALIDATE);
    EXPECT_EQ(GetUpdateRgn(panel_, region, FALSE), SIMPLEREGION);
    RECT box{};
    GetRgnBox(region, &box);
    EXPECT_TRUE(EqualRect(&box, &part));
    RECT buttonUpdate{};
    EXPECT_TRUE(GetUpdateRect(button_, &buttonUpdate, FALSE)); // RDW_ALLCHILDREN reached it
    RedrawWindow(panel_, nullptr, nullptr, RDW_VALIDATE);
    EXPECT_EQ(GetUpdateRgn(panel_, region, FALSE), NULLREGION);
    EXPECT_EQ(GetUpdateRgn(panel_, nullptr, FALSE), ERROR);
    DeleteObject(region);
}

TEST_F(Win32Calls, ThreadMessagesSendsAndTheQueueStatus) {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    GetQueueStatus(QS_ALLINPUT);
    EXPECT_EQ(GetQueueStatus(QS_ALLINPUT), 0u);
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0), WAIT_TIMEOUT);

    EXPECT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_USER + 1, 3, 4));
    EXPECT_FALSE(PostThreadMessageW(GetCurrentThreadId() + 1, WM_USER + 1, 3, 4));
    EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE | QS_KEY), static_cast<DWORD>(MAKELONG(QS_POSTMESSAGE, QS_POSTMESSAGE)));
    EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE), static_cast<DWORD>(MAKELONG(0, QS_POSTMESSAGE))); // no longer new
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_POSTMESSAGE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_KEY, 0), WAIT_TIMEOUT);
    HANDLE handle = reinterpret_cast<HANDLE>(1);
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &handle, 0, QS_ALLINPUT, 0), WAIT_FAILED);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));

    // On the window's own thread both are plain sends.
    test::StartLog();
    EXPECT_TRUE(SendNotifyMessageW(panel_, WM_USER + 2, 1, 2));
    DWORD_PTR result = 99;
    EXPECT_NE(SendMessageTimeoutW(panel_, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10, &result), 0);
    EXPECT_EQ(result, 0u);
    EXPECT_TRUE(test::MatchesSequence(test::Log(),
                                      {{"panel", WM_USER + 2, Sent | WParam | LParam, 1, 2},
                                       {"panel", WM_GETTEXTLENGTH, Sent}},
                                      "SendNotifyMessageW and SendMessageTimeoutW"));
    EXPECT_FALSE(SendNotifyMessageW(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0));
    EXPECT_EQ(SendMessageTimeoutW(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0, 0, 10, &result), 0);
}

TEST_F(Win32Calls, SynthesizedInputArrivesAsTheKeyboardAndStylusWould) {
    SetFocus(button_);
    test::StartLog();
    keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event('A', 0, 0, 0);
    INPUT inputs[3] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = 'A';
    inputs[0].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[1].type = INPUT_KEYBOARD;
    inputs[1].ki.wVk = VK_SHIFT;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[2].type = INPUT_KEYBOARD;
    inputs[2].ki.wScan = u'ş';
    inputs[2].ki.dwFlags = KEYEVENTF_UNICODE;
    EXPECT_EQ(SendInput(3, inputs, sizeof(INPUT)), 3u);
    EXPECT_EQ(SendInput(1, inputs, sizeof(INPUT) - 1), 0u);
    MSG msg{};
    BYTE keys[256] = {};
    bool shiftSeenDown = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == 'A') {
            GetKeyboardState(keys);
            shiftSeenDown = (keys[VK_SHIFT] & 0x80) != 0;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EXPECT_TRUE(shiftSeenDown);
    EXPECT_TRUE(test::MatchesSequence(test::ForRole(test::Only(test::Log(), {WM_KEYDOWN, WM_KEYUP, WM_CHAR}), "button"),
                                      {
                                          {"button", WM_KEYDOWN, Posted | WParam, VK_SHIFT},
                                          {"button", WM_KEYDOWN, Posted | WParam, 'A'},
                                          {"button", WM_CHAR, Posted | WParam, u'A'},
                                          {"button", WM_KEYUP, Posted | WParam, 'A'},
                                          {"button", WM_KEYUP, Posted | WParam, VK_SHIFT},
                                          {"button", WM_CHAR, Posted | WParam, u'ş'},
                                      },
                                      "keys through keybd_event and SendInput"));

    // The stylus: absolute coordinates run 0..65535 over the screen, relative ones are pixels.
    POINT target{100, 80}; // the panel's client (90, 44), clear of the button
    test::StartLog();
    mouse_event(MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN,
                static_cast<DWORD>(target.x * 65536 / GetSystemMetrics(SM_CXSCREEN) + 1),
                static_cast<DWORD>(target.y * 65536 / GetSystemMetrics(SM_CYSCREEN) + 1), 0, 0);
    mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, 2, 3, 0, 0);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_LBUTTONDOWN, WM_LBUTTONUP}),
                                      {
                                          {"panel", WM_LBUTTONDOWN, Posted | LParam, 0, MAKELPARAM(90, 44)},
                                          {"panel", WM_LBUTTONUP, Posted | LParam, 0, MAKELPARAM(92, 47)},
                                      },
                                      "mouse_event"));
    POINT cursor{};
    EXPECT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, target.x + 2);
    EXPECT_EQ(cursor.y, target.y + 3);
}

TEST_F(Win32Calls, OnlyTheStandardCursorsAndIconsLoad) {
    EXPECT_NE(LoadCursorW(nullptr, IDC_ARROW), nullptr);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_NE(LoadCursorW(nullptr, IDC_WAIT), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_NE(LoadIconW(nullptr, IDI_APPLICATION), nullptr);
    EXPECT_NE(LoadIconW(nullptr, IDI_HAND), LoadIconW(nullptr, IDI_APPLICATION));
    SetLastError(0);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101)), nullptr);
    EXPECT_EQ(LoadIconW(nullptr, u"APPICON"), nullptr);
}

} // namespace
