// PNG round trips of surfaces, and the errors for files that are not there or not PNGs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "display/png_image.h"

using device::ReadPng;
using device::WritePng;
using device::gdi::Surface;

namespace {

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("gdi_png_test_" + std::to_string(::getpid()) + "_" + name))
        .string();
}

TEST(Png, RoundTripKeepsEveryPixel) {
    Surface surface;
    surface.Resize(7, 5);
    for (size_t i = 0; i < surface.pixels.size(); ++i) {
        surface.pixels[i] = static_cast<uint32_t>(i * 0x030507 + 0x10FF20) & 0xFFFFFF;
    }
    const std::string path = TempPath("round.png");
    std::string error;
    ASSERT_TRUE(WritePng(surface, path, &error)) << error;
    Surface back;
    ASSERT_TRUE(ReadPng(path, &back, &error)) << error;
    EXPECT_EQ(back.width, 7);
    EXPECT_EQ(back.height, 5);
    EXPECT_EQ(back.pixels, surface.pixels);
    std::remove(path.c_str());
}

TEST(Png, MissingOrBrokenFilesFailWithAMessage) {
    Surface untouched;
    untouched.Resize(1, 1, 0x123456);
    std::string error;
    EXPECT_FALSE(ReadPng(TempPath("absent.png"), &untouched, &error));
    EXPECT_FALSE(error.empty());
    const std::string path = TempPath("broken.png");
    std::ofstream(path) << "not a png";
    error.clear();
    EXPECT_FALSE(ReadPng(path, &untouched, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(untouched.pixels[0], 0x123456u) << "the target is left alone on failure";
    std::remove(path.c_str());
}

TEST(Png, RefusesToWriteAnEmptySurfaceOrToAMissingDirectory) {
    std::string error;
    EXPECT_FALSE(WritePng(Surface{}, TempPath("empty.png"), &error));
    Surface one;
    one.Resize(1, 1);
    EXPECT_FALSE(WritePng(one, "/nonexistent-directory/x.png", &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
