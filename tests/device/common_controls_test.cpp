// InitCommonControlsEx and the image-list handle table.
#include "support/device_fixture.h"

#include "commctrl.h"

namespace {

class CommonControls : public test::DeviceTest {};

TEST_F(CommonControls, InitCommonControlsExTakesOnlyTheEightByteStructure) {
    INITCOMMONCONTROLSEX init{8, ICC_WIN95_CLASSES};
    EXPECT_TRUE(InitCommonControlsEx(&init));
    init.dwICC = 0;
    EXPECT_TRUE(InitCommonControlsEx(&init)); // the classes are there anyway
    for (DWORD size : {0u, 4u, 7u, 12u, 16u}) {
        init.dwSize = size;
        SetLastError(0);
        EXPECT_FALSE(InitCommonControlsEx(&init)) << size;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    InitCommonControls();
    WNDCLASSW info{};
    EXPECT_TRUE(GetClassInfoW(nullptr, WC_LISTVIEWW, &info));
}

TEST_F(CommonControls, ImageListKeepsItsSizeAndBackgroundColour) {
    HIMAGELIST list = ImageList_Create(16, 12, ILC_MASK | ILC_COLOR16, 0, 4);
    ASSERT_NE(list, nullptr);
    int cx = 0;
    int cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 12);
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_EQ(ImageList_GetBkColor(list), CLR_NONE);
    EXPECT_EQ(ImageList_SetBkColor(list, RGB(1, 2, 3)), CLR_NONE); // answers the old colour
    EXPECT_EQ(ImageList_SetBkColor(list, RGB(4, 5, 6)), RGB(1, 2, 3));
    EXPECT_EQ(ImageList_GetBkColor(list), RGB(4, 5, 6));
    EXPECT_FALSE(ImageList_GetIconSize(list, nullptr, &cy));
    EXPECT_TRUE(ImageList_Destroy(list));
}

TEST_F(CommonControls, ImageListRefusesSizesThatHoldNoImage) {
    EXPECT_EQ(ImageList_Create(0, 16, ILC_MASK, 0, 4), nullptr);
    EXPECT_EQ(ImageList_Create(16, -1, ILC_MASK, 0, 4), nullptr);
    EXPECT_EQ(ImageList_Create(16, 16, ILC_MASK, -1, 4), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// Every call with a handle that names no live list fails without touching another list.
void ExpectDead(HIMAGELIST handle) {
    int cx = -1;
    int cy = -1;
    EXPECT_FALSE(ImageList_GetIconSize(handle, &cx, &cy));
    EXPECT_EQ(cx, -1);
    EXPECT_EQ(ImageList_SetBkColor(handle, RGB(9, 9, 9)), CLR_NONE);
    EXPECT_EQ(ImageList_GetBkColor(handle), CLR_NONE);
    EXPECT_EQ(ImageList_GetImageCount(handle), 0);
    SetLastError(0);
    EXPECT_FALSE(ImageList_Destroy(handle));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(CommonControls, DestroyedAndMadeUpHandlesFailSafely) {
    HIMAGELIST first = ImageList_Create(16, 16, ILC_MASK, 0, 4);
    ASSERT_TRUE(ImageList_Destroy(first));
    ExpectDead(first);
    // The freed slot is used again under a new handle; the old one stays dead and cannot
    // change the new list.
    HIMAGELIST second = ImageList_Create(32, 32, 0, 0, 4);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    ExpectDead(first);
    EXPECT_EQ(ImageList_GetBkColor(second), CLR_NONE);
    int cx = 0;
    int cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(second, &cx, &cy));
    EXPECT_EQ(cx, 32);

    ExpectDead(nullptr);
    ExpectDead(reinterpret_cast<HIMAGELIST>(static_cast<uintptr_t>(0x12345)));
    ExpectDead(reinterpret_cast<HIMAGELIST>(~uintptr_t{0}));
    EXPECT_TRUE(ImageList_Destroy(second));
}

} // namespace
