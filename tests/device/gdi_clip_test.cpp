// Window DCs and clipping: a window DC maps logical (0,0) to its origin and never draws outside
// its visible region, whatever the clip calls or drawing calls ask for.
#include <gtest/gtest.h>

#include "gdi/handle_table.h"
#include "gdi_test_canvas.h"

using device::gdi::CreateWindowDC;
using device::gdi::DestroyWindowDC;
using device::gdi::Region;
using device::gdi::Surface;
using device::gdi::UpdateWindowDC;
using device::gdi::WindowOfDC;
using gdi_test::Picture;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
const std::map<COLORREF, char> kLegend = {{kWhite, '.'}, {RGB(0, 0, 0), '#'},
                                          {RGB(255, 0, 0), 'r'}};

HWND FakeWindow() { return reinterpret_cast<HWND>(0x1234); }

HBRUSH Black() { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }

// An 8x6 surface with a window at (2,1) whose visible part is (2,1)-(7,5) minus its
// top-right 2x2 corner (covered by a sibling, say).
struct WindowFixture : ::testing::Test {
    void SetUp() override {
        surface.Resize(8, 6, 0xFFFFFF);
        Region visible(RECT{2, 1, 7, 5});
        visible.Subtract(RECT{5, 1, 7, 3});
        dc = CreateWindowDC(&surface, POINT{2, 1}, visible, FakeWindow());
        ASSERT_NE(dc, nullptr);
    }
    void TearDown() override { EXPECT_TRUE(DestroyWindowDC(dc)); }

    std::string Pic() const { return Picture(surface, kLegend); }

    Surface surface;
    HDC dc = nullptr;
};

TEST_F(WindowFixture, FillingEverythingStaysInsideTheVisibleRegion) {
    RECT huge{-100, -100, 100, 100};
    FillRect(dc, &huge, Black());
    EXPECT_EQ(Pic(), "........\n"
                     "..###...\n"
                     "..###...\n"
                     "..#####.\n"
                     "..#####.\n"
                     "........\n");
}

