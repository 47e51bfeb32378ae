// How the list view shows itself: its scroll bars when rows or columns do not fit, the
// rows painted for the scroll position, selection colours, grid lines, the background,
// ellipses, and the views other than report view.
#include "listview_fixture.h"

namespace {

using test::ListViewTest;

// The screen's 0x00RRGGBB form of a COLORREF.
uint32_t Pixel(COLORREF color) {
    return (static_cast<uint32_t>(GetRValue(color)) << 16) | (static_cast<uint32_t>(GetGValue(color)) << 8) |
           GetBValue(color);
}

uint32_t SysPixel(int index) { return Pixel(GetSysColor(index)); }

class ListViewLook : public ListViewTest {
protected:
    // The colour shown at a point of the list view's client area.
    static uint32_t At(HWND list, int x, int y) {
        POINT point{x, y};
        ClientToScreen(list, &point);
        return device::diag::ScreenPixel(point.x, point.y);
    }

    // Pixels in a client rectangle that differ from `background`: text, lines, highlights.
    static int Marks(HWND list, RECT rect, uint32_t background) {
        int marks = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                marks += At(list, x, y) != background ? 1 : 0;
            }
        }
        return marks;
    }

    static RECT ItemRect(HWND list, int index, int part = LVIR_BOUNDS) {
        RECT rect{};
        rect.left = part;
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }

    static DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

    // Two 100-pixel columns; column 1 stays empty so that its cells show the row's colour.
    HWND MakeRows(int rows, DWORD style = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS) {
        HWND list = MakeList(style);
        AddColumn(list, u"Name", 100);
        AddColumn(list, u"Empty", 100);
        AddRows(list, rows);
        Pump();
        return list;
    }
};

TEST_F(ListViewLook, AVerticalBarShowsWhileRowsDoNotFitAndGoesWithThem) {
    HWND list = MakeRows(5);
    EXPECT_EQ(Style(list) & WS_VSCROLL, 0u);
    AddRows(list, 40, 5);
    EXPECT_NE(Style(list) & WS_VSCROLL, 0u);
    EXPECT_EQ(Style(list) & WS_HSCROLL, 0u);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 44);
    EXPECT_EQ(static_cast<LRESULT>(info.nPage), SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_EQ(info.nPos, 0);
    // The bar's width came off the client area.
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_EQ(client.right, 240 - GetSystemMetrics(SM_CXVSCROLL));

    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(Style(list) & WS_VSCROLL, 0u);
    GetClientRect(list, &client);
    EXPECT_EQ(client.right, 240);
}

TEST_F(ListViewLook, TapsOnTheBarsArrowAndTrackScrollByRowAndByPage) {
    HWND list = MakeRows(60);
    RECT window{};
    GetWindowRect(list, &window);
    int barX = window.right - GetSystemMetrics(SM_CXVSCROLL) / 2;
    device::input::Tap(barX, window.bottom - 4);
    Pump();
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 1);
    EXPECT_EQ(GetScrollPos(list, SB_VERT), 1);

    int perPage = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    device::input::AdvanceClock(1000);
    device::input::Tap(barX, window.bottom - 40);
    Pump();
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 1 + perPage);

    // The thumb position above 65,535 rows would not fit a WORD; within it, the message's
    // own position is taken.
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 7), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 7);
    SendMessageW(list, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 60 - perPage);
    SendMessageW(list, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 0);
}

TEST_F(ListViewLook, RowsArePaintedWhereTheScrollPositionPutsThem) {
    HWND list = MakeRows(40);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    LVITEMW select{};
    select.state = select.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 12, reinterpret_cast<LPARAM>(&select));
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
    Pump();
    ASSERT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 10);

    RECT first = ItemRect(list, 10);
    RECT selected = ItemRect(list, 12);
    int rowHeight = first.bottom - first.top;
    EXPECT_EQ(selected.top, first.top + 2 * rowHeight);
    // Not focused, the selection shows in the button face colour, over the whole row.
    int middle = (selected.top + selected.bottom) / 2;
    EXPECT_EQ(At(list, 150, middle), SysPixel(COLOR_BTNFACE));
    EXPECT_EQ(At(list, 150, (first.top + first.bottom) / 2), SysPixel(COLOR_WINDOW));
    // Row 10 shows its label in the first row's place; rows above the top do not show.
    EXPECT_GT(Marks(list, RECT{0, first.top, 100, first.bottom}, SysPixel(COLOR_WINDOW)), 10);
    EXPECT_LT(ItemRect(list, 9).bottom, first.top + 1);
}

