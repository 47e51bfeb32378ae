// Output files replaced whole through a temporary file beside them.
#include "diag/replace_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace device::diag {

namespace {

bool Fail(const std::string& message, std::string* error) {
    if (error != nullptr) {
        *error = message;
    }
    return false;
}

} // namespace

bool ReplaceFile(const std::string& path,
                 const std::function<bool(const std::string& temporary, std::string* error)>& write,
                 std::string* error) {
    // Beside the file, so that the rename stays on one file system.
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
        return Fail(path + ": " + std::strerror(errno), error);
    }
    const std::string temporary(name.data());
    // mkstemp makes the file private; give it what a plainly created file would get.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
    close(descriptor);
    std::string failure;
    if (!write(temporary, &failure)) {
        unlink(temporary.c_str());
        // The reader knows the file by its own name, not by the temporary one.
        if (size_t at = failure.find(temporary); at != std::string::npos) {
            failure.replace(at, temporary.size(), path);
        }
        return Fail(failure, error);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        failure = path + ": " + std::strerror(errno);
        unlink(temporary.c_str());
        return Fail(failure, error);
    }
    return true;
}

} // namespace device::diag
