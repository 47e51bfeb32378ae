// The device's kernel services besides the code page: the program's module and file name,
// local memory, and lstrlenW.
#include "winbase.h"

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
