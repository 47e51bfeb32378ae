// Typing into an edit box: what reaches the text and what the parent hears, with the
// styles that filter or convert characters and the limits that refuse them.
#include "edit_fixture.h"

namespace {

using test::ExpectedMsg;

class EditTyping : public test::EditTest {
protected:
    // A focused edit box, with the log started.
    HWND FocusedEdit(DWORD style, const std::u16string& text = u"", int cx = 210) {
        HWND edit = MakeEdit(style, text, 10, 10, cx);
        SetFocus(edit);
        Pump();
        test::StartLog();
        return edit;
    }
};

TEST_F(EditTyping, NumberBoxDropsALetterSilentlyAndTakesADigit) {
    HWND edit = FocusedEdit(kBoxStyle | ES_NUMBER);
    device::input::TypeText(u"a");
    Pump();
    EXPECT_EQ(TextOf(edit), u"");
    EXPECT_TRUE(test::MatchesSequence(Notifications(), {}, "'a' into ES_NUMBER"));

    test::StartLog();
    device::input::TypeText(u"5");
    Pump();
    EXPECT_EQ(TextOf(edit), u"5");
    EXPECT_TRUE(test::MatchesSequence(Notifications(),
                                      {Command(EN_UPDATE, edit), Command(EN_CHANGE, edit)},
                                      "'5' into ES_NUMBER"));
    // Control characters still work in a number box.
    device::input::PressKey(VK_BACK);
    Pump();
    EXPECT_EQ(TextOf(edit), u"");
}

TEST_F(EditTyping, NumberBoxTakesEveryDigitAndRefusesTheCharactersAroundThem) {
    HWND edit = FocusedEdit(kBoxStyle | ES_NUMBER);
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
        SendMessageW(edit, WM_CHAR, digit, 1);
    }
    EXPECT_EQ(TextOf(edit), u"0123456789");
    test::StartLog();
    // The neighbours of '0' and '9', letters, signs and digits of other scripts.
    for (char16_t refused : std::u16string(u"/:@`aZ -+.,\u015F\u0130\u0663\uFF10\u00B2\u00BD")) {
        SendMessageW(edit, WM_CHAR, refused, 1);
        EXPECT_EQ(TextOf(edit), u"0123456789") << static_cast<unsigned>(refused);
    }
    EXPECT_TRUE(test::MatchesSequence(Notifications(), {}, "refused characters"));
}

TEST_F(EditTyping, EachCharacterReplacesTheSelectionAndIsReportedOnce) {
    HWND edit = FocusedEdit(kBoxStyle, u"abc");
    SendMessageW(edit, EM_SETSEL, 1, 2);
    test::StartLog();
    device::input::TypeText(u"XY");
    Pump();
    EXPECT_EQ(TextOf(edit), u"aXYc");
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{3}, DWORD{3}));
    EXPECT_TRUE(test::MatchesSequence(Notifications(),
                                      {Command(EN_UPDATE, edit), Command(EN_CHANGE, edit),
                                       Command(EN_UPDATE, edit), Command(EN_CHANGE, edit)},
                                      "typing two characters"));
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), TRUE);
}

TEST_F(EditTyping, BackAndDeleteRemoveTheSelectionOrOneCharacter) {
    HWND edit = FocusedEdit(kBoxStyle, u"abcdef");
    // BACK at the very start changes nothing and tells nobody.
    device::input::PressKey(VK_BACK);
    Pump();
    EXPECT_EQ(TextOf(edit), u"abcdef");
    EXPECT_TRUE(test::MatchesSequence(Notifications(), {}, "BACK at 0"));

    SendMessageW(edit, EM_SETSEL, 3, 3);
    device::input::PressKey(VK_BACK);
    Pump();
    EXPECT_EQ(TextOf(edit), u"abdef");
    device::input::PressKey(VK_DELETE);
    Pump();
    EXPECT_EQ(TextOf(edit), u"abef");
    SendMessageW(edit, EM_SETSEL, 3, 1);
    test::StartLog();
    device::input::PressKey(VK_DELETE);
    Pump();
    EXPECT_EQ(TextOf(edit), u"af");
    EXPECT_TRUE(test::MatchesSequence(Notifications(),
                                      {Command(EN_UPDATE, edit), Command(EN_CHANGE, edit)},
                                      "DELETE of a selection"));
    SendMessageW(edit, EM_SETSEL, 2, 2);
    test::StartLog();
    device::input::PressKey(VK_DELETE); // at the end: nothing
    Pump();
    EXPECT_TRUE(test::MatchesSequence(Notifications(), {}, "DELETE at the end"));
}

