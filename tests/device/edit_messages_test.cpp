// Messages to an edit box from its program: WM_SETTEXT and what the parent hears of it,
// the clipboard messages and keys, the password style, fonts, dialog codes, and painting
// with the parent's colours.
#include "edit_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

using test::ExpectedMsg;

class EditMessages : public test::EditTest {
protected:
    static std::u16string ClipboardText() {
        std::u16string text;
        if (OpenClipboard(nullptr)) {
            if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
                text = static_cast<const WCHAR*>(LocalLock(memory));
                LocalUnlock(memory);
            }
            CloseClipboard();
        }
        return text;
    }

    static void PutOnClipboard(const std::u16string& text) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HLOCAL memory = LocalAlloc(LMEM_FIXED, (text.size() + 1) * sizeof(WCHAR));
        std::copy_n(text.c_str(), text.size() + 1, static_cast<WCHAR*>(LocalLock(memory)));
        LocalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
    }
};

// The clipboard characters come back to the box as WM_COPY, WM_PASTE, WM_CUT and WM_UNDO,
// which a subclass can filter; none of them where the style forbids what they would do.
TEST_F(EditMessages, ClipboardCharactersArriveAsMessagesTheStyleAllows) {
    struct Case {
        const char* name;
        DWORD style;
        WCHAR character;
        UINT message; // 0: none is sent
        const char16_t* text;
        const char16_t* clipboard;
    };
    const Case cases[] = {
        {"CTRL+C", kBoxStyle, 0x03, WM_COPY, u"kes bunu", u"bunu"},
        {"CTRL+V", kBoxStyle, 0x16, WM_PASTE, u"kes yeni", u"yeni"},
        {"CTRL+X", kBoxStyle, 0x18, WM_CUT, u"kes ", u"bunu"},
        {"CTRL+Z", kBoxStyle, 0x1A, WM_UNDO, u"kes ", u"yeni"},
        {"CTRL+X, read-only", kBoxStyle | ES_READONLY, 0x18, 0, u"kes bunu", u"yeni"},
        {"CTRL+V, read-only", kBoxStyle | ES_READONLY, 0x16, 0, u"kes bunu", u"yeni"},
        {"CTRL+Z, read-only", kBoxStyle | ES_READONLY, 0x1A, 0, u"kes bunu", u"yeni"},
        {"CTRL+C, password", kBoxStyle | ES_PASSWORD, 0x03, 0, u"kes bunu", u"yeni"},
        {"CTRL+X, password", kBoxStyle | ES_PASSWORD, 0x18, 0, u"kes bunu", u"yeni"},
    };
    for (const Case& c : cases) {
        HWND edit = MakeEdit(c.style, u"kes ");
        SendMessageW(edit, EM_SETSEL, 4, 4);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"bunu")); // undoable
        SendMessageW(edit, EM_SETSEL, 4, 8);
        PutOnClipboard(u"yeni");
        test::StartLog();
        SendMessageW(edit, WM_CHAR, c.character, 0);
        std::vector<ExpectedMsg> expected{{"edit", WM_CHAR, test::Sent | test::WParam, c.character}};
        if (c.message != 0) {
            expected.push_back({"edit", c.message, test::Sent | test::WParam | test::LParam, 0, 0});
        }
        EXPECT_TRUE(test::MatchesSequence(
            test::Only(test::Log(), {WM_CHAR, WM_COPY, WM_PASTE, WM_CUT, WM_UNDO}), expected,
            c.name));
        EXPECT_EQ(TextOf(edit), c.text) << c.name;
        EXPECT_EQ(ClipboardText(), c.clipboard) << c.name;
        DestroyWindow(edit);
    }
}

// WM_CUT to a read-only box copies and leaves the text alone.
TEST_F(EditMessages, CutFromAReadOnlyBoxOnlyCopies) {
    HWND edit = MakeEdit(kBoxStyle | ES_READONLY, u"okunur");
    SendMessageW(edit, EM_SETSEL, 0, 2);
    SendMessageW(edit, WM_CUT, 0, 0);
    EXPECT_EQ(TextOf(edit), u"okunur");
    EXPECT_EQ(ClipboardText(), u"ok");
}

