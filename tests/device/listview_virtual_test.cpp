// List view features programs use beyond the toolkit: virtual lists (LVS_OWNERDATA),
// callback texts, finding items, sub-item rectangles and positions, the callback mask, and
// check boxes.
#include "listview_fixture.h"

#include <algorithm>

namespace {

using test::ListViewTest;

// "r<item>c<sub-item>", counting how often the parent was asked.
struct DisplayParent {
    int asked = 0;
    std::vector<std::pair<int, int>> hints;
    LVFINDINFOW lastFind{};
    int lastFindStart = 0;

    LRESULT operator()(NMHDR* notice) {
        if (notice->code == LVN_GETDISPINFOW) {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(notice)->item;
            ++asked;
            if ((item.mask & LVIF_TEXT) != 0) {
                std::string text = "r" + std::to_string(item.iItem) + "c" + std::to_string(item.iSubItem);
                std::copy(text.begin(), text.end(), item.pszText);
                item.pszText[text.size()] = 0;
            }
            if ((item.mask & LVIF_STATE) != 0) {
                item.state = LVIS_CUT & item.stateMask;
            }
        } else if (notice->code == LVN_ODCACHEHINT) {
            auto* hint = reinterpret_cast<NMLVCACHEHINT*>(notice);
            hints.emplace_back(hint->iFrom, hint->iTo);
        } else if (notice->code == LVN_ODFINDITEMW) {
            auto* find = reinterpret_cast<NMLVFINDITEMW*>(notice);
            lastFind = find->lvfi;
            lastFindStart = find->iStart;
            return 424242;
        }
        return 0;
    }
};

class ListViewVirtual : public ListViewTest {
protected:
    HWND MakeVirtual(int count, DWORD style = LVS_REPORT) {
        HWND list = MakeList(style | LVS_OWNERDATA);
        AddColumn(list, u"Ad", 100);
        AddColumn(list, u"İl", 80);
        SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
        Pump();
        return list;
    }
};

TEST_F(ListViewVirtual, AMillionRowsCostOnlyWhatIsShown) {
    DisplayParent parent;
    test::Parent().answer = std::ref(parent);
    HWND list = MakeVirtual(1000000);
    EXPECT_EQ(Count(list), 1000000);
    parent = DisplayParent{};
    SendMessageW(list, LVM_ENSUREVISIBLE, 999999, FALSE);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    // One hint naming the visible rows, then two cells for each of them.
    ASSERT_EQ(parent.hints.size(), 1u);
    int page = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_EQ(parent.hints[0].second, 999999);
    EXPECT_LE(parent.hints[0].second - parent.hints[0].first + 1, page + 1);
    EXPECT_EQ(parent.asked, 2 * (parent.hints[0].second - parent.hints[0].first + 1));
    EXPECT_EQ(GetText(list, 123456, 1), u"r123456c1");
    EXPECT_EQ(SetText(list, 3, 0, u"own text"), FALSE); // the texts are the parent's

    // Selection and focus are the list's own, announced as usual.
    ClearNotices();
    LVITEMW state{};
    state.state = state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ASSERT_TRUE(SendMessageW(list, LVM_SETITEMSTATE, 777777, reinterpret_cast<LPARAM>(&state)));
    EXPECT_EQ(State(list, 777777), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 777777);
    std::vector<UINT> codes = Codes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), LVN_ITEMCHANGED), 1);

    // Item -1: one LVN_ITEMCHANGED for all.
    ClearNotices();
    state.state = 0;
    state.stateMask = LVIS_SELECTED;
    ASSERT_TRUE(SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state)));
    ASSERT_EQ(Codes(), (std::vector<UINT>{LVN_ITEMCHANGED}));
    EXPECT_EQ(test::Parent().notices[0].item, -1);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);

    // A smaller count forgets what lies beyond it.
    SendMessageW(list, LVM_SETITEMCOUNT, 1000, 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), -1);
    EXPECT_EQ(State(list, 5000), 0u);

    // Deleting and finding go to the parent.
    ClearNotices();
    EXPECT_TRUE(SendMessageW(list, LVM_DELETEITEM, 10, 0));
    EXPECT_EQ(Codes(), (std::vector<UINT>{LVN_DELETEITEM}));
    EXPECT_EQ(Count(list), 999);
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    find.psz = u"r5c0";
    EXPECT_EQ(SendMessageW(list, LVM_FINDITEMW, 3, reinterpret_cast<LPARAM>(&find)), 424242);
    EXPECT_EQ(parent.lastFindStart, 3);
    EXPECT_EQ(parent.lastFind.flags, LVFI_STRING);
    ClearNotices();
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(Codes(), (std::vector<UINT>{LVN_DELETEALLITEMS}));
    EXPECT_EQ(Count(list), 0);
}

