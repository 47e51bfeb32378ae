// The code-page conversions on any input: MultiByteToWideChar and WideCharToMultiByte for
// Windows-1254 and UTF-8 (size questions, exact and one-short buffers), and the database
// layer's WideToAnsi and AnsiToWide. Every byte of the code page has its own unit, so
// bytes survive a round trip; units without a byte become the default character.
#include "fuzz_check.h"
#include "kernel/utf8.h"
#include "text_conversion.h"
#include "winbase.h"
#include "winnls.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Converts with a size question, then into an exact buffer, then into one a unit short.
std::u16string ToWide(UINT codePage, const std::string& bytes, DWORD flags, bool* ok) {
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    *ok = size > 0;
    if (!*ok) {
        FUZZ_CHECK(GetLastError() == ERROR_NO_UNICODE_TRANSLATION);
        return {};
    }
    std::u16string text(static_cast<size_t>(size), u'\0');
    FUZZ_CHECK(MultiByteToWideChar(codePage, flags, bytes.data(), length, text.data(), size) ==
               size);
    if (size > 1) {
        std::u16string shorter(static_cast<size_t>(size - 1), u'\0');
        FUZZ_CHECK(MultiByteToWideChar(codePage, flags, bytes.data(), length, shorter.data(),
                                       size - 1) == 0);
        FUZZ_CHECK(GetLastError() == ERROR_INSUFFICIENT_BUFFER);
    }
    return text;
}

std::string ToBytes(UINT codePage, const std::u16string& text, BOOL* usedDefault) {
    const int length = static_cast<int>(text.size());
    LPBOOL used = codePage == CP_UTF8 ? nullptr : usedDefault;
    const int size =
        WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, used);
    FUZZ_CHECK(size > 0);
    std::string bytes(static_cast<size_t>(size), '\0');
    FUZZ_CHECK(WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), size, nullptr,
                                   used) == size);
    if (size > 1) {
        std::string shorter(static_cast<size_t>(size - 1), '\0');
        FUZZ_CHECK(WideCharToMultiByte(codePage, 0, text.data(), length, shorter.data(), size - 1,
                                       nullptr, nullptr) == 0);
        FUZZ_CHECK(GetLastError() == ERROR_INSUFFICIENT_BUFFER);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // Windows-1254: one unit per byte, the eight-byte blocks decoded as byte by byte, and
    // back to the same bytes without the default character.
    bool ok = false;
    const std::u16string wide = ToWide(CP_ACP, bytes, MB_PRECOMPOSED | MB_ERR_INVALID_CHARS, &ok);
    FUZZ_CHECK(ok && wide.size() == bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        WCHAR single = 0;
        FUZZ_CHECK(MultiByteToWideChar(1254, 0, &bytes[i], 1, &single, 1) == 1 &&
                   single == wide[i]);
    }
    BOOL usedDefault = TRUE;
    FUZZ_CHECK(ToBytes(CP_ACP, wide, &usedDefault) == bytes && !usedDefault);
    FUZZ_CHECK(AnsiToWide(bytes) == wide && WideToAnsi(wide) == bytes);

    // The same bytes read as UTF-16 units: one byte each, the default character exactly
    // for the units the code page lacks.
    std::u16string units((size + 1) / 2, u'\0');
    for (size_t i = 0; i < size; ++i) {
        units[i / 2] = static_cast<char16_t>(units[i / 2] | data[i] << (i % 2 == 0 ? 0 : 8));
    }
    const std::string encoded = ToBytes(1254, units, &usedDefault);
    FUZZ_CHECK(encoded.size() == units.size() && WideToAnsi(units) == encoded);
    bool anyDefault = false;
    for (size_t i = 0; i < units.size(); ++i) {
        const std::u16string back = AnsiToWide(encoded.substr(i, 1));
        const bool representable = back[0] == units[i];
        FUZZ_CHECK(representable || encoded[i] == '?');
        anyDefault |= !representable;
    }
    FUZZ_CHECK((usedDefault != FALSE) == anyDefault);

    // UTF-8: refused with MB_ERR_INVALID_CHARS exactly when ill-formed, and what is
    // decoded goes back to UTF-8 and again to the same units.
    bool invalid = false;
    device_kernel::Utf8ToUtf16(bytes, &invalid);
    const std::u16string strict = ToWide(CP_UTF8, bytes, MB_ERR_INVALID_CHARS, &ok);
    FUZZ_CHECK(ok == !invalid);
    const std::u16string lenient = ToWide(CP_UTF8, bytes, 0, &ok);
    FUZZ_CHECK(ok && (invalid || lenient == strict));
    FUZZ_CHECK(ToWide(CP_UTF8, ToBytes(CP_UTF8, lenient, nullptr), MB_ERR_INVALID_CHARS, &ok) ==
                   lenient &&
               ok);
    return 0;
}