TEST_F(EditMessages, SetTextNotifiesUpdateThenChangeAndResetsTheBox) {
    HWND edit = MakeEdit(kBoxStyle, u"old text");
    SetFocus(edit);
    device::input::TypeText(u"!");
    Pump();
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), TRUE);
    test::StartLog();
    EXPECT_EQ(SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Yeni metin")), TRUE);
    EXPECT_TRUE(test::MatchesSequence(Notifications(),
                                      {Command(EN_UPDATE, edit), Command(EN_CHANGE, edit)},
                                      "WM_SETTEXT on a single-line box"));
    EXPECT_EQ(TextOf(edit), u"Yeni metin");
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{0}));
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), FALSE);
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 10);
    // A null text empties the box.
    SendMessageW(edit, WM_SETTEXT, 0, 0);
    EXPECT_EQ(TextOf(edit), u"");
}

TEST_F(EditMessages, TakingTheFocusRepaintsTheLineBeforeNotifyingAndWmCharAnswersOne) {
    HWND edit = MakeEdit(kBoxStyle | ES_NUMBER, u"12");
    Pump();
    test::StartLog();
    SetFocus(edit);
    EXPECT_TRUE(test::MatchesSequence(
        test::Only(test::Log(), {WM_SETFOCUS, WM_CTLCOLOREDIT, WM_COMMAND, WM_PAINT}),
        {
            {"edit", WM_SETFOCUS, test::Sent},
            {"parent", WM_CTLCOLOREDIT, test::Sent | test::LParam, 0, reinterpret_cast<LPARAM>(edit)},
            {"parent", WM_COMMAND, test::Sent | test::WParam, MAKEWPARAM(kEditId, EN_SETFOCUS)},
        },
        "an edit box taking the focus"));
    // Typed, refused by ES_NUMBER, or a control character: WM_CHAR is always answered 1.
    for (WPARAM character : {WPARAM{u'7'}, WPARAM{u'x'}, WPARAM{u'\r'}}) {
        EXPECT_EQ(SendMessageW(edit, WM_CHAR, character, 1), 1) << character;
    }
    EXPECT_EQ(TextOf(edit), u"712");
}

TEST_F(EditMessages, InitialTextArrivesWithoutNotifications) {
    test::StartLog();
    HWND edit = MakeEdit(kBoxStyle, u"başlangıç");
    EXPECT_TRUE(test::MatchesSequence(Notifications(), {}, "creation with a text"));
    EXPECT_EQ(TextOf(edit), u"başlangıç");
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{0}));
    EXPECT_EQ(SendMessageW(edit, EM_GETMODIFY, 0, 0), FALSE);
}

TEST_F(EditMessages, NotificationsKeepGoingToTheParentOfCreation) {
    HWND edit = MakeEdit(kBoxStyle);
    HWND other = MakeWindow("other", WS_POPUP | WS_VISIBLE, 0, 26, 240, 100);
    SetParent(edit, other);
    test::StartLog();
    SetWindowTextW(edit, u"taşındı");
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_COMMAND}),
                                      {Command(EN_UPDATE, edit), Command(EN_CHANGE, edit)},
                                      "after SetParent"));
}

TEST_F(EditMessages, PositionsAndCharactersAgree) {
    const std::u16string text = u"İstanbul 34";
    HWND edit = MakeEdit(kBoxStyle, text);
    int previousX = -1;
    for (int i = 0; i <= static_cast<int>(text.size()); ++i) {
        LRESULT position = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(i), 0);
        int x = GET_X_LPARAM(position);
        EXPECT_GT(x, previousX) << i;
        previousX = x;
        LRESULT found =
            SendMessageW(edit, EM_CHARFROMPOS, 0, MAKELPARAM(x, GET_Y_LPARAM(position) + 3));
        EXPECT_EQ(LOWORD(found), i);
        EXPECT_EQ(HIWORD(found), 0);
    }
    EXPECT_EQ(SendMessageW(edit, EM_POSFROMCHAR, text.size() + 1, 0), -1);
    // Past the end of the text, the nearest character is the end.
    EXPECT_EQ(LOWORD(SendMessageW(edit, EM_CHARFROMPOS, 0, MAKELPARAM(200, 5))), text.size());

    // ES_RIGHT and ES_CENTER move a short text to the right or the middle.
    RECT format;
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    HWND right = MakeEdit(kBoxStyle | ES_RIGHT, u"sağ", 10, 40, 210, 22, "right");
    HWND centre = MakeEdit(kBoxStyle | ES_CENTER, u"orta", 10, 70, 210, 22, "centre");
    int rightEnd = GET_X_LPARAM(SendMessageW(right, EM_POSFROMCHAR, 3, 0));
    EXPECT_GE(rightEnd, format.right - 2);
    EXPECT_LT(rightEnd, format.right);
    int centreStart = GET_X_LPARAM(SendMessageW(centre, EM_POSFROMCHAR, 0, 0));
    int centreEnd = GET_X_LPARAM(SendMessageW(centre, EM_POSFROMCHAR, 4, 0));
    EXPECT_LE(std::abs((centreStart - format.left) - (format.right - centreEnd)), 2);
}