TEST_F(ListViewVirtual, CallbackTextsAndStatesAreAskedOfTheParentUnlessItKeepsThem) {
    DisplayParent parent;
    test::Parent().answer = std::ref(parent);
    HWND list = MakeList();
    AddColumn(list, u"Ad", 100);
    AddColumn(list, u"İl", 80);
    InsertItem(list, 0, u"kendi");
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = 1;
    item.pszText = LPSTR_TEXTCALLBACKW;
    ASSERT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 1);
    item.iSubItem = 1;
    SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    parent.asked = 0;
    EXPECT_EQ(GetText(list, 0, 0), u"kendi");
    EXPECT_EQ(GetText(list, 0, 1), u"r0c1");
    EXPECT_EQ(GetText(list, 1, 0), u"r1c0");
    EXPECT_EQ(parent.asked, 2);
    // Painting asks for every callback cell it draws.
    parent.asked = 0;
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    EXPECT_EQ(parent.asked, 2);

    // State bits in the callback mask come from the parent.
    EXPECT_TRUE(SendMessageW(list, LVM_SETCALLBACKMASK, LVIS_CUT, 0));
    EXPECT_EQ(SendMessageW(list, LVM_GETCALLBACKMASK, 0, 0), static_cast<LRESULT>(LVIS_CUT));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 0, LVIS_CUT | LVIS_SELECTED), static_cast<LRESULT>(LVIS_CUT));
}

TEST_F(ListViewVirtual, FindItemByTextPrefixAndDataWithAndWithoutWrapping) {
    HWND list = MakeList();
    AddColumn(list, u"Ad", 100);
    const char16_t* names[] = {u"Ayşe", u"Ali", u"ayşegül", u"Zeynep", u"ALİ"};
    for (int i = 0; i < 5; ++i) {
        InsertItem(list, i, names[i], 100 + i);
    }
    struct Case {
        UINT flags;
        const char16_t* text;
        LPARAM data;
        int start;
        LRESULT found;
    };
    const Case cases[] = {
        {LVFI_STRING, u"ayşe", 0, -1, 0},               // whole label, any case
        {LVFI_STRING, u"ayşe", 0, 0, -1},               // starts after the start item
        {LVFI_PARTIAL | LVFI_STRING, u"AYŞE", 0, 0, 2}, // a beginning
        {LVFI_STRING | LVFI_WRAP, u"Ayşe", 0, 2, 0},    // round from the top
        {LVFI_STRING, u"Zey", 0, -1, -1},
        {LVFI_PARAM, nullptr, 103, -1, 3},
        {LVFI_PARAM | LVFI_WRAP, nullptr, 101, 3, 1},
        {0, u"Ali", 0, -1, -1}, // nothing to compare
    };
    for (const Case& c : cases) {
        LVFINDINFOW find{};
        find.flags = c.flags;
        find.psz = c.text;
        find.lParam = c.data;
        EXPECT_EQ(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(c.start), reinterpret_cast<LPARAM>(&find)),
                  c.found)
            << "flags " << c.flags << " start " << c.start;
    }
    EXPECT_EQ(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), 0), -1);
}

