// UTF-8 and the address file's code-page bytes, through the device's code-page calls.
#include "code_page_text.h"

#include "winbase.h"
#include "winnls.h"

#include <array>
#include <cstdio>
#include <limits>
#include <memory>

namespace {

// The UTF-8 of every code-page byte, asked of the code page once: export turns every
// stored byte through this, so it must not cost a call per field.
struct AnsiByteUtf8 {
    char bytes[4];
    unsigned char length;
};

// The byte of every UTF-16 unit the code page holds, 0 for none (NUL is ASCII and never
// looked up here): asked of the code page once, so an import of many rows makes no call.
const std::array<unsigned char, 0x10000>& UnitAnsiTable() {
    static const auto table = [] {
        auto result = std::make_unique<std::array<unsigned char, 0x10000>>();
        result->fill(0);
        for (int byte = 0x80; byte < 256; ++byte) {
            const char ansi = static_cast<char>(byte);
            WCHAR unit = 0;
            if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, &ansi, 1, &unit, 1) == 1) {
                (*result)[unit] = static_cast<unsigned char>(byte);
            }
        }
        return result;
    }();
    return *table;
}

// Strict UTF-8 into UTF-16, into the caller's buffer: false for an ill-formed text
// (overlong, a surrogate, past U+10FFFF, cut short).
bool DecodeUtf8(std::string_view utf8, std::u16string& units) {
    if (utf8.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        return false;
    }
    // Never more units than bytes, so one call does it.
    units.resize(utf8.size());
    const int written =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                            units.data(), static_cast<int>(units.size()));
    units.resize(static_cast<size_t>(written > 0 ? written : 0));
    return written > 0 || utf8.empty();
}

const std::array<AnsiByteUtf8, 256>& AnsiUtf8Table() {
    static const std::array<AnsiByteUtf8, 256> table = [] {
        std::array<AnsiByteUtf8, 256> result{};
        for (int byte = 0; byte < 256; ++byte) {
            const char ansi = static_cast<char>(byte);
            WCHAR unit = 0;
            MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, &ansi, 1, &unit, 1);
            AnsiByteUtf8& entry = result[static_cast<size_t>(byte)];
            const int length =
                WideCharToMultiByte(CP_UTF8, 0, &unit, 1, entry.bytes, 4, nullptr, nullptr);
            entry.length = static_cast<unsigned char>(length > 0 ? length : 0);
        }
        return result;
    }();
    return table;
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool FitsInt(size_t size) {
    return size <= static_cast<size_t>(std::numeric_limits<int>::max());
}

// "'Ж' (U+0416)": the character itself and its number, so a reader can find it even where
// the terminal cannot show it. A surrogate pair is one character.
std::string DescribeCharacter(std::u16string_view units) {
    char32_t code = units[0];
    if (units.size() == 2) {
        code = 0x10000 + ((code - 0xD800) << 10) + (units[1] - 0xDC00);
    }
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(code));
    return "'" + Utf8FromUtf16(units) + "' (" + number + ")";
}

} // namespace

void AppendUtf8FromAnsi(std::string_view bytes, std::string& out) {
    const auto& table = AnsiUtf8Table();
    // Runs of ASCII are copied whole; only the letters between them are looked up.
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x80) {
            out.append(bytes.data() + start, i - start);
            out.append(table[byte].bytes, table[byte].length);
            start = i + 1;
        }
    }
    out.append(bytes.data() + start, bytes.size() - start);
}

std::string Utf8FromAnsi(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    AppendUtf8FromAnsi(bytes, out);
    return out;
}

bool IsUndefinedAnsiByte(unsigned char byte) {
    // Every defined byte from 0x80 up decodes to a printable character; only the
    // undefined ones come back as the C1 control of their own number.
    if (byte < 0x80) {
        return false;
    }
    const auto& entry = AnsiUtf8Table()[byte];
    return entry.length == 2 && static_cast<unsigned char>(entry.bytes[0]) == 0xC2 &&
           static_cast<unsigned char>(entry.bytes[1]) < 0xA0;
}

std::u16string Utf16FromUtf8(std::string_view utf8) {
    if (utf8.empty() || !FitsInt(utf8.size())) {
        return {};
    }
    std::u16string text(utf8.size(), u'\0');
    const int written = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                            text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(written > 0 ? written : 0));
    return text;
}

std::string Utf8FromUtf16(std::u16string_view text) {
    if (text.empty() || !FitsInt(text.size())) {
        return {};
    }
    std::string utf8(text.size() * 3, '\0');
    const int written = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                            utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                            nullptr);
    utf8.resize(static_cast<size_t>(written > 0 ? written : 0));
    return utf8;
}

bool IsValidUtf8(std::string_view text) {
    std::u16string units;
    return IsAscii(text) || DecodeUtf8(text, units);
}

size_t Utf8Length(std::string_view text) {
    size_t length = 0;
    for (char c : text) {
        length += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return length;
}

bool AnsiFromUtf8(std::string_view utf8, std::string& bytes, std::string& problem) {
    // Most addresses are plain ASCII, which is the same in both.
    if (IsAscii(utf8)) {
        bytes.assign(utf8);
        return true;
    }
    static thread_local std::u16string units;
    if (!DecodeUtf8(utf8, units)) {
        problem = "not UTF-8 text";
        return false;
    }
    const auto& table = UnitAnsiTable();
    bytes.resize(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        const unsigned char byte = unit < 0x80 ? static_cast<unsigned char>(unit) : table[unit];
        if (unit != 0 && byte == 0) {
            const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size();
            problem = DescribeCharacter(std::u16string_view(units).substr(i, pair ? 2 : 1)) +
                      " has no Windows-1254 byte";
            return false;
        }
        bytes[i] = static_cast<char>(byte);
    }
    return true;
}
