// The header control: its items and their rectangles, its layout, taps on its buttons,
// and the list view's header following the columns.
#include "listview_fixture.h"

#include <algorithm>

namespace {

using test::ListViewTest;

class HeaderControl : public ListViewTest {
protected:
    HWND MakeHeader(DWORD style = HDS_BUTTONS) {
        HWND header = CreateWindowExW(0, WC_HEADERW, u"", WS_CHILD | WS_VISIBLE | style, 0, 0, 240, 20, m_parent,
                                      reinterpret_cast<HMENU>(7), nullptr, nullptr);
        device::spy::SetRole(header, "header");
        return header;
    }

    static LRESULT Insert(HWND header, int index, const std::u16string& text, int width) {
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = const_cast<WCHAR*>(text.c_str());
        item.cxy = width;
        item.fmt = HDF_STRING | HDF_LEFT;
        return SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }

    static std::u16string ItemText(HWND header, int index, int* width = nullptr) {
        WCHAR buffer[64] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH;
        item.pszText = buffer;
        item.cchTextMax = 64;
        if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) {
            return u"<none>";
        }
        if (width != nullptr) {
            *width = item.cxy;
        }
        return buffer;
    }

    static POINT ItemCenter(HWND header, int index) {
        RECT rect{};
        SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(header, &point);
        return point;
    }
};

TEST_F(HeaderControl, ItemsAreInsertedAppendedReadChangedAndDeleted) {
    HWND header = MakeHeader();
    EXPECT_EQ(Insert(header, 0, u"Ad", 60), 0);
    EXPECT_EQ(Insert(header, 9, u"İl", 40), 1);
    EXPECT_EQ(Insert(header, 1, u"Adres", 80), 1);
    EXPECT_EQ(Insert(header, -1, u"Bad", 80), -1);
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
    int width = 0;
    EXPECT_EQ(ItemText(header, 1, &width), u"Adres");
    EXPECT_EQ(width, 80);

    RECT rect{};
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rect)));
    EXPECT_EQ(rect.left, 140);
    EXPECT_EQ(rect.right, 180);
    EXPECT_EQ(rect.bottom, 20);
    EXPECT_FALSE(SendMessageW(header, HDM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&rect)));

    HDITEMW change{};
    change.mask = HDI_WIDTH;
    change.cxy = 10;
    ASSERT_TRUE(SendMessageW(header, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&change)));
    EXPECT_EQ(ItemText(header, 0, &width), u"Ad");
    EXPECT_EQ(width, 10);

    EXPECT_TRUE(SendMessageW(header, HDM_DELETEITEM, 0, 0));
    EXPECT_FALSE(SendMessageW(header, HDM_DELETEITEM, 5, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(ItemText(header, 0), u"Adres");
}

TEST_F(HeaderControl, LayoutTakesTheTopOfTheAreaAsHighAsTheFontNeeds) {
    HWND header = MakeHeader();
    RECT area{0, 0, 200, 150};
    WINDOWPOS pos{};
    HDLAYOUT layout{&area, &pos};
    ASSERT_TRUE(SendMessageW(header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
    HDC hdc = GetDC(header);
    TEXTMETRICW metrics{};
    GetTextMetricsW(hdc, &metrics);
    ReleaseDC(header, hdc);
    EXPECT_EQ(pos.hwnd, header);
    EXPECT_EQ(pos.x, 0);
    EXPECT_EQ(pos.y, 0);
    EXPECT_EQ(pos.cx, 200);
    EXPECT_EQ(pos.cy, metrics.tmHeight + 6);
    EXPECT_EQ(area.top, pos.cy);
    EXPECT_EQ(area.bottom, 150);
}

TEST_F(HeaderControl, ATapOnAButtonTellsTheParentAndALeavingPressDoesNot) {
    HWND header = MakeHeader();
    Insert(header, 0, u"Ad", 60);
    Insert(header, 1, u"Adres", 80);
    POINT second = ItemCenter(header, 1);
    device::input::Tap(second.x, second.y);
    Pump();
    ASSERT_EQ(Codes(), (std::vector<UINT>{HDN_ITEMCLICKW}));
    EXPECT_EQ(test::Parent().notices[0].from, header);
    EXPECT_EQ(test::Parent().notices[0].id, 7u);
    EXPECT_EQ(GetCapture(), nullptr);

    ClearNotices();
    device::input::AdvanceClock(1000);
    device::input::PointerDown(second.x, second.y);
    device::input::PointerMove(second.x + 100, second.y);
    device::input::PointerUp(second.x + 100, second.y);
    Pump();
    EXPECT_TRUE(Codes().empty());
    // The header never takes the focus.
    EXPECT_NE(GetFocus(), header);
}

TEST_F(HeaderControl, WithoutButtonsTapsTellNobody) {
    HWND header = MakeHeader(0);
    Insert(header, 0, u"Ad", 60);
    POINT first = ItemCenter(header, 0);
    device::input::Tap(first.x, first.y);
    Pump();
    EXPECT_TRUE(Codes().empty());
}

TEST_F(HeaderControl, TheListViewsHeaderFollowsItsColumns) {
    HWND list = MakeList();
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    AddColumn(list, u"Adı SoyAdı", 100);
    AddColumn(list, u"PostaKodu", 50);
    AddColumn(list, u"Adres 1", 80, LVCFMT_LEFT, 1);
    ASSERT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(ItemText(header, 1), u"Adres 1");
    EXPECT_EQ(ItemText(header, 2), u"PostaKodu");

    SendMessageW(list, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(70, 0));
    int width = 0;
    ItemText(header, 2, &width);
    EXPECT_EQ(width, 70);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<WCHAR*>(u"Posta Kodu");
    SendMessageW(list, LVM_SETCOLUMNW, 2, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(ItemText(header, 2), u"Posta Kodu");
    SendMessageW(list, LVM_DELETECOLUMN, 0, 0);
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(ItemText(header, 0), u"Adres 1");

    // LVS_NOSORTHEADER makes plain titles instead of buttons.
    EXPECT_NE(GetWindowLongW(header, GWL_STYLE) & HDS_BUTTONS, 0);
    SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) | static_cast<LONG>(LVS_NOSORTHEADER));
    EXPECT_EQ(GetWindowLongW(header, GWL_STYLE) & HDS_BUTTONS, 0);
}

TEST_F(HeaderControl, ATapOnAColumnTitleReachesTheListViewsParentAsAColumnClick) {
    HWND list = MakeList();
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    AddColumn(list, u"Ad", 100);
    AddColumn(list, u"İl", 100);
    Pump();
    ClearNotices();
    POINT second = ItemCenter(header, 1);
    device::input::Tap(second.x, second.y);
    Pump();
    // The header's own notice follows, forwarded as the header sent it.
    ASSERT_EQ(Codes(), (std::vector<UINT>{LVN_COLUMNCLICK, HDN_ITEMCLICKW}));
    EXPECT_EQ(test::Parent().notices[0].from, list);
    EXPECT_EQ(test::Parent().notices[0].item, -1);
    EXPECT_EQ(test::Parent().notices[0].subItem, 1);
    EXPECT_EQ(test::Parent().notices[1].from, header);
}

// A width change reaches the list view's parent as HDN_ITEMCHANGINGW (which can refuse it)
// and HDN_ITEMCHANGEDW; a width set on the header directly is taken over by the column.
TEST_F(HeaderControl, ItemChangesAreForwardedToTheListViewsParentWhichMayVetoThem) {
    HWND list = MakeList();
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    AddColumn(list, u"Ad", 100);
    ClearNotices();
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(70, 0));
    EXPECT_EQ(Codes(), (std::vector<UINT>{HDN_ITEMCHANGINGW, HDN_ITEMCHANGEDW}));
    EXPECT_EQ(test::Parent().notices[0].from, header);

    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = 55;
    SendMessageW(header, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 55);

    test::Parent().answer = [](NMHDR* notice) -> LRESULT { return notice->code == HDN_ITEMCHANGINGW ? TRUE : 0; };
    ClearNotices();
    item.cxy = 90;
    EXPECT_EQ(SendMessageW(header, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)), FALSE);
    EXPECT_EQ(Codes(), (std::vector<UINT>{HDN_ITEMCHANGINGW}));
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 55);
}

