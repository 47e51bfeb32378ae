// The device's code pages: WideCharToMultiByte, MultiByteToWideChar and GetACP for its one
// ANSI code page, Windows-1254 (Turkish), fixed when it is built, and for UTF-8.
#include "winbase.h"
#include "winnls.h"

#include "cp1254_table.h"
#include "kernel/utf8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

using device_kernel::kCp1254ToUnicode;

namespace {

constexpr UINT kAnsiCodePage = 1254;
constexpr char kDefaultChar = '?';

constexpr DWORD kWideToMultiByteFlags =
    WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | WC_COMPOSITECHECK | WC_NO_BEST_FIT_CHARS;
constexpr DWORD kMultiByteToWideFlags =
    MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
constexpr DWORD kWcErrInvalidChars = 0x00000080; // WC_ERR_INVALID_CHARS, for UTF-8 only

struct EncodeEntry {
    char16_t unit;
    unsigned char byte;
};

// The upper half of the table turned around and sorted by UTF-16 unit, so that encoding
// is a binary search over 128 entries; the lower half is ASCII and maps to itself.
constexpr auto kEncodeEntries = [] {
    std::array<EncodeEntry, 128> entries{};
    for (int i = 0; i < 128; ++i) {
        entries[i] = {kCp1254ToUnicode[128 + i], static_cast<unsigned char>(128 + i)};
    }
    std::sort(entries.begin(), entries.end(),
              [](const EncodeEntry& a, const EncodeEntry& b) { return a.unit < b.unit; });
    return entries;
}();

static_assert(std::adjacent_find(kEncodeEntries.begin(), kEncodeEntries.end(),
                                 [](const EncodeEntry& a, const EncodeEntry& b) {
                                     return a.unit == b.unit;
                                 }) == kEncodeEntries.end(),
              "two bytes of the code page decode to the same unit");

// No best fit: a unit without a byte of its own is reported as unrepresentable, so the
// caller puts the default character in its place.
bool EncodeUnit(char16_t unit, unsigned char& byte) {
    if (unit < 0x80) {
        byte = static_cast<unsigned char>(unit);
        return true;
    }
    auto it = std::lower_bound(kEncodeEntries.begin(), kEncodeEntries.end(), unit,
                               [](const EncodeEntry& e, char16_t u) { return e.unit < u; });
    if (it == kEncodeEntries.end() || it->unit != unit) {
        return false;
    }
    byte = it->byte;
    return true;
}

bool IsAnsiCodePage(UINT codePage) {
    return codePage == CP_ACP || codePage == kAnsiCodePage;
}

// Zero-extends the eight bytes of word (lowest first) into eight UTF-16 units.
inline void WidenBlock(std::uint64_t word, WCHAR* target) {
#if defined(__SSE2__) && defined(__x86_64__)
    const __m128i bytes = _mm_cvtsi64_si128(static_cast<long long>(word));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target),
                     _mm_unpacklo_epi8(bytes, _mm_setzero_si128()));
#else
    for (int k = 0; k < 8; ++k) {
        target[k] = static_cast<WCHAR>((word >> (8 * k)) & 0xFF);
    }
#endif
}

// Addresses are mostly ASCII, so every block of eight bytes is first widened as if it were
// ASCII and then only its bytes from 0x80 up are looked up in the table.
void DecodeBytes(const char* source, int count, WCHAR* target) {
    int i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= count; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, source + i, 8);
            WidenBlock(word, target + i);
            for (std::uint64_t high = word & 0x8080808080808080ull; high != 0; high &= high - 1) {
                const int k = std::countr_zero(high) / 8;
                target[i + k] = kCp1254ToUnicode[(word >> (8 * k)) & 0xFF];
            }
        }
    }
    for (; i < count; ++i) {
        target[i] = kCp1254ToUnicode[static_cast<unsigned char>(source[i])];
    }
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

// Hands a finished conversion to the caller by the Win32 rules: size 0 asks for the size,
// a buffer too small fails with ERROR_INSUFFICIENT_BUFFER after taking what fits.
template <typename Text, typename Unit>
int Deliver(const Text& result, Unit* target, int size) {
    const int length = static_cast<int>(result.size());
    if (size == 0) {
        return length;
    }
    const int taken = length < size ? length : size;
    std::copy(result.begin(), result.begin() + taken, target);
    return length <= size ? length : Fail(ERROR_INSUFFICIENT_BUFFER);
}

