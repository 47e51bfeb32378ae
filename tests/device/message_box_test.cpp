// MessageBoxW: its loop's answers, WM_QUIT, the window it shows, the input it holds back
// from the rest of the program, and the activation around it. The box waits in
// GetMessageW, so each test drives it from idle steps.
#include "support/device_fixture.h"
#include "support/message_log.h"

#include <string>
#include <vector>

namespace {

using test::Sent;
using test::WParam;

constexpr UINT_PTR kSaveId = 5;

std::u16string ClassOf(HWND hwnd) {
    WCHAR name[32] = {};
    GetClassNameW(hwnd, name, 32);
    return name;
}

// The box's message: its STATIC child.
HWND TextOfBox(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == u"STATIC") {
            return child;
        }
    }
    return nullptr;
}

HWND ChildOf(HWND parent, int id) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowLongW(child, GWL_ID) == id) {
            return child;
        }
    }
    return nullptr;
}

class MessageBox : public test::DeviceTest {
protected:
    void SetUp() override {
        test::DeviceTest::SetUp();
        form = MakeWindow("form", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
        Pump();
    }

    static void TapCentreOf(HWND hwnd) {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        device::input::Tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    static std::u16string TextOf(HWND hwnd) {
        WCHAR text[64] = {};
        GetWindowTextW(hwnd, text, 64);
        return text;
    }

    static HWND OkButton() { return device::diag::FindWindowByText(u"OK"); }

    HWND form = nullptr;
};

TEST_F(MessageBox, TapOnOkAnswersIdOkAndGivesActivationBack) {
    HWND box = nullptr;
    device::host::WhenIdle([&] {
        box = GetForegroundWindow();
        EXPECT_EQ(ClassOf(box), u"#32770");
        EXPECT_EQ(TextOf(box), u"Adres Defteri");
        EXPECT_EQ(GetFocus(), OkButton());
        EXPECT_EQ(GetParent(OkButton()), box);
        EXPECT_EQ(GetWindowLongW(OkButton(), GWL_ID), IDOK);
        // Without an owner nothing is disabled.
        EXPECT_TRUE(IsWindowEnabled(form));
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        TapCentreOf(OkButton());
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"Kayıt Yapıldı !", u"Adres Defteri", MB_ICONINFORMATION), IDOK);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(GetForegroundWindow(), form);
    EXPECT_FALSE(device::host::IsQuitPending());
}

TEST_F(MessageBox, TheOkButtonTellsTheBoxWhichAnswersTheLoop) {
    device::host::WhenIdle([&] {
        device::spy::SetRole(GetForegroundWindow(), "box");
        device::spy::SetRole(OkButton(), "ok");
        test::StartLog();
        TapCentreOf(OkButton());
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"Kayıt Yapıldı !", u"Adres Defteri", MB_ICONINFORMATION), IDOK);
    test::Records commands = test::Only(test::Log(), {WM_COMMAND});
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(device::spy::RoleOf(commands[0].hwnd), "box");
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(IDOK, BN_CLICKED));
    EXPECT_FALSE(commands[0].posted);
}

TEST_F(MessageBox, ANestedBoxGivesTheInputAndActivationBackToTheOuterOne) {
    HWND outer = nullptr;
    int innerAnswer = 0;
    device::host::WhenIdle([&] {
        outer = GetForegroundWindow();
        // The second step answers the inner box from inside the first.
        innerAnswer = MessageBoxW(nullptr, u"İkinci", u"Adres Defteri", MB_OK);
        EXPECT_EQ(GetForegroundWindow(), outer);
        EXPECT_EQ(GetFocus(), ChildOf(outer, IDOK));
        TapCentreOf(ChildOf(outer, IDOK)); // reaches the outer box again
    });
    device::host::WhenIdle([] { device::input::PressKey(VK_RETURN); });
    EXPECT_EQ(MessageBoxW(nullptr, u"Birinci", u"Adres Defteri", MB_OK), IDOK);
    EXPECT_EQ(innerAnswer, IDOK);
    EXPECT_FALSE(IsWindow(outer));
    EXPECT_EQ(GetForegroundWindow(), form);
    EXPECT_FALSE(device::host::IsQuitPending());
}

TEST_F(MessageBox, ReturnAndEscapeAnswerIdOk) {
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        device::host::WhenIdle([key] { device::input::PressKey(key); });
        EXPECT_EQ(MessageBoxW(nullptr, u"Hata Oluştu !", u"Adres Defteri", MB_ICONERROR), IDOK);
        EXPECT_FALSE(device::host::IsQuitPending());
        Pump(); // the key's release reaches the form, not a box that is gone
    }
}