// A callback item's text is asked of the parent each time it is needed, until the parent
// tells the header to keep it.
TEST_F(HeaderControl, CallbackTextsAreAskedOfTheParent) {
    HWND header = MakeHeader();
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.pszText = LPSTR_TEXTCALLBACKW;
    item.cxy = 80;
    ASSERT_EQ(SendMessageW(header, HDM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 0);
    int asked = 0;
    test::Parent().answer = [&asked](NMHDR* notice) -> LRESULT {
        if (notice->code == HDN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMHDDISPINFOW*>(notice);
            EXPECT_EQ(info->iItem, asked < 2 ? 0 : 1);
            EXPECT_NE(info->mask & HDI_TEXT, 0u);
            std::u16string text = ++asked == 1 ? u"Soyadı" : u"Adı";
            std::copy_n(text.c_str(), text.size() + 1, info->pszText);
            info->mask |= asked == 2 ? HDI_DI_SETITEM : 0;
        }
        return 0;
    };
    EXPECT_EQ(ItemText(header, 0), u"Soyadı");
    EXPECT_EQ(ItemText(header, 0), u"Adı");
    EXPECT_EQ(ItemText(header, 0), u"Adı");
    EXPECT_EQ(asked, 2);
    // Painting asks for a callback item too.
    ASSERT_EQ(SendMessageW(header, HDM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item)), 1);
    InvalidateRect(header, nullptr, TRUE);
    UpdateWindow(header);
    EXPECT_EQ(asked, 3);
}

} // namespace