TEST_F(EditMessages, ClipboardRoundTripsThroughKeysAndMessages) {
    HWND first = MakeEdit(kBoxStyle, u"Çiçek Sokağı 5", 10, 10, 210, 22, "first");
    HWND second = MakeEdit(kBoxStyle, u"", 10, 40, 210, 22, "second");
    SetFocus(first);
    SendMessageW(first, EM_SETSEL, 0, 5);
    device::input::PressKey('C', false, true);
    Pump();
    EXPECT_EQ(ClipboardText(), u"Çiçek");
    EXPECT_EQ(TextOf(first), u"Çiçek Sokağı 5");

    SetFocus(second);
    device::input::PressKey('V', false, true);
    device::input::PressKey('V', false, true);
    Pump();
    EXPECT_EQ(TextOf(second), u"ÇiçekÇiçek");

    SetFocus(first);
    SendMessageW(first, EM_SETSEL, 6, 12);
    device::input::PressKey('X', false, true);
    Pump();
    EXPECT_EQ(TextOf(first), u"Çiçek  5");
    EXPECT_EQ(ClipboardText(), u"Sokağı");

    // The messages do the same; SHIFT+DELETE cuts and SHIFT+INSERT pastes.
    SendMessageW(second, EM_SETSEL, 0, -1);
    SendMessageW(second, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(second), u"Sokağı");
    SendMessageW(second, EM_SETSEL, 0, 3);
    SendMessageW(second, WM_CUT, 0, 0);
    EXPECT_EQ(TextOf(second), u"ağı");
    EXPECT_EQ(ClipboardText(), u"Sok");
    SendMessageW(second, EM_SETSEL, 0, 1);
    SendMessageW(second, WM_CLEAR, 0, 0);
    EXPECT_EQ(TextOf(second), u"ğı");
    SetFocus(second);
    SendMessageW(second, EM_SETSEL, 0, 1);
    device::input::PressKey(VK_DELETE, true);
    device::input::PressKey(VK_END);
    device::input::PressKey(VK_INSERT, true);
    Pump();
    EXPECT_EQ(TextOf(second), u"ığ");
}

TEST_F(EditMessages, PasteIntoASingleLineBoxStopsAtTheFirstLineBreak) {
    HWND edit = MakeEdit(kBoxStyle);
    PutOnClipboard(u"birinci satır\r\nikinci satır");
    test::StartLog();
    SendMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(edit), u"birinci satır");
    EXPECT_TRUE(test::MatchesSequence(
        Notifications(), {Command(EN_UPDATE, edit), Command(EN_CHANGE, edit)}, "paste"));
}

TEST_F(EditMessages, PasswordBoxHidesItsTextAndKeepsItOffTheClipboard) {
    HWND edit = MakeEdit(kBoxStyle | ES_PASSWORD, u"gizli");
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), u'*');
    EXPECT_EQ(TextOf(edit), u"gizli");
    PutOnClipboard(u"unchanged");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_COPY, 0, 0);
    SendMessageW(edit, WM_CUT, 0, 0);
    EXPECT_EQ(ClipboardText(), u"unchanged");
    EXPECT_EQ(TextOf(edit), u"gizli");

    // The box shows exactly what a plain box showing "*****" shows.
    HWND stars = MakeEdit(kBoxStyle, u"*****", 10, 40, 210, 22, "stars");
    SendMessageW(edit, EM_SETSEL, 0, 0);
    Pump();
    EXPECT_EQ(PixelsOf(edit), PixelsOf(stars));

    // EM_SETPASSWORDCHAR 0 shows the text and drops ES_PASSWORD.
    SendMessageW(edit, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(GetWindowLongW(edit, GWL_STYLE) & ES_PASSWORD, 0);
    Pump();
    EXPECT_NE(PixelsOf(edit), PixelsOf(stars));
    SendMessageW(edit, EM_SETPASSWORDCHAR, u'#', 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), u'#');
    EXPECT_NE(GetWindowLongW(edit, GWL_STYLE) & ES_PASSWORD, 0);
}

