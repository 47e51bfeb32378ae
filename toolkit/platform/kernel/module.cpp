// The program's module: its handle and the full path of its file (GetModuleHandleW,
// GetModuleFileNameW), read from the operating system unless a test stands one in.
#include "winbase.h"

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
    return ReadExecutablePath();
}

// Linux file names are bytes, normally UTF-8; a byte that starts no valid sequence becomes
// U+FFFD rather than ending the name.
std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        char32_t code = 0;
        size_t extra = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            code = lead & 0x1F;
            extra = 1;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            code = lead & 0x0F;
            extra = 2;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            code = lead & 0x07;
            extra = 3;
            minimum = 0x10000;
        } else {
            result.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        size_t taken = 1;
        while (taken <= extra && i + taken < text.size() &&
               (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3F);
            ++taken;
        }
        if (taken != extra + 1 || code < minimum || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            result.push_back(u'\uFFFD');
            i += taken;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(code));
        }
        i += taken;
    }
    return result;
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
    const std::u16string path = Utf8ToUtf16(ProgramPathUtf8());
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
    const std::u16string path = Utf8ToUtf16(ProgramPathUtf8());
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
