// Runs the demo program under DEVICE_SCRIPT and checks what the runs leave: the exit
// status, the dump, the screenshot, and the message of a run that fails.
#include "display/png_image.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct RunResult {
    int status = -1;
    std::string errors;
};

std::string WorkPath(const std::string& name) {
    return std::string(SCRIPT_WORK_DIR) + "/" + name;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs the demo with DEVICE_SCRIPT naming `scriptPath`; `shell` runs first in the same
// shell (limits, traps).
RunResult RunScriptPath(const std::string& name, const std::string& scriptPath,
                        const std::string& extraEnvironment = "", const std::string& shell = "") {
    std::string errorPath = WorkPath(name + ".err");
    std::string command = shell + "cd '" + std::string(SCRIPT_WORK_DIR) +
                          "' && env -u DISPLAY -u WAYLAND_DISPLAY " + extraEnvironment +
                          " DEVICE_SCRIPT='" + scriptPath + "' '" + SCRIPT_DEMO_PATH + "' 2>'" +
                          errorPath + "'";
    int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.errors = ReadFile(errorPath);
    return result;
}

RunResult RunScript(const std::string& name, const std::string& script,
                    const std::string& extraEnvironment = "", const std::string& shell = "") {
    std::string scriptPath = WorkPath(name + ".txt");
    std::ofstream(scriptPath, std::ios::binary) << script;
    return RunScriptPath(name, scriptPath, extraEnvironment, shell);
}

TEST(ScriptRunner, TapsTypingDumpAndScreenshotDriveTheProgramEndToEnd) {
    RunResult run =
        RunScript("full", "# taps by caption and by position, typing, and both outputs\n"
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
    EXPECT_NE(
        missing.errors.find("missing.txt:3: no visible window has the text \"Nothing like this\""),
        std::string::npos)
        << missing.errors;

    RunResult unparsable = RunScript("unparsable", "tap 1 2\nwave 3\n");
    EXPECT_NE(unparsable.status, 0);
    EXPECT_NE(unparsable.errors.find("unparsable.txt:2: unknown command \"wave\""),
              std::string::npos)
        << unparsable.errors;

    RunResult unclosed = RunScript("unclosed", "type \"abc\n");
    EXPECT_NE(unclosed.status, 0);
    EXPECT_NE(unclosed.errors.find("unclosed.txt:1:"), std::string::npos) << unclosed.errors;
}

TEST(ScriptRunner, ARunThatNeverBecomesIdleAgainIsStopped) {
    RunResult run = RunScript("spin", "tap \"Spin\"\n", "DEVICE_SCRIPT_TIMEOUT=1");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.errors.find("spin.txt:1: the program did not become idle within 1 s"),
              std::string::npos)
        << run.errors;
}

TEST(ScriptRunner, WithoutAScriptOrADisplayTheProgramSaysSoInOneLine) {
    std::string errorPath = WorkPath("nodisplay.err");
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u DEVICE_SCRIPT '" +
                          std::string(SCRIPT_DEMO_PATH) + "' 2>'" + errorPath + "'";
    int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) != 0);
    std::string errors = ReadFile(errorPath);
    EXPECT_NE(errors.find("no display"), std::string::npos) << errors;
    EXPECT_NE(errors.find("DEVICE_SCRIPT="), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
}

} // namespace

namespace {

TEST(ScriptRunner, AScriptMustBeARegularFileOfBoundedSize) {
    const std::string directory = WorkPath("script_directory");
    const std::string fifo = WorkPath("script.fifo");
    const std::string huge = WorkPath("huge.txt");
    std::filesystem::create_directories(directory);
    std::filesystem::remove(fifo);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream{huge};
    std::filesystem::resize_file(huge, (16u << 20) + 1);
    struct Case {
        std::string path;
        std::string error;
    };
    const Case cases[] = {
        {directory, "the script is not a regular file"},
        {fifo, "the script is not a regular file"}, // not waited on for a writer
        {"/dev/zero", "the script is not a regular file"},
        {huge, "the script is larger than 16 MiB"},
        {WorkPath("no_such_script.txt"), "cannot read the script: No such file or directory"},
    };
    for (const Case& c : cases) {
        RunResult run = RunScriptPath("bad_file", c.path, "DEVICE_SCRIPT_TIMEOUT=5");
        EXPECT_EQ(run.status, 2) << c.path;
        EXPECT_EQ(run.errors, c.path + ": " + c.error + "\n");
    }
}

// With the file size limited, the new screenshot or dump cannot be written: the run ends
// on that line, and the file that was there before is still there, unchanged.
TEST(ScriptRunner, AFailedWriteLeavesTheOldFileAsItWas) {
    // The temporary files beside the outputs; those of an earlier failed run go first.
    const auto temporaries = [] {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(SCRIPT_WORK_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("kept_screenshot.") || name.starts_with("kept_dump.")) {
                found.push_back(entry.path());
            }
        }
        return found;
    };
    for (const auto& path : temporaries()) {
        std::filesystem::remove(path);
    }
    for (const std::string& step : {std::string("screenshot"), std::string("dump")}) {
        const std::string output = WorkPath("kept_" + step);
        std::filesystem::remove(output);
        std::ofstream(output) << "old";
        RunResult run = RunScript("kept", "tap \"Tap me\"\n" + step + " \"" + output + "\"\n", "",
                                  "trap '' XFSZ; ulimit -f 1; ");
        EXPECT_NE(run.status, 0) << step;
        EXPECT_EQ(run.errors, WorkPath("kept.txt") + ":2: cannot write the " + step + ": " +
                                  output + ": File too large\n");
        EXPECT_EQ(ReadFile(output), "old") << step;
    }
    EXPECT_EQ(temporaries(), std::vector<std::filesystem::path>{});
}

TEST(ScriptRunner, AnExceptionThatNothingCatchesIsReportedInOneLine) {
    RunResult run = RunScript("throw", "tap \"Throw\"\ntap \"Tap me\"\n");
    EXPECT_EQ(run.status, 70);
    EXPECT_EQ(run.errors,
              "device: the program ended by an exception it did not catch: std::runtime_error: "
              "the demo's own failure with a second line\n");
}

TEST(ScriptRunner, ATapByCaptionLandsOnThePartOfTheWindowOnTheScreen) {
    RunResult run = RunScript("edge", "tap \"Edge\"\ntap \"Tapped 1\"\n");
    EXPECT_EQ(run.status, 2) << run.errors;
    EXPECT_EQ(run.errors, "");
}

} // namespace
