// Temporary directories for tests, and a temporary program directory: the device reports a
// program file inside it, so the address store keeps its database there.
#pragma once

#include <string>

namespace adres_test_support {

// A fresh directory under $TMPDIR (or /tmp), removed with everything in it at the end.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    // Without a closing '/'.
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// While it lives, GetModuleFileNameW reports "<directory>/adresdefteri", the directory
// being a fresh temporary one or, when a name is given, a directory of that name inside it.
class ProgramDirectory {
public:
    explicit ProgramDirectory(const std::string& name = "");
    ~ProgramDirectory();
    ProgramDirectory(const ProgramDirectory&) = delete;
    ProgramDirectory& operator=(const ProgramDirectory&) = delete;

    const std::string& Path() const { return m_path; }
    std::string DatabasePath() const { return m_path + "/adresdata.s3db"; }

private:
    TempDirectory m_directory;
    std::string m_path;
};

} // namespace adres_test_support
