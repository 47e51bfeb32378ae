// GDI objects and DCs: stock objects, fresh-DC defaults, selection, stale handles, deferred
// deletion, bitmaps held by one DC at a time, SaveDC/RestoreDC.
#include <gtest/gtest.h>

#include "gdi/handle_table.h"
#include "gdi_test_canvas.h"

using gdi_test::MemoryCanvas;

namespace {

TEST(StockObjects, ExistWithTheirTypesAndSurviveDeleteObject) {
    const struct {
        int id;
        DWORD type;
    } kStock[] = {{WHITE_BRUSH, OBJ_BRUSH}, {LTGRAY_BRUSH, OBJ_BRUSH}, {GRAY_BRUSH, OBJ_BRUSH},
                  {DKGRAY_BRUSH, OBJ_BRUSH}, {BLACK_BRUSH, OBJ_BRUSH},  {NULL_BRUSH, OBJ_BRUSH},
                  {WHITE_PEN, OBJ_PEN},      {BLACK_PEN, OBJ_PEN},      {NULL_PEN, OBJ_PEN},
                  {SYSTEM_FONT, OBJ_FONT},   {DEFAULT_GUI_FONT, OBJ_FONT}};
    for (const auto& stock : kStock) {
        HGDIOBJ object = GetStockObject(stock.id);
        ASSERT_NE(object, nullptr) << stock.id;
        EXPECT_EQ(GetObjectType(object), stock.type) << stock.id;
        EXPECT_TRUE(DeleteObject(object));
        EXPECT_EQ(GetStockObject(stock.id), object) << "stock objects are made once";
        EXPECT_EQ(GetObjectType(object), stock.type) << "deleting a stock object is harmless";
    }
    EXPECT_EQ(GetStockObject(9), nullptr);
    EXPECT_EQ(GetStockObject(18), nullptr);
    EXPECT_EQ(GetStockObject(-1), nullptr);
}

TEST(StockObjects, DescribeThemselves) {
    LOGBRUSH brush{};
    ASSERT_EQ(GetObjectW(GetStockObject(LTGRAY_BRUSH), sizeof brush, &brush),
              static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbStyle, BS_SOLID);
    EXPECT_EQ(brush.lbColor, RGB(192, 192, 192));
    ASSERT_GT(GetObjectW(GetStockObject(NULL_BRUSH), sizeof brush, &brush), 0);
    EXPECT_EQ(brush.lbStyle, BS_NULL);
    LOGPEN pen{};
    ASSERT_GT(GetObjectW(GetStockObject(WHITE_PEN), sizeof pen, &pen), 0);
    EXPECT_EQ(pen.lopnColor, RGB(255, 255, 255));
    EXPECT_EQ(GetObjectW(GetStockObject(BLACK_PEN), 0, nullptr), static_cast<int>(sizeof pen));
}

TEST(DeviceContext, FreshDcHasTheDocumentedDefaults) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetTextAlign(dc), TA_LEFT | TA_TOP);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    BITMAP info{};
    ASSERT_GT(GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmHeight, 1);
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(DeviceContext, SettersAnswerThePreviousValue) {
    MemoryCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(dc, RGB(4, 5, 6)), RGB(1, 2, 3));
    EXPECT_EQ(SetBkColor(dc, RGB(7, 8, 9)), RGB(255, 255, 255));
    EXPECT_EQ(GetBkColor(dc), RGB(7, 8, 9));
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(dc, OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetBkMode(dc, 7), 0) << "an unknown mode is refused";
    EXPECT_EQ(SetTextAlign(dc, TA_RIGHT | TA_BASELINE), TA_LEFT | TA_TOP);
    EXPECT_EQ(SetROP2(dc, R2_XORPEN), R2_COPYPEN);
    POINT previous{-1, -1};
    EXPECT_TRUE(SetViewportOrgEx(dc, 3, 4, &previous));
    EXPECT_EQ(previous.x, 0);
    POINT now{};
    EXPECT_TRUE(GetViewportOrgEx(dc, &now));
    EXPECT_EQ(now.y, 4);
    EXPECT_TRUE(SetBrushOrgEx(dc, 1, 1, nullptr));
    EXPECT_TRUE(MoveToEx(dc, 5, 6, nullptr));
    EXPECT_TRUE(MoveToEx(dc, 0, 0, &previous));
    EXPECT_EQ(previous.x, 5);
    EXPECT_EQ(previous.y, 6);
}