TEST_F(MessageBox, WmQuitEndsTheLoopAndIsPostedAgain) {
    HWND box = nullptr;
    device::host::WhenIdle([&] {
        box = GetForegroundWindow();
        PostQuitMessage(3);
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"Enaz Adı Olmalıdır !", u"Adres Defteri", MB_ICONWARNING), 0);
    EXPECT_FALSE(IsWindow(box));
    ASSERT_TRUE(device::host::IsQuitPending());
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageBox, NoCaptionMeansError) {
    std::u16string caption;
    device::host::WhenIdle([&] {
        caption = TextOf(GetForegroundWindow());
        device::input::PressKey(VK_RETURN);
    });
    MessageBoxW(nullptr, u"Hata Oluştu !", nullptr, MB_ICONERROR);
    EXPECT_EQ(caption, u"Error");
}

// A form whose button opens a message box, as the address book's "Kaydet" does.
int g_clicks = 0;

LRESULT CALLBACK SavingFormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && wParam == MAKEWPARAM(kSaveId, BN_CLICKED)) {
        ++g_clicks;
        MessageBoxW(nullptr, u"Kayıt Yapıldı !", u"Adres Defteri", MB_ICONINFORMATION);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(MessageBox, TapsOnAButtonBehindTheBoxDoNotReachIt) {
    WNDCLASSW formClass{};
    formClass.lpfnWndProc = SavingFormProc;
    formClass.lpszClassName = u"SavingForm";
    ASSERT_NE(RegisterClassW(&formClass), 0);
    HWND saving = CreateWindowExW(0, u"SavingForm", u"Yeni Adres", WS_POPUP | WS_VISIBLE, 0, 26,
                                  240, 268, nullptr, nullptr, nullptr, nullptr);
    // Low on the form, where the box does not cover it.
    HWND save = CreateWindowExW(0, u"BUTTON", u"Kaydet", 0x50015000, 88, 240, 64, 22, saving,
                                reinterpret_cast<HMENU>(kSaveId), nullptr, nullptr);
    device::spy::SetRole(save, "save button");
    Pump();
    g_clicks = 0;

    // The user taps twice in a row; the first tap opens the box.
    TapCentreOf(save);
    TapCentreOf(save);
    device::host::WhenIdle([&] {
        EXPECT_EQ(g_clicks, 1);
        test::StartLog();
        TapCentreOf(save); // and once more while the box is up
    });
    device::host::WhenIdle([&] {
        EXPECT_TRUE(test::Only(test::ForRole(test::Log(), "save button"),
                               {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SETFOCUS, BM_SETSTATE})
                        .empty());
        TapCentreOf(OkButton());
    });
    Pump();
    EXPECT_EQ(g_clicks, 1);
    EXPECT_EQ(GetForegroundWindow(), saving);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(device::host::IsQuitPending());
}

TEST_F(MessageBox, AnOwnerIsDisabledWhileTheBoxIsUp) {
    HWND child = MakeWindow("child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, form, 1);
    device::host::WhenIdle([&] {
        EXPECT_FALSE(IsWindowEnabled(form));
        EXPECT_EQ(GetWindow(GetForegroundWindow(), GW_OWNER), form);
        device::input::PressKey(VK_RETURN);
    });
    // The owner is the child's top-level window.
    EXPECT_EQ(MessageBoxW(child, u"Hata Oluştu !", u"Adres Defteri", MB_ICONERROR), IDOK);
    EXPECT_TRUE(IsWindowEnabled(form));
    EXPECT_EQ(GetForegroundWindow(), form);
}

TEST_F(MessageBox, ClosingMovesTheFocusToTheBoxSoTheOwnerHearsOfTheBox) {
    HWND box = nullptr;
    HWND ok = nullptr;
    device::host::WhenIdle([&] {
        box = GetForegroundWindow();
        ok = OkButton();
        device::spy::SetRole(box, "box");
        device::spy::SetRole(ok, "ok");
        test::StartLog();
        device::input::PressKey(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxW(form, u"Kayıt Yapıldı !", u"Adres Defteri", MB_ICONINFORMATION), IDOK);
    auto focus = test::Only(test::Log(), {WM_SETFOCUS, WM_KILLFOCUS});
    ASSERT_GE(focus.size(), 4u);
    EXPECT_TRUE(test::MatchesSequence(
        focus,
        {
            {"ok", WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(box)},
            {"box", WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(ok)},
            {"box", WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(form)},
            {"form", WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(box)},
        },
        "the box closing"));
}

TEST_F(MessageBox, BadOwnerOrTypeFailsWithoutABox) {
    SetLastError(0);
    EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(0x1234), u"x", nullptr, MB_OK), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(MessageBoxW(nullptr, u"x", nullptr, 6 /* MB_CANCELTRYCONTINUE */), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetForegroundWindow(), form);
}

TEST_F(MessageBox, YesNoBoxAnswersTheTappedButtonAndIgnoresEscape) {
    device::host::WhenIdle([] { device::input::PressKey(VK_ESCAPE); });
    device::host::WhenIdle([] {
        // Still up: a yes/no box has no cancel answer.
        EXPECT_EQ(ClassOf(GetForegroundWindow()), u"#32770");
        TapCentreOf(device::diag::FindWindowByText(u"No"));
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"Silinsin mi?", u"Adres Defteri", MB_YESNO | MB_ICONQUESTION),
              IDNO);
}

// --- What the box shows --------------------------------------------------------------

TEST_F(MessageBox, TheTreeShowsTheBoxWithItsTextAndButton) {
    std::string dump;
    device::host::WhenIdle([&] {
        dump = device::diag::DumpWindowTree();
        device::input::PressKey(VK_RETURN);
    });
    MessageBoxW(nullptr, u"Kayıt Yapıldı !", u"Adres Defteri", MB_ICONINFORMATION);
    size_t box = dump.find("\"class\": \"#32770\"");
    ASSERT_NE(box, std::string::npos) << dump;
    EXPECT_NE(dump.find("\"text\": \"Adres Defteri\"", box), std::string::npos);
    size_t text = dump.find("\"class\": \"STATIC\"", box);
    size_t ok = dump.find("\"class\": \"BUTTON\"", box);
    ASSERT_NE(text, std::string::npos);
    ASSERT_NE(ok, std::string::npos);
    EXPECT_EQ(dump.find("\"text\": \"Kayıt Yapıldı !\"", text), dump.find("\"text\"", text));
    EXPECT_EQ(dump.find("\"text\": \"OK\"", ok), dump.find("\"text\"", ok));
}

// The box's window and the message's rectangles on the screen.
struct BoxGeometry {
    RECT box{};
    RECT text{};
    RECT ok{};
};

BoxGeometry ShowAndMeasure(const char16_t* text, UINT type) {
    BoxGeometry geometry;
    device::host::WhenIdle([&] {
        HWND box = GetForegroundWindow();
        GetWindowRect(box, &geometry.box);
        GetWindowRect(TextOfBox(box), &geometry.text);
        GetWindowRect(device::diag::FindWindowByText(u"OK"), &geometry.ok);
        device::input::PressKey(VK_RETURN);
    });
    MessageBoxW(nullptr, text, u"Adres Defteri", type);
    return geometry;
}

TEST_F(MessageBox, NearlyScreenWideInTheWorkAreaAndAsTallAsTheText) {
    BoxGeometry small = ShowAndMeasure(u"Kayıt Yapıldı !", MB_ICONINFORMATION);
    BoxGeometry large = ShowAndMeasure(
        u"Adres defterine kayıt yapılamadı. Lütfen kartı kontrol edip bir kez daha deneyiniz; "
        u"sorun sürerse programı kapatıp yeniden açınız.",
        MB_ICONINFORMATION);
    for (const BoxGeometry& g : {small, large}) {
        EXPECT_GE(g.box.right - g.box.left, 220);
        EXPECT_GE(g.box.left, 0);
        EXPECT_LE(g.box.right, 240);
        EXPECT_GE(g.box.top, 26); // below the navigation bar
        EXPECT_LE(g.box.bottom, 320);
        // The text lies right of the icon, above the button, inside the box.
        EXPECT_GE(g.text.left, g.box.left + 32);
        EXPECT_LE(g.text.bottom, g.ok.top);
        EXPECT_LT(g.ok.bottom, g.box.bottom);
    }
    EXPECT_GT(large.text.bottom - large.text.top, 2 * (small.text.bottom - small.text.top));
    EXPECT_GT(large.box.bottom - large.box.top, small.box.bottom - small.box.top);
}

// How many screen pixels inside the icon's square are close to a colour.
int IconPixelsNear(COLORREF wanted) {
    HWND box = GetForegroundWindow();
    RECT text;
    GetWindowRect(TextOfBox(box), &text);
    RECT client;
    GetClientRect(box, &client);
    POINT top{0, 0};
    ClientToScreen(box, &top);
    int width = 0;
    int height = 0;
    std::vector<uint32_t> screen = device::diag::ScreenPixels(&width, &height); // 0x00RRGGBB
    int count = 0;
    // The icon sits left of the text, with the padding between them.
    for (int y = top.y; y < top.y + client.bottom; ++y) {
        for (int x = text.left - 8 - 32; x < text.left - 8; ++x) {
            uint32_t pixel = screen[static_cast<size_t>(y * width + x)];
            int r = static_cast<int>((pixel >> 16) & 0xFF);
            int g = static_cast<int>((pixel >> 8) & 0xFF);
            int b = static_cast<int>(pixel & 0xFF);
            if (std::abs(r - GetRValue(wanted)) < 40 && std::abs(g - GetGValue(wanted)) < 40 &&
                std::abs(b - GetBValue(wanted)) < 40) {
                ++count;
            }
        }
    }
    return count;
}

struct IconCase {
    const char* name;
    UINT flag;
    COLORREF colour; // the icon's main colour
};

class MessageBoxIcon : public MessageBox, public ::testing::WithParamInterface<IconCase> {};

TEST_P(MessageBoxIcon, IsDrawnInItsColour) {
    int pixels = 0;
    int redPixels = 0;
    device::host::WhenIdle([&] {
        pixels = IconPixelsNear(GetParam().colour);
        redPixels = IconPixelsNear(RGB(220, 30, 30));
        device::input::PressKey(VK_RETURN);
    });
    MessageBoxW(nullptr, u"Adres", u"Adres Defteri", GetParam().flag);
    EXPECT_GT(pixels, 200);
    if (GetParam().flag != MB_ICONERROR) {
        EXPECT_EQ(redPixels, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Flags, MessageBoxIcon,
                         ::testing::Values(IconCase{"Error", MB_ICONERROR, RGB(220, 30, 30)},
                                           IconCase{"Warning", MB_ICONWARNING, RGB(255, 210, 0)},
                                           IconCase{"Information", MB_ICONINFORMATION,
                                                    RGB(30, 80, 200)}),
                         [](const ::testing::TestParamInfo<IconCase>& caseInfo) {
                             return std::string(caseInfo.param.name);
                         });

TEST_F(MessageBox, TheCaptionStripShowsTheCaption) {
    int captionPixels = 0;
    int lightPixels = 0;
    device::host::WhenIdle([&] {
        HWND box = GetForegroundWindow();
        POINT top{0, 0};
        ClientToScreen(box, &top);
        int width = 0;
        int height = 0;
        std::vector<uint32_t> screen = device::diag::ScreenPixels(&width, &height);
        for (int y = top.y; y < top.y + 20; ++y) {
            for (int x = top.x; x < top.x + 200; ++x) {
                uint32_t pixel = screen[static_cast<size_t>(y * width + x)];
                captionPixels += pixel == 0x000080 ? 1 : 0;   // COLOR_ACTIVECAPTION
                lightPixels += (pixel & 0xFF) > 0xC0 ? 1 : 0; // the caption's white text
            }
        }
        device::input::PressKey(VK_RETURN);
    });
    MessageBoxW(nullptr, u"Adres", u"Adres Defteri", MB_OK);
    EXPECT_GT(captionPixels, 2000);
    EXPECT_GT(lightPixels, 50);
}

} // namespace
