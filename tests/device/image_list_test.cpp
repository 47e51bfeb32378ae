// Image lists with their images: strips cut into images, masks given, made from a colour or
// taken from icons, removal, and every drawing style read back pixel by pixel.
#include "support/device_fixture.h"

#include "commctrl.h"
#include "gdi_test_canvas.h"

#include <cstdint>
#include <vector>

using gdi_test::MemoryCanvas;

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A strip of 2x1 images, one per colour: the colour on the left, the key colour on the right.
HBITMAP Strip(const std::vector<COLORREF>& colours) {
    std::vector<uint32_t> bits;
    for (COLORREF c : colours) {
        bits.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
        bits.push_back(0xFF00FF);
    }
    return CreateBitmap(static_cast<int>(colours.size()) * 2, 1, 1, 32, bits.data());
}

// The colour of image i's left (opaque) and right (see-through) pixels, drawn on canvas.
std::pair<COLORREF, COLORREF> Drawn(HIMAGELIST list, int i, UINT style, COLORREF canvasColour = kWhite) {
    MemoryCanvas canvas(2, 1, canvasColour);
    if (!ImageList_Draw(list, i, canvas.dc(), 0, 0, style)) {
        return {CLR_INVALID, CLR_INVALID};
    }
    return {canvas.At(0, 0), canvas.At(1, 0)};
}

class ImageLists : public test::DeviceTest {
protected:
    void TearDown() override {
        for (HBITMAP bitmap : m_bitmaps) {
            DeleteObject(bitmap);
        }
        test::DeviceTest::TearDown();
    }
    HBITMAP Kept(HBITMAP bitmap) {
        m_bitmaps.push_back(bitmap);
        return bitmap;
    }
    std::vector<HBITMAP> m_bitmaps;
};

TEST_F(ImageLists, AStripAddsOneImagePerWidthAndAnswersTheFirstIndex) {
    HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR16 | ILC_MASK, 1, 1);
    const struct {
        HBITMAP bitmap;
        int answer;
        int count;
    } kCases[] = {
        {Kept(Strip({kRed, kGreen, kBlue})), 0, 3},
        {Kept(Strip({kBlue})), 3, 4},
        {Kept(CreateBitmap(1, 1, 1, 32, nullptr)), -1, 4}, // narrower than one image
        {Kept(CreateBitmap(5, 1, 1, 32, nullptr)), 4, 6},  // the odd column is left out
        {reinterpret_cast<HBITMAP>(0x4321), -1, 6},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(ImageList_Add(list, c.bitmap, nullptr), c.answer);
        EXPECT_EQ(ImageList_GetImageCount(list), c.count);
    }
    EXPECT_EQ(Drawn(list, 1, ILD_NORMAL).first, kGreen);
    EXPECT_EQ(Drawn(list, 3, ILD_NORMAL).first, kBlue);
    ImageList_Destroy(list);

    // Images beyond what a bitmap may hold are refused, not allocated.
    EXPECT_EQ(ImageList_Create(5000, 5000, ILC_COLOR, 1, 1), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    HIMAGELIST large = ImageList_Create(4096, 1024, ILC_COLOR | ILC_MASK, 1, 1);
    SetLastError(0);
    EXPECT_EQ(ImageList_Add(large, Kept(CreateBitmap(5 * 4096, 1, 1, 32, nullptr)), nullptr), -1);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(ImageList_GetImageCount(large), 0);
    ImageList_Destroy(large);
}

TEST_F(ImageLists, RemoveMovesTheLaterImagesUpAndMinusOneEmptiesTheList) {
    HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR, 4, 4);
    ImageList_Add(list, Kept(Strip({kRed, kGreen, kBlue})), nullptr);
    EXPECT_FALSE(ImageList_Remove(list, 3));
    EXPECT_FALSE(ImageList_Remove(list, -2));
    EXPECT_TRUE(ImageList_Remove(list, 0));
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    EXPECT_EQ(Drawn(list, 0, ILD_NORMAL).first, kGreen);
    EXPECT_EQ(Drawn(list, 1, ILD_NORMAL).first, kBlue);
    EXPECT_EQ(Drawn(list, 2, ILD_NORMAL).first, CLR_INVALID);
    EXPECT_TRUE(ImageList_RemoveAll(list));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    // A new size empties the list too.
    ImageList_Add(list, Kept(Strip({kRed})), nullptr);
    EXPECT_TRUE(ImageList_SetIconSize(list, 1, 1));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_EQ(ImageList_Add(list, Kept(Strip({kRed})), nullptr), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    ImageList_Destroy(list);
}

