// Runs the showcase script and compares its screenshots with the ones under docs/, pixel
// for pixel. Set ADRES_UPDATE_SCREENSHOTS=1 to rewrite them after a deliberate change
// (and look at the new pictures before committing them).
#include "support/docs_picture.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Each test process runs the script in a directory of its own, so that tests run in
// parallel never read each other's half-written files.
std::string RunDirectory() {
    static const std::string directory = [] {
        std::string path = std::string(SHOWCASE_WORK_DIR) + "/run-" + std::to_string(getpid());
        std::filesystem::create_directories(path);
        return path;
    }();
    return directory;
}

std::string WorkPath(const std::string& name) { return RunDirectory() + "/" + name; }

class Showcase : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string command = "cd '" + RunDirectory() + "' && env -u DISPLAY -u WAYLAND_DISPLAY " +
                              "DEVICE_SCRIPT='" + SHOWCASE_SCRIPT_PATH + "' '" + SHOWCASE_PROGRAM_PATH + "' 2>'" +
                              WorkPath("showcase.err") + "'";
        int raw = std::system(command.c_str());
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    static void TearDownTestSuite() {
        if (!::testing::Test::HasFailure()) {
            std::filesystem::remove_all(RunDirectory());
        }
    }
    static int status_;

    void ExpectMatchesDocs(const std::string& name) {
        EXPECT_TRUE(test::MatchesDocsPicture(WorkPath(name), std::string(SHOWCASE_DOCS_DIR) + "/" + name));
    }
};

int Showcase::status_ = -1;

TEST_F(Showcase, TheScriptRunsToTheEnd) {
    std::ifstream errors(WorkPath("showcase.err"));
    std::stringstream text;
    text << errors.rdbuf();
    EXPECT_EQ(status_, 0) << text.str();
}

TEST_F(Showcase, TheControlsLookAsInTheDocs) { ExpectMatchesDocs("showcase_controls.png"); }

TEST_F(Showcase, TheMessageBoxLooksAsInTheDocs) { ExpectMatchesDocs("showcase_message_box.png"); }

TEST_F(Showcase, TheDumpShowsTheMessageBoxGoneAndTheListsItems) {
    std::ifstream dump(WorkPath("showcase.json"));
    std::stringstream text;
    text << dump.rdbuf();
    std::string json = text.str();
    EXPECT_EQ(json.find("\"class\": \"#32770\""), std::string::npos); // RETURN closed it
    EXPECT_NE(json.find("\"Şahin Güneş\""), std::string::npos);
    EXPECT_NE(json.find("\"selected\": 1"), std::string::npos);
}

// The taps after the message box: "Hayır" checked, "Belki" from indeterminate to
// unchecked, "İş" checked and "Ev" unchecked with it; the disabled "Cep" untouched.
TEST_F(Showcase, TheDumpShowsWhatTheTapsDidToTheChecks) {
    std::ifstream dump(WorkPath("showcase.json"));
    std::stringstream text;
    text << dump.rdbuf();
    const std::string json = text.str();
    auto checkOf = [&](const std::string& label) {
        size_t at = json.find("\"text\": \"" + label + "\"");
        size_t key = json.find("\"check\": ", at);
        if (at == std::string::npos || key == std::string::npos || key > json.find("\"children\"", at)) {
            return -1;
        }
        return json[key + 9] - '0';
    };
    const std::pair<const char*, int> expected[] = {{"Evet", 1}, {"Hayır", 1}, {"Belki", 0},
                                                    {"Ev", 0},   {"İş", 1},    {"Cep", 0}};
    for (const auto& [label, check] : expected) {
        EXPECT_EQ(checkOf(label), check) << label;
    }
    EXPECT_EQ(checkOf("Kaydet"), -1) << "a push button shows no check";
}

} // namespace
