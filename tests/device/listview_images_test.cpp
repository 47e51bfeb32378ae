// Small icons and state images in report view: where they lie (rectangles and hit testing
// agree), what is drawn there, icons the parent supplies, the check boxes' own state list,
// and which image lists the control frees.
#include "listview_fixture.h"

#include "gdi/surface.h"

#include <cstdint>
#include <vector>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A list of cx x cy images, one solid image per colour.
HIMAGELIST SolidImages(int cx, int cy, const std::vector<COLORREF>& colours) {
    HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR | ILC_MASK, 2, 2);
    for (COLORREF colour : colours) {
        std::vector<uint32_t> bits(static_cast<size_t>(cx) * cy,
                                   (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour));
        HBITMAP bitmap = CreateBitmap(cx, cy, 1, 32, bits.data());
        ImageList_Add(list, bitmap, nullptr);
        DeleteObject(bitmap);
    }
    return list;
}

class ListViewImages : public test::ListViewTest {
protected:
    // A report list with a 12x12 state list (blue, green) and a 16x24 small list (red, green),
    // and two items: item 0 with icon 0 and state image 1.
    HWND MakeImageList(DWORD style = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS) {
        HWND list = MakeList(style);
        AddColumn(list, u"Ad", 120);
        m_state = SolidImages(12, 12, {kBlue, kGreen});
        m_small = SolidImages(16, 24, {kRed, kGreen});
        SendMessageW(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(m_state));
        SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_small));
        AddRows(list, 2);
        LVITEMW item{};
        item.mask = LVIF_IMAGE | LVIF_STATE;
        item.iImage = 0;
        item.state = INDEXTOSTATEIMAGEMASK(1);
        item.stateMask = LVIS_STATEIMAGEMASK;
        SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return list;
    }
    void TearDown() override {
        ImageList_Destroy(m_state);
        ImageList_Destroy(m_small);
        test::ListViewTest::TearDown();
    }
    static RECT ItemRect(HWND list, int index, int part) {
        RECT rect{part, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    // The screen pixel at a point of the list's client area.
    static COLORREF PixelAt(HWND list, int x, int y) {
        POINT point{x, y};
        ClientToScreen(list, &point);
        return device::gdi::ToColorRef(device::diag::ScreenPixel(point.x, point.y));
    }
    HIMAGELIST m_state = nullptr;
    HIMAGELIST m_small = nullptr;
};

TEST_F(ListViewImages, StateImageIconAndLabelFollowEachOtherAndHitTestingAgrees) {
    HWND list = MakeImageList();
    const RECT bounds = ItemRect(list, 0, LVIR_BOUNDS);
    EXPECT_EQ(bounds.bottom - bounds.top, 25); // the small icon's height and one
    const RECT icon = ItemRect(list, 0, LVIR_ICON);
    const RECT label = ItemRect(list, 0, LVIR_LABEL);
    EXPECT_EQ(icon.left, 14); // a margin of 2 and the 12-pixel state image
    EXPECT_EQ(icon.right, 30);
    EXPECT_EQ(label.left, 30);
    EXPECT_EQ(label.right, 120);
    RECT subIcon{LVIR_ICON, 0, 0, 0};
    SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&subIcon));
    EXPECT_EQ(subIcon.left, icon.left);
    EXPECT_EQ(subIcon.right, icon.right);
    const struct {
        int x;
        UINT flags;
    } kCases[] = {{0, LVHT_ONITEMSTATEICON}, {13, LVHT_ONITEMSTATEICON}, {14, LVHT_ONITEMICON},
                  {29, LVHT_ONITEMICON},     {30, LVHT_ONITEMLABEL},     {119, LVHT_ONITEMLABEL}};
    for (const auto& c : kCases) {
        LVHITTESTINFO hit{};
        hit.pt = POINT{c.x, (bounds.top + bounds.bottom) / 2};
        EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 0) << c.x;
        EXPECT_EQ(hit.flags, c.flags) << c.x;
    }
    // Without the state list the icon moves left; without either the label starts at the edge.
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_STATE, 0);
    EXPECT_EQ(ItemRect(list, 0, LVIR_ICON).left, 2);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    EXPECT_EQ(ItemRect(list, 0, LVIR_LABEL).left, 0);
    EXPECT_LT(ItemRect(list, 0, LVIR_BOUNDS).bottom - bounds.top, 25);
}