TEST_F(EditMessages, FontDialogCodeAndFormatRectangle) {
    HWND edit = MakeEdit(kBoxStyle);
    EXPECT_EQ(SendMessageW(edit, WM_GETFONT, 0, 0), 0); // the system font
    LOGFONTW big{};
    big.lfHeight = -20;
    HFONT font = CreateFontIndirectW(&big);
    RECT before;
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&before));
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(SendMessageW(edit, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    RECT after;
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&after));
    // The text sits inside the client area, and a single line is one line high.
    RECT client;
    GetClientRect(edit, &client);
    EXPECT_GT(before.left, client.left);
    EXPECT_LT(before.right, client.right);
    EXPECT_GE(before.top, client.top);
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top);

    EXPECT_EQ(SendMessageW(edit, WM_GETDLGCODE, 0, 0),
              DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS);
    // A multi-line box wants every key but leaves RETURN to a dialog unless ES_WANTRETURN.
    HWND multi = MakeEdit(WS_CHILD | WS_VISIBLE | ES_MULTILINE, u"", 10, 40, 100, 60, "multi");
    HWND wantsReturn = MakeEdit(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, u"", 10, 110,
                                100, 60, "wants");
    MSG enter{nullptr, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_NE(SendMessageW(multi, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, 0);
    EXPECT_EQ(SendMessageW(multi, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&enter)) &
                  DLGC_WANTALLKEYS,
              0);
    EXPECT_NE(SendMessageW(wantsReturn, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&enter)) &
                  DLGC_WANTALLKEYS,
              0);
    DestroyWindow(edit);
    DeleteObject(font);
}

// A parent that paints its edit boxes yellow on blue, and one that answers read-only and
// disabled boxes in green.
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kGreen = RGB(0, 160, 0);
HBRUSH g_blueBrush = nullptr;
HBRUSH g_greenBrush = nullptr;

LRESULT CALLBACK ColouringParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLOREDIT) {
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 0));
        SetBkColor(reinterpret_cast<HDC>(wParam), kBlue);
        return reinterpret_cast<LRESULT>(g_blueBrush);
    }
    if (message == WM_CTLCOLORSTATIC) {
        return reinterpret_cast<LRESULT>(g_greenBrush);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(EditMessages, PaintingUsesTheParentsBrushAndAsksForStaticColoursWhenGreyedOut) {
    g_blueBrush = CreateSolidBrush(kBlue);
    g_greenBrush = CreateSolidBrush(kGreen);
    SetWindowLongPtrW(Parent(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ColouringParentProc));
    HWND edit = MakeEdit(kBoxStyle, u"renk");
    test::StartLog();
    Pump();
    auto asked = test::Only(test::Log(), {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC});
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked[0].message, WM_CTLCOLOREDIT);
    EXPECT_EQ(asked[0].lParam, reinterpret_cast<LPARAM>(edit));
    RECT rect;
    GetWindowRect(edit, &rect);
    // Right of the text: the parent's brush; the frame is the device's black border.
    EXPECT_EQ(device::diag::ScreenPixel(rect.right - 4, rect.bottom - 3), 0x0000C8u);
    EXPECT_EQ(device::diag::ScreenPixel(rect.right - 1, rect.bottom - 3), 0x000000u);
    std::vector<uint32_t> pixels = PixelsOf(edit);
    // Glyph edges blend into the background, so any clearly yellow pixel will do.
    bool yellow = std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) {
        return ((p >> 16) & 0xFF) > 160 && ((p >> 8) & 0xFF) > 160 && (p & 0xFF) < 120;
    });
    EXPECT_TRUE(yellow) << "the text takes the colour the parent set";

    for (int greyedOut = 0; greyedOut < 2; ++greyedOut) {
        if (greyedOut == 0) {
            SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
        } else {
            SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
            EnableWindow(edit, FALSE);
        }
        test::StartLog();
        Pump();
        asked = test::Only(test::Log(), {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC});
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked[0].message, WM_CTLCOLORSTATIC)
            << (greyedOut == 0 ? "read-only" : "disabled");
        EXPECT_EQ(device::diag::ScreenPixel(rect.right - 4, rect.bottom - 3), 0x00A000u);
    }
    DestroyWindow(edit);
    DeleteObject(g_blueBrush);
    DeleteObject(g_greenBrush);
}

