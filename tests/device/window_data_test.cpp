// Window longs, subclassing, window text and window properties.
#include "support/device_fixture.h"
#include "support/message_log.h"

#include <vector>

namespace {

using test::Sent;
using test::WParam;

class WindowDataTest : public test::DeviceTest {};

WNDPROC g_previous = nullptr;
std::vector<UINT> g_seenBySubclass;

LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    g_seenBySubclass.push_back(message);
    if (message == WM_USER) {
        return 42;
    }
    return CallWindowProcW(g_previous, hwnd, message, wParam, lParam);
}

TEST_F(WindowDataTest, SubclassingReplacesTheProcedureForLaterMessages) {
    HWND window = MakeWindow("window", WS_POPUP, 0, 0, 10, 10);
    SetLastError(0);
    EXPECT_EQ(SetWindowLongW(window, GWLP_WNDPROC, 1), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX); // a procedure does not fit a LONG here
    g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
    EXPECT_EQ(g_previous, DefWindowProcW);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(Subclass));
    g_seenBySubclass.clear();
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 42);
    SetWindowTextW(window, u"Merhaba");
    WCHAR text[16];
    EXPECT_EQ(GetWindowTextW(window, text, 16), 7);
    EXPECT_EQ(std::u16string(text), u"Merhaba");
    EXPECT_EQ((std::vector<UINT>{WM_USER, WM_SETTEXT, WM_GETTEXT}), g_seenBySubclass);
}

TEST_F(WindowDataTest, StyleChangesAreAnnouncedButNotRedrawn) {
    HWND window = MakeWindow("window", WS_POPUP | WS_VISIBLE, 0, 26, 10, 10);
    Pump();
    test::StartLog();
    LONG old = SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_BORDER));
    EXPECT_EQ(static_cast<DWORD>(old), WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS);
    EXPECT_TRUE(test::MatchesSequence(test::Log(),
                                      {
                                          {"window", WM_STYLECHANGING, Sent | WParam, static_cast<WPARAM>(GWL_STYLE)},
                                          {"window", WM_STYLECHANGED, Sent | WParam, static_cast<WPARAM>(GWL_STYLE)},
                                      },
                                      "SetWindowLongW(GWL_STYLE)"));
    EXPECT_EQ(Pump(), 0); // nothing was invalidated
    EXPECT_EQ(SetWindowLongW(window, GWL_ID, 9), 0);
    EXPECT_EQ(GetWindowLongW(window, GWL_ID), 9);
}

TEST_F(WindowDataTest, TextMessagesCountAndTruncateLikeThePlatform) {
    HWND window = MakeWindow("window", WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(GetWindowTextLengthW(window), 0);
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Adres Defteri"));
    EXPECT_EQ(GetWindowTextLengthW(window), 13);
    WCHAR small[6];
    EXPECT_EQ(SendMessageW(window, WM_GETTEXT, 6, reinterpret_cast<LPARAM>(small)), 5);
    EXPECT_EQ(std::u16string(small), u"Adres");
    EXPECT_EQ(SendMessageW(window, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(small)), 0);
    SendMessageW(window, WM_SETTEXT, 0, 0); // NULL sets the empty text
    EXPECT_EQ(GetWindowTextLengthW(window), 0);
}

TEST_F(WindowDataTest, PropertiesAreKeptPerWindowAndRemovedOnRequest) {
    HWND first = MakeWindow("first", WS_POPUP, 0, 0, 10, 10);
    HWND second = MakeWindow("second", WS_POPUP, 0, 0, 10, 10);
    int value = 7;
    EXPECT_TRUE(SetPropW(first, u"SELF_", &value));
    EXPECT_EQ(GetPropW(first, u"SELF_"), &value);
    EXPECT_EQ(GetPropW(first, u"self_"), &value); // names compare without case
    EXPECT_EQ(GetPropW(second, u"SELF_"), nullptr);
    EXPECT_EQ(RemovePropW(first, u"SELF_"), &value);
    EXPECT_EQ(GetPropW(first, u"SELF_"), nullptr);
    EXPECT_EQ(RemovePropW(first, u"SELF_"), nullptr);
    DestroyWindow(second);
    EXPECT_EQ(GetPropW(second, u"SELF_"), nullptr);
}

TEST_F(WindowDataTest, ClassesAreRegisteredOnceAndFoundWithoutCase) {
    WNDCLASSW info{};
    EXPECT_TRUE(GetClassInfoW(nullptr, u"testplain", &info));
    EXPECT_EQ(info.lpfnWndProc, DefWindowProcW);
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    WNDCLASSW again{};
    again.lpfnWndProc = DefWindowProcW;
    again.hInstance = GetModuleHandleW(nullptr);
    again.lpszClassName = kPlainClass;
    SetLastError(0);
    EXPECT_EQ(RegisterClassW(&again), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    EXPECT_FALSE(GetClassInfoW(nullptr, u"NoSuchClass", &info));
    SetLastError(0);
    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    SetLastError(0);
    EXPECT_EQ(CreateWindowExW(0, kPlainClass, u"", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
}

} // namespace