TEST_F(ListViewVirtual, SubItemRectanglesPositionsAndHitTestsAgree) {
    HWND list = MakeList(LVS_REPORT);
    AddColumn(list, u"Ad", 100);
    AddColumn(list, u"İl", 60);
    AddRows(list, 4);
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row)));
    struct Case {
        int subItem;
        int part;
        int left;
        int right;
    };
    const Case cases[] = {
        {0, LVIR_BOUNDS, row.left, row.right}, // sub-item 0's bounds are the row's
        {0, LVIR_LABEL, 0, 100},
        {1, LVIR_BOUNDS, 100, 160},
        {1, LVIR_ICON, 100, 100}, // no small image list: no icon
        {1, LVIR_LABEL, 100, 160},
    };
    for (const Case& c : cases) {
        RECT rect{c.part, c.subItem, 0, 0};
        ASSERT_TRUE(SendMessageW(list, LVM_GETSUBITEMRECT, 2, reinterpret_cast<LPARAM>(&rect))) << c.subItem;
        EXPECT_EQ(rect.left, c.left) << c.subItem << "/" << c.part;
        EXPECT_EQ(rect.right, c.right) << c.subItem << "/" << c.part;
        EXPECT_EQ(rect.top, row.top) << c.subItem << "/" << c.part;
        EXPECT_EQ(rect.bottom, row.bottom) << c.subItem << "/" << c.part;
        // The middle of each cell hits that item and sub-item.
        LVHITTESTINFO hit{};
        hit.pt = POINT{(c.left + c.right) / 2, (row.top + row.bottom) / 2};
        if (c.right > c.left && c.subItem > 0) {
            EXPECT_EQ(SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 2);
            EXPECT_EQ(hit.iSubItem, c.subItem);
        }
    }
    RECT bad{LVIR_BOUNDS, 2, 0, 0};
    EXPECT_FALSE(SendMessageW(list, LVM_GETSUBITEMRECT, 2, reinterpret_cast<LPARAM>(&bad)));
    EXPECT_FALSE(SendMessageW(list, LVM_GETSUBITEMRECT, 9, reinterpret_cast<LPARAM>(&row)));
    POINT position{};
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMPOSITION, 2, reinterpret_cast<LPARAM>(&position)));
    EXPECT_EQ(position.x, row.left);
    EXPECT_EQ(position.y, row.top);
}

TEST_F(ListViewVirtual, CheckBoxesStartClearAndATapOnTheBoxTogglesIt) {
    HWND list = MakeList(LVS_REPORT);
    AddColumn(list, u"Ad", 100);
    AddRows(list, 3);
    Pump();
    ClearNotices();
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    // Each item announced as it becomes clear (state image 1).
    EXPECT_EQ(Codes(), (std::vector<UINT>{LVN_ITEMCHANGING, LVN_ITEMCHANGED, LVN_ITEMCHANGING, LVN_ITEMCHANGED,
                                          LVN_ITEMCHANGING, LVN_ITEMCHANGED}));
    auto checkState = [list](int index) {
        return SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK) >> 12;
    };
    EXPECT_EQ(checkState(1), 1);
    InsertItem(list, 3, u"yeni");
    EXPECT_EQ(checkState(3), 1);

    // The box is at the left of the label: a tap there toggles it and selects nothing.
    LVHITTESTINFO hit{};
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    hit.pt = POINT{row.left + 5, (row.top + row.bottom) / 2};
    EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, LVHT_ONITEMSTATEICON);
    ClearNotices();
    POINT screen = hit.pt;
    ClientToScreen(list, &screen);
    device::input::Tap(screen.x, screen.y);
    Pump();
    EXPECT_EQ(checkState(1), 2);
    EXPECT_EQ(State(list, 1), 0u);
    const auto& notices = test::Parent().notices;
    auto changed = std::find_if(notices.begin(), notices.end(),
                                [](const test::Notice& n) { return n.code == LVN_ITEMCHANGED; });
    ASSERT_NE(changed, notices.end());
    EXPECT_EQ(changed->item, 1);
    EXPECT_EQ(changed->oldState, INDEXTOSTATEIMAGEMASK(1));
    EXPECT_EQ(changed->newState, INDEXTOSTATEIMAGEMASK(2));

    // SPACE toggles the focused item's box.
    LVITEMW focus{};
    focus.state = focus.stateMask = LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&focus));
    SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(checkState(1), 1);
}

} // namespace