// Each style on a masked list whose image 0 is red with a see-through right pixel, the list's
// background blue, drawn on white.
TEST_F(ImageLists, EachDrawingStyleTreatsTheMaskAsThePlatformDoes) {
    HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR | ILC_MASK, 1, 1);
    ASSERT_EQ(ImageList_AddMasked(list, Kept(Strip({kRed})), kKey), 0);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const auto half = [](BYTE a, BYTE b) { return static_cast<BYTE>((a * 127 + b * 128 + 127) / 255); };
    const COLORREF blended = RGB(half(255, GetRValue(highlight)), half(0, GetGValue(highlight)),
                                 half(0, GetBValue(highlight)));
    const struct {
        COLORREF background;
        UINT style;
        COLORREF opaque;
        COLORREF seeThrough;
    } kCases[] = {
        {CLR_NONE, ILD_NORMAL, kRed, kWhite},
        {kBlue, ILD_NORMAL, kRed, kBlue},       // the list's background fills the mask
        {kBlue, ILD_TRANSPARENT, kRed, kWhite}, // unless drawn transparent
        {CLR_NONE, ILD_MASK, kBlack, kWhite},
        {CLR_NONE, ILD_SELECTED, blended, kWhite},
    };
    for (const auto& c : kCases) {
        ImageList_SetBkColor(list, c.background);
        const auto drawn = Drawn(list, 0, c.style);
        EXPECT_EQ(drawn.first, c.opaque) << c.style;
        EXPECT_EQ(drawn.second, c.seeThrough) << c.style;
    }
    // DrawEx: its own background and blend colours, and only the part asked for.
    MemoryCanvas canvas(2, 1);
    ASSERT_TRUE(ImageList_DrawEx(list, 0, canvas.dc(), 0, 0, 0, 0, kGreen, CLR_DEFAULT, ILD_NORMAL));
    EXPECT_EQ(canvas.At(1, 0), kGreen);
    canvas.Fill(kWhite);
    ASSERT_TRUE(ImageList_DrawEx(list, 0, canvas.dc(), 0, 0, 1, 0, kGreen, kBlack, ILD_BLEND50));
    EXPECT_EQ(canvas.At(0, 0), RGB(127, 0, 0));
    EXPECT_EQ(canvas.At(1, 0), kWhite);

    // An unmasked list keeps the key colour and draws every pixel.
    HIMAGELIST plain = ImageList_Create(2, 1, ILC_COLOR, 1, 1);
    ASSERT_EQ(ImageList_AddMasked(plain, Kept(Strip({kRed})), kKey), 0);
    EXPECT_EQ(Drawn(plain, 0, ILD_TRANSPARENT).second, kKey);
    EXPECT_EQ(Drawn(plain, 0, ILD_SELECTED).first, kRed);
    ImageList_Destroy(plain);
    ImageList_Destroy(list);
}

TEST_F(ImageLists, AGivenMaskIsReadAsBitsAndCLR_DEFAULTTakesTheTopLeftColour) {
    HIMAGELIST list = ImageList_Create(2, 1, ILC_COLOR | ILC_MASK, 1, 1);
    const uint8_t maskBits[] = {0b10000000, 0}; // left see-through, right opaque
    HBITMAP mask = Kept(CreateBitmap(2, 1, 1, 1, maskBits));
    ASSERT_EQ(ImageList_Add(list, Kept(Strip({kRed})), mask), 0);
    EXPECT_EQ(Drawn(list, 0, ILD_TRANSPARENT, kGreen), std::make_pair(kGreen, kKey));
    ASSERT_EQ(ImageList_AddMasked(list, Kept(Strip({kBlue})), CLR_DEFAULT), 1);
    EXPECT_EQ(Drawn(list, 1, ILD_TRANSPARENT, kGreen), std::make_pair(kGreen, kKey));
    ImageList_Destroy(list);
}

