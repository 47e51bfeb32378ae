// The device's kernel services besides the code page: the program's module and file name,
// local memory, lstrlenW, and the UTF-8 decoder's replacement of ill-formed bytes.
#include "winbase.h"

#include "kernel/utf8.h"
#include "module_path.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>

namespace {

constexpr DWORD kErrorModNotFound = 126;
constexpr DWORD kErrorNotLocked = 158;

std::string ExecutablePath() {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

std::u16string Widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// Restores the operating system's answer however the test ends.
struct ModulePathOverride {
    explicit ModulePathOverride(const char* path) { DeviceSetModulePath(path); }
    ~ModulePathOverride() { DeviceSetModulePath(nullptr); }
};

TEST(ModuleFileName, IsTheRunningProgramsOwnFile) {
    const std::string path = ExecutablePath();
    ASSERT_FALSE(path.empty());
    WCHAR buffer[4096];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 4096);
    EXPECT_EQ(std::u16string(buffer, length), Widen(path));
    EXPECT_EQ(buffer[length], u'\0');
    EXPECT_EQ(GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, 4096), length);
}

TEST(ModuleFileName, LongNameIsCutToTheBufferAndTerminated) {
    ModulePathOverride path("/apps/adres");
    WCHAR buffer[8];
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 5), 5u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::u16string(buffer), u"/app");
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(ModuleFileName, Utf8NamesBecomeUtf16AndBrokenBytesReplacementCharacters) {
    ModulePathOverride path("/programlar/adres\xC5\x9F\xF0\x9F\x98\x80\xFF/x");
    WCHAR buffer[64];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, 64);
    EXPECT_EQ(std::u16string(buffer, length), u"/programlar/adresş\U0001F600\uFFFD/x");
}

TEST(ModuleHandle, OnlyTheProgramsOwnModuleIsKnown) {
    const HMODULE self = GetModuleHandleW(nullptr);
    EXPECT_NE(self, nullptr);
    EXPECT_EQ(GetModuleHandleW(nullptr), self);
    ModulePathOverride path("/apps/AdresDefteri");
    EXPECT_EQ(GetModuleHandleW(u"adresdefteri"), self);
    EXPECT_EQ(GetModuleHandleW(u"/apps/AdresDefteri"), self);
    SetLastError(0);
    EXPECT_EQ(GetModuleHandleW(u"coredll.dll"), nullptr);
    EXPECT_EQ(GetLastError(), kErrorModNotFound);
    WCHAR buffer[8];
    EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(&buffer), buffer, 8), 0u);
    EXPECT_EQ(GetLastError(), kErrorModNotFound);
}

TEST(LocalMemory, FixedBlockIsItsOwnAddressAndZeroedWhenAsked) {
    HLOCAL block = LocalAlloc(LPTR, 16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(LocalLock(block), block);
    EXPECT_EQ(LocalSize(block), 16u);
    const unsigned char zeros[16] = {};
    EXPECT_EQ(std::memcmp(block, zeros, 16), 0);
    SetLastError(0);
    EXPECT_FALSE(LocalUnlock(block));
    EXPECT_EQ(GetLastError(), kErrorNotLocked);
    EXPECT_EQ(LocalFree(block), nullptr);
}

TEST(LocalMemory, MoveableBlockCountsItsLocks) {
    HLOCAL block = LocalAlloc(LHND, 8);
    ASSERT_NE(block, nullptr);
    void* data = LocalLock(block);
    ASSERT_NE(data, nullptr);
    EXPECT_NE(data, block);
    std::memcpy(data, "abcdefg", 8);
    EXPECT_EQ(LocalLock(block), data);
    EXPECT_TRUE(LocalUnlock(block));
    SetLastError(1);
    EXPECT_FALSE(LocalUnlock(block));
    EXPECT_EQ(GetLastError(), NO_ERROR);
    EXPECT_FALSE(LocalUnlock(block));
    EXPECT_EQ(GetLastError(), kErrorNotLocked);
    EXPECT_STREQ(static_cast<char*>(LocalLock(block)), "abcdefg");
    EXPECT_EQ(LocalSize(block), 8u);
    EXPECT_EQ(LocalFree(block), nullptr); // freed although still locked, as Windows does
}

TEST(LocalMemory, UnknownAndFreedHandlesAreRefused) {
    HLOCAL block = LocalAlloc(LMEM_FIXED, 4);
    ASSERT_EQ(LocalFree(block), nullptr);
    SetLastError(0);
    EXPECT_EQ(LocalFree(block), block);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    int local = 0;
    EXPECT_EQ(LocalLock(&local), nullptr);
    EXPECT_EQ(LocalSize(&local), 0u);
    EXPECT_FALSE(LocalUnlock(&local));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(LocalFree(nullptr), nullptr);
    EXPECT_EQ(LocalAlloc(0x10000, 4), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(LocalMemory, EmptyMoveableBlockIsDiscarded) {
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE, 0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(LocalLock(block), nullptr);
    EXPECT_EQ(LocalSize(block), 0u);
    EXPECT_EQ(LocalFree(block), nullptr);
    HLOCAL fixed = LocalAlloc(LMEM_FIXED, 0);
    EXPECT_NE(fixed, nullptr);
    EXPECT_EQ(LocalFree(fixed), nullptr);
}

TEST(Strings, LstrlenWCountsUnitsUpToTheTerminator) {
    EXPECT_EQ(lstrlenW(u"Işık"), 4);
    EXPECT_EQ(lstrlenW(u""), 0);
    EXPECT_EQ(lstrlenW(nullptr), 0);
    EXPECT_EQ(lstrlenW(u"a\U0001F600"), 3);
}

} // namespace

namespace {

// One U+FFFD for each maximal subpart of an ill-formed stretch: a lead byte with the
// continuation bytes valid after it so far. The first row is Unicode's own example.
TEST(Utf8Decoder, EachMaximalSubpartBecomesOneReplacement) {
    constexpr char16_t R = 0xFFFD;
    const struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"a\xF1\x80\x80\xE1\x80\xC2"
         "b\x80"
         "c\x80\xBF"
         "d",
         {u'a', R, R, R, u'b', R, u'c', R, R, u'd'}},
        {"\xE0\x80\x80", {R, R, R}}, // overlong: 0x80 may not follow E0
        {"\xE0\xA0\x80", u"\u0800"},
        {"\xED\xA0\x80", {R, R, R}}, // a surrogate: ED takes 80..9F only
        {"\xED\x9F\xBF", u"\uD7FF"},
        {"\xF0\x80\x80\x80", {R, R, R, R}}, // overlong: F0 takes 90..BF
        {"\xF4\x90\x80\x80", {R, R, R, R}}, // past U+10FFFF: F4 takes 80..8F
        {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        {"\xF0\x9F\x98"
         "x",
         {R, u'x'}},           // cut short, then a character
        {"\xF0\x9F\x98", {R}}, // cut short by the end
        {"\xC0\xAF\xC1\xBF\xF5\xFF", {R, R, R, R, R, R}},
        {"\xE1\x80\xE1\x80\x80", {R, u'\u1000'}},
    };
    for (const auto& c : cases) {
        bool invalid = false;
        EXPECT_EQ(device_kernel::Utf8ToUtf16(c.bytes, &invalid), c.text) << c.bytes.size();
        EXPECT_EQ(invalid, c.text.find(R) != std::u16string::npos) << c.bytes.size();
    }
}

} // namespace
