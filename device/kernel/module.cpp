// The program's module: its handle and the full path of its file (GetModuleHandleW,
// GetModuleFileNameW), read from the operating system unless a test stands one in.
#include "winbase.h"

#include "kernel/utf8.h"
#include "service/module_path.h"

#include <unistd.h>

#include <mutex>
#include <optional>
#include <string>

namespace {

constexpr DWORD kErrorModNotFound = 126;

// The program's file is the only module there is. Windows CE loads programs at this address,
// so the handle looks like the one a program there would see.
HMODULE ProgramModule() {
    return reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x00010000));
}

std::mutex g_pathMutex;
std::optional<std::string> g_pathOverride;

std::string ReadExecutablePath() {
    std::string path(256, '\0');
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<size_t>(length) < path.size()) {
            path.resize(static_cast<size_t>(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string ProgramPathUtf8() {
    std::lock_guard<std::mutex> lock(g_pathMutex);
    if (g_pathOverride) {
        return *g_pathOverride;
    }
    // Read once: Windows fixes a module's file name when it loads it, so a program that is
    // moved while it runs still reports where it started (and asking the kernel again costs
    // a system call on every save).
    static const std::string path = ReadExecutablePath();
    return path;
}

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

void DeviceSetModulePath(const char* utf8Path) {
    std::lock_guard<std::mutex> lock(g_pathMutex);
    if (utf8Path != nullptr) {
        g_pathOverride = utf8Path;
    } else {
        g_pathOverride.reset();
    }
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
    if (lpModuleName == nullptr) {
        return ProgramModule();
    }
    // A module is named by its full path or by its file name alone.
    const std::u16string path = device_kernel::Utf8ToUtf16(ProgramPathUtf8());
    const std::u16string_view name(lpModuleName);
    const size_t slash = path.find_last_of(u'/');
    const std::u16string_view fileName = slash == std::u16string::npos
                                             ? std::u16string_view(path)
                                             : std::u16string_view(path).substr(slash + 1);
    if (!name.empty() && (EqualNoCase(name, path) || EqualNoCase(name, fileName))) {
        return ProgramModule();
    }
    SetLastError(kErrorModNotFound);
    return nullptr;
}

// A name longer than the buffer is cut to nSize - 1 units and terminated, and the call
// returns nSize with ERROR_INSUFFICIENT_BUFFER, as current Windows does.
DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    if (hModule != nullptr && hModule != ProgramModule()) {
        SetLastError(kErrorModNotFound);
        return 0;
    }
    if (lpFilename == nullptr && nSize != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::u16string path = device_kernel::Utf8ToUtf16(ProgramPathUtf8());
    if (path.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    if (nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() >= nSize) {
        path.copy(lpFilename, nSize - 1);
        lpFilename[nSize - 1] = u'\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    path.copy(lpFilename, path.size());
    lpFilename[path.size()] = u'\0';
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
}
