// The desktop window end to end: a program runs on a private X server and is driven with
// real X input through xdotool; its log, its saved file, its exit status and the pixels of
// its window show what the desktop's input became and what the window shows.
#include "display/png_image.h"
#include "x_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using desktop_test::ReadFile;

constexpr int kWaitMs = 10000;
constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines,
                                           const std::vector<std::string>& prefixes) {
    std::vector<std::string> picked;
    for (const std::string& line : lines) {
        for (const std::string& prefix : prefixes) {
            if (line.rfind(prefix, 0) == 0) {
                picked.push_back(line);
                break;
            }
        }
    }
    return picked;
}

std::string Hex4(unsigned unit) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%04X", unit);
    return text;
}

// The three lines a plain key press leaves in the log: down, its character if any, up.
void AddPress(std::vector<std::string>* lines, unsigned virtualKey, int character = -1) {
    char text[64];
    std::snprintf(text, sizeof(text), "keydown 0x%02X shift=0 control=0 menu=0", virtualKey);
    lines->push_back(text);
    if (character >= 0) {
        lines->push_back("char " + Hex4(static_cast<unsigned>(character)));
    }
    std::snprintf(text, sizeof(text), "keyup 0x%02X shift=0 control=0 menu=0", virtualKey);
    lines->push_back(text);
}

// The leak checker's options for the program, with the suppressions of SDL's libraries.
std::string LeakCheckOptions() {
    const char* inherited = std::getenv("LSAN_OPTIONS");
    std::string options =
        inherited != nullptr && *inherited != 0 ? std::string(inherited) + ":" : "";
    return options + "print_suppressions=0:suppressions=" + DESKTOP_LSAN_SUPPRESSIONS;
}

