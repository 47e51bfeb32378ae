// UTF-8 and the address file's code-page bytes, through the device's code-page calls.
#include "code_page_text.h"

#include "winbase.h"
#include "winnls.h"

#include <array>
#include <cstdio>
#include <limits>

namespace {

// The UTF-8 of every code-page byte, asked of the code page once: export turns every
// stored byte through this, so it must not cost a call per field.
struct AnsiByteUtf8 {
    char bytes[4];
    unsigned char length;
};

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
// the terminal cannot show it.
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
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out.push_back(c);
        } else {
            const AnsiByteUtf8& entry = table[byte];
            out.append(entry.bytes, entry.length);
        }
    }
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
    if (IsAscii(text)) {
        return true;
    }
    return FitsInt(text.size()) && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                                       static_cast<int>(text.size()), nullptr,
                                                       0) > 0;
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
    if (!IsValidUtf8(utf8)) {
        problem = "not UTF-8 text";
        return false;
    }
    const std::u16string text = Utf16FromUtf8(utf8);
    bytes.resize(text.size());
    BOOL usedDefault = FALSE;
    const int written =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, &usedDefault);
    bytes.resize(static_cast<size_t>(written > 0 ? written : 0));
    if (!usedDefault) {
        return true;
    }
    // Found again unit by unit, a surrogate pair as one character, to name the first one.
    for (size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size();
        const std::u16string_view character(text.data() + i, pair ? 2 : 1);
        char byte;
        BOOL unmapped = FALSE;
        WideCharToMultiByte(CP_ACP, 0, character.data(), 1, &byte, 1, nullptr, &unmapped);
        if (unmapped) {
            problem = DescribeCharacter(character) + " has no Windows-1254 byte";
            return false;
        }
        i += pair ? 1 : 0;
    }
    problem = "a character has no Windows-1254 byte";
    return false;
}