TEST_F(ImageLists, IconsAreStretchedInAndTakenOut) {
    const uint8_t maskBits[] = {0b01000000, 0};
    HBITMAP colour = Kept(Strip({kRed}));
    HBITMAP mask = Kept(CreateBitmap(2, 1, 1, 1, maskBits));
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    HIMAGELIST list = ImageList_Create(4, 1, ILC_COLOR | ILC_MASK, 1, 1);
    EXPECT_EQ(ImageList_ReplaceIcon(list, 0, icon), -1); // nothing to replace yet
    EXPECT_EQ(ImageList_AddIcon(list, icon), 0);
    EXPECT_EQ(ImageList_ReplaceIcon(list, -1, icon), 1);
    EXPECT_EQ(ImageList_ReplaceIcon(list, 1, icon), 1);
    EXPECT_EQ(ImageList_ReplaceIcon(list, 2, icon), -1);
    EXPECT_EQ(ImageList_ReplaceIcon(list, -1, nullptr), -1);
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    MemoryCanvas canvas(4, 1, kGreen);
    ASSERT_TRUE(ImageList_Draw(list, 1, canvas.dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(gdi_test::Picture(canvas.dc(), RECT{0, 0, 4, 1}, {{kRed, 'r'}, {kGreen, '-'}}), "rr--\n");

    HICON out = ImageList_GetIcon(list, 1, ILD_NORMAL);
    ASSERT_NE(out, nullptr);
    canvas.Fill(kGreen);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, out, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(gdi_test::Picture(canvas.dc(), RECT{0, 0, 4, 1}, {{kRed, 'r'}, {kGreen, '-'}}), "rr--\n");
    EXPECT_EQ(ImageList_GetIcon(list, 2, ILD_NORMAL), nullptr);
    DestroyIcon(out);
    DestroyIcon(icon);
    ImageList_Destroy(list);
}

TEST_F(ImageLists, ImageInfoNamesTheListsOwnBitmapsWhichAProgramCannotDelete) {
    HIMAGELIST list = ImageList_Create(2, 3, ILC_COLOR | ILC_MASK, 1, 1);
    ImageList_Add(list, Kept(CreateBitmap(4, 3, 1, 32, nullptr)), nullptr);
    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(list, 1, &info));
    EXPECT_EQ(info.rcImage.top, 3);
    EXPECT_EQ(info.rcImage.bottom, 6);
    EXPECT_EQ(info.rcImage.right, 2);
    BITMAP mask{};
    ASSERT_NE(GetObjectW(info.hbmMask, sizeof mask, &mask), 0);
    EXPECT_EQ(mask.bmBitsPixel, 1);
    EXPECT_EQ(mask.bmHeight, 6);
    DeleteObject(info.hbmImage);
    DeleteObject(info.hbmMask);
    EXPECT_NE(Drawn(list, 1, ILD_NORMAL).first, CLR_INVALID);
    EXPECT_FALSE(ImageList_GetImageInfo(list, 2, &info));
    EXPECT_FALSE(ImageList_GetImageInfo(list, 0, nullptr));
    ImageList_Destroy(list);
    EXPECT_EQ(GetObjectType(info.hbmImage), 0u); // gone with the list
}

TEST_F(ImageLists, EveryCallRefusesADestroyedList) {
    HIMAGELIST list = ImageList_Create(2, 1, ILC_MASK, 1, 1);
    HBITMAP strip = Kept(Strip({kRed}));
    ASSERT_TRUE(ImageList_Destroy(list));
    MemoryCanvas canvas(2, 1);
    IMAGEINFO info{};
    int cx = 0;
    const struct {
        const char* call;
        bool failed;
    } kCases[] = {
        {"Add", ImageList_Add(list, strip, nullptr) == -1},
        {"AddMasked", ImageList_AddMasked(list, strip, kKey) == -1},
        {"ReplaceIcon", ImageList_ReplaceIcon(list, -1, nullptr) == -1},
        {"Remove", !ImageList_Remove(list, -1)},
        {"Draw", !ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_NORMAL)},
        {"GetImageInfo", !ImageList_GetImageInfo(list, 0, &info)},
        {"GetIcon", ImageList_GetIcon(list, 0, 0) == nullptr},
        {"SetIconSize", !ImageList_SetIconSize(list, 4, 4)},
        {"GetIconSize", !ImageList_GetIconSize(list, &cx, &cx)},
        {"Destroy", !ImageList_Destroy(list)},
    };
    for (const auto& c : kCases) {
        EXPECT_TRUE(c.failed) << c.call;
    }
    SetLastError(0);
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

} // namespace
