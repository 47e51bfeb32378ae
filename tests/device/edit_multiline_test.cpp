// Multi-line edit boxes: the line messages, RETURN and the vertical keys, word wrap, the
// height limit without ES_AUTOVSCROLL, and the window's own scroll bars that come and go
// with the text.
#include "edit_fixture.h"

#include <cstdlib>
#include <string>

namespace {

using test::ExpectedMsg;

// The toolkit's multi-line box: both scroll bars and both auto-scroll styles.
constexpr DWORD kMultiLine = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_VSCROLL |
                             WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL;

class EditMultiLine : public test::EditTest {
protected:
    static std::u16string Lines(int count) {
        std::u16string text;
        for (int i = 1; i <= count; ++i) {
            text += (i > 1 ? u"\r\n" : u"") + std::u16string(u"satır ") +
                    static_cast<char16_t>(u'0' + i % 10);
        }
        return text;
    }
    static int ClientWidth(HWND window) {
        RECT client;
        GetClientRect(window, &client);
        return client.right;
    }
};

TEST_F(EditMultiLine, LineMessages) {
    HWND edit = MakeEdit(kMultiLine, u"first\r\nsecond\r\n\r\nlast", 10, 10, 200, 200);
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 4);
    const int starts[] = {0, 7, 15, 17};
    for (int line = 0; line < 4; ++line) {
        EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0), starts[line])
            << line;
    }
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 4, 0), -1);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, 8, 0), 6);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, 15, 0), 0);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, 100, 0), 0);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, 8, 0), 1);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, 1000, 0), 3);

    // -1 means the caret's line, or the selection's lines.
    SendMessageW(edit, EM_SETSEL, 9, 2);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 0); // the caret is at 2
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 0);
    // "fi" before the selection on its first line, "ond" after it on its last.
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 2 + 4);

    WCHAR buffer[16] = {};
    *reinterpret_cast<WORD*>(buffer) = 10;
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 6);
    EXPECT_EQ(std::u16string(buffer, 6), u"second");
    *reinterpret_cast<WORD*>(buffer) = 3;
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 3, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_EQ(std::u16string(buffer, 3), u"las");
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 9, reinterpret_cast<LPARAM>(buffer)), 0);

    // A single-line box has one line, whatever it holds.
    HWND single = MakeEdit(kBoxStyle, u"a\r\nb", 10, 220, 200, 22, "single");
    EXPECT_EQ(SendMessageW(single, EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(single, EM_LINELENGTH, 0, 0), 4);
    EXPECT_EQ(SendMessageW(single, EM_LINEINDEX, 1, 0), -1);
}

TEST_F(EditMultiLine, ReturnStartsALineAndTheKeysMoveBetweenLines) {
    HWND edit = MakeEdit(kMultiLine, u"", 10, 10, 200, 200);
    SetFocus(edit);
    device::input::TypeText(u"uzun bir satır");
    device::input::PressKey(VK_RETURN);
    device::input::TypeText(u"kısa");
    Pump();
    EXPECT_EQ(TextOf(edit), u"uzun bir satır\r\nkısa");
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 2);

    using Sel = std::pair<DWORD, DWORD>;
    auto press = [&](UINT key, bool shift = false, bool control = false) {
        device::input::PressKey(key, shift, control);
        Pump();
        return Selection(edit);
    };
    EXPECT_EQ(press(VK_HOME), Sel(16, 16));
    EXPECT_EQ(press(VK_END), Sel(20, 20));
    // UP keeps to the column: the new caret is the boundary nearest to the old x.
    auto xOf = [&](int index) {
        return GET_X_LPARAM(SendMessageW(edit, EM_POSFROMCHAR, index, 0));
    };
    int oldX = xOf(20);
    Sel up = press(VK_UP);
    EXPECT_EQ(up.first, up.second);
    EXPECT_LT(up.first, 14u);
    EXPECT_LE(std::abs(xOf(static_cast<int>(up.first)) - oldX), 4);
    EXPECT_EQ(press(VK_END), Sel(14, 14));
    // Down from the long line's end lands at the short line's end, and up again returns
    // to the column where the vertical movement began.
    EXPECT_EQ(press(VK_DOWN), Sel(20, 20));
    EXPECT_EQ(press(VK_UP), Sel(14, 14));
    EXPECT_EQ(press(VK_END, true, true), Sel(14, 20));
    EXPECT_EQ(press(VK_HOME, false, true), Sel(0, 0));
    // RIGHT at a line's end steps over the whole line break, BACK deletes it whole.
    SendMessageW(edit, EM_SETSEL, 14, 14);
    EXPECT_EQ(press(VK_RIGHT), Sel(16, 16));
    press(VK_BACK);
    EXPECT_EQ(TextOf(edit), u"uzun bir satırkısa");
}

TEST_F(EditMultiLine, WrapsAtWordsWithoutSidewaysScrolling) {
    HWND edit = MakeEdit(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL,
                         u"bir iki üç dört beş altı yedi sekiz dokuz on", 10, 10, 80, 150);
    int lines = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    ASSERT_GT(lines, 2);
    RECT format;
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    std::u16string text = TextOf(edit);
    for (int line = 1; line < lines; ++line) {
        int start =
            static_cast<int>(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
        EXPECT_EQ(text[static_cast<size_t>(start) - 1], u' ')
            << "line " << line << " starts inside a word";
        // The last letter of the line before ends inside the format rectangle.
        int lastLetter = start - 2;
        LRESULT position = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(lastLetter), 0);
        EXPECT_LT(GET_X_LPARAM(position), format.right);
        EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(lastLetter), 0),
                  line - 1);
    }
}

