// The device's code page: Windows-1254 checked against glibc's iconv for every byte and
// every UTF-16 unit, and the Win32 calling conventions of the two conversion calls.
#include "winbase.h"
#include "winnls.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::array<unsigned char, 7> kUndefinedBytes = {0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x9D, 0x9E};

bool IsUndefinedByte(unsigned byte) {
    return std::find(kUndefinedBytes.begin(), kUndefinedBytes.end(), byte) != kUndefinedBytes.end();
}

// One conversion through iconv; nothing when iconv finds no character for the input.
class Iconv {
public:
    Iconv(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~Iconv() {
        if (Valid()) {
            iconv_close(m_handle);
        }
    }
    bool Valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> Convert(std::string input) {
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        char out[8];
        char* inPtr = input.data();
        char* outPtr = out;
        size_t inLeft = input.size();
        size_t outLeft = sizeof out;
        if (iconv(m_handle, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            return std::nullopt;
        }
        return std::string(out, sizeof out - outLeft);
    }

private:
    iconv_t m_handle;
};

WCHAR Decode(unsigned char byte) {
    const char in = static_cast<char>(byte);
    WCHAR out = 0xFFFF;
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, &in, 1, &out, 1), 1);
    return out;
}

TEST(CodePage, TheAnsiCodePageIsTurkish) {
    EXPECT_EQ(GetACP(), 1254u);
}

TEST(CodePage, EveryByteDecodesAsIconvSaysOrToItsOwnControlCharacter) {
    Iconv iconv("UTF-16LE", "CP1254");
    ASSERT_TRUE(iconv.Valid());
    for (unsigned byte = 0; byte < 256; ++byte) {
        const auto expected = iconv.Convert(std::string(1, static_cast<char>(byte)));
        const WCHAR actual = Decode(static_cast<unsigned char>(byte));
        if (expected) {
            ASSERT_EQ(expected->size(), 2u);
            const WCHAR unit = static_cast<unsigned char>((*expected)[0]) |
                               static_cast<unsigned char>((*expected)[1]) << 8;
            EXPECT_EQ(actual, unit) << "byte " << byte;
            EXPECT_FALSE(IsUndefinedByte(byte)) << "byte " << byte;
        } else {
            EXPECT_TRUE(IsUndefinedByte(byte)) << "iconv has no character for byte " << byte;
            EXPECT_EQ(actual, byte) << "byte " << byte;
        }
    }
}

TEST(CodePage, EveryUnitEncodesAsIconvSaysOtherwiseToTheDefaultCharacter) {
    Iconv iconv("CP1254", "UTF-16LE");
    ASSERT_TRUE(iconv.Valid());
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        const WCHAR in = static_cast<WCHAR>(unit);
        char out = 0;
        BOOL usedDefault = TRUE;
        ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, &in, 1, &out, 1, nullptr, &usedDefault), 1);
        const auto expected =
            iconv.Convert({static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)});
        if (expected) {
            ASSERT_EQ(expected->size(), 1u);
            EXPECT_EQ(out, (*expected)[0]) << "unit " << unit;
            EXPECT_FALSE(usedDefault) << "unit " << unit;
        } else if (unit >= 0x80 && unit < 0x100 && IsUndefinedByte(unit)) {
            EXPECT_EQ(static_cast<unsigned char>(out), unit) << "unit " << unit;
            EXPECT_FALSE(usedDefault) << "unit " << unit;
        } else {
            EXPECT_EQ(out, '?') << "unit " << unit;
            EXPECT_TRUE(usedDefault) << "unit " << unit;
        }
    }
}

TEST(CodePage, TextsOfAnyLengthDecodeAsTheirBytesDoOneByOne) {
    // Every byte value at every position of blocks and tails, in texts of 1 to 40 bytes.
    std::string bytes;
    for (int i = 0; i < 300; ++i) {
        bytes.push_back(static_cast<char>((i * 37 + 11) % 256));
    }
    for (size_t start = 0; start + 40 <= bytes.size(); start += 13) {
        for (int length = 1; length <= 40; ++length) {
            WCHAR units[40];
            ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, bytes.data() + start, length, units, 40),
                      length);
            for (int i = 0; i < length; ++i) {
                ASSERT_EQ(units[i], Decode(static_cast<unsigned char>(bytes[start + i])))
                    << "start " << start << " length " << length << " at " << i;
            }
        }
    }
}

TEST(CodePage, ZeroOutputSizeAsksForTheSizeAndMinusOneCountsTheTerminator) {
    const WCHAR wide[] = u"Işık";
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr), 5);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, 2, nullptr, 0, nullptr, nullptr), 2);
    char bytes[8];
    std::fill(std::begin(bytes), std::end(bytes), 'x');
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, bytes, 8, nullptr, nullptr), 5);
    EXPECT_EQ(std::string(bytes, 6), std::string("I\xFE\xFDk\0x", 6));

    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, bytes, -1, nullptr, 0), 5);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, bytes, 3, nullptr, 0), 3);
    WCHAR back[8] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes, -1, back, 8), 5);
    EXPECT_EQ(std::u16string(back), u"Işık");
    // The code page may also be named by its number.
    EXPECT_EQ(MultiByteToWideChar(1254, 0, bytes, 4, back, 8), 4);
    EXPECT_EQ(WideCharToMultiByte(1254, 0, wide, 4, bytes, 8, nullptr, nullptr), 4);
}

