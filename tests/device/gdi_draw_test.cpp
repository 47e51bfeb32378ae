// Fills, lines, shapes and blits on tiny bitmaps, asserting exactly which pixels changed.
#include <gtest/gtest.h>

#include "gdi_test_canvas.h"

using gdi_test::kBlackOnWhite;
using gdi_test::MemoryCanvas;
using gdi_test::Picture;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

const std::map<COLORREF, char> kLegend = {
    {kWhite, '.'}, {kBlack, '#'}, {kRed, 'r'}, {kBlue, 'b'}, {RGB(0, 255, 255), 'c'}};

std::string Pic(const MemoryCanvas& canvas) {
    return Picture(canvas.dc(), RECT{0, 0, canvas.width(), canvas.height()}, kLegend);
}

TEST(FillRect, LeavesOutTheRightAndBottomEdges) {
    MemoryCanvas canvas(6, 5);
    RECT r{1, 1, 4, 3};
    EXPECT_TRUE(FillRect(canvas.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(Pic(canvas), "......\n"
                           ".###..\n"
                           ".###..\n"
                           "......\n"
                           "......\n");
}

TEST(FillRect, EmptyOrInvertedRectanglesPaintNothing) {
    MemoryCanvas canvas(4, 4);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RECT inverted{3, 3, 1, 1};
    RECT flat{1, 1, 3, 1};
    FillRect(canvas.dc(), &inverted, black);
    FillRect(canvas.dc(), &flat, black);
    EXPECT_EQ(canvas.Count(kWhite), 16);
}

TEST(FillRect, ASystemColourIndexPlusOneIsABrush) {
    MemoryCanvas canvas(3, 1);
    RECT first{0, 0, 1, 1};
    RECT second{1, 0, 2, 1};
    RECT third{2, 0, 3, 1};
    EXPECT_TRUE(FillRect(canvas.dc(), &first, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
    EXPECT_TRUE(FillRect(canvas.dc(), &second, reinterpret_cast<HBRUSH>((COLOR_HIGHLIGHT & 0xFF) + 1)));
    EXPECT_TRUE(FillRect(canvas.dc(), &third, GetSysColorBrush(COLOR_BTNSHADOW)));
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas.At(1, 0), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.At(2, 0), RGB(128, 128, 128));
}

TEST(FillRect, NullBrushPaintsNothing) {
    MemoryCanvas canvas(3, 3);
    RECT all{0, 0, 3, 3};
    EXPECT_TRUE(FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))));
    EXPECT_EQ(canvas.Count(kWhite), 9);
}

TEST(FrameRect, DrawsAOnePixelBorderInside) {
    MemoryCanvas canvas(6, 5);
    RECT r{1, 0, 5, 4};
    HBRUSH red = CreateSolidBrush(kRed);
    EXPECT_TRUE(FrameRect(canvas.dc(), &r, red));
    DeleteObject(red);
    EXPECT_EQ(Pic(canvas), ".rrrr.\n"
                           ".r..r.\n"
                           ".r..r.\n"
                           ".rrrr.\n"
                           "......\n");
}

TEST(DrawFocusRect, InvertsEveryOtherBorderPixelAndUndoesItself) {
    MemoryCanvas canvas(6, 5);
    RECT r{0, 0, 6, 5};
    EXPECT_TRUE(DrawFocusRect(canvas.dc(), &r));
    // The dots follow a checkerboard anchored at the DC's origin.
    EXPECT_EQ(Pic(canvas), "#.#.#.\n"
                           ".....#\n"
                           "#.....\n"
                           ".....#\n"
                           "#.#.#.\n");
    EXPECT_TRUE(DrawFocusRect(canvas.dc(), &r));
    EXPECT_EQ(canvas.Count(kWhite), 30);
}

TEST(Lines, LineToLeavesOutTheEndPointAndMovesThePosition) {
    MemoryCanvas canvas(6, 4);
    HDC dc = canvas.dc();
    MoveToEx(dc, 0, 1, nullptr);
    EXPECT_TRUE(LineTo(dc, 5, 1));
    EXPECT_TRUE(LineTo(dc, 5, 3));
    // The first line stops short of (5,1); the second starts there and stops short of (5,3).
    EXPECT_EQ(Pic(canvas), "......\n"
                           "######\n"
                           ".....#\n"
                           "......\n");
    POINT position{};
    MoveToEx(dc, 0, 0, &position);
    EXPECT_EQ(position.x, 5);
    EXPECT_EQ(position.y, 3);
}

TEST(Lines, DiagonalAndReversedLines) {
    MemoryCanvas canvas(5, 5);
    HDC dc = canvas.dc();
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 4, 4);
    MoveToEx(dc, 4, 0, nullptr);
    LineTo(dc, 2, 0);
    EXPECT_EQ(Pic(canvas), "#..##\n"
                           ".#...\n"
                           "..#..\n"
                           "...#.\n"
                           ".....\n");
}