TEST_F(EditMultiLine, WithoutAutoVScrollLinesBelowTheBoxAreRefused) {
    HWND edit = MakeEdit(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL, u"", 10,
                         10, 100, 40);
    SetFocus(edit);
    test::StartLog();
    for (int i = 0; i < 5; ++i) {
        device::input::TypeText(u"x");
        device::input::PressKey(VK_RETURN);
    }
    Pump();
    int lines = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    EXPECT_LT(lines, 5);
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    auto notifications = Notifications();
    ASSERT_FALSE(notifications.empty());
    EXPECT_EQ(HIWORD(notifications.back().wParam), EN_MAXTEXT);
}

TEST_F(EditMultiLine, SetTextIsNotReportedByAMultiLineBox) {
    HWND edit = MakeEdit(kMultiLine, u"", 10, 10, 200, 200);
    test::StartLog();
    SetWindowTextW(edit, u"iki\r\nsatır");
    EXPECT_TRUE(test::MatchesSequence(Notifications(), {}, "WM_SETTEXT on a multi-line box"));
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(EditMultiLine, VerticalScrollBarAppearsWhenTheTextOutgrowsTheBox) {
    HWND edit =
        MakeEdit(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                 u"", 10, 10, 100, 60);
    // Nothing to scroll: no bar, and the client area spans the box.
    EXPECT_EQ(GetWindowLongW(edit, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(ClientWidth(edit), 98);

    SetWindowTextW(edit, Lines(10).c_str());
    EXPECT_NE(GetWindowLongW(edit, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(ClientWidth(edit), 98 - GetSystemMetrics(SM_CXVSCROLL));
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 9);
    int visible = static_cast<int>(info.nPage);
    EXPECT_GE(visible, 2);
    EXPECT_LT(visible, 10);
    EXPECT_EQ(info.nPos, 0);

    // The program scrolls by a line; the parent hears EN_VSCROLL.
    test::StartLog();
    SendMessageW(edit, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    EXPECT_EQ(GetScrollPos(edit, SB_VERT), 1);
    EXPECT_TRUE(test::MatchesSequence(Notifications(), {Command(EN_VSCROLL, edit)}, "SB_LINEDOWN"));

    // A tap on the bar's lower arrow goes through the device's tracking.
    RECT rect;
    GetWindowRect(edit, &rect);
    device::input::Tap(rect.right - 1 - 6, rect.bottom - 1 - 6);
    Pump();
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 2);

    // EM_SCROLL answers how far it went; EM_LINESCROLL goes by lines.
    SendMessageW(edit, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessageW(edit, EM_SCROLL, SB_PAGEDOWN, 0), MAKELRESULT(visible, TRUE));
    EXPECT_EQ(SendMessageW(edit, EM_SCROLL, SB_LINEUP, 0),
              MAKELRESULT(static_cast<WORD>(-1), TRUE));
    EXPECT_EQ(SendMessageW(edit, EM_LINESCROLL, 0, 100), TRUE);
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 10 - visible);
    SendMessageW(edit, EM_LINESCROLL, 0, -100);
    EXPECT_EQ(GetScrollPos(edit, SB_VERT), 0);

    // The caret at the end brings the last line into view.
    SetFocus(edit);
    device::input::PressKey(VK_END, false, true);
    Pump();
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 10 - visible);
    EXPECT_EQ(GetScrollPos(edit, SB_VERT), 10 - visible);

    // Emptied, the box has nothing to scroll and the bar goes.
    SetWindowTextW(edit, u"");
    EXPECT_EQ(GetWindowLongW(edit, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(ClientWidth(edit), 98);
}

TEST_F(EditMultiLine, DraggingTheThumbScrollsTheText) {
    HWND edit =
        MakeEdit(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                 Lines(40), 10, 10, 100, 100);
    Pump();
    RECT rect;
    GetWindowRect(edit, &rect);
    int x = rect.right - 1 - 6;
    int thumbTop = rect.top + 1 + GetSystemMetrics(SM_CYVSCROLL) + 2;
    device::input::PointerDown(x, thumbTop);
    device::input::PointerMove(x, thumbTop + 20);
    device::input::PointerUp(x, thumbTop + 20);
    Pump();
    int first = static_cast<int>(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(first, 0);
    EXPECT_EQ(GetScrollPos(edit, SB_VERT), first);
}

TEST_F(EditMultiLine, HorizontalBarFollowsTheWidestLine) {
    HWND edit = MakeEdit(kMultiLine, u"short", 10, 10, 100, 100);
    EXPECT_EQ(GetWindowLongW(edit, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
    SetWindowTextW(edit, u"short\r\na line that is much wider than the box");
    EXPECT_NE(GetWindowLongW(edit, GWL_STYLE) & WS_HSCROLL, 0);
    EXPECT_EQ(GetWindowLongW(edit, GWL_STYLE) & WS_VSCROLL, 0);
    SendMessageW(edit, WM_HSCROLL, SB_PAGEDOWN, 0);
    EXPECT_GT(GetScrollPos(edit, SB_HORZ), 0);
    SendMessageW(edit, WM_HSCROLL, SB_TOP, 0);
    EXPECT_EQ(GetScrollPos(edit, SB_HORZ), 0);
}

} // namespace
