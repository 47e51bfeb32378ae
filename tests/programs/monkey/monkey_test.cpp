// The device's monkey on whole programs: a few hundred random taps, drags, keys and texts
// per seed must end as the program ends when its input runs out, with nothing on stderr
// (a leak or a sanitizer report would be there). A failing run prints the script that
// replays it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int kEvents = 400;
constexpr int kSeeds[] = {1, 2};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

struct MonkeyRun {
    int status = -1;
    std::string errors;
    std::string script;
    int steps = 0;

    // What a failure shows: the errors and the script that replays the run.
    std::string Report() const {
        return errors + "the steps, to replay with DEVICE_SCRIPT:\n" + script;
    }
};

// A fresh directory per run, so parallel runs share no files. With `copy`, the program
// runs from there, and so keeps its database there.
MonkeyRun RunMonkey(const std::string& name, std::string program, int seed,
                    const std::string& extraEnvironment, bool copy) {
    const std::string dir = std::string(MONKEY_WORK_DIR) + "/" + name + "_" + std::to_string(seed);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    if (copy) {
        const std::string local = dir + "/" + std::filesystem::path(program).filename().string();
        std::error_code error;
        std::filesystem::create_hard_link(program, local, error);
        if (error) {
            std::filesystem::copy_file(program, local);
        }
        program = local;
        std::system(("'" + std::string(MAKE_DATABASE_PATH) + "' '" + dir + "' >/dev/null").c_str());
    }
    const std::string command =
        "cd '" + dir + "' && env -u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=1 " +
        extraEnvironment + " DEVICE_MONKEY=" + std::to_string(kEvents) +
        " DEVICE_MONKEY_SEED=" + std::to_string(seed) + " '" + program + "' 2>errors.txt";
    const int raw = std::system(command.c_str());
    MonkeyRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.errors = ReadFile(dir + "/errors.txt");
    run.script = ReadFile(dir + "/monkey.txt");
    std::istringstream lines(run.script);
    for (std::string line; std::getline(lines, line);) {
        run.steps += line.empty() || line[0] == '#' ? 0 : 1;
    }
    return run;
}

// Every event was used: nothing ended the program before its input ran out.
void ExpectSurvived(const MonkeyRun& run, int seed) {
    EXPECT_EQ(run.status, 0) << "seed " << seed << "\n" << run.Report();
    EXPECT_EQ(run.errors, "") << "seed " << seed << "\n" << run.Report();
    EXPECT_EQ(run.steps, kEvents) << "seed " << seed << "\n" << run.Report();
}

TEST(Monkey, TheShowcaseSurvivesSeededRandomRuns) {
    for (int seed : kSeeds) {
        ExpectSurvived(RunMonkey("showcase", SHOWCASE_PROGRAM_PATH, seed, "", false), seed);
    }
}

// "Kapat" is spared: on the main window it ends the program after a few steps.
TEST(Monkey, TheAddressBookSurvivesSeededRandomRuns) {
    for (int seed : kSeeds) {
        ExpectSurvived(
            RunMonkey("address_book", ADRESDEFTERI_PATH, seed, "DEVICE_MONKEY_SPARE=Kapat", true),
            seed);
    }
}

} // namespace