TEST(CodePage, TooSmallABufferFailsWithInsufficientBuffer) {
    const WCHAR wide[] = u"abc";
    char bytes[2];
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, 3, bytes, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    WCHAR units[2];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, units, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

// Each conversion needs exactly the size it reports: that size succeeds, one less fails
// with ERROR_INSUFFICIENT_BUFFER, and neither writes past the size it was given.
template <typename Unit>
void ExpectExactSize(const std::string& name, const std::function<int(Unit*, int)>& convert) {
    constexpr Unit kUntouched = 0x55;
    const int needed = convert(nullptr, 0);
    ASSERT_GT(needed, 0) << name;
    std::vector<Unit> buffer(static_cast<size_t>(needed) + 1, kUntouched);
    EXPECT_EQ(convert(buffer.data(), needed), needed) << name;
    EXPECT_EQ(buffer[needed], kUntouched) << name;
    std::fill(buffer.begin(), buffer.end(), kUntouched);
    SetLastError(0);
    EXPECT_EQ(convert(buffer.data(), needed - 1), 0) << name << ", one short";
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER) << name << ", one short";
    EXPECT_EQ(buffer[needed - 1], kUntouched) << name << ", one short";
}

TEST(CodePage, ExactlyTheReportedSizeIsEnoughAndOneLessIsNot) {
    struct Case {
        const char* name;
        UINT page;
        std::u16string wide;
        std::string bytes;
    };
    // Longer than one block of eight, which decoding takes at a time.
    const std::u16string longText = u"Çiçekçi Sokağı No 12 İzmir";
    const Case cases[] = {
        {"Windows-1254", CP_ACP, u"Işık", "I\xFE\xFDk"},
        {"Windows-1254, long", CP_ACP, longText, "\xC7i\xE7"
                                                  "ek\xE7"
                                                  "i Soka\xF0\xFD No 12 \xDDzmir"},
        {"UTF-8 ending in a surrogate pair", CP_UTF8, u"Iş \U0001F600", "I\xC5\x9F \xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) {
        const LPCWSTR wide = reinterpret_cast<LPCWSTR>(c.wide.c_str());
        const int units = static_cast<int>(c.wide.size());
        const int bytes = static_cast<int>(c.bytes.size());
        for (int length : {-1, units}) {
            ExpectExactSize<char>(std::string(c.name) + " to bytes, length " + std::to_string(length),
                                  [&](char* out, int size) {
                                      return WideCharToMultiByte(c.page, 0, wide, length, out, size, nullptr,
                                                                 nullptr);
                                  });
        }
        for (int length : {-1, bytes}) {
            ExpectExactSize<WCHAR>(std::string(c.name) + " from bytes, length " + std::to_string(length),
                                   [&](WCHAR* out, int size) {
                                       return MultiByteToWideChar(c.page, 0, c.bytes.c_str(), length, out, size);
                                   });
        }
    }
}

// Calls that fail return 0 and leave the reason for GetLastError.
void ExpectFailure(const char* what, const std::function<int()>& call, DWORD error) {
    SetLastError(0);
    EXPECT_EQ(call(), 0) << what;
    EXPECT_EQ(GetLastError(), error) << what;
}

TEST(CodePage, BadArgumentsFailWithTheirWin32Errors) {
    const WCHAR w[] = u"a";
    char b[4];
    WCHAR u[4];
    const auto toBytes = [](UINT page, DWORD flags, LPCWSTR src, int length, LPSTR dst, int size) {
        return [=] {
            return WideCharToMultiByte(page, flags, src, length, dst, size, nullptr, nullptr);
        };
    };
    const auto toUnits = [](UINT page, DWORD flags, LPCSTR src, int length, LPWSTR dst, int size) {
        return [=] { return MultiByteToWideChar(page, flags, src, length, dst, size); };
    };
    ExpectFailure("null source", toBytes(CP_ACP, 0, nullptr, 1, b, 4), ERROR_INVALID_PARAMETER);
    ExpectFailure("zero length", toBytes(CP_ACP, 0, w, 0, b, 4), ERROR_INVALID_PARAMETER);
    ExpectFailure("negative size", toBytes(CP_ACP, 0, w, 1, b, -1), ERROR_INVALID_PARAMETER);
    ExpectFailure("size, no buffer", toBytes(CP_ACP, 0, w, 1, nullptr, 4), ERROR_INVALID_PARAMETER);
    ExpectFailure("code page 437", toBytes(437, 0, w, 1, b, 4), ERROR_INVALID_PARAMETER);
    ExpectFailure("OEM code page", toBytes(CP_OEMCP, 0, w, 1, b, 4), ERROR_INVALID_PARAMETER);
    ExpectFailure("unknown flag", toBytes(CP_ACP, 0x1, w, 1, b, 4), ERROR_INVALID_FLAGS);
    ExpectFailure("composite check", toBytes(CP_ACP, WC_COMPOSITECHECK, w, 1, b, 4),
                  ERROR_INVALID_FLAGS);

    ExpectFailure("null source", toUnits(CP_ACP, 0, nullptr, 1, u, 4), ERROR_INVALID_PARAMETER);
    ExpectFailure("zero length", toUnits(CP_ACP, 0, "a", 0, u, 4), ERROR_INVALID_PARAMETER);
    ExpectFailure("negative size", toUnits(CP_ACP, 0, "a", 1, u, -1), ERROR_INVALID_PARAMETER);
    ExpectFailure("size, no buffer", toUnits(CP_ACP, 0, "a", 1, nullptr, 4),
                  ERROR_INVALID_PARAMETER);
    ExpectFailure("code page 437", toUnits(437, 0, "a", 1, u, 4), ERROR_INVALID_PARAMETER);
    ExpectFailure("unknown flag", toUnits(CP_ACP, 0x10, "a", 1, u, 4), ERROR_INVALID_FLAGS);
    ExpectFailure("precomposed and composite",
                  toUnits(CP_ACP, MB_PRECOMPOSED | MB_COMPOSITE, "a", 1, u, 4),
                  ERROR_INVALID_FLAGS);
}

TEST(CodePage, Utf8GoesBothWaysAndReplacesWhatIsNotWellFormed) {
    const WCHAR wide[] = u"Işık \U0001F600";
    const std::string utf8("I\xC5\x9F\xC4\xB1k \xF0\x9F\x98\x80", 12);
    char bytes[16];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr), 12);
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, bytes, 16, nullptr, nullptr), 12);
    EXPECT_EQ(std::string(bytes, 12), utf8);
    WCHAR units[16];
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, units, 16), 8);
    EXPECT_EQ(std::u16string(units), wide);

    const WCHAR lone[] = {u'a', 0xDC00, u'b'};
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, lone, 3, bytes, 16, nullptr, nullptr), 5);
    EXPECT_EQ(std::string(bytes, 5), "a\xEF\xBF\xBD"
                                     "b");
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0,
                                  "a\xFF\xC5"
                                  "b",
                                  4, units, 16),
              4);
    EXPECT_EQ(std::u16string(units, 4), u"a\uFFFD\uFFFDb");

    BOOL used = FALSE;
    const auto toBytes = [&](DWORD flags, LPCSTR defaultChar, LPBOOL usedDefault) {
        return [=, &lone, &bytes] {
            return WideCharToMultiByte(CP_UTF8, flags, lone, 3, bytes, 16, defaultChar,
                                       usedDefault);
        };
    };
    ExpectFailure("refusing ill-formed input", toBytes(0x80, nullptr, nullptr),
                  ERROR_NO_UNICODE_TRANSLATION);
    ExpectFailure("a default character", toBytes(0, "?", nullptr), ERROR_INVALID_PARAMETER);
    ExpectFailure("a used-default flag", toBytes(0, nullptr, &used), ERROR_INVALID_PARAMETER);
    ExpectFailure("best-fit flag", toBytes(WC_NO_BEST_FIT_CHARS, nullptr, nullptr),
                  ERROR_INVALID_FLAGS);
    ExpectFailure(
        "refusing ill-formed bytes",
        [&] { return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, units, 16); },
        ERROR_NO_UNICODE_TRANSLATION);
    ExpectFailure(
        "precomposed",
        [&] { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, units, 16); },
        ERROR_INVALID_FLAGS);
    ExpectFailure(
        "short buffer", [&] { return MultiByteToWideChar(CP_UTF8, 0, "abc", 3, units, 2); },
        ERROR_INSUFFICIENT_BUFFER);
}

TEST(CodePage, DefaultCharacterCanBeChosenAndItsUseIsReported) {
    const WCHAR wide[] = u"a\u4E00b";
    char bytes[3];
    BOOL usedDefault = FALSE;
    const char star = '*';
    ASSERT_EQ(
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, 3, bytes, 3, &star, &usedDefault),
        3);
    EXPECT_EQ(std::string(bytes, 3), "a*b");
    EXPECT_TRUE(usedDefault);
    // Asking for the size reports it too.
    usedDefault = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, 3, nullptr, 0, nullptr, &usedDefault), 3);
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, 1, bytes, 3, nullptr, &usedDefault), 1);
    EXPECT_FALSE(usedDefault);
}

TEST(CodePage, UndefinedBytesDecodeEvenWhenInvalidCharactersAreRefused) {
    const char bytes[] = "\x81\x9E";
    WCHAR units[2];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, 2, units, 2), 2);
    EXPECT_EQ(units[0], 0x81);
    EXPECT_EQ(units[1], 0x9E);
}

} // namespace
