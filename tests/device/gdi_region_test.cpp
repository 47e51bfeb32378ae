// Region set operations, checked pixel by pixel against a brute-force model, and the HRGN
// functions over them.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <utility>

#include "gdi/region.h"
#include "windows.h"

using device::gdi::Region;

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet Pixels(const Region& region) {
    PixelSet pixels;
    for (const RECT& r : region.Rects()) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                pixels.emplace(x, y);
            }
        }
    }
    return pixels;
}

PixelSet Pixels(const RECT& r) { return Pixels(Region(r)); }

// Rectangles must not overlap, the banded form must be canonical, and the bounds (which
// the quick cases of Subtract and Intersect trust) must be those of the rectangles.
void ExpectWellFormed(const Region& region) {
    size_t area = 0;
    RECT bounds{0, 0, 0, 0};
    for (const RECT& r : region.Rects()) {
        ASSERT_LT(r.left, r.right);
        ASSERT_LT(r.top, r.bottom);
        area += static_cast<size_t>(r.right - r.left) * (r.bottom - r.top);
        bounds = &r == &region.Rects().front()
                     ? r
                     : RECT{std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                            std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
    }
    const RECT held = region.Bounds();
    EXPECT_TRUE(held.left == bounds.left && held.top == bounds.top && held.right == bounds.right &&
                held.bottom == bounds.bottom)
        << "bounds out of date";
    EXPECT_EQ(area, Pixels(region).size()) << "rectangles overlap";
    for (size_t i = 1; i < region.Rects().size(); ++i) {
        const RECT& a = region.Rects()[i - 1];
        const RECT& b = region.Rects()[i];
        if (a.top == b.top) {
            EXPECT_EQ(a.bottom, b.bottom) << "band with uneven bottoms";
            EXPECT_LT(a.right, b.left) << "touching rectangles in a band were not merged";
        } else {
            EXPECT_GE(b.top, a.bottom) << "bands out of order";
        }
    }
}

TEST(Region, EmptyRectanglesMakeEmptyRegions) {
    EXPECT_TRUE(Region(RECT{5, 5, 5, 10}).IsEmpty());
    EXPECT_TRUE(Region(RECT{5, 5, 2, 10}).IsEmpty());
    Region region(RECT{0, 0, 4, 4});
    region.Union(RECT{10, 10, 10, 20});
    EXPECT_EQ(region, Region(RECT{0, 0, 4, 4}));
    RECT bounds = Region().Bounds();
    EXPECT_EQ(bounds.right - bounds.left, 0);
}

TEST(Region, ContainsExcludesRightAndBottomEdges) {
    Region region(RECT{2, 3, 6, 8});
    EXPECT_TRUE(region.Contains(2, 3));
    EXPECT_TRUE(region.Contains(5, 7));
    EXPECT_FALSE(region.Contains(6, 7));
    EXPECT_FALSE(region.Contains(5, 8));
    EXPECT_FALSE(region.Contains(1, 3));
}

TEST(Region, SubtractingTheMiddleLeavesAFrame) {
    Region frame(RECT{0, 0, 10, 10});
    frame.Subtract(RECT{2, 2, 8, 8});
    ExpectWellFormed(frame);
    EXPECT_EQ(Pixels(frame).size(), 100u - 36u);
    EXPECT_FALSE(frame.Contains(5, 5));
    EXPECT_TRUE(frame.Contains(1, 5));
    EXPECT_EQ(frame.Rects().size(), 4u); // top band, two side pieces, bottom band
    RECT bounds = frame.Bounds();
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.bottom, 10);
}

TEST(Region, UnionOfAdjacentRectanglesMergesIntoOne) {
    Region region(RECT{0, 0, 5, 5});
    region.Union(RECT{5, 0, 9, 5});
    region.Union(RECT{0, 5, 9, 7});
    EXPECT_EQ(region, Region(RECT{0, 0, 9, 7}));
}

TEST(Region, EqualityIgnoresHowTheRegionWasBuilt) {
    Region a(RECT{0, 0, 4, 4});
    a.Union(RECT{2, 2, 6, 6});
    Region b(RECT{2, 2, 6, 6});
    b.Union(RECT{0, 0, 4, 4});
    EXPECT_EQ(a, b);
    b.Subtract(RECT{5, 5, 6, 6});
    EXPECT_NE(a, b);
}

TEST(Region, OffsetMovesEveryRectangle) {
    Region region(RECT{0, 0, 2, 2});
    region.Union(RECT{4, 4, 6, 6});
    region.Offset(10, -1);
    EXPECT_TRUE(region.Contains(10, -1));
    EXPECT_TRUE(region.Contains(15, 4));
    EXPECT_FALSE(region.Contains(0, 0));
}

