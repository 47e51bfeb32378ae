// Runs the million-row virtual list under its script: the run ends cleanly, the parent was
// asked only for the rows drawn, LVM_FINDITEMW reached the parent, and the screens match the
// pictures kept beside the script (ADRES_UPDATE_SCREENSHOTS=1 rewrites them).
#include "display/png_image.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string RunDirectory() {
    static const std::string directory = [] {
        std::string path = std::string(VIRTUAL_LIST_WORK_DIR) + "/run-" + std::to_string(getpid());
        std::filesystem::create_directories(path);
        return path;
    }();
    return directory;
}

std::string WorkPath(const std::string& name) { return RunDirectory() + "/" + name; }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class VirtualList : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string command = "cd '" + RunDirectory() + "' && env -u DISPLAY -u WAYLAND_DISPLAY DEVICE_SCRIPT='" +
                              VIRTUAL_LIST_SCRIPT_PATH + "' '" + VIRTUAL_LIST_PROGRAM_PATH + "' >'" +
                              WorkPath("out.txt") + "' 2>'" + WorkPath("err.txt") + "'";
        int raw = std::system(command.c_str());
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    static void TearDownTestSuite() {
        if (!::testing::Test::HasFailure()) {
            std::filesystem::remove_all(RunDirectory());
        }
    }
    static int status_;

    static void ExpectMatchesKept(const std::string& name) {
        device::gdi::Surface actual;
        std::string error;
        ASSERT_TRUE(device::ReadPng(WorkPath(name), &actual, &error)) << error;
        std::string kept = std::string(VIRTUAL_LIST_EXPECTED_DIR) + "/" + name;
        const char* update = std::getenv("ADRES_UPDATE_SCREENSHOTS");
        if (update != nullptr && std::string(update) == "1") {
            std::filesystem::copy_file(WorkPath(name), kept, std::filesystem::copy_options::overwrite_existing);
        }
        device::gdi::Surface expected;
        ASSERT_TRUE(device::ReadPng(kept, &expected, &error)) << error;
        ASSERT_EQ(actual.width, expected.width);
        ASSERT_EQ(actual.height, expected.height);
        EXPECT_TRUE(actual.pixels == expected.pixels) << name << " differs from " << kept;
    }
};

int VirtualList::status_ = -1;

TEST_F(VirtualList, OpensScrollsToTheEndAndAsksOnlyForTheRowsItDraws) {
    ASSERT_EQ(status_, 0) << ReadFile(WorkPath("err.txt"));
    std::istringstream out(ReadFile(WorkPath("out.txt")));
    std::string word;
    long rows = 0;
    long texts = 0;
    long hints = 0;
    int largestHint = 0;
    long found = 0;
    out >> word >> rows >> word >> texts >> word >> hints >> word >> largestHint >> word >> found;
    EXPECT_EQ(rows, 1000000);
    // Three screens of about 20 rows of three cells, painted a few times: far below a million.
    EXPECT_GT(texts, 0);
    EXPECT_LT(texts, 2000);
    EXPECT_GT(hints, 0);
    EXPECT_LE(largestHint, 30);
    EXPECT_EQ(found, 765432);
}

TEST_F(VirtualList, ScreensMatchTheKeptPictures) {
    ASSERT_EQ(status_, 0);
    ExpectMatchesKept("virtual_list_top.png");
    ExpectMatchesKept("virtual_list_end.png");
}

} // namespace
