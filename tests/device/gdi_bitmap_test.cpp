// Bitmaps made from bits, blits between colour and monochrome bitmaps, and icons made from
// bitmaps, drawn and read back pixel by pixel.
#include <gtest/gtest.h>

#include "gdi_test_canvas.h"

#include <cstdint>
#include <vector>

using gdi_test::MemoryCanvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A 32-bit bitmap of w x h pixels given as COLORREFs, row by row.
HBITMAP ColourBitmap(int w, int h, const std::vector<COLORREF>& colours) {
    std::vector<uint32_t> bits;
    for (COLORREF c : colours) {
        bits.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    }
    return CreateBitmap(w, h, 1, 32, bits.data());
}

TEST(Bitmaps, CreateBitmapTakesOnePlaneOfOneTwentyFourOrThirtyTwoBits) {
    const struct {
        int w, h;
        UINT planes, bits;
        bool made;
        LONG widthBytes;
    } kCases[] = {
        {17, 2, 1, 1, true, 4},   // 17 bits pad to two 16-bit words
        {3, 2, 1, 24, true, 10},  // 9 bytes pad to 10
        {3, 2, 1, 32, true, 12},
        {3, 2, 2, 1, false, 0},   // planes other than one
        {3, 2, 1, 8, false, 0},   // palette depths
        {3, 2, 1, 16, false, 0},
        {-1, 2, 1, 32, false, 0},
    };
    for (const auto& c : kCases) {
        SetLastError(0);
        HBITMAP bitmap = CreateBitmap(c.w, c.h, c.planes, c.bits, nullptr);
        EXPECT_EQ(bitmap != nullptr, c.made) << c.w << "x" << c.h << "/" << c.bits;
        if (bitmap == nullptr) {
            EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
            continue;
        }
        BITMAP info{};
        ASSERT_EQ(GetObjectW(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
        EXPECT_EQ(info.bmWidth, c.w);
        EXPECT_EQ(info.bmBitsPixel, c.bits);
        EXPECT_EQ(info.bmWidthBytes, c.widthBytes) << c.bits;
        EXPECT_TRUE(DeleteObject(bitmap));
    }
    // A zero size is the shared monochrome 1x1 bitmap of fresh memory DCs.
    HBITMAP empty = CreateBitmap(0, 5, 1, 32, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(empty, GetCurrentObject(dc, OBJ_BITMAP));
    DeleteDC(dc);
}

TEST(Bitmaps, BitsAreReadRowByRowWithTheirPadding) {
    // Monochrome 10x2: ten bits padded to 16, so two bytes a row; a set bit is white.
    const uint8_t mono[] = {0b10000000, 0b01000000, 0b00000001, 0b10000000};
    // 24-bit 1x2: blue, green, red, then the row's padding byte.
    const uint8_t deep[] = {0x30, 0x20, 0x10, 0xEE, 0x03, 0x02, 0x01, 0xEE};
    HBITMAP monoBitmap = CreateBitmap(10, 2, 1, 1, mono);
    HBITMAP deepBitmap = CreateBitmap(1, 2, 1, 24, deep);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, monoBitmap);
    EXPECT_EQ(gdi_test::Picture(dc, RECT{0, 0, 10, 2}, gdi_test::kBlackOnWhite), ".########.\n#######..#\n");
    SelectObject(dc, deepBitmap);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0x01, 0x02, 0x03));
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(monoBitmap);
    DeleteObject(deepBitmap);
}

