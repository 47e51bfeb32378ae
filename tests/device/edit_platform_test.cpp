// What Win32 programs expect of an edit box beyond typing: CF_TEXT on the clipboard pastes
// converted from the ANSI code page, a double tap does not take the focus, the control
// characters of CTRL+X and CTRL+Z cut and undo, and a multi-line box wants every key.
#include "edit_fixture.h"

#include <cstring>

namespace {

class EditPlatform : public test::EditTest {};

TEST_F(EditPlatform, AnsiTextOnTheClipboardPastesConvertedFromTheCodePage) {
    HWND edit = MakeEdit(kBoxStyle, u"<>");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const char bytes[] = "\xDE"
                         "ehir \xD0\xFD"; // "Şehir Ğı" in Windows-1254
    HLOCAL memory = LocalAlloc(LMEM_FIXED, sizeof(bytes));
    std::memcpy(LocalLock(memory), bytes, sizeof(bytes));
    LocalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    SendMessageW(edit, EM_SETSEL, 1, 1);
    SendMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(edit), u"<Şehir Ğı>");
}

TEST_F(EditPlatform, ADoubleTapSelectsAWordWithoutTakingTheFocus) {
    HWND other = MakeEdit(kBoxStyle, u"", 10, 50, 100, 22, "other");
    HWND edit = MakeEdit(kBoxStyle, u"iki kelime");
    SetFocus(other);
    POINT inWord = AtCharacter(edit, 6);
    ScreenToClient(edit, &inWord);
    SendMessageW(edit, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(inWord.x + 1, inWord.y));
    SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(inWord.x + 1, inWord.y));
    EXPECT_EQ(GetFocus(), other);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{4}, DWORD{10}));
}

TEST_F(EditPlatform, ControlCharactersCutAndUndoAndMultiLineBoxesWantEveryKey) {
    HWND edit = MakeEdit(kBoxStyle, u"kes bunu");
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 4, 8);
    EXPECT_EQ(SendMessageW(edit, WM_CHAR, 0x18, 0), 1); // CTRL+X
    EXPECT_EQ(TextOf(edit), u"kes ");
    SendMessageW(edit, WM_CHAR, 0x1A, 0); // CTRL+Z
    EXPECT_EQ(TextOf(edit), u"kes bunu");

    HWND multi = MakeEdit(kBoxStyle | ES_MULTILINE | ES_WANTRETURN, u"", 10, 60, 200, 80, "multi");
    EXPECT_NE(SendMessageW(multi, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, 0);
    EXPECT_EQ(SendMessageW(edit, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, 0);
}

} // namespace
