// The edit box's caret and selection: EM_SETSEL/EM_GETSEL, keys with SHIFT and CTRL, the
// stylus, the focus and its notifications, and what the window-tree dump shows.
#include "edit_fixture.h"

#include "input/caret.h"

#include <algorithm>

namespace {

using test::ExpectedMsg;
using test::Sent;
using test::WParam;

class EditSelection : public test::EditTest {};

struct SetSelCase {
    int start;
    int end;
    DWORD expectedStart;
    DWORD expectedEnd;
    const char* what;
};

TEST_F(EditSelection, SetSelClampsOrdersAndTreatsMinusOneAsTheEnd) {
    HWND edit = MakeEdit(kBoxStyle, u"0123456789");
    const SetSelCase cases[] = {
        {2, 5, 2, 5, "plain"},
        {0, -1, 0, 10, "end -1 selects to the end"},
        {7, 3, 3, 7, "reversed"},
        {4, 100, 4, 10, "end past the text"},
        {100, 200, 10, 10, "both past the text"},
        {6, -5, 6, 10, "any negative end is the end"},
    };
    Pump();
    test::StartLog();
    for (const SetSelCase& c : cases) {
        EXPECT_EQ(SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(c.start), c.end), 1) << c.what;
        EXPECT_EQ(Selection(edit), std::make_pair(c.expectedStart, c.expectedEnd)) << c.what;
        EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(c.expectedStart, c.expectedEnd))
            << c.what;
    }
    // EM_SETSEL is no change of the text: the parent hears nothing.
    EXPECT_TRUE(test::MatchesSequence(Notifications(), {}, "EM_SETSEL"));
}

TEST_F(EditSelection, StartMinusOneDropsTheSelectionAtTheCaret) {
    HWND edit = MakeEdit(kBoxStyle, u"0123456789");
    SetFocus(edit);
    // Reversed: the caret is at 2, the anchor at 8.
    SendMessageW(edit, EM_SETSEL, 8, 2);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{2}, DWORD{2}));
    // SHIFT+RIGHT from a reversed selection moves its caret end, which is the start.
    SendMessageW(edit, EM_SETSEL, 8, 2);
    device::input::PressKey(VK_RIGHT, true);
    Pump();
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{3}, DWORD{8}));
}

TEST_F(EditSelection, GetSelPacksEndsPast65535AsFFFF) {
    HWND edit = MakeEdit(kBoxStyle);
    std::u16string big(70000, u'x');
    SetWindowTextW(edit, big.c_str());
    SendMessageW(edit, EM_SETSEL, 100, -1);
    DWORD start = 0;
    DWORD end = 0;
    LRESULT packed = SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                  reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 100u);
    EXPECT_EQ(end, 70000u);
    EXPECT_EQ(LOWORD(packed), 100);
    EXPECT_EQ(HIWORD(packed), 0xFFFF);
}

TEST_F(EditSelection, FocusBringsCaretAndNotificationsAfterTheFocusMessages) {
    HWND edit = MakeEdit(kBoxStyle, u"text");
    Pump();
    test::StartLog();
    SetFocus(edit);
    EXPECT_TRUE(
        test::MatchesSequence(test::Only(test::Log(), {WM_SETFOCUS, WM_KILLFOCUS, WM_COMMAND}),
                              {
                                  {"parent", WM_KILLFOCUS},
                                  {"edit", WM_SETFOCUS},
                                  Command(EN_SETFOCUS, edit),
                              },
                              "focus to the edit box"));
    HWND owner = nullptr;
    RECT caret{};
    ASSERT_TRUE(device::CaretShown(&owner, &caret));
    EXPECT_EQ(owner, edit);
    EXPECT_EQ(caret.right - caret.left, 1);
    // A plain edit box does not select its text when it gets the focus.
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{0}));

    test::StartLog();
    SetFocus(Parent());
    EXPECT_TRUE(
        test::MatchesSequence(test::Only(test::Log(), {WM_SETFOCUS, WM_KILLFOCUS, WM_COMMAND}),
                              {
                                  {"edit", WM_KILLFOCUS},
                                  Command(EN_KILLFOCUS, edit),
                                  {"parent", WM_SETFOCUS},
                              },
                              "focus back to the parent"));
    EXPECT_FALSE(device::CaretShown(&owner, &caret));
}

