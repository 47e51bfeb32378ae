// Temporary directories and the temporary program directory of tests.
#include "program_directory.h"

#include "module_path.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace adres_test_support {

TempDirectory::TempDirectory() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/adres-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary directory from " + pattern);
    }
    m_path = buffer.data();
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

ProgramDirectory::ProgramDirectory(const std::string& name) : m_path(m_directory.Path()) {
    if (!name.empty()) {
        m_path = m_directory.File(name);
        std::filesystem::create_directory(m_path);
    }
    DeviceSetModulePath((m_path + "/adresdefteri").c_str());
}

ProgramDirectory::~ProgramDirectory() {
    DeviceSetModulePath(nullptr);
}

} // namespace adres_test_support