TEST_F(EditTyping, SingleLineBoxIgnoresReturnTabAndLineFeed) {
    HWND edit = FocusedEdit(kBoxStyle, u"x");
    device::input::PressKey(VK_RETURN);
    device::input::PressKey(VK_TAB);
    device::input::TypeCharacter(u'\n');
    Pump();
    EXPECT_EQ(TextOf(edit), u"x");
    EXPECT_TRUE(test::MatchesSequence(Notifications(), {}, "RETURN, TAB, LF"));
}

TEST_F(EditTyping, TurkishTextReachesTheBufferUnchanged) {
    HWND edit = FocusedEdit(kBoxStyle);
    const std::u16string turkish = u"çğıİöşü ÇĞIÖŞÜ Iğdır";
    device::input::TypeText(turkish);
    Pump();
    EXPECT_EQ(TextOf(edit), turkish);
    EXPECT_EQ(Notifications().size(), 2 * turkish.size());
}

// Per character, with Unicode's default mapping: the dotless ı goes up to I, İ comes down to i.
TEST_F(EditTyping, CaseStylesConvertTypedLettersOneByOne) {
    HWND upper = FocusedEdit(kBoxStyle | ES_UPPERCASE);
    device::input::TypeText(u"çğıiöşü ab1");
    Pump();
    EXPECT_EQ(TextOf(upper), u"ÇĞIIÖŞÜ AB1");

    HWND lower = FocusedEdit(kBoxStyle | ES_LOWERCASE);
    device::input::TypeText(u"ÇĞIİÖŞÜ AB1");
    Pump();
    EXPECT_EQ(TextOf(lower), u"çğiiöşü ab1");
    // Pasted and replaced text is converted as well.
    SendMessageW(lower, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u" ÀΣЖ"));
    EXPECT_EQ(TextOf(lower), u"çğiiöşü ab1 àσж");
}

TEST_F(EditTyping, DefaultLimitAndEmLimitText) {
    HWND edit = FocusedEdit(kBoxStyle);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 30000);
    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);

    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    test::StartLog();
    device::input::TypeText(u"abcd");
    Pump();
    EXPECT_EQ(TextOf(edit), u"abc");
    // The fourth character is refused with EN_MAXTEXT and changes nothing.
    std::vector<ExpectedMsg> expected;
    for (int i = 0; i < 3; ++i) {
        expected.push_back(Command(EN_UPDATE, edit));
        expected.push_back(Command(EN_CHANGE, edit));
    }
    expected.push_back(Command(EN_MAXTEXT, edit));
    EXPECT_TRUE(test::MatchesSequence(Notifications(), expected, "typing past a limit of 3"));

    // Replacing a selection may use the room it frees; the excess is cut.
    SendMessageW(edit, EM_SETSEL, 1, 2);
    test::StartLog();
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"XYZ"));
    EXPECT_EQ(TextOf(edit), u"aXc");
    EXPECT_TRUE(test::MatchesSequence(
        Notifications(),
        {Command(EN_MAXTEXT, edit), Command(EN_UPDATE, edit), Command(EN_CHANGE, edit)},
        "EM_REPLACESEL past the limit"));

    // WM_SETTEXT is not held to the limit.
    SetWindowTextW(edit, u"longer than three");
    EXPECT_EQ(TextOf(edit), u"longer than three");
}