TEST_F(EditMessages, DefaultColoursAndTheHighlightedSelection) {
    HWND edit = MakeEdit(kBoxStyle, u"MMMM");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    Pump();
    RECT rect;
    GetWindowRect(edit, &rect);
    uint32_t highlight = GetSysColor(COLOR_HIGHLIGHT);
    uint32_t highlightPixel =
        ((highlight & 0xFF) << 16) | (highlight & 0xFF00) | ((highlight >> 16) & 0xFF);
    auto countHighlight = [&](HWND window) {
        std::vector<uint32_t> pixels = PixelsOf(window);
        return std::count(pixels.begin(), pixels.end(), highlightPixel);
    };
    // Unfocused, the selection is hidden; focused, it shows.
    EXPECT_EQ(countHighlight(edit), 0);
    EXPECT_EQ(device::diag::ScreenPixel(rect.right - 4, rect.bottom - 3), 0xFFFFFFu);
    SetFocus(edit);
    Pump();
    EXPECT_GT(countHighlight(edit), 20);
    SetFocus(Parent());
    Pump();
    EXPECT_EQ(countHighlight(edit), 0);
    // ES_NOHIDESEL keeps it when the focus goes.
    HWND keeps = MakeEdit(kBoxStyle | ES_NOHIDESEL, u"MMMM", 10, 40, 210, 22, "keeps");
    SendMessageW(keeps, EM_SETSEL, 0, -1);
    Pump();
    EXPECT_GT(countHighlight(keeps), 20);
}

} // namespace

// A line longer than the box, scrolled to its end and to its middle, shows exactly what the
// whole line drawn in one piece at the same place shows: drawing only the part in view
// leaves nothing out at either edge.
TEST_F(EditMessages, ALongLineScrolledSidewaysShowsWhatTheWholeLineDrawnAtOnceShows) {
    std::u16string text;
    for (int i = 0; i < 12; ++i) {
        text += u"Çağrı Şükrü Öztürk İğdır ";
    }
    HWND edit = MakeEdit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, text, 10, 10, 150, 22);
    RECT format;
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    for (WPARAM caret : {text.size(), text.size() / 2 + 3}) {
        SendMessageW(edit, EM_SETSEL, caret, static_cast<LPARAM>(caret));
        Pump();
        LRESULT origin = SendMessageW(edit, EM_POSFROMCHAR, 0, 0);
        ASSERT_LT(GET_X_LPARAM(origin), -100) << caret;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, 150, 22);
        HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
        RECT all{0, 0, 150, 22};
        FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
        HGDIOBJ previousFont = SelectObject(dc, GetStockObject(SYSTEM_FONT));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkMode(dc, TRANSPARENT);
        IntersectClipRect(dc, format.left, 0, format.right, 22);
        TextOutW(dc, GET_X_LPARAM(origin), GET_Y_LPARAM(origin), text.c_str(),
                 static_cast<int>(text.size()));
        std::vector<uint32_t> expected;
        for (int y = 0; y < 22; ++y) {
            for (int x = 0; x < 150; ++x) {
                COLORREF pixel = GetPixel(dc, x, y);
                expected.push_back(GetRValue(pixel) << 16 | GetGValue(pixel) << 8 |
                                   GetBValue(pixel));
            }
        }
        SelectObject(dc, previousFont);
        SelectObject(dc, previousBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
        EXPECT_EQ(PixelsOf(edit), expected) << caret;
    }
}