TEST_F(ListViewLook, TheSelectionColoursFollowTheFocus) {
    HWND list = MakeRows(5);
    POINT tap = RowPoint(list, 1);
    device::input::Tap(tap.x, tap.y);
    Pump();
    RECT row = ItemRect(list, 1);
    int middle = (row.top + row.bottom) / 2;
    EXPECT_EQ(At(list, 2, middle), SysPixel(COLOR_HIGHLIGHT));
    // Without full-row select only the label is highlighted.
    EXPECT_EQ(At(list, 95, middle), SysPixel(COLOR_WINDOW));

    SetFocus(m_parent);
    Pump();
    EXPECT_EQ(At(list, 2, middle), SysPixel(COLOR_BTNFACE));

    SetWindowLongW(list, GWL_STYLE, static_cast<LONG>(Style(list) & ~LVS_SHOWSELALWAYS));
    Pump();
    EXPECT_EQ(At(list, 2, middle), SysPixel(COLOR_WINDOW));
}

TEST_F(ListViewLook, GridLinesRunBetweenRowsAndColumnsDownToTheBottom) {
    HWND list = MakeRows(3);
    RECT row = ItemRect(list, 0);
    RECT client{};
    GetClientRect(list, &client);
    EXPECT_EQ(At(list, 150, row.bottom - 1), SysPixel(COLOR_WINDOW));
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    Pump();
    EXPECT_EQ(At(list, 150, row.bottom - 1), SysPixel(COLOR_BTNFACE));
    EXPECT_EQ(At(list, 99, client.bottom - 5), SysPixel(COLOR_BTNFACE));
    EXPECT_EQ(At(list, 150, row.bottom + 5 * (row.bottom - row.top) - 1), SysPixel(COLOR_BTNFACE));
}

TEST_F(ListViewLook, TheBackgroundColourFillsTheRowsAndTheAreaBelowTheLastItem) {
    HWND list = MakeRows(3);
    SendMessageW(list, LVM_SETBKCOLOR, 0, RGB(250, 240, 200));
    InvalidateRect(list, nullptr, TRUE);
    Pump();
    RECT row = ItemRect(list, 2);
    EXPECT_EQ(At(list, 150, (row.top + row.bottom) / 2), Pixel(RGB(250, 240, 200)));
    EXPECT_EQ(At(list, 50, row.bottom + 40), Pixel(RGB(250, 240, 200)));
    EXPECT_EQ(At(list, 230, row.bottom + 40), Pixel(RGB(250, 240, 200)));
}

TEST_F(ListViewLook, TextWiderThanItsColumnEndsInsideTheColumn) {
    HWND list = MakeList();
    AddColumn(list, u"Narrow", 40);
    AddColumn(list, u"Next", 100);
    InsertItem(list, 0, u"WWWWWWWWWWWWWWWWWWWW");
    Pump();
    RECT row = ItemRect(list, 0);
    EXPECT_GT(Marks(list, RECT{0, row.top, 40, row.bottom}, SysPixel(COLOR_WINDOW)), 10);
    EXPECT_EQ(Marks(list, RECT{40, row.top, 140, row.bottom}, SysPixel(COLOR_WINDOW)), 0);
}

TEST_F(ListViewLook, ColumnsWiderThanTheListScrollSidewaysWithTheirHeader) {
    HWND list = MakeList();
    for (int i = 0; i < 3; ++i) {
        AddColumn(list, u"Column", 120);
    }
    AddRows(list, 2);
    EXPECT_NE(Style(list) & WS_HSCROLL, 0u);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    GetScrollInfo(list, SB_HORZ, &info);
    EXPECT_EQ(info.nMax, 359);
    EXPECT_EQ(info.nPage, 240u);

    SendMessageW(list, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(ItemRect(list, 0).left, -8);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT headerRect{};
    GetWindowRect(header, &headerRect);
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    EXPECT_EQ(headerRect.left, origin.x - 8);

    SendMessageW(list, WM_HSCROLL, SB_RIGHT, 0);
    EXPECT_EQ(ItemRect(list, 0).left, -120);
    EXPECT_EQ(GetScrollPos(list, SB_HORZ), 120);
}

TEST_F(ListViewLook, OtherViewsShowAPlainListWithoutTheHeader) {
    for (DWORD view : {LVS_LIST, LVS_ICON, LVS_SMALLICON, LVS_REPORT | LVS_NOCOLUMNHEADER}) {
        HWND list = MakeRows(3, view | LVS_SINGLESEL);
        HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        EXPECT_FALSE(IsWindowVisible(header)) << "view " << view;
        RECT row = ItemRect(list, 0);
        EXPECT_EQ(row.top, 0) << "view " << view;
        EXPECT_GT(Marks(list, RECT{0, row.top, 60, row.bottom}, SysPixel(COLOR_WINDOW)), 10) << "view " << view;
        DestroyWindow(list);
    }
    // Switching to report view brings the header back above the rows.
    HWND list = MakeRows(3, LVS_LIST);
    SetWindowLongW(list, GWL_STYLE, static_cast<LONG>((Style(list) & ~LVS_TYPEMASK) | LVS_REPORT));
    Pump();
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_TRUE(IsWindowVisible(header));
    RECT headerRect{};
    GetClientRect(header, &headerRect);
    EXPECT_EQ(ItemRect(list, 0).top, headerRect.bottom);
}

} // namespace