// Colour to monochrome: the source's background colour becomes white, all else black; back
// to colour: 0 bits take the text colour and 1 bits the background colour.
TEST(Bitmaps, BlitsConvertBetweenColourAndMonochrome) {
    MemoryCanvas colour(3, 1);
    SetPixel(colour.dc(), 0, 0, kRed);
    SetPixel(colour.dc(), 1, 0, kBlue);
    SetPixel(colour.dc(), 2, 0, RGB(250, 250, 250));
    HDC monoDc = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateBitmap(3, 1, 1, 1, nullptr);
    HGDIOBJ previous = SelectObject(monoDc, mono);
    SetBkColor(colour.dc(), kBlue);
    ASSERT_TRUE(BitBlt(monoDc, 0, 0, 3, 1, colour.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(gdi_test::Picture(monoDc, RECT{0, 0, 3, 1}, gdi_test::kBlackOnWhite), "#.#\n");

    MemoryCanvas target(3, 1);
    SetTextColor(target.dc(), kRed);
    SetBkColor(target.dc(), RGB(0, 255, 0));
    ASSERT_TRUE(BitBlt(target.dc(), 0, 0, 3, 1, monoDc, 0, 0, SRCCOPY));
    EXPECT_EQ(target.At(0, 0), kRed);
    EXPECT_EQ(target.At(1, 0), RGB(0, 255, 0));
    SelectObject(monoDc, previous);
    DeleteDC(monoDc);
    DeleteObject(mono);
}

TEST(Bitmaps, SourceRasterOperationsCombineWithTheDestination) {
    const struct {
        DWORD rop;
        COLORREF expected;
    } kCases[] = {
        {SRCAND, RGB(0x10, 0x00, 0x30)},    {SRCPAINT, RGB(0x3F, 0xF0, 0x3F)},
        {SRCINVERT, RGB(0x2F, 0xF0, 0x0F)}, {NOTSRCCOPY, RGB(0xEF, 0x0F, 0xCF)},
        {SRCCOPY, RGB(0x10, 0xF0, 0x30)},
    };
    MemoryCanvas source(1, 1, RGB(0x10, 0xF0, 0x30));
    for (const auto& c : kCases) {
        MemoryCanvas target(1, 1, RGB(0x3F, 0x00, 0x3F));
        ASSERT_TRUE(BitBlt(target.dc(), 0, 0, 1, 1, source.dc(), 0, 0, c.rop)) << std::hex << c.rop;
        EXPECT_EQ(target.At(0, 0), c.expected) << std::hex << c.rop;
    }
}

class Icons : public ::testing::Test {
protected:
    // A 2x2 icon: red top-left, blue bottom-right, the other two pixels see-through.
    void SetUp() override {
        const uint8_t maskBits[] = {0b01000000, 0, 0b10000000, 0};
        m_mask = CreateBitmap(2, 2, 1, 1, maskBits);
        m_colour = ColourBitmap(2, 2, {kRed, kBlack, kBlack, kBlue});
        ICONINFO info{TRUE, 0, 0, m_mask, m_colour};
        m_icon = CreateIconIndirect(&info);
        ASSERT_NE(m_icon, nullptr);
    }
    void TearDown() override {
        DestroyIcon(m_icon);
        DeleteObject(m_mask);
        DeleteObject(m_colour);
    }
    HBITMAP m_mask = nullptr;
    HBITMAP m_colour = nullptr;
    HICON m_icon = nullptr;
};

TEST_F(Icons, AreDrawnThroughTheirMaskAtTheSizeAsked) {
    const std::map<COLORREF, char> legend = {{kRed, 'r'}, {kBlue, 'b'}, {RGB(0, 255, 0), '-'}, {kWhite, 'w'}, {kBlack, 'k'}};
    const struct {
        int cx, cy;
        UINT flags;
        const char* picture;
    } kCases[] = {
        {0, 0, DI_NORMAL, "r-\n-b\n"},
        {4, 2, DI_NORMAL, "rr--\n--bb\n"}, // stretched
        {0, 0, DI_IMAGE, "rk\nkb\n"},       // the image alone is copied
        {0, 0, DI_MASK, "kw\nwk\n"},        // so is the mask
    };
    for (const auto& c : kCases) {
        MemoryCanvas canvas(4, 2, RGB(0, 255, 0));
        ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, m_icon, c.cx, c.cy, 0, nullptr, c.flags)) << c.picture;
        EXPECT_EQ(gdi_test::Picture(canvas.dc(), RECT{0, 0, c.cx == 0 ? 2 : c.cx, 2}, legend), c.picture);
    }
    // DrawIcon draws at the system's icon size; a flicker-free brush fills behind the icon.
    MemoryCanvas big(40, 40, RGB(0, 255, 0));
    ASSERT_TRUE(DrawIcon(big.dc(), 0, 0, m_icon));
    EXPECT_EQ(big.At(15, 15), kRed);
    EXPECT_EQ(big.At(31, 31), kBlue);
    EXPECT_EQ(big.At(32, 32), RGB(0, 255, 0));
    ASSERT_TRUE(DrawIconEx(big.dc(), 0, 0, m_icon, 0, 0, 0, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), DI_NORMAL));
    EXPECT_EQ(big.At(1, 0), kWhite);
}

TEST_F(Icons, KeepCopiesOfTheirBitmapsAndRefuseBadHandles) {
    DeleteObject(m_colour); // the icon made its own copy
    m_colour = nullptr;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(m_icon, &info));
    EXPECT_TRUE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 1u); // an icon's hot spot is its centre
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmBitsPixel, 1);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);

    MemoryCanvas canvas(2, 2);
    HICON standard = LoadIconW(nullptr, IDI_APPLICATION);
    ICONINFO noMask{TRUE, 0, 0, nullptr, m_mask};
    EXPECT_EQ(CreateIconIndirect(&noMask), nullptr);
    EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
    EXPECT_FALSE(DrawIconEx(canvas.dc(), 0, 0, m_icon, 0, 0, 0, nullptr, 0));
    ASSERT_TRUE(DestroyIcon(m_icon));
    for (HICON bad : {m_icon, standard, static_cast<HICON>(nullptr)}) {
        SetLastError(0);
        EXPECT_FALSE(DrawIconEx(canvas.dc(), 0, 0, bad, 0, 0, 0, nullptr, DI_NORMAL));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_CURSOR_HANDLE);
        EXPECT_FALSE(DestroyIcon(bad));
        EXPECT_FALSE(GetIconInfo(bad, &info));
    }
    m_icon = nullptr;
}

// Without a colour bitmap, the mask is twice as high: AND mask above, image below.
TEST_F(Icons, AMonochromeIconTakesItsImageFromTheMasksLowerHalf) {
    const uint8_t bits[] = {0b01000000, 0, 0, 0, 0b01000000, 0, 0b10000000, 0};
    HBITMAP both = CreateBitmap(2, 4, 1, 1, bits);
    ICONINFO info{TRUE, 0, 0, both, nullptr};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    MemoryCanvas canvas(2, 2, kRed);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    // Row 0: black, then the screen XOR white (inverted); row 1: white, black.
    EXPECT_EQ(canvas.At(0, 0), kBlack);
    EXPECT_EQ(canvas.At(1, 0), RGB(0, 255, 255));
    EXPECT_EQ(canvas.At(0, 1), kWhite);
    EXPECT_EQ(canvas.At(1, 1), kBlack);
    DestroyIcon(icon);
    DeleteObject(both);
}

} // namespace