TEST(Lines, XorLinesJoinWithoutDoubleDrawing) {
    MemoryCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    SetROP2(dc, R2_XORPEN);
    HPEN white = static_cast<HPEN>(GetStockObject(WHITE_PEN));
    SelectObject(dc, white);
    const POINT square[] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}, {0, 0}};
    EXPECT_TRUE(Polyline(dc, square, 5));
    // XOR with white turns white to black, once per pixel: corners are not hit twice.
    EXPECT_EQ(Pic(canvas), "####\n"
                           "#..#\n"
                           "#..#\n"
                           "####\n");
}

TEST(Lines, DottedPenAlternatesAndFillsGapsWhenOpaque) {
    MemoryCanvas canvas(8, 2);
    HDC dc = canvas.dc();
    HPEN dotted = CreatePen(PS_DOT, 1, kBlack);
    SelectObject(dc, dotted);
    SetBkColor(dc, kRed);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 8, 0);
    SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, 0, 1, nullptr);
    LineTo(dc, 8, 1);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(dotted);
    EXPECT_EQ(Pic(canvas), "###rrr##\n"
                           "###...##\n");
}

TEST(Lines, HugeLinesDrawOnlyTheirVisiblePart) {
    MemoryCanvas canvas(6, 5);
    HDC dc = canvas.dc();
    MoveToEx(dc, -1000000000, 1, nullptr);
    LineTo(dc, 2000000000, 1);
    MoveToEx(dc, -100, -100, nullptr);
    LineTo(dc, 100, 100);
    EXPECT_EQ(Pic(canvas), "#.....\n"
                           "######\n"
                           "..#...\n"
                           "...#..\n"
                           "....#.\n");
    // Extreme coordinates neither overflow nor hang.
    MoveToEx(dc, INT32_MIN, INT32_MIN, nullptr);
    EXPECT_TRUE(LineTo(dc, INT32_MAX, INT32_MAX));
    RECT all{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    EXPECT_TRUE(FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(canvas.Count(kBlack), 30);
    EXPECT_TRUE(Ellipse(dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
}

TEST(Lines, NullPenDrawsNothingButMoves) {
    MemoryCanvas canvas(4, 4);
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    EXPECT_TRUE(LineTo(canvas.dc(), 3, 3));
    EXPECT_EQ(canvas.Count(kWhite), 16);
    POINT position{};
    MoveToEx(canvas.dc(), 0, 0, &position);
    EXPECT_EQ(position.x, 3);
}

TEST(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    MemoryCanvas canvas(7, 6);
    HDC dc = canvas.dc();
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(dc, red);
    EXPECT_TRUE(Rectangle(dc, 1, 1, 6, 5));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
    EXPECT_EQ(Pic(canvas), ".......\n"
                           ".#####.\n"
                           ".#rrr#.\n"
                           ".#rrr#.\n"
                           ".#####.\n"
                           ".......\n");
}

TEST(Shapes, RectangleWithANullPenIsOnePixelSmaller) {
    MemoryCanvas canvas(6, 5);
    HDC dc = canvas.dc();
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Rectangle(dc, 1, 1, 5, 4);
    EXPECT_EQ(Pic(canvas), "......\n"
                           ".###..\n"
                           ".###..\n"
                           "......\n"
                           "......\n");
}

TEST(Shapes, RectangleWithANullBrushLeavesTheInside) {
    MemoryCanvas canvas(5, 5, kBlue);
    HDC dc = canvas.dc();
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, 5, 5);
    EXPECT_EQ(Pic(canvas), "#####\n"
                           "#bbb#\n"
                           "#bbb#\n"
                           "#bbb#\n"
                           "#####\n");
}

TEST(Shapes, EllipseIsSymmetricAndInsideItsBox) {
    MemoryCanvas canvas(12, 10);
    HDC dc = canvas.dc();
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SelectObject(dc, GetStockObject(NULL_PEN));
    EXPECT_TRUE(Ellipse(dc, 1, 1, 11, 9));
    const RECT ink = canvas.Ink();
    EXPECT_EQ(ink.left, 1);
    EXPECT_EQ(ink.top, 1);
    EXPECT_EQ(ink.right, 11);
    EXPECT_EQ(ink.bottom, 9);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(canvas.At(x, y), canvas.At(11 - x, y)) << x << "," << y;
            EXPECT_EQ(canvas.At(x, y), canvas.At(x, 9 - y)) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.At(1, 1), kWhite) << "corners of the box stay outside";
    EXPECT_EQ(canvas.At(6, 5), kBlack);
}

TEST(Shapes, EllipseOutlineSurroundsTheFill) {
    MemoryCanvas canvas(9, 9);
    HDC dc = canvas.dc();
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(dc, red);
    Ellipse(dc, 0, 0, 9, 9);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
    EXPECT_EQ(canvas.At(4, 0), kBlack);
    EXPECT_EQ(canvas.At(0, 4), kBlack);
    EXPECT_EQ(canvas.At(8, 4), kBlack);
    EXPECT_EQ(canvas.At(4, 4), kRed);
    // No red pixel touches the outside: every red pixel's neighbours are red or black.
    for (int y = 1; y < 8; ++y) {
        for (int x = 1; x < 8; ++x) {
            if (canvas.At(x, y) != kRed) {
                continue;
            }
            for (const POINT d : {POINT{1, 0}, POINT{-1, 0}, POINT{0, 1}, POINT{0, -1}}) {
                EXPECT_NE(canvas.At(x + d.x, y + d.y), kWhite) << x << "," << y;
            }
        }
    }
}

TEST(Shapes, PolygonFillsItsInteriorAndOutlinesTheClosedFigure) {
    MemoryCanvas canvas(6, 6);
    HDC dc = canvas.dc();
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(dc, red);
    const POINT square[] = {{0, 0}, {5, 0}, {5, 5}, {0, 5}};
    EXPECT_TRUE(Polygon(dc, square, 4));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
    EXPECT_EQ(Pic(canvas), "######\n"
                           "#rrrr#\n"
                           "#rrrr#\n"
                           "#rrrr#\n"
                           "#rrrr#\n"
                           "######\n");
}

TEST(Shapes, PolygonTriangleWithoutPen) {
    MemoryCanvas canvas(5, 4);
    HDC dc = canvas.dc();
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    const POINT triangle[] = {{0, 0}, {4, 0}, {0, 4}};
    Polygon(dc, triangle, 3);
    // Pixels whose centres lie inside: the hypotenuse leaves out its own pixels.
    EXPECT_EQ(Pic(canvas), "###..\n"
                           "##...\n"
                           "#....\n"
                           ".....\n");
}

TEST(Pixels, SetPixelAnswersTheColourAndGetPixelReadsIt) {
    MemoryCanvas canvas(3, 3);
    EXPECT_EQ(SetPixel(canvas.dc(), 1, 2, kBlue), kBlue);
    EXPECT_EQ(GetPixel(canvas.dc(), 1, 2), kBlue);
    EXPECT_EQ(SetPixel(canvas.dc(), 3, 0, kBlue), CLR_INVALID) << "outside the bitmap";
    EXPECT_EQ(GetPixel(canvas.dc(), -1, 0), CLR_INVALID);
    EXPECT_EQ(canvas.Count(kBlue), 1);
}

TEST(Blits, PatBltOperations) {
    MemoryCanvas canvas(4, 1);
    HDC dc = canvas.dc();
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(PatBlt(dc, 0, 0, 1, 1, PATCOPY));
    EXPECT_TRUE(PatBlt(dc, 1, 0, 1, 1, BLACKNESS));
    EXPECT_TRUE(PatBlt(dc, 1, 0, 1, 1, WHITENESS));
    EXPECT_TRUE(PatBlt(dc, 2, 0, 1, 1, DSTINVERT));
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(dc, red);
    EXPECT_TRUE(PatBlt(dc, 3, 0, 1, 1, PATINVERT)); // white ^ red
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
    EXPECT_EQ(canvas.At(0, 0), kBlack);
    EXPECT_EQ(canvas.At(1, 0), kWhite);
    EXPECT_EQ(canvas.At(2, 0), kBlack);
    EXPECT_EQ(canvas.At(3, 0), RGB(0, 255, 255));
    EXPECT_FALSE(PatBlt(dc, 0, 0, 1, 1, 0x00EE0086)) << "SRCPAINT is not a pattern operation";
}

TEST(Blits, PatBltWithNegativeSizeCoversTheSameArea) {
    MemoryCanvas canvas(4, 4);
    SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
    PatBlt(canvas.dc(), 3, 3, -2, -2, PATCOPY);
    EXPECT_EQ(Pic(canvas), "....\n"
                           ".##.\n"
                           ".##.\n"
                           "....\n");
}

TEST(Blits, BitBltCopiesBetweenDcsAndClipsToTheSource) {
    MemoryCanvas source(3, 3, kRed);
    SetPixel(source.dc(), 0, 0, kBlue);
    MemoryCanvas target(5, 5);
    EXPECT_TRUE(BitBlt(target.dc(), 1, 1, 4, 4, source.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(Pic(target), ".....\n"
                           ".brr.\n"
                           ".rrr.\n"
                           ".rrr.\n"
                           ".....\n");
}

TEST(Blits, BitBltWithinOneBitmapHandlesOverlap) {
    MemoryCanvas canvas(5, 1);
    SetPixel(canvas.dc(), 0, 0, kRed);
    SetPixel(canvas.dc(), 1, 0, kBlue);
    SetPixel(canvas.dc(), 2, 0, kBlack);
    EXPECT_TRUE(BitBlt(canvas.dc(), 1, 0, 3, 1, canvas.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(Pic(canvas), "rrb#.\n");
}

TEST(Viewport, OriginShiftsDrawing) {
    MemoryCanvas canvas(5, 5);
    HDC dc = canvas.dc();
    SetViewportOrgEx(dc, 2, 1, nullptr);
    RECT r{0, 0, 2, 2};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetPixel(dc, 0, 0), kBlack) << "GetPixel is logical too";
    SetViewportOrgEx(dc, 0, 0, nullptr);
    EXPECT_EQ(Pic(canvas), ".....\n"
                           "..##.\n"
                           "..##.\n"
                           ".....\n"
                           ".....\n");
}

} // namespace