TEST_F(EditSelection, ArrowsHomeEndWithShiftAndControl) {
    HWND edit = MakeEdit(kBoxStyle, u"one two three");
    SetFocus(edit);
    auto press = [&](UINT key, bool shift = false, bool control = false) {
        device::input::PressKey(key, shift, control);
        Pump();
        return Selection(edit);
    };
    using Sel = std::pair<DWORD, DWORD>;
    EXPECT_EQ(press(VK_END), Sel(13, 13));
    EXPECT_EQ(press(VK_HOME), Sel(0, 0));
    EXPECT_EQ(press(VK_RIGHT, false, true), Sel(4, 4)); // CTRL: to the next word
    EXPECT_EQ(press(VK_RIGHT, true, true), Sel(4, 8));  // SHIFT extends by a word
    EXPECT_EQ(press(VK_RIGHT, true), Sel(4, 9));
    EXPECT_EQ(press(VK_LEFT), Sel(4, 4)); // a selection collapses to its left end
    EXPECT_EQ(press(VK_END, true), Sel(4, 13));
    EXPECT_EQ(press(VK_RIGHT), Sel(13, 13)); // ... or to its right end
    EXPECT_EQ(press(VK_LEFT, false, true), Sel(8, 8));
    EXPECT_EQ(press(VK_HOME, true), Sel(0, 8));
    EXPECT_EQ(press(VK_LEFT, true), Sel(0, 8)); // nothing left of the start
    // UP and DOWN move like LEFT and RIGHT in a single-line box.
    EXPECT_EQ(press(VK_DOWN), Sel(8, 8));
    EXPECT_EQ(press(VK_UP, true), Sel(7, 8));
    // CTRL+A arrives as WM_CHAR 1 and selects everything.
    EXPECT_EQ(press('A', false, true), Sel(0, 13));
}

TEST_F(EditSelection, StylusPlacesTheCaretAndDraggingSelects) {
    HWND edit = MakeEdit(kBoxStyle, u"Adres Defteri");
    Pump();
    POINT third = AtCharacter(edit, 3);
    test::StartLog();
    device::input::Tap(third.x + 1, third.y);
    Pump();
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{3}, DWORD{3}));
    // The focus (and EN_SETFOCUS) comes before the caret is placed by the press.
    EXPECT_TRUE(
        test::MatchesSequence(Notifications(), {Command(EN_SETFOCUS, edit)}, "tap on the box"));
    EXPECT_EQ(GetCapture(), nullptr);

    POINT from = AtCharacter(edit, 1);
    POINT to = AtCharacter(edit, 9);
    device::input::PointerDown(from.x, from.y);
    Pump();
    EXPECT_EQ(GetCapture(), edit);
    device::input::PointerMove(to.x, to.y);
    device::input::PointerUp(to.x, to.y);
    Pump();
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{1}, DWORD{9}));
    EXPECT_EQ(GetCapture(), nullptr);

    // SHIFT and a tap extend from the anchor.
    POINT last = AtCharacter(edit, 12);
    device::input::KeyDown(VK_SHIFT);
    device::input::Tap(last.x, last.y);
    device::input::KeyUp(VK_SHIFT);
    device::input::AdvanceClock(1000); // no double tap with the next one
    Pump();
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{1}, DWORD{12}));

    // Dragging past the left edge reaches the start.
    POINT inside = AtCharacter(edit, 5);
    POINT outside = OnScreen(edit, -30, 5);
    device::input::PointerDown(inside.x, inside.y);
    device::input::PointerMove(outside.x, outside.y);
    device::input::PointerUp(outside.x, outside.y);
    Pump();
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{5}));
}

TEST_F(EditSelection, DoubleTapSelectsAWord) {
    HWND edit = MakeEdit(kBoxStyle, u"Adres Defteri kitabı");
    Pump();
    POINT inWord = AtCharacter(edit, 8);
    device::input::Tap(inWord.x + 1, inWord.y);
    device::input::Tap(inWord.x + 1, inWord.y);
    Pump();
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{6}, DWORD{13}));
}

TEST_F(EditSelection, DumpShowsTheSelectionAndTheTextWithoutAsking) {
    HWND edit = MakeEdit(kBoxStyle, u"kitap");
    SendMessageW(edit, EM_SETSEL, 4, 1);
    Pump();
    test::StartLog();
    std::string dump = device::diag::DumpWindowTree();
    dump.erase(
        std::remove_if(dump.begin(), dump.end(), [](char c) { return c == ' ' || c == '\n'; }),
        dump.end());
    EXPECT_NE(dump.find("\"text\":\"kitap\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"selection\":[1,4]"), std::string::npos) << dump;
    EXPECT_EQ(device::diag::FindWindowByText(u"kitap"), edit);
    // Neither the dump nor the search sends the box a message.
    EXPECT_TRUE(test::ForRole(test::Log(), "edit").empty());
}

} // namespace