TEST_F(WindowFixture, LogicalOriginIsTheWindowOrigin) {
    EXPECT_EQ(SetPixel(dc, 0, 0, RGB(255, 0, 0)), RGB(255, 0, 0));
    EXPECT_EQ(surface.At(2, 1), 0xFF0000u);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(SetPixel(dc, 4, 0, RGB(255, 0, 0)), CLR_INVALID) << "covered corner";
    EXPECT_EQ(GetPixel(dc, 4, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
}

TEST_F(WindowFixture, WindowOfDcAndDestroy) {
    EXPECT_EQ(WindowOfDC(dc), FakeWindow());
    EXPECT_EQ(GetObjectType(dc), OBJ_DC);
    EXPECT_FALSE(DeleteDC(dc)) << "window DCs belong to the window system";
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(WindowOfDC(memory), nullptr);
    EXPECT_FALSE(DestroyWindowDC(memory));
    DeleteDC(memory);
}

TEST_F(WindowFixture, ClipBoxIsTheVisibleBoundsInLogicalUnits) {
    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 5);
    EXPECT_EQ(box.bottom, 4);
}

TEST_F(WindowFixture, IntersectClipRectNarrowsAndCannotWiden) {
    EXPECT_EQ(IntersectClipRect(dc, 1, 1, 20, 20), COMPLEXREGION);
    RECT all{0, 0, 10, 10};
    FillRect(dc, &all, Black());
    EXPECT_EQ(Pic(), "........\n"
                     "........\n"
                     "...##...\n"
                     "...####.\n"
                     "...####.\n"
                     "........\n");
}

TEST_F(WindowFixture, ExcludeClipRectPunchesAHole) {
    EXPECT_EQ(ExcludeClipRect(dc, 1, 2, 3, 3), COMPLEXREGION);
    RECT all{0, 0, 10, 10};
    FillRect(dc, &all, Black());
    EXPECT_EQ(Pic(), "........\n"
                     "..###...\n"
                     "..###...\n"
                     "..#..##.\n"
                     "..#####.\n"
                     "........\n");
}

TEST_F(WindowFixture, SelectClipRgnUsesDeviceUnitsAndCopiesTheRegion) {
    SetViewportOrgEx(dc, 1, 0, nullptr);
    HRGN region = CreateRectRgn(0, 2, 2, 4);
    EXPECT_EQ(SelectClipRgn(dc, region), SIMPLEREGION);
    DeleteObject(region); // the DC keeps its own copy
    RECT all{-5, -5, 10, 10};
    FillRect(dc, &all, Black());
    EXPECT_EQ(Pic(), "........\n"
                     "........\n"
                     "........\n"
                     "..##....\n"
                     "..##....\n"
                     "........\n");
    EXPECT_EQ(SelectClipRgn(dc, nullptr), COMPLEXREGION) << "back to the visible region";
}

TEST_F(WindowFixture, ViewportOriginMovesIntersectClipRectArguments) {
    SetViewportOrgEx(dc, 1, 1, nullptr);
    IntersectClipRect(dc, 0, 0, 1, 1); // device (1,1)-(2,2) = surface (3,2)
    RECT all{-5, -5, 10, 10};
    FillRect(dc, &all, Black());
    EXPECT_EQ(surface.At(3, 2), 0u);
    int black = 0;
    for (uint32_t pixel : surface.pixels) {
        black += pixel == 0 ? 1 : 0;
    }
    EXPECT_EQ(black, 1);
}

TEST_F(WindowFixture, LinesAndTextAreClippedToo) {
    MoveToEx(dc, -3, 2, nullptr);
    LineTo(dc, 20, 2);
    EXPECT_EQ(surface.At(4, 3), 0u) << "the line itself is drawn where visible";
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 0, 0));
    TextOutW(dc, -10, -10, u"WWWWWWWW", 8);
    for (int y = 0; y < surface.height; ++y) {
        for (int x = 0; x < surface.width; ++x) {
            const bool visible = x >= 2 && x < 7 && y >= 1 && y < 5 && !(x >= 5 && y < 3);
            if (!visible) {
                EXPECT_EQ(surface.At(x, y), 0xFFFFFFu) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(surface.At(2, 1), 0xFF0000u) << "the text's opaque box is drawn where visible";
}

TEST_F(WindowFixture, UpdateWindowDcMovesTheDc) {
    ASSERT_TRUE(UpdateWindowDC(dc, POINT{0, 0}, Region(RECT{0, 0, 2, 2})));
    RECT all{0, 0, 10, 10};
    FillRect(dc, &all, Black());
    EXPECT_EQ(Pic(), "##......\n"
                     "##......\n"
                     "........\n"
                     "........\n"
                     "........\n"
                     "........\n");
}

// Reference: text in a window DC away from the surface origin looks exactly like text drawn
// at the matching place in a memory bitmap.
TEST(WindowDc, TextLandsRelativeToTheOrigin) {
    Surface surface;
    surface.Resize(60, 30, 0xFFFFFF);
    HDC dc = CreateWindowDC(&surface, POINT{7, 5}, Region(RECT{0, 0, 60, 30}), nullptr);
    TextOutW(dc, 2, 3, u"Ağır", 4);
    DestroyWindowDC(dc);
    gdi_test::MemoryCanvas expected(60, 30);
    TextOutW(expected.dc(), 9, 8, u"Ağır", 4);
    int differences = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x) {
            differences += device::gdi::ToColorRef(surface.At(x, y)) != expected.At(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differences, 0);
}

TEST(WindowDc, VisibleRegionIsCutToTheSurface) {
    Surface surface;
    surface.Resize(3, 3, 0xFFFFFF);
    HDC dc = CreateWindowDC(&surface, POINT{1, 1}, Region(RECT{-10, -10, 10, 10}), nullptr);
    RECT all{-10, -10, 10, 10};
    EXPECT_TRUE(FillRect(dc, &all, Black()));
    for (uint32_t pixel : surface.pixels) {
        EXPECT_EQ(pixel, 0u);
    }
    RECT box{};
    GetClipBox(dc, &box);
    EXPECT_EQ(box.left, -1);
    EXPECT_EQ(box.right, 2);
    EXPECT_TRUE(DestroyWindowDC(dc));
}

TEST(WindowDc, DestroyingReleasesSelectedObjectsAndStaleDcFails) {
    GetStockObject(WHITE_BRUSH); // the stock objects are made on first use; count after that
    const size_t before = device::gdi::LiveObjectCount();
    Surface surface;
    surface.Resize(2, 2);
    HDC dc = CreateWindowDC(&surface, POINT{0, 0}, Region(RECT{0, 0, 2, 2}), nullptr);
    HFONT font = CreateFontIndirectW(std::make_unique<LOGFONTW>().get());
    SelectObject(dc, font);
    DeleteObject(font);
    ASSERT_TRUE(DestroyWindowDC(dc));
    EXPECT_EQ(device::gdi::LiveObjectCount(), before);
    EXPECT_FALSE(DestroyWindowDC(dc));
    EXPECT_EQ(WindowOfDC(dc), nullptr);
    EXPECT_EQ(SetPixel(dc, 0, 0, 0), CLR_INVALID);
}

TEST(MemoryDcClipping, ClipBoxAndEmptyClip) {
    gdi_test::MemoryCanvas canvas(10, 8);
    RECT box{};
    EXPECT_EQ(GetClipBox(canvas.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.bottom, 8);
    EXPECT_EQ(IntersectClipRect(canvas.dc(), 20, 20, 30, 30), NULLREGION);
    RECT all{0, 0, 10, 8};
    FillRect(canvas.dc(), &all, Black());
    EXPECT_EQ(GetClipBox(canvas.dc(), &box), NULLREGION);
    EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), CLR_INVALID) << "GetPixel honours the clip";
    SelectClipRgn(canvas.dc(), nullptr);
    EXPECT_EQ(canvas.Count(kWhite), 80);
}

} // namespace