class DesktopWindow : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        if (!m_server.Start(&error)) {
            GTEST_SKIP() << "Xvfb cannot be started here, so the desktop window cannot be shown: "
                         << error;
        }
        setenv("DISPLAY", m_server.Display().c_str(), 1);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::string(DESKTOP_WORK_DIR) + "/" + info->name();
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }

    // Starts the program at `scale` and waits until its window is on the screen.
    void StartProgram(int scale, const std::string& platform = "", const std::string& screen = "") {
        m_scale = scale;
        std::string lsan = LeakCheckOptions();
        std::map<std::string, std::string> environment{
            {"DISPLAY", m_server.Display()}, {"WAYLAND_DISPLAY", ""},
            {"DEVICE_SCRIPT", ""},           {"DEVICE_SCALE", std::to_string(scale)},
            {"DEVICE_PLATFORM", platform},   {"DEVICE_SCREEN", screen},
            {"LSAN_OPTIONS", lsan}};
        ASSERT_TRUE(m_program.Start(DESKTOP_PROGRAM_PATH, m_dir, environment, Path("stderr.txt")));
        bool ok = false;
        std::string found = desktop_test::Xdotool(
            "search --sync --onlyvisible --pid " + std::to_string(m_program.Pid()), &ok);
        ASSERT_TRUE(ok) << "the program's window did not appear: " << found
                        << ReadFile(Path("stderr.txt"));
        m_window = std::stoul(found);
        m_windowId = std::to_string(m_window);
        ASSERT_TRUE(WaitForLog("window save")) << ReadFile(Path("messages.log"));
    }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    std::vector<std::string> Log() const { return Lines(ReadFile(Path("messages.log"))); }

    // Waits until the log holds `count` lines starting with `prefix`.
    bool WaitForLog(const std::string& prefix, size_t count = 1) const {
        long long deadline = desktop_test::MonotonicMs() + kWaitMs;
        while (desktop_test::MonotonicMs() < deadline) {
            if (LinesStartingWith(Log(), {prefix}).size() >= count) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    void Xdo(const std::string& arguments) {
        bool ok = false;
        std::string output = desktop_test::Xdotool(arguments, &ok);
        ASSERT_TRUE(ok) << "xdotool " << arguments << ": " << output;
    }

    Rect LoggedWindow(const std::string& name) const {
        for (const std::string& line : LinesStartingWith(Log(), {"window " + name + " "})) {
            std::istringstream fields(line.substr(8 + name.size()));
            Rect rect;
            fields >> rect.left >> rect.top >> rect.right >> rect.bottom;
            return rect;
        }
        return Rect{};
    }

    // The desktop pixel, relative to the window, at the centre of device pixel (x, y).
    std::string DesktopPoint(int x, int y, int left = 0, int top = 0) const {
        return std::to_string(left + x * m_scale + m_scale / 2) + " " +
               std::to_string(top + y * m_scale + m_scale / 2);
    }

    void TapDevicePoint(int x, int y) {
        Xdo("mousemove --sync --window " + m_windowId + " " + DesktopPoint(x, y) + " click 1");
    }

    // Waits until the window shows `screen` at `scale` from (left, top), black around it.
    ::testing::AssertionResult WindowShows(const device::gdi::Surface& screen, int scale, int left,
                                           int top) {
        std::string mismatch;
        desktop_test::WindowPicture picture;
        long long deadline = desktop_test::MonotonicMs() + kWaitMs;
        do {
            std::string error;
            if (!desktop_test::GrabWindow(m_server.Display(), m_window, &picture, &error)) {
                return ::testing::AssertionFailure() << error;
            }
            mismatch = Mismatch(picture, screen, scale, left, top);
            if (mismatch.empty()) {
                return ::testing::AssertionSuccess();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } while (desktop_test::MonotonicMs() < deadline);
        device::gdi::Surface shown;
        shown.Resize(picture.width, picture.height);
        shown.pixels = picture.pixels;
        device::WritePng(shown, Path("window.png"), nullptr);
        return ::testing::AssertionFailure()
               << mismatch << " (the window is in " << Path("window.png") << ")";
    }

    static std::string Mismatch(const desktop_test::WindowPicture& picture,
                                const device::gdi::Surface& screen, int scale, int left, int top) {
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                int deviceX = (x - left) / scale;
                int deviceY = (y - top) / scale;
                bool inside =
                    x >= left && y >= top && deviceX < screen.width && deviceY < screen.height;
                uint32_t expected = inside ? screen.At(deviceX, deviceY) : 0;
                uint32_t actual = picture.pixels[static_cast<size_t>(y) * picture.width + x];
                if (actual != expected) {
                    std::ostringstream text;
                    text << std::hex << "window pixel (" << std::dec << x << ", " << y << ") is 0x"
                         << std::hex << actual << ", not 0x" << expected;
                    return text.str();
                }
            }
        }
        return "";
    }

    device::gdi::Surface TakeScreenshot(size_t count) {
        Xdo("key F5");
        EXPECT_TRUE(WaitForLog("screenshot", count)) << ReadFile(Path("messages.log"));
        device::gdi::Surface screen;
        std::string error;
        EXPECT_TRUE(device::ReadPng(Path("screen.png"), &screen, &error)) << error;
        return screen;
    }

    // Closes the window as a window manager would; the program must end on WM_QUIT with
    // status 0 and nothing on stderr (leak reports included).
    void CloseAndExpectCleanExit() {
        std::string error;
        ASSERT_TRUE(desktop_test::RequestClose(m_server.Display(), m_window, &error)) << error;
        int status = m_program.WaitForExit(kWaitMs);
        EXPECT_EQ(status, 0) << ReadFile(Path("stderr.txt"));
        std::vector<std::string> log = Log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back(), "quit 0");
        EXPECT_EQ(ReadFile(Path("stderr.txt")), "");
    }

    desktop_test::XvfbServer m_server;
    desktop_test::ChildProgram m_program;
    std::string m_dir;
    unsigned long m_window = 0;
    std::string m_windowId;
    int m_scale = 2;
};