TEST_F(ListViewImages, TheImagesAreDrawnWhereTheRectanglesSayAndASelectedIconIsTinted) {
    HWND list = MakeImageList();
    UpdateWindow(list);
    const RECT icon = ItemRect(list, 0, LVIR_ICON);
    const int middle = (icon.top + icon.bottom) / 2;
    EXPECT_EQ(PixelAt(list, 2, middle), kBlue);      // state image 1 is the list's image 0
    EXPECT_EQ(PixelAt(list, icon.left, middle), kRed);
    EXPECT_EQ(PixelAt(list, icon.right - 1, icon.top), kRed);
    const RECT second = ItemRect(list, 1, LVIR_ICON);
    EXPECT_EQ(PixelAt(list, 2, (second.top + second.bottom) / 2), GetSysColor(COLOR_WINDOW)); // state 0: none
    EXPECT_EQ(PixelAt(list, second.left, second.top), kRed); // items start with image 0

    SetFocus(list);
    LVITEMW select{};
    select.state = select.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));
    UpdateWindow(list);
    const COLORREF tinted = PixelAt(list, icon.left, middle);
    EXPECT_NE(tinted, kRed);
    EXPECT_NE(tinted, GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(ListViewImages, AnIconCallbackIsAskedOfTheParentAndKeptWhenItSaysSo) {
    HWND list = MakeImageList();
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 1;
    item.iImage = I_IMAGECALLBACK;
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    int asked = 0;
    test::Parent().answer = [&asked](NMHDR* header) -> LRESULT {
        if (header->code == LVN_GETDISPINFOW) {
            auto& display = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
            if ((display.mask & LVIF_IMAGE) != 0 && display.iItem == 1) {
                ++asked;
                display.iImage = 1;
                display.mask |= LVIF_DI_SETITEM;
            }
        }
        return 0;
    };
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    EXPECT_EQ(asked, 1);
    const RECT icon = ItemRect(list, 1, LVIR_ICON);
    EXPECT_EQ(PixelAt(list, icon.left, icon.top), kGreen);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    EXPECT_EQ(asked, 1); // LVIF_DI_SETITEM stored the answer
}

TEST_F(ListViewImages, CheckBoxesBringTheirOwnStateListAndTakeItAwayAgain) {
    HWND list = MakeList(LVS_REPORT); // without LVS_SHAREIMAGELISTS
    AddColumn(list, u"Ad", 120);
    HIMAGELIST programs = SolidImages(12, 12, {kBlue});
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(programs));
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    auto boxes = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_STATE, 0));
    ASSERT_NE(boxes, nullptr);
    EXPECT_NE(boxes, programs);
    EXPECT_EQ(ImageList_GetImageCount(programs), 0); // replaced, and not shared: freed
    EXPECT_EQ(ImageList_GetImageCount(boxes), 2);
    int cx = 0;
    int cy = 0;
    ImageList_GetIconSize(boxes, &cx, &cy);
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(cy, GetSystemMetrics(SM_CYSMICON));

    // Drawn: the checked box has a mark the clear one lacks, and the box's corner shows the
    // list's background (the mask).
    AddRows(list, 2);
    LVITEMW check{};
    check.state = INDEXTOSTATEIMAGEMASK(2);
    check.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&check));
    UpdateWindow(list);
    const RECT first = ItemRect(list, 0, LVIR_BOUNDS);
    const RECT second = ItemRect(list, 1, LVIR_BOUNDS);
    EXPECT_EQ(PixelAt(list, 2, first.top), GetSysColor(COLOR_WINDOW));
    int differences = 0;
    for (int x = 2; x < 2 + cx; ++x) {
        for (int y = 0; y < cy && first.top + y < first.bottom; ++y) {
            differences += PixelAt(list, x, first.top + y) != PixelAt(list, x, second.top + y) ? 1 : 0;
        }
    }
    EXPECT_GT(differences, 5);

    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_STATE, 0), 0);
    SetLastError(0);
    EXPECT_EQ(ImageList_GetImageCount(boxes), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(ListViewImages, TheControlFreesItsImageListsUnlessTheyAreShared) {
    for (DWORD shared : {DWORD{0}, LVS_SHAREIMAGELISTS}) {
        HWND list = MakeImageList(LVS_REPORT | shared);
        DestroyWindow(list);
        EXPECT_EQ(ImageList_GetImageCount(m_small) == 2, shared != 0) << shared;
        EXPECT_EQ(ImageList_GetImageCount(m_state) == 2, shared != 0) << shared;
        ImageList_Destroy(m_small);
        ImageList_Destroy(m_state);
    }
    m_small = m_state = nullptr;
}

} // namespace