TEST(DeviceContext, BadHandlesGiveErrorValuesAndInvalidHandle) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(DeleteDC(dc));
    SetLastError(0);
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetBkColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(SetBkMode(dc, OPAQUE), 0);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_EQ(SaveDC(dc), 0);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 0);
    RECT r{0, 0, 1, 1};
    EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_FALSE(DeleteDC(dc));
    // A value that was never a handle, and a handle of the wrong kind.
    EXPECT_EQ(GetBkMode(reinterpret_cast<HDC>(0x12345)), 0);
    EXPECT_EQ(GetBkMode(reinterpret_cast<HDC>(GetStockObject(BLACK_PEN))), 0);
}

TEST(DeviceContext, DeviceCaps) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 240);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 320);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
    DeleteDC(dc);
}

TEST(GdiObjects, SelectObjectAnswersThePreviousObjectOfThatKind) {
    MemoryCanvas canvas(4, 4);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    EXPECT_EQ(SelectObject(canvas.dc(), red), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(canvas.dc(), blue), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), red);
    EXPECT_EQ(SelectObject(canvas.dc(), GetStockObject(BLACK_PEN)), red);
    EXPECT_EQ(SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH)), blue);
    EXPECT_EQ(SelectObject(canvas.dc(), GetStockObject(DEFAULT_PALETTE)), nullptr)
        << "palettes are not selected with SelectObject";
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_TRUE(DeleteObject(blue));
}

TEST(GdiObjects, DeletedObjectHandlesGoStale) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_EQ(GetObjectType(brush), OBJ_BRUSH);
    ASSERT_TRUE(DeleteObject(brush));
    SetLastError(0);
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    LOGBRUSH info{};
    EXPECT_EQ(GetObjectW(brush, sizeof info, &info), 0);
    EXPECT_FALSE(DeleteObject(brush));
    MemoryCanvas canvas(2, 2);
    EXPECT_EQ(SelectObject(canvas.dc(), brush), nullptr);
    RECT all{0, 0, 2, 2};
    EXPECT_EQ(FillRect(canvas.dc(), &all, brush), 0);
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255)) << "a stale brush must not paint";
    // Reusing slots must never revive the old handle.
    for (int i = 0; i < 100; ++i) {
        HBRUSH other = CreateSolidBrush(RGB(0, 0, 0));
        EXPECT_NE(other, brush);
        DeleteObject(other);
    }
    EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST(GdiObjects, DeletingASelectedObjectWaitsUntilItIsDeselected) {
    GetStockObject(WHITE_BRUSH); // the stock objects are made on first use; count after that
    const size_t before = device::gdi::LiveObjectCount();
    {
        MemoryCanvas canvas(4, 4);
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
        SelectObject(canvas.dc(), brush);
        EXPECT_TRUE(DeleteObject(brush)) << "Win32 answers TRUE";
        EXPECT_EQ(GetObjectType(brush), OBJ_BRUSH) << "still selected, so still alive";
        EXPECT_TRUE(PatBlt(canvas.dc(), 0, 0, 4, 4, PATCOPY));
        EXPECT_EQ(canvas.At(2, 2), RGB(0, 0, 255));
        SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
        EXPECT_EQ(GetObjectType(brush), 0u) << "freed when deselected";
    }
    EXPECT_EQ(device::gdi::LiveObjectCount(), before) << "canvas and brush leave nothing behind";
}

TEST(GdiObjects, DeletingTheDcReleasesAPendingObject) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_DOT, 1, RGB(1, 1, 1));
    SelectObject(dc, pen);
    ASSERT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
    DeleteDC(dc);
    EXPECT_EQ(GetObjectType(pen), 0u);
}