// CP_UTF8: flags may only ask to refuse ill-formed input, and there is no default character.
int WideToUtf8(DWORD flags, LPCWSTR source, int length, LPSTR target, int size, LPCSTR defaultChar,
               LPBOOL usedDefaultChar) {
    if ((flags & ~kWcErrInvalidChars) != 0) {
        return Fail(ERROR_INVALID_FLAGS);
    }
    if (defaultChar != nullptr || usedDefaultChar != nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    bool invalid = false;
    const std::string result = device_kernel::Utf16ToUtf8(
        std::u16string_view(source, static_cast<size_t>(length)), &invalid);
    if (invalid && (flags & kWcErrInvalidChars) != 0) {
        return Fail(ERROR_NO_UNICODE_TRANSLATION);
    }
    return Deliver(result, target, size);
}

int Utf8ToWide(DWORD flags, LPCSTR source, int length, LPWSTR target, int size) {
    if ((flags & ~MB_ERR_INVALID_CHARS) != 0) {
        return Fail(ERROR_INVALID_FLAGS);
    }
    bool invalid = false;
    const std::u16string result =
        device_kernel::Utf8ToUtf16(std::string_view(source, static_cast<size_t>(length)), &invalid);
    if (invalid && (flags & MB_ERR_INVALID_CHARS) != 0) {
        return Fail(ERROR_NO_UNICODE_TRANSLATION);
    }
    return Deliver(result, target, size);
}

} // namespace

UINT WINAPI GetACP() {
    return kAnsiCodePage;
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
    if (lpWideCharStr == nullptr || cchWideChar == 0 || cbMultiByte < 0 ||
        (lpMultiByteStr == nullptr && cbMultiByte != 0) ||
        static_cast<const void*>(lpWideCharStr) == static_cast<const void*>(lpMultiByteStr)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    // A negative length means "up to and including the terminator".
    const int length = cchWideChar < 0 ? lstrlenW(lpWideCharStr) + 1 : cchWideChar;
    if (CodePage == CP_UTF8) {
        return WideToUtf8(dwFlags, lpWideCharStr, length, lpMultiByteStr, cbMultiByte,
                          lpDefaultChar, lpUsedDefaultChar);
    }
    if (!IsAnsiCodePage(CodePage)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if ((dwFlags & ~kWideToMultiByteFlags) != 0) {
        return Fail(ERROR_INVALID_FLAGS);
    }
    // FIXME: composing a base character and a non-spacing mark needs Unicode composition
    // data that the device does not carry; refused rather than silently not composed.
    if ((dwFlags & WC_COMPOSITECHECK) != 0) {
        return Fail(ERROR_INVALID_FLAGS);
    }
    const char defaultChar = lpDefaultChar != nullptr ? *lpDefaultChar : kDefaultChar;
    bool usedDefault = false;
    // Every unit gives exactly one byte, so the size needed is the number of units; a
    // surrogate is a unit like any other and has no byte.
    for (int i = 0; i < length; ++i) {
        unsigned char byte;
        if (!EncodeUnit(lpWideCharStr[i], byte)) {
            usedDefault = true;
            byte = static_cast<unsigned char>(defaultChar);
        }
        if (cbMultiByte != 0) {
            if (i >= cbMultiByte) {
                if (lpUsedDefaultChar != nullptr) {
                    *lpUsedDefaultChar = usedDefault;
                }
                return Fail(ERROR_INSUFFICIENT_BUFFER);
            }
            lpMultiByteStr[i] = static_cast<char>(byte);
        }
    }
    if (lpUsedDefaultChar != nullptr) {
        *lpUsedDefaultChar = usedDefault;
    }
    return length;
}

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
    if (lpMultiByteStr == nullptr || cbMultiByte == 0 || cchWideChar < 0 ||
        (lpWideCharStr == nullptr && cchWideChar != 0) ||
        static_cast<const void*>(lpWideCharStr) == static_cast<const void*>(lpMultiByteStr)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const int length =
        cbMultiByte < 0 ? static_cast<int>(std::strlen(lpMultiByteStr)) + 1 : cbMultiByte;
    if (CodePage == CP_UTF8) {
        return Utf8ToWide(dwFlags, lpMultiByteStr, length, lpWideCharStr, cchWideChar);
    }
    if (!IsAnsiCodePage(CodePage)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if ((dwFlags & ~kMultiByteToWideFlags) != 0 ||
        ((dwFlags & MB_PRECOMPOSED) != 0 && (dwFlags & MB_COMPOSITE) != 0)) {
        return Fail(ERROR_INVALID_FLAGS);
    }
    // FIXME: decomposing into base characters and non-spacing marks needs Unicode
    // decomposition data that the device does not carry.
    if ((dwFlags & MB_COMPOSITE) != 0) {
        return Fail(ERROR_INVALID_FLAGS);
    }
    if (cchWideChar == 0) {
        return length;
    }
    if (cchWideChar < length) {
        // Windows fills what fits before it reports the short buffer.
        DecodeBytes(lpMultiByteStr, cchWideChar, lpWideCharStr);
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    // Every byte has a unit (the undefined ones their C1 control), so MB_ERR_INVALID_CHARS
    // never finds anything to refuse.
    DecodeBytes(lpMultiByteStr, length, lpWideCharStr);
    return length;
}
