// Messages that reach a control before its state exists or after it is gone: a superclass
// that talks to the control from WM_NCCREATE or WM_CREATE before passing them on, and from
// WM_NCDESTROY after it. Nothing may crash, and the edit control answers as the platform does.
#include "support/device_fixture.h"

#include "commctrl.h"

#include <string>
#include <vector>

namespace {

struct Probe {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What a subclass typically sends while a control is being made or torn down.
constexpr Probe kProbes[] = {
    {EM_SETSEL, 0, -1},     {WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 20)},
    {EM_LINESCROLL, 0, 1},  {EM_REPLACESEL, 0, 0},
    {WM_SETFONT, 0, TRUE},  {WM_GETTEXTLENGTH, 0, 0},
    {WM_PAINT, 0, 0},       {WM_KEYDOWN, VK_END, 0},
    {WM_CHAR, 'a', 0},      {WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3)},
    {WM_LBUTTONUP, 0, 0},   {WM_SETFOCUS, 0, 0},
    {WM_KILLFOCUS, 0, 0},   {BM_SETCHECK, BST_CHECKED, 0},
    {BM_CLICK, 0, 0},       {LVM_SETITEMSTATE, static_cast<WPARAM>(-1), 0},
    {LVM_GETITEMRECT, 0, 0}, {HDM_LAYOUT, 0, 0},
    {WM_STYLECHANGED, static_cast<WPARAM>(GWL_STYLE), 0},
};

enum class Stage { BeforeNcCreate, BeforeCreate, AfterNcDestroy };

struct Superclass {
    WNDPROC base = nullptr;
    Stage stage = Stage::BeforeCreate;
    std::vector<LRESULT> answers;
};

Superclass& Current() {
    static Superclass superclass;
    return superclass;
}

void SendProbes(HWND hwnd) {
    for (const Probe& probe : kProbes) {
        LPARAM lParam = probe.lParam;
        std::u16string inserted = u"x";
        if (probe.message == EM_REPLACESEL) {
            lParam = reinterpret_cast<LPARAM>(inserted.c_str());
        }
        Current().answers.push_back(CallWindowProcW(Current().base, hwnd, probe.message, probe.wParam, lParam));
    }
}

LRESULT CALLBACK SuperclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Superclass& self = Current();
    if ((message == WM_NCCREATE && self.stage == Stage::BeforeNcCreate) ||
        (message == WM_CREATE && self.stage == Stage::BeforeCreate)) {
        SendProbes(hwnd);
    }
    LRESULT result = CallWindowProcW(self.base, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY && self.stage == Stage::AfterNcDestroy) {
        SendProbes(hwnd);
    }
    return result;
}

class EarlyMessages : public test::DeviceTest,
                      public ::testing::WithParamInterface<std::tuple<const char16_t*, DWORD, Stage>> {};

TEST_P(EarlyMessages, NoControlCrashesAndTheEditAnswersAsThePlatformDoes) {
    auto [className, style, stage] = GetParam();
    WNDCLASSW base{};
    ASSERT_TRUE(GetClassInfoW(nullptr, className, &base));
    Current() = Superclass{base.lpfnWndProc, stage, {}};
    WNDCLASSW derived = base;
    derived.lpfnWndProc = SuperclassProc;
    derived.lpszClassName = u"EarlyProbe";
    ASSERT_NE(RegisterClassW(&derived), 0);
    HWND parent = MakeWindow("parent", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
    HWND control = CreateWindowExW(0, u"EarlyProbe", u"text", WS_CHILD | WS_VISIBLE | style, 5, 5, 200, 60, parent,
                                   reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    Pump();
    DestroyWindow(control);
    Pump();
    ASSERT_EQ(Current().answers.size(), std::size(kProbes));
    if (std::u16string(className) == u"EDIT" && stage != Stage::AfterNcDestroy) {
        EXPECT_EQ(Current().answers[0], 1) << "EM_SETSEL";
        EXPECT_EQ(Current().answers[1], 1) << "WM_SIZE";
        EXPECT_EQ(Current().answers[2], 1) << "EM_LINESCROLL";
    }
    UnregisterClassW(u"EarlyProbe", nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    EveryControl, EarlyMessages,
    ::testing::Combine(::testing::Values(u"EDIT", u"BUTTON", u"STATIC", WC_LISTVIEWW, WC_HEADERW),
                       ::testing::Values(DWORD{0}, DWORD{ES_MULTILINE | WS_VSCROLL | LVS_REPORT}),
                       ::testing::Values(Stage::BeforeNcCreate, Stage::BeforeCreate, Stage::AfterNcDestroy)));

} // namespace
