// Check boxes, radio buttons and group boxes: the check each type keeps and how taps, the
// space bar and BM_CLICK move it; what the parent hears; the codes the dialog manager reads;
// an auto radio button's group; and which changes draw during the call.
#include "button_fixture.h"

#include <vector>

namespace {

using test::Button;
using test::ExpectedMsg;
using test::kButtonId;
using test::LParam;
using test::Sent;
using test::WParam;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

WPARAM Command(WORD code, UINT_PTR id = kButtonId) { return MAKEWPARAM(id, code); }

LRESULT CheckOf(HWND hwnd) { return SendMessageW(hwnd, BM_GETCHECK, 0, 0); }

struct TypeCase {
    const char* name;
    DWORD type;
    LRESULT dialogCode;
    LRESULT highest;                 // what BM_SETCHECK(BST_INDETERMINATE) leaves
    std::vector<LRESULT> afterClick; // after a tap, then the space bar, then BM_CLICK
};

const TypeCase kTypes[] = {
    {"push button", BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, 0, {0, 0, 0}},
    {"check box", BS_CHECKBOX, DLGC_BUTTON, 1, {0, 0, 0}},
    {"auto check box", BS_AUTOCHECKBOX, DLGC_BUTTON, 1, {1, 0, 1}},
    {"3-state box", BS_3STATE, DLGC_BUTTON, 2, {0, 0, 0}},
    {"auto 3-state box", BS_AUTO3STATE, DLGC_BUTTON, 2, {1, 2, 0}},
    {"radio button", BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON, 1, {0, 0, 0}},
    {"auto radio button", BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON, 1, {1, 1, 1}},
    {"group box", BS_GROUPBOX, DLGC_STATIC, 0, {0, 0, 0}},
};

TEST_F(Button, EachTypeKeepsTheChecksItCanShowAndTheAutoTypesMoveThemOnAClick) {
    int y = 4;
    for (const TypeCase& c : kTypes) {
        HWND button = MakeButton("button", kChild | WS_TABSTOP | c.type, 10, y);
        y += 26;
        EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), c.dialogCode) << c.name;
        SendMessageW(button, BM_SETCHECK, BST_INDETERMINATE, 0);
        EXPECT_EQ(CheckOf(button), c.highest) << c.name;
        EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & 3, c.highest) << c.name;
        SendMessageW(button, BM_SETCHECK, BST_UNCHECKED, 0);

        std::vector<LRESULT> seen;
        TapOn(button);
        Pump();
        seen.push_back(CheckOf(button));
        device::input::PressKey(VK_SPACE);
        Pump();
        seen.push_back(CheckOf(button));
        SendMessageW(button, BM_CLICK, 0, 0);
        seen.push_back(CheckOf(button));
        EXPECT_EQ(seen, c.afterClick) << c.name;
        DestroyWindow(button);
    }
}

TEST_F(Button, TapOnAnAutoCheckBoxChecksItBeforeTheCaptureGoesAndTheClickIsTold) {
    HWND box = MakeButton("box", kChild | BS_AUTOCHECKBOX);
    test::StartLog();
    TapOn(box);
    Pump();
    EXPECT_TRUE(test::MatchesSequence(
        test::Without(test::WithoutNoise(test::Log()), {WM_PARENTNOTIFY, WM_MOUSEMOVE}),
        {
            {"box", WM_LBUTTONDOWN, test::Posted},
            {"form", WM_KILLFOCUS, Sent},
            {"box", WM_SETFOCUS, Sent},
            {"box", BM_SETSTATE, Sent | WParam, TRUE},
            {"box", WM_LBUTTONUP, test::Posted},
            {"box", BM_SETSTATE, Sent | WParam, FALSE},
            {"box", BM_SETCHECK, Sent | WParam, BST_CHECKED},
            {"box", WM_CAPTURECHANGED, Sent | LParam, 0, 0},
            {"form", WM_COMMAND, Sent | WParam | LParam, Command(BN_CLICKED), Self(box)},
        },
        "tap on an auto check box"));
    EXPECT_EQ(SendMessageW(box, BM_GETSTATE, 0, 0), BST_CHECKED | BST_FOCUS);
}

