// One run of the address book under DEVICE_SCRIPT in a program directory of its own: the
// program is linked into it, so the database beside it is the one the test put there, and
// parallel tests never share files.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace address_book_test {

struct RunResult {
    int status = -1;
    std::string errors; // what the program wrote on stderr
};

// Success when the program ended with status 0 and wrote nothing on stderr.
::testing::AssertionResult RanCleanly(const RunResult& run);

class ProgramRun {
public:
    // A fresh directory named after the test (and this process) under the build tree.
    explicit ProgramRun(const std::string& name);
    // Removed again unless a test failed, so that its files can be looked at.
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    const std::string& Directory() const { return m_directory; }
    std::string Path(const std::string& file) const { return m_directory + "/" + file; }
    std::string Read(const std::string& file) const;

    // Runs the program with the script (from a string, or a file), in the directory, with
    // `environment` ("NAME=value ...") put in front; leak checking stays on, so a leak under
    // the sanitizers makes the status non-zero.
    RunResult RunScript(const std::string& script, const std::string& environment = "");
    RunResult RunScriptFile(const std::string& scriptPath, const std::string& environment = "");

private:
    std::string m_directory;
};

} // namespace address_book_test