TEST_F(DesktopWindow, ATapOnTheButtonSavesTurkishTextTypedOnATurkishKeyboard) {
    // On a Turkish Q keyboard every letter has its own key, set up before the program reads
    // the keymap. (xdotool would type letters a keyboard lacks by rebinding a spare key for
    // each, which races with the program reading the keymap.)
    std::string error;
    ASSERT_TRUE(desktop_test::UseTurkishLetterKeys(m_server.Display(), &error)) << error;
    StartProgram(2);
    const std::string typed = "Çağrı İşgüzar: öçü ÖŞÜĞ!";
    Xdo("windowfocus --sync " + m_windowId);
    Xdo("type --delay 30 '" + typed + "'");
    Rect save = LoggedWindow("save");
    int centreX = (save.left + save.right) / 2;
    int centreY = (save.top + save.bottom) / 2;
    TapDevicePoint(centreX, centreY);
    ASSERT_TRUE(WaitForLog("saved")) << ReadFile(Path("messages.log"));

    EXPECT_EQ(ReadFile(Path("saved.txt")), typed);
    std::vector<std::string> log = Log();
    EXPECT_EQ(log.front(), "platform PocketPC");
    // Each character arrives once, as its own UTF-16 unit: no second WM_CHAR from the
    // key-down's translation, whatever the keyboard layout had to do to type it.
    std::vector<std::string> expectedChars;
    for (char16_t unit : u"Çağrı İşgüzar: öçü ÖŞÜĞ!") {
        if (unit != 0) {
            expectedChars.push_back("char " + Hex4(unit));
        }
    }
    EXPECT_EQ(LinesStartingWith(log, {"char "}), expectedChars);
    // The keys under the letters arrive too: Latin letters as themselves, the Turkish ones
    // as the keys at their places on a US keyboard (ı on I, ç on the period key), SHIFT
    // held for the capitals.
    for (const char* line :
         {"keydown 0x41 shift=0 control=0 menu=0", "keydown 0x5A shift=0 control=0 menu=0",
          "keydown 0x49 shift=0 control=0 menu=0", "keydown 0xBE shift=0 control=0 menu=0",
          "keydown 0xBE shift=1 control=0 menu=0"}) {
        EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
    }
    // The tap lands on the device pixel that was clicked.
    std::string at = std::to_string(centreX) + " " + std::to_string(centreY);
    EXPECT_EQ(LinesStartingWith(log, {"stylus down", "stylus up"}),
              (std::vector<std::string>{"stylus down " + at, "stylus up " + at}));
    CloseAndExpectCleanExit();
}

TEST_F(DesktopWindow, KeysBecomeVirtualKeysAndCarryTheirControlCharacters) {
    StartProgram(2);
    Xdo("windowfocus --sync " + m_windowId);
    Xdo("key --delay 20 Return BackSpace Tab Escape ctrl+b Left Up Right Down Home End Prior Next "
        "Delete F2 "
        "shift+x alt+x");
    // Both shift keys held, then released one after the other: the device's one SHIFT stays
    // down until the last of them is up.
    Xdo("keydown Shift_L keydown Shift_R keyup Shift_L keyup Shift_R key F12");
    ASSERT_TRUE(WaitForLog("keyup 0x7B")) << ReadFile(Path("messages.log"));

    std::vector<std::string> expected;
    AddPress(&expected, 0x0D, '\r');
    AddPress(&expected, 0x08, '\b');
    AddPress(&expected, 0x09, '\t');
    AddPress(&expected, 0x1B, 0x1B);
    expected.insert(expected.end(),
                    {"keydown 0x11 shift=0 control=1 menu=0",
                     "keydown 0x42 shift=0 control=1 menu=0", "char 0x0002",
                     "keyup 0x11 shift=0 control=0 menu=0", "keyup 0x42 shift=0 control=0 menu=0"});
    for (unsigned key : {0x25u, 0x26u, 0x27u, 0x28u, 0x24u, 0x23u, 0x21u, 0x22u, 0x2Eu, 0x71u}) {
        AddPress(&expected, key);
    }
    expected.insert(expected.end(),
                    {"keydown 0x10 shift=1 control=0 menu=0",
                     "keydown 0x58 shift=1 control=0 menu=0", "char 0x0058",
                     "keyup 0x10 shift=0 control=0 menu=0", "keyup 0x58 shift=0 control=0 menu=0"});
    // ALT with a letter is a shortcut: system keys and WM_SYSCHAR, no typed character.
    expected.insert(expected.end(), {"syskeydown 0x12 shift=0 control=0 menu=1",
                                     "syskeydown 0x58 shift=0 control=0 menu=1", "syschar 0x0078",
                                     "syskeyup 0x12 shift=0 control=0 menu=0",
                                     "keyup 0x58 shift=0 control=0 menu=0"});
    expected.insert(expected.end(), {"keydown 0x10 shift=1 control=0 menu=0",
                                     "keydown 0x10 shift=1 control=0 menu=0",
                                     "keyup 0x10 shift=0 control=0 menu=0"});
    AddPress(&expected, 0x7B);
    EXPECT_EQ(LinesStartingWith(Log(), {"key", "syskey", "char", "syschar"}), expected);
    CloseAndExpectCleanExit();
}