TEST_F(EditTyping, WithoutAutoHScrollCharactersThatDoNotFitAreRefused) {
    HWND edit = FocusedEdit(WS_CHILD | WS_VISIBLE | WS_BORDER, u"", 40);
    device::input::TypeText(u"mmmmmmmmmmmm");
    Pump();
    std::u16string text = TextOf(edit);
    EXPECT_GT(text.size(), 0u);
    EXPECT_LT(text.size(), 12u);
    auto notifications = Notifications();
    ASSERT_FALSE(notifications.empty());
    EXPECT_EQ(HIWORD(notifications.back().wParam), EN_MAXTEXT);
    // What was taken still fits: nothing scrolled out of view.
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(EditTyping, AutoHScrollKeepsTheCaretInView) {
    HWND edit = FocusedEdit(kBoxStyle, u"", 60);
    device::input::TypeText(u"a fairly long line of text");
    Pump();
    EXPECT_EQ(TextOf(edit), u"a fairly long line of text");
    EXPECT_GT(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    RECT client;
    GetClientRect(edit, &client);
    POINT caret;
    ASSERT_TRUE(GetCaretPos(&caret));
    EXPECT_GE(caret.x, 0);
    EXPECT_LT(caret.x, client.right);
    // HOME brings the start back.
    device::input::PressKey(VK_HOME);
    Pump();
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    // Scrolled to the end in a box widened until the text fits, the text shows from its
    // start.
    device::input::PressKey(VK_END);
    Pump();
    ASSERT_GT(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    MoveWindow(edit, 10, 10, 220, 22, TRUE);
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(EditTyping, ReadOnlyBoxTakesNoTypingButSelectsAndCopies) {
    HWND edit = FocusedEdit(kBoxStyle | ES_READONLY, u"fixed");
    device::input::TypeText(u"x");
    device::input::PressKey(VK_BACK);
    device::input::PressKey(VK_DELETE);
    device::input::PressKey('V', false, true);
    Pump();
    EXPECT_EQ(TextOf(edit), u"fixed");
    EXPECT_TRUE(test::MatchesSequence(Notifications(), {}, "typing into a read-only box"));
    device::input::PressKey('A', false, true);
    device::input::PressKey('C', false, true);
    Pump();
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{5}));
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto* copied = static_cast<const WCHAR*>(LocalLock(GetClipboardData(CF_UNICODETEXT)));
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(std::u16string(copied), u"fixed");
    CloseClipboard();

    EXPECT_EQ(SendMessageW(edit, EM_SETREADONLY, FALSE, 0), TRUE);
    EXPECT_EQ(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY, 0);
    device::input::TypeText(u"!");
    Pump();
    EXPECT_EQ(TextOf(edit), u"!");
}

TEST_F(EditTyping, UndoTakesBackTheTypingAsOneStepAndRedoesOnTheSecond) {
    HWND edit = FocusedEdit(kBoxStyle, u"base ");
    SendMessageW(edit, EM_SETSEL, 5, 5);
    EXPECT_EQ(SendMessageW(edit, EM_CANUNDO, 0, 0), FALSE);
    device::input::TypeText(u"word");
    Pump();
    EXPECT_EQ(SendMessageW(edit, EM_CANUNDO, 0, 0), TRUE);
    device::input::PressKey('Z', false, true);
    Pump();
    EXPECT_EQ(TextOf(edit), u"base ");
    EXPECT_EQ(SendMessageW(edit, EM_UNDO, 0, 0), TRUE);
    EXPECT_EQ(TextOf(edit), u"base word");
    // WM_SETTEXT cannot be undone and empties the undo buffer.
    SetWindowTextW(edit, u"new");
    EXPECT_EQ(SendMessageW(edit, EM_CANUNDO, 0, 0), FALSE);
    // EM_REPLACESEL without "can undo" empties it too.
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"1"));
    EXPECT_EQ(SendMessageW(edit, EM_CANUNDO, 0, 0), TRUE);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"2"));
    EXPECT_EQ(SendMessageW(edit, EM_CANUNDO, 0, 0), FALSE);
}

// The parent may destroy the box while it hears a change; the box stops there.
LRESULT CALLBACK DestroyingParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_UPDATE) {
        DestroyWindow(reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(EditTyping, BoxDestroyedByItsParentDuringANotificationStopsCleanly) {
    SetWindowLongPtrW(Parent(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DestroyingParentProc));
    HWND edit = FocusedEdit(kBoxStyle);
    device::input::TypeText(u"a");
    Pump();
    EXPECT_FALSE(IsWindow(edit));
    // The focus leaves the box as it goes; EN_CHANGE never comes.
    EXPECT_TRUE(test::MatchesSequence(Notifications(),
                                      {Command(EN_UPDATE, edit), Command(EN_KILLFOCUS, edit)},
                                      "destroyed on EN_UPDATE"));
}

} // namespace