TEST(GdiObjects, ABitmapIsSelectedIntoOneDcAtATime) {
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(first, 3, 3);
    HGDIOBJ original = SelectObject(first, bitmap);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    SelectObject(first, original);
    EXPECT_NE(SelectObject(second, bitmap), nullptr) << "free again once deselected";
    EXPECT_EQ(SelectObject(first, bitmap), nullptr);
    DeleteDC(second); // deselects it
    EXPECT_NE(SelectObject(first, bitmap), nullptr);
    DeleteDC(first);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(GetObjectType(bitmap), 0u);
}

TEST(GdiObjects, CompatibleBitmapsAreColourAndSized) {
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 7, 5);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 7);
    EXPECT_EQ(info.bmHeight, 5);
    EXPECT_EQ(info.bmBitsPixel, 32);
    DeleteObject(bitmap);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, -1, 5), nullptr);
}

TEST(GdiObjects, FontsRecordTheirDescription) {
    LOGFONTW lf{};
    lf.lfHeight = -17;
    lf.lfWeight = FW_BOLD;
    lf.lfUnderline = 1;
    const char16_t face[] = u"MS Sans Serif";
    std::copy(std::begin(face), std::end(face), lf.lfFaceName);
    HFONT font = CreateFontIndirectW(&lf);
    ASSERT_NE(font, nullptr);
    LOGFONTW back{};
    ASSERT_EQ(GetObjectW(font, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ(back.lfHeight, -17);
    EXPECT_EQ(back.lfWeight, FW_BOLD);
    EXPECT_EQ(std::u16string(back.lfFaceName), u"MS Sans Serif");
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
    DeleteObject(font);
}

TEST(SaveRestore, RestoreBringsBackAttributesObjectsAndClipping) {
    MemoryCanvas canvas(10, 10);
    HDC dc = canvas.dc();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SetTextColor(dc, RGB(1, 1, 1));
    const int level = SaveDC(dc);
    EXPECT_EQ(level, 1);
    SetTextColor(dc, RGB(2, 2, 2));
    SelectObject(dc, red);
    SetViewportOrgEx(dc, 3, 3, nullptr);
    IntersectClipRect(dc, 0, 0, 2, 2);
    EXPECT_EQ(SaveDC(dc), 2);
    SetBkMode(dc, TRANSPARENT);

    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), red);
    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right - box.left, 2);

    EXPECT_TRUE(RestoreDC(dc, level));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 10) << "the clip rectangle went with the restored state";
    EXPECT_FALSE(RestoreDC(dc, 1)) << "nothing saved any more";
    EXPECT_FALSE(RestoreDC(dc, 0));
    DeleteObject(red);
}

TEST(SaveRestore, ASavedStateKeepsItsObjectAlive) {
    MemoryCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    SelectObject(dc, green);
    SaveDC(dc);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(DeleteObject(green));
    EXPECT_EQ(GetObjectType(green), OBJ_BRUSH) << "the saved state still holds it";
    ASSERT_TRUE(RestoreDC(dc, -1));
    EXPECT_TRUE(PatBlt(dc, 0, 0, 4, 4, PATCOPY));
    EXPECT_EQ(canvas.At(1, 1), RGB(0, 255, 0));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetObjectType(green), 0u);
}

TEST(SaveRestore, RestoringABitmapSwitchesTheSurfaceBack) {
    MemoryCanvas canvas(4, 4, RGB(255, 0, 0));
    HDC dc = canvas.dc();
    SaveDC(dc);
    HBITMAP other = CreateCompatibleBitmap(dc, 2, 2);
    SelectObject(dc, other);
    EXPECT_EQ(GetPixel(dc, 3, 3), CLR_INVALID) << "outside the 2x2 bitmap";
    RestoreDC(dc, 1);
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(255, 0, 0));
    EXPECT_TRUE(DeleteObject(other));
    EXPECT_EQ(GetObjectType(other), 0u);
}

} // namespace