TEST_F(DesktopWindow, TheScreenIsShownScaledAndAResizedWindowTakesTheLargestScaleThatFits) {
    StartProgram(2);
    Xdo("windowfocus --sync " + m_windowId);
    Xdo("type --delay 30 'Şöyle'");
    device::gdi::Surface screen = TakeScreenshot(1);
    ASSERT_EQ(screen.width, kScreenWidth);
    EXPECT_TRUE(WindowShows(screen, 2, 0, 0));

    // 800 x 700 holds the screen twice, not three times: it sits centred with black around.
    Xdo("windowsize --sync " + m_windowId + " 800 700");
    const int left = (800 - 2 * kScreenWidth) / 2;
    const int top = (700 - 2 * kScreenHeight) / 2;
    Xdo("mousemove --sync --window " + m_windowId + " " + DesktopPoint(30, 200, left, top) +
        " mousedown 1");
    Xdo("mousemove --sync --window " + m_windowId + " " + DesktopPoint(60, 250, left, top) +
        " mouseup 1");
    // A drag that leaves the screen keeps the stylus on its edge.
    Xdo("mousemove --sync --window " + m_windowId + " " + DesktopPoint(100, 300, left, top) +
        " mousedown 1");
    Xdo("mousemove --sync --window " + m_windowId + " 790 690 mouseup 1");
    // A press on the black around the screen touches nothing.
    Xdo("mousemove --sync --window " + m_windowId + " 5 5 click 1");
    Xdo("key F12");
    ASSERT_TRUE(WaitForLog("keyup 0x7B")) << ReadFile(Path("messages.log"));
    EXPECT_EQ(LinesStartingWith(Log(), {"stylus"}),
              (std::vector<std::string>{"stylus down 30 200", "stylus move 60 250",
                                        "stylus up 60 250", "stylus down 100 300",
                                        "stylus move 239 319", "stylus up 239 319"}));
    screen = TakeScreenshot(2);
    EXPECT_TRUE(WindowShows(screen, 2, left, top));

    // 760 x 1000 holds it three times (moved first, so that all of it is on the X screen).
    Xdo("windowmove --sync " + m_windowId + " 0 0");
    Xdo("windowsize --sync " + m_windowId + " 760 1000");
    EXPECT_TRUE(
        WindowShows(screen, 3, (760 - 3 * kScreenWidth) / 2, (1000 - 3 * kScreenHeight) / 2));
    CloseAndExpectCleanExit();
}

TEST_F(DesktopWindow, ClosingTheWindowEndsTheProgramOnWmQuitAndTheScaleAndPlatformAreThoseSet) {
    StartProgram(3, "SmartPhone");
    Xdo("windowfocus --sync " + m_windowId);
    bool ok = false;
    std::string geometry = desktop_test::Xdotool("getwindowgeometry " + m_windowId, &ok);
    EXPECT_NE(geometry.find("Geometry: 720x960"), std::string::npos) << geometry;
    EXPECT_EQ(Log().front(), "platform SmartPhone");
    CloseAndExpectCleanExit();
}

TEST_F(DesktopWindow, ALandscapeScreenGivesALandscapeWindow) {
    StartProgram(2, "", "320x240");
    bool ok = false;
    std::string geometry = desktop_test::Xdotool("getwindowgeometry " + m_windowId, &ok);
    EXPECT_NE(geometry.find("Geometry: 640x480"), std::string::npos) << geometry;
    CloseAndExpectCleanExit();
}

// A desktop that the environment names but that does not answer: the program says so in one
// line, with the way to run headless, instead of falling back to a window nobody can see.
TEST(DesktopWindowWithoutADesktop, ADisplayThatDoesNotAnswerIsReportedInOneLine) {
    std::string dir = std::string(DESKTOP_WORK_DIR) + "/no_desktop";
    std::filesystem::create_directories(dir);
    desktop_test::ChildProgram program;
    ASSERT_TRUE(program.Start(DESKTOP_PROGRAM_PATH, dir,
                              {{"DISPLAY", ":1999"},
                               {"WAYLAND_DISPLAY", ""},
                               {"DEVICE_SCRIPT", ""},
                               {"LSAN_OPTIONS", LeakCheckOptions()}},
                              dir + "/stderr.txt"));
    EXPECT_EQ(program.WaitForExit(kWaitMs), 1);
    std::string errors = ReadFile(dir + "/stderr.txt");
    EXPECT_NE(errors.find("cannot open the desktop window: no desktop answers at DISPLAY=:1999"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("DEVICE_SCRIPT="), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
}

} // namespace
