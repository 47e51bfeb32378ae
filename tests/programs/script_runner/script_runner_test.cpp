// Runs the demo program under DEVICE_SCRIPT and checks what the runs leave: the exit
// status, the dump, the screenshot, and the message of a run that fails.
#include "display/png_image.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct RunResult {
    int status = -1;
    std::string errors;
};

std::string WorkPath(const std::string& name) { return std::string(SCRIPT_WORK_DIR) + "/" + name; }

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

RunResult RunScript(const std::string& name, const std::string& script, const std::string& extraEnvironment = "") {
    std::string scriptPath = WorkPath(name + ".txt");
    std::ofstream(scriptPath, std::ios::binary) << script;
    std::string errorPath = WorkPath(name + ".err");
    std::string command = "cd '" + std::string(SCRIPT_WORK_DIR) + "' && env -u DISPLAY -u WAYLAND_DISPLAY " +
                          extraEnvironment + " DEVICE_SCRIPT='" + scriptPath + "' '" + SCRIPT_DEMO_PATH + "' 2>'" +
                          errorPath + "'";
    int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.errors = ReadFile(errorPath);
    return result;
}

TEST(ScriptRunner, TapsTypingDumpAndScreenshotDriveTheProgramEndToEnd) {
    RunResult run = RunScript("full",
                              "# taps by caption and by position, typing, and both outputs\n"
                              "tap \"Tap me\"\n"
                              "tap 120 66\n"
                              "tap 120 121\n"
                              "type \"Şık \\\"çay\\\"\"\n"
                              "dump \"full.json\"\n"
                              "screenshot \"full.png\"\n");
    EXPECT_EQ(run.status, 2) << run.errors; // two taps on the counter
    EXPECT_EQ(run.errors, "");
    std::string dump = ReadFile(WorkPath("full.json"));
    EXPECT_NE(dump.find("\"text\": \"Tapped 2\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"text\": \"Şık \\\"çay\\\"\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"class\": \"HHTaskBar\""), std::string::npos);
    EXPECT_NE(dump.find("\"screen\": {"), std::string::npos);
    device::gdi::Surface image;
    std::string error;
    ASSERT_TRUE(device::ReadPng(WorkPath("full.png"), &image, &error)) << error;
    EXPECT_EQ(image.width, 240);
    EXPECT_EQ(image.height, 320);
}

TEST(ScriptRunner, TheCaretBlinksOnTheDevicesClockBetweenScreenshots) {
    RunResult run = RunScript("blink",
                              "tap 120 168\n"
                              "type \"ab\"\n"
                              "screenshot \"blink1.png\"\n"
                              "wait 500\n"
                              "screenshot \"blink2.png\"\n"
                              "wait 500\n"
                              "screenshot \"blink3.png\"\n");
    ASSERT_EQ(run.errors, "");
    device::gdi::Surface shots[3];
    std::string error;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(device::ReadPng(WorkPath("blink" + std::to_string(i + 1) + ".png"), &shots[i], &error)) << error;
    }
    // Half a second apart the caret is off, a second apart on again; nothing else changes.
    int left = 240;
    int right = 0;
    int top = 320;
    int bottom = 0;
    int differing = 0;
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 240; ++x) {
            EXPECT_EQ(shots[0].At(x, y), shots[2].At(x, y)) << x << "," << y;
            if (shots[0].At(x, y) != shots[1].At(x, y)) {
                ++differing;
                left = std::min(left, x);
                right = std::max(right, x + 1);
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
            }
        }
    }
    EXPECT_GT(differing, 0);
    EXPECT_LE(right - left, 2) << "only the caret's column";
    EXPECT_GE(top, 26 + 130);
    EXPECT_LE(bottom, 26 + 130 + 24);

    RunResult bad = RunScript("badwait", "wait 500\nhold 1 2\n");
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.errors.find("badwait.txt:2: hold needs X Y MS, with MS from 0 to 600000"), std::string::npos)
        << bad.errors;
}

TEST(ScriptRunner, AStepThatCannotRunNamesTheFileAndLine) {
    RunResult missing = RunScript("missing", "tap \"Tap me\"\n\ntap \"Nothing like this\"\n");
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.errors.find("missing.txt:3: no visible window has the text \"Nothing like this\""),
              std::string::npos)
        << missing.errors;

    RunResult unparsable = RunScript("unparsable", "tap 1 2\nwave 3\n");
    EXPECT_NE(unparsable.status, 0);
    EXPECT_NE(unparsable.errors.find("unparsable.txt:2: unknown command \"wave\""), std::string::npos)
        << unparsable.errors;

    RunResult unclosed = RunScript("unclosed", "type \"abc\n");
    EXPECT_NE(unclosed.status, 0);
    EXPECT_NE(unclosed.errors.find("unclosed.txt:1:"), std::string::npos) << unclosed.errors;
}

TEST(ScriptRunner, ARunThatNeverBecomesIdleAgainIsStopped) {
    RunResult run = RunScript("spin", "tap \"Spin\"\n", "DEVICE_SCRIPT_TIMEOUT=1");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.errors.find("spin.txt:1: the program did not become idle within 1 s"), std::string::npos)
        << run.errors;
}

TEST(ScriptRunner, WithoutAScriptOrADisplayTheProgramSaysSoInOneLine) {
    std::string errorPath = WorkPath("nodisplay.err");
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u DEVICE_SCRIPT '" + std::string(SCRIPT_DEMO_PATH) +
                          "' 2>'" + errorPath + "'";
    int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) != 0);
    std::string errors = ReadFile(errorPath);
    EXPECT_NE(errors.find("no display"), std::string::npos) << errors;
    EXPECT_NE(errors.find("DEVICE_SCRIPT="), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
}

} // namespace