TEST(Region, IntersectsNeedsASharedPixel) {
    Region region(RECT{0, 0, 4, 4});
    EXPECT_TRUE(region.Intersects(RECT{3, 3, 10, 10}));
    EXPECT_FALSE(region.Intersects(RECT{4, 0, 10, 4}));
    EXPECT_FALSE(region.Intersects(RECT{1, 1, 1, 3}));
}

// Random operation sequences on a 16x16 grid, compared with plain pixel sets.
TEST(Region, RandomOperationsMatchAPixelModel) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> coordinate(0, 16);
    std::uniform_int_distribution<int> operation(0, 3);
    for (int round = 0; round < 200; ++round) {
        Region region;
        PixelSet model;
        for (int step = 0; step < 8; ++step) {
            const int x1 = coordinate(random);
            const int x2 = coordinate(random);
            const int y1 = coordinate(random);
            const int y2 = coordinate(random);
            const RECT r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
            const PixelSet rectPixels = Pixels(r);
            PixelSet next;
            switch (operation(random)) {
            case 0:
                region.Union(r);
                next = model;
                next.insert(rectPixels.begin(), rectPixels.end());
                break;
            case 1:
                region.Subtract(r);
                for (const auto& p : model) {
                    if (rectPixels.count(p) == 0) {
                        next.insert(p);
                    }
                }
                break;
            case 2:
                region.Intersect(r);
                for (const auto& p : model) {
                    if (rectPixels.count(p) != 0) {
                        next.insert(p);
                    }
                }
                break;
            default: {
                Region other(r);
                region.Xor(other);
                next = model;
                for (const auto& p : rectPixels) {
                    if (!next.erase(p)) {
                        next.insert(p);
                    }
                }
                break;
            }
            }
            model = std::move(next);
            ASSERT_EQ(Pixels(region), model) << "round " << round << " step " << step;
            ExpectWellFormed(region);
        }
    }
}

TEST(RegionHandles, CombineRgnModesAndTypes) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    RECT box{};

    EXPECT_EQ(CombineRgn(result, a, b, RGN_AND), SIMPLEREGION);
    EXPECT_EQ(GetRgnBox(result, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.right, 10);

    EXPECT_EQ(CombineRgn(result, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(result, 14, 14));
    EXPECT_FALSE(PtInRegion(result, 14, 2));

    EXPECT_EQ(CombineRgn(result, a, b, RGN_XOR), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(result, 7, 7));
    EXPECT_TRUE(PtInRegion(result, 2, 2));

    EXPECT_EQ(CombineRgn(result, a, b, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(result, 12, 12));

    EXPECT_EQ(CombineRgn(result, a, a, RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(result, b, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(result, 14, 14));
    EXPECT_EQ(CombineRgn(result, a, b, 99), ERROR);

    // The destination may be a source.
    EXPECT_EQ(CombineRgn(a, a, b, RGN_AND), SIMPLEREGION);
    EXPECT_FALSE(PtInRegion(a, 2, 2));

    for (HRGN region : {a, b, result}) {
        EXPECT_TRUE(DeleteObject(region));
    }
}

TEST(RegionHandles, OffsetAndRectInRegion) {
    RECT r{1, 1, 4, 4};
    HRGN region = CreateRectRgnIndirect(&r);
    EXPECT_EQ(OffsetRgn(region, 10, 20), SIMPLEREGION);
    RECT probe{12, 22, 13, 23};
    EXPECT_TRUE(RectInRegion(region, &probe));
    probe = RECT{0, 0, 11, 21};
    EXPECT_FALSE(RectInRegion(region, &probe));
    // Reversed corners are normalised, as CreateRectRgn does.
    HRGN reversed = CreateRectRgn(10, 10, 0, 0);
    EXPECT_TRUE(PtInRegion(reversed, 5, 5));
    DeleteObject(region);
    DeleteObject(reversed);
}

TEST(RegionHandles, DeletedRegionFailsSafely) {
    HRGN region = CreateRectRgn(0, 0, 5, 5);
    ASSERT_TRUE(DeleteObject(region));
    SetLastError(0);
    RECT box{};
    EXPECT_EQ(GetRgnBox(region, &box), ERROR);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(PtInRegion(region, 1, 1));
    EXPECT_EQ(OffsetRgn(region, 1, 1), ERROR);
    EXPECT_FALSE(DeleteObject(region));
    // A new object may take the slot, but not the handle.
    HRGN next = CreateRectRgn(0, 0, 1, 1);
    EXPECT_NE(next, region);
    EXPECT_EQ(GetObjectType(region), 0u);
    EXPECT_EQ(GetObjectType(next), OBJ_REGION);
    DeleteObject(next);
}

} // namespace
