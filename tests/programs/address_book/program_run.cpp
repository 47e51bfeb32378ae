// Program directories and scripted runs.
#include "program_run.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace address_book_test {

::testing::AssertionResult RanCleanly(const RunResult& run) {
    if (run.status == 0 && run.errors.empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "status " << run.status << ", errors: " << run.errors;
}

ProgramRun::ProgramRun(const std::string& name)
    : m_directory(std::string(ADDRESS_BOOK_WORK_DIR) + "/" + name + "-" + std::to_string(getpid())) {
    std::filesystem::remove_all(m_directory);
    std::filesystem::create_directories(m_directory);
    const std::filesystem::path program = ADRESDEFTERI_PATH;
    const std::filesystem::path linked = Path(program.filename().string());
    // A hard link costs nothing and makes the program report this directory as its own;
    // a copy does the same where links are not possible.
    std::error_code error;
    std::filesystem::create_hard_link(program, linked, error);
    if (error) {
        std::filesystem::copy_file(program, linked);
    }
}

ProgramRun::~ProgramRun() {
    if (!::testing::Test::HasFailure()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_directory, ignored);
    }
}

std::string ProgramRun::Read(const std::string& file) const {
    std::ifstream in(Path(file), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

RunResult ProgramRun::RunScript(const std::string& script, const std::string& environment) {
    const std::string scriptPath = Path("script.txt");
    std::ofstream(scriptPath, std::ios::binary) << script;
    return RunScriptFile(scriptPath, environment);
}

RunResult ProgramRun::RunScriptFile(const std::string& scriptPath, const std::string& environment) {
    const std::string program = std::filesystem::path(ADRESDEFTERI_PATH).filename().string();
    const std::string command = "cd '" + m_directory +
                                "' && env -u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=1 " +
                                environment + " DEVICE_SCRIPT='" +
                                scriptPath + "' './" + program + "' 2>'" + Path("errors.txt") + "'";
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.errors = Read("errors.txt");
    return result;
}

} // namespace address_book_test