// r1..r3 and a hidden r4 form one group, r5 starts the next. Clicking r2 unchecks the
// visible auto radio buttons of its own group only; the tab stop follows the check.
TEST_F(Button, AnAutoRadioButtonUnchecksTheRestOfItsGroup) {
    HWND r1 = MakeButton("r1", kChild | WS_GROUP | BS_AUTORADIOBUTTON, 10, 10, 1);
    HWND r2 = MakeButton("r2", kChild | BS_AUTORADIOBUTTON, 10, 36, 2);
    HWND r3 = MakeButton("r3", kChild | BS_AUTORADIOBUTTON, 10, 62, 3);
    HWND r4 = MakeButton("r4", WS_CHILD | BS_AUTORADIOBUTTON, 10, 88, 4);
    HWND r5 = MakeButton("r5", kChild | WS_GROUP | BS_AUTORADIOBUTTON, 10, 114, 5);
    SendMessageW(r4, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(r3, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(r5, BM_SETCHECK, BST_CHECKED, 0);
    test::StartLog();
    SendMessageW(r2, BM_CLICK, 0, 0);
    EXPECT_TRUE(test::MatchesSequence(
        test::Only(test::Log(), {BM_SETCHECK, WM_COMMAND}),
        {
            // The focus comes before the press, so the unchecked radio button says so too.
            {"form", WM_COMMAND, Sent | WParam, Command(BN_CLICKED, 2)},
            {"r2", BM_SETCHECK, Sent | WParam, BST_CHECKED},
            {"r1", BM_SETCHECK, Sent | WParam, BST_UNCHECKED},
            {"r3", BM_SETCHECK, Sent | WParam, BST_UNCHECKED},
            {"form", WM_COMMAND, Sent | WParam, Command(BN_CLICKED, 2)},
        },
        "click on the second radio button"));
    const std::vector<LRESULT> checks{CheckOf(r1), CheckOf(r2), CheckOf(r3), CheckOf(r4),
                                      CheckOf(r5)};
    EXPECT_EQ(checks, (std::vector<LRESULT>{0, 1, 0, 1, 1}));
    EXPECT_NE(GetWindowLongW(r2, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(GetWindowLongW(r3, GWL_STYLE) & WS_TABSTOP, 0);
}

struct FocusCase {
    const char* name;
    DWORD style;
    bool checked;
    std::vector<WORD> codes;
};

TEST_F(Button, TheFocusOnAnUncheckedRadioButtonClicksIt) {
    const FocusCase cases[] = {
        {"auto radio, notify", BS_AUTORADIOBUTTON | BS_NOTIFY, false, {BN_SETFOCUS, BN_CLICKED}},
        {"auto radio, checked", BS_AUTORADIOBUTTON | BS_NOTIFY, true, {BN_SETFOCUS}},
        {"radio", BS_RADIOBUTTON, false, {BN_CLICKED}},
        {"check box", BS_AUTOCHECKBOX | BS_NOTIFY, false, {BN_SETFOCUS}},
    };
    for (const FocusCase& c : cases) {
        HWND button = MakeButton("button", kChild | c.style);
        SendMessageW(button, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        test::StartLog();
        SetFocus(button);
        std::vector<ExpectedMsg> expected{{"button", WM_SETFOCUS, Sent}};
        for (WORD code : c.codes) {
            expected.push_back({"form", WM_COMMAND, Sent | WParam | LParam, Command(code),
                                Self(button)});
        }
        EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_SETFOCUS, WM_COMMAND}),
                                          expected, c.name));
        SetFocus(form);
        DestroyWindow(button);
    }
}

struct DrawCase {
    const char* name;
    DWORD type;
    void (*act)(HWND);
    size_t drawnNow;   // colour questions during the call
    size_t drawnLater; // and once the queue is drained
};

TEST_F(Button, ChangesDrawDuringTheCallExceptAGroupBoxsText) {
    const DrawCase cases[] = {
        {"BM_SETCHECK", BS_AUTOCHECKBOX,
         [](HWND b) { SendMessageW(b, BM_SETCHECK, BST_CHECKED, 0); }, 1, 0},
        {"BM_SETCHECK to what it is", BS_AUTOCHECKBOX,
         [](HWND b) { SendMessageW(b, BM_SETCHECK, BST_UNCHECKED, 0); }, 0, 0},
        {"BM_SETSTATE", BS_AUTORADIOBUTTON, [](HWND b) { SendMessageW(b, BM_SETSTATE, TRUE, 0); },
         1, 0},
        {"SetFocus", BS_3STATE, [](HWND b) { SetFocus(b); }, 1, 0},
        {"WM_SETTEXT", BS_AUTOCHECKBOX, [](HWND b) { SetWindowTextW(b, u"Yeni"); }, 1, 0},
        {"WM_SETFONT, redraw", BS_PUSHBUTTON,
         [](HWND b) {
             SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)),
                          TRUE);
         },
         1, 0},
        {"WM_SETFONT, no redraw", BS_AUTOCHECKBOX,
         [](HWND b) {
             SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)),
                          FALSE);
         },
         0, 0},
        {"group box WM_SETTEXT", BS_GROUPBOX, [](HWND b) { SetWindowTextW(b, u"Yeni"); }, 0, 1},
    };
    for (const DrawCase& c : cases) {
        HWND button = MakeButton("button", kChild | c.type);
        test::StartLog();
        c.act(button);
        auto colours = [] {
            return test::Only(test::ForRole(test::Log(), "form"),
                              {WM_CTLCOLORSTATIC, WM_CTLCOLORBTN})
                .size();
        };
        EXPECT_EQ(colours(), c.drawnNow) << c.name;
        Pump();
        EXPECT_EQ(colours(), c.drawnNow + c.drawnLater) << c.name;
        DestroyWindow(button);
        Pump();
    }
}

// Pixels of a 64x22 button: the 13-pixel box sits at the middle of the left edge (the
// right with BS_LEFTTEXT), sunken, white inside; BS_PUSHLIKE stays down while checked.
TEST_F(Button, TheBoxSitsBesideTheLabelAndPushLikeSinksWhileChecked) {
    struct Look {
        const char* name;
        DWORD style;
        LRESULT check;
        int x, y;
        int colour;
    };
    const Look looks[] = {
        {"box's shadow", BS_AUTOCHECKBOX, 0, 0, 4, COLOR_BTNSHADOW},
        {"box's inside", BS_AUTOCHECKBOX, 0, 2, 6, COLOR_WINDOW},
        {"tick", BS_AUTOCHECKBOX, 1, 4, 10, COLOR_WINDOWTEXT},
        {"left text: background on the left", BS_AUTOCHECKBOX | BS_LEFTTEXT, 0, 0, 4, COLOR_STATIC},
        {"left text: box on the right", BS_AUTOCHECKBOX | BS_LEFTTEXT, 0, 51, 4, COLOR_BTNSHADOW},
        {"push-like, unchecked", BS_AUTOCHECKBOX | BS_PUSHLIKE, 0, 0, 0, COLOR_BTNHIGHLIGHT},
        {"push-like, checked", BS_AUTOCHECKBOX | BS_PUSHLIKE, 1, 0, 0, COLOR_3DDKSHADOW},
        {"radio's dot", BS_AUTORADIOBUTTON, 1, 6, 10, COLOR_WINDOWTEXT},
    };
    for (const Look& look : looks) {
        HWND button = MakeButton("button", kChild | look.style, 10, 10, kButtonId, u"Evet");
        SendMessageW(button, BM_SETCHECK, static_cast<WPARAM>(look.check), 0);
        EXPECT_EQ(PixelOf(button, look.x, look.y), GetSysColor(look.colour)) << look.name;
        DestroyWindow(button);
    }
}

TEST_F(Button, TapsGoThroughAGroupBoxToWhatIsInsideIt) {
    HWND group = CreateWindowExW(0, u"BUTTON", u"Telefon", kChild | BS_GROUPBOX, 4, 4, 200, 80,
                                 form, nullptr, nullptr, nullptr);
    device::spy::SetRole(group, "group");
    HWND box = MakeButton("box", kChild | BS_AUTOCHECKBOX, 20, 30);
    test::StartLog();
    TapOn(box);
    RECT rect;
    GetWindowRect(group, &rect);
    device::input::Tap(rect.right - 10, rect.bottom - 10); // inside the frame, beside the box
    Pump();
    auto downs = test::Only(test::Log(), {WM_LBUTTONDOWN});
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(device::spy::RoleOf(downs[0].hwnd), "box");
    EXPECT_EQ(device::spy::RoleOf(downs[1].hwnd), "form");
    EXPECT_EQ(CheckOf(box), BST_CHECKED);
}

} // namespace
