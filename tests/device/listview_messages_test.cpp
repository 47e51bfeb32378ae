// The list view's messages and their results: columns, items and sub-items, clearing,
// extended styles, versions, image lists, colours, item states and the window-tree dump.
#include "listview_fixture.h"

#include <algorithm>

namespace {

using test::ListViewTest;

class ListViewMessages : public ListViewTest {
protected:
    // A list of rows "Row 0", "Row 1", ... that allows several selected, these ones selected.
    HWND MakeMultipleSelectionList(int rows, std::initializer_list<int> selected) {
        HWND list = MakeList(LVS_REPORT);
        AddColumn(list, u"A", 100);
        AddRows(list, rows);
        for (int row : selected) {
            Select(list, row);
        }
        return list;
    }
    static LRESULT Select(HWND list, int row) {
        LVITEMW select{};
        select.state = select.stateMask = LVIS_SELECTED;
        return SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&select));
    }
};

TEST_F(ListViewMessages, CreationAsksTheParentForUnicodeAndMakesAHeaderChild) {
    HWND list = MakeList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(test::Parent().notifyFormatQueries, 1);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(GetParent(header), list);
    WCHAR name[32] = {};
    GetClassNameW(header, name, 32);
    EXPECT_EQ(std::u16string(name), u"SysHeader32");
    EXPECT_TRUE(IsWindowVisible(header));
    EXPECT_EQ(SendMessageW(list, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(ListViewMessages, InsertColumnAnswersTheIndexAppendsBeyondTheCountAndRefusesNegatives) {
    HWND list = MakeList();
    EXPECT_EQ(AddColumn(list, u"First", 50, LVCFMT_LEFT, 7), 0);
    EXPECT_EQ(AddColumn(list, u"Second", 50, LVCFMT_LEFT, 5), 1);
    EXPECT_EQ(AddColumn(list, u"Front", 50, LVCFMT_LEFT, 0), 0);
    EXPECT_EQ(AddColumn(list, u"Bad", 50, LVCFMT_LEFT, -1), -1);
    EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, 0, 0), -1);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);

    WCHAR text[16] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_SUBITEM;
    column.pszText = text;
    column.cchTextMax = 16;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(std::u16string(text), u"First");
    EXPECT_EQ(column.iSubItem, 1);
    EXPECT_FALSE(SendMessageW(list, LVM_GETCOLUMNW, 3, reinterpret_cast<LPARAM>(&column)));
}

TEST_F(ListViewMessages, ColumnWithoutWidthGetsTheSmallDefaultAndColumnZeroIsAlwaysLeftAligned) {
    HWND list = MakeList();
    EXPECT_EQ(AddColumn(list, u"Narrow", 0), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 10);
    EXPECT_EQ(AddColumn(list, u"Right", 60, LVCFMT_RIGHT), 1);
    EXPECT_EQ(AddColumn(list, u"Front", 60, LVCFMT_CENTER, 0), 0);

    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    EXPECT_EQ(column.cx, 60);
    SendMessageW(list, LVM_GETCOLUMNW, 2, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);

    column.mask = LVCF_FMT;
    column.fmt = LVCFMT_RIGHT;
    ASSERT_TRUE(SendMessageW(list, LVM_SETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
    SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
}

TEST_F(ListViewMessages, ColumnWidthsAndDeletionKeepTheSubItemsInTheirColumns) {
    HWND list = MakeList();
    AddColumn(list, u"A", 40);
    AddColumn(list, u"B", 40);
    AddColumn(list, u"C", 40);
    InsertItem(list, 0, u"a0");
    SetText(list, 0, 1, u"b0");
    SetText(list, 0, 2, u"c0");

    EXPECT_TRUE(SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(77, 0)));
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 77);
    EXPECT_FALSE(SendMessageW(list, LVM_SETCOLUMNWIDTH, 9, MAKELPARAM(77, 0)));
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 9, 0), 0);

    EXPECT_FALSE(SendMessageW(list, LVM_DELETECOLUMN, 3, 0));
    EXPECT_TRUE(SendMessageW(list, LVM_DELETECOLUMN, 1, 0));
    EXPECT_EQ(GetText(list, 0, 0), u"a0");
    EXPECT_EQ(GetText(list, 0, 1), u"c0");
    EXPECT_FALSE(SetText(list, 0, 2, u"gone"));

    // A column inserted in the middle starts empty for the existing items.
    EXPECT_EQ(AddColumn(list, u"New", 40, LVCFMT_LEFT, 1), 1);
    EXPECT_EQ(GetText(list, 0, 1), u"");
    EXPECT_EQ(GetText(list, 0, 2), u"c0");

    // Fitting a column to its texts makes it at least as wide as the widest one.
    SetText(list, 0, 1, u"A rather long text here");
    ASSERT_TRUE(SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(LVSCW_AUTOSIZE, 0)));
    EXPECT_GT(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 100);
}

TEST_F(ListViewMessages, InsertItemAnswersTheIndexAppendsBeyondTheCountAndRefusesBadRequests) {
    HWND list = MakeList();
    AddColumn(list, u"Name", 100);
    EXPECT_EQ(InsertItem(list, -1, u"none"), -1);
    EXPECT_EQ(InsertItem(list, 5, u"first"), 0);
    EXPECT_EQ(InsertItem(list, 100, u"second"), 1);
    EXPECT_EQ(InsertItem(list, 0, u"zeroth"), 0);
    EXPECT_EQ(Count(list), 3);
    EXPECT_EQ(GetText(list, 0, 0), u"zeroth");
    EXPECT_EQ(GetText(list, 1, 0), u"first");
    EXPECT_EQ(GetText(list, 2, 0), u"second");

    LVITEMW subItem{};
    subItem.mask = LVIF_TEXT;
    subItem.iItem = 0;
    subItem.iSubItem = 1;
    subItem.pszText = const_cast<WCHAR*>(u"x");
    EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&subItem)), -1);
    EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, 0), -1);
    EXPECT_EQ(Count(list), 3);
}

TEST_F(ListViewMessages, SubItemTextsAreKeptPerColumnAndCopiedWithinTheBuffer) {
    HWND list = MakeList();
    AddColumn(list, u"A", 40);
    AddColumn(list, u"B", 40);
    InsertItem(list, 0, u"");
    EXPECT_TRUE(SetText(list, 0, 0, u"Ayşe"));
    EXPECT_TRUE(SetText(list, 0, 1, u"İstanbul"));
    EXPECT_FALSE(SetText(list, 0, 2, u"no column"));
    EXPECT_FALSE(SetText(list, 1, 0, u"no item"));
    EXPECT_FALSE(SetText(list, -1, 0, u"no item"));
    EXPECT_EQ(GetText(list, 0, 0), u"Ayşe");
    EXPECT_EQ(GetText(list, 0, 1), u"İstanbul");

    WCHAR small[4] = {u'?', u'?', u'?', u'?'};
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = small;
    item.cchTextMax = 4;
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item)), 3);
    EXPECT_EQ(std::u16string(small), u"İst");

    // A null text is an empty one.
    LVITEMW empty{};
    empty.iSubItem = 1;
    EXPECT_TRUE(SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&empty)));
    EXPECT_EQ(GetText(list, 0, 1), u"");
}

TEST_F(ListViewMessages, GetItemAndSetItemCarryTextDataAndState) {
    HWND list = MakeList();
    AddColumn(list, u"A", 40);
    AddColumn(list, u"B", 40);
    InsertItem(list, 0, u"label", 1234);
    SetText(list, 0, 1, u"sub");

    WCHAR buffer[16] = {};
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    item.iItem = 0;
    item.iSubItem = 1;
    item.pszText = buffer;
    item.cchTextMax = 16;
    item.stateMask = LVIS_SELECTED;
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::u16string(buffer), u"sub");
    EXPECT_EQ(item.lParam, 1234);
    EXPECT_EQ(item.state, 0u);

    LVITEMW change{};
    change.mask = LVIF_PARAM | LVIF_STATE | LVIF_TEXT;
    change.iItem = 0;
    change.pszText = const_cast<WCHAR*>(u"relabelled");
    change.lParam = 99;
    change.state = LVIS_SELECTED;
    change.stateMask = LVIS_SELECTED;
    ASSERT_TRUE(SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&change)));
    EXPECT_EQ(GetText(list, 0, 0), u"relabelled");
    EXPECT_EQ(State(list, 0), LVIS_SELECTED);
    item.mask = LVIF_PARAM;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.lParam, 99);

    item.iItem = 1;
    EXPECT_FALSE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

TEST_F(ListViewMessages, ClearingEmptiesTheItemsButKeepsTheColumns) {
    HWND list = MakeList();
    AddColumn(list, u"A", 60);
    AddColumn(list, u"B", 60);
    AddRows(list, 25);
    LVITEMW select{};
    select.state = select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&select));
    EXPECT_EQ(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0), TRUE);
    EXPECT_EQ(Count(list), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), -1);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 60);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
    // And the list fills again from index 0.
    EXPECT_EQ(InsertItem(list, 10, u"again"), 0);
}

TEST_F(ListViewMessages, ExtendedStyleMaskZeroReplacesAllOtherwiseOnlyTheMaskedBits) {
    HWND list = MakeList();
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0x3FFF, 0x21), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x21);
    EXPECT_EQ(SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, 0), 0x21);
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_FULLROWSELECT);
    // Bits outside the mask are not taken.
    EXPECT_EQ(SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, 0x41), LVS_EX_FULLROWSELECT);
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x21);
    EXPECT_EQ(SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES), 0x21);
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_CHECKBOXES);
}

TEST_F(ListViewMessages, AVersionAboveTheControlsOwnIsRefusedAndChangesNothing) {
    HWND list = MakeList();
    EXPECT_EQ(SendMessageW(list, CCM_GETVERSION, 0, 0), 5);
    EXPECT_EQ(SendMessageW(list, CCM_SETVERSION, 0x20C, 0), -1);
    EXPECT_EQ(SendMessageW(list, CCM_GETVERSION, 0, 0), 5);
    EXPECT_EQ(SendMessageW(list, CCM_SETVERSION, 4, 0), 5);
    EXPECT_EQ(SendMessageW(list, CCM_GETVERSION, 0, 0), 4);
    EXPECT_EQ(SendMessageW(list, CCM_SETVERSION, 5, 0), 4);
}

TEST_F(ListViewMessages, ImageListsAreStoredAndTheOldOneReturnedAndColoursKept) {
    HWND list = MakeList();
    // The list view only stores the handles, so stand-in values do.
    auto small = reinterpret_cast<HIMAGELIST>(0x1234);
    auto other = reinterpret_cast<HIMAGELIST>(0x5678);
    EXPECT_EQ(SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small)), 0);
    EXPECT_EQ(SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(other)),
              reinterpret_cast<LRESULT>(small));
    EXPECT_EQ(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0), reinterpret_cast<LRESULT>(other));
    EXPECT_EQ(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0), 0);
    EXPECT_EQ(SendMessageW(list, LVM_SETIMAGELIST, 7, reinterpret_cast<LPARAM>(small)), 0);

    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list, LVM_GETBKCOLOR, 0, 0)), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(SendMessageW(list, LVM_SETBKCOLOR, 0, RGB(1, 2, 3)), TRUE);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list, LVM_GETBKCOLOR, 0, 0)), RGB(1, 2, 3));
    EXPECT_EQ(SendMessageW(list, LVM_SETTEXTCOLOR, 0, RGB(4, 5, 6)), TRUE);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0)), RGB(4, 5, 6));
}

TEST_F(ListViewMessages, ItemStatesSelectionCountAndNextItem) {
    HWND list = MakeList();
    AddColumn(list, u"A", 100);
    AddRows(list, 6);
    LVITEMW state{};
    state.state = state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ASSERT_TRUE(SendMessageW(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state)));
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 2, LVNI_SELECTED), -1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 2);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 4, LVNI_ALL), 5);

    // Single selection: selecting another item takes the selection and the focus over.
    ASSERT_TRUE(SendMessageW(list, LVM_SETITEMSTATE, 4, reinterpret_cast<LPARAM>(&state)));
    EXPECT_EQ(State(list, 2), 0u);
    EXPECT_EQ(State(list, 4), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);

    // Item -1 clears every selection; the focus, outside the mask, stays where it is.
    LVITEMW clear{};
    clear.stateMask = LVIS_SELECTED;
    ASSERT_TRUE(SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear)));
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_EQ(State(list, 4), LVIS_FOCUSED);
    EXPECT_FALSE(SendMessageW(list, LVM_SETITEMSTATE, 6, reinterpret_cast<LPARAM>(&state)));

    // Deleting an item above the focused one moves the focus up with it.
    SendMessageW(list, LVM_DELETEITEM, 0, 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 3);
}

TEST_F(ListViewMessages, MultipleSelectionKeepsSeveralItemsSelected) {
    HWND list = MakeMultipleSelectionList(4, {1, 3});
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 1, LVNI_SELECTED), 3);
    ASSERT_TRUE(Select(list, -1));
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 4);
}

TEST_F(ListViewMessages, DeletingASelectedRowLowersTheSelectedCountOnce) {
    HWND list = MakeMultipleSelectionList(6, {1, 3, 4});
    struct Step {
        const char* name;
        WPARAM deleted;
        bool parentDeselects; // while it hears LVN_DELETEITEM
        LRESULT count;
        LRESULT firstSelected;
    };
    const Step steps[] = {
        {"a selected row", 3, false, 2, 1},
        {"an unselected row above the selection", 0, false, 2, 0},
        {"a selected row its parent deselects on the way out", 0, true, 1, 1},
        {"the last selected row", 1, false, 0, -1},
    };
    for (const Step& step : steps) {
        test::Parent().deselectOnDelete = step.parentDeselects;
        ASSERT_TRUE(SendMessageW(list, LVM_DELETEITEM, step.deleted, 0)) << step.name;
        EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), step.count) << step.name;
        EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), step.firstSelected)
            << step.name;
    }
}

TEST_F(ListViewMessages, HitTestingFindsRowsAndOnlyColumnZeroWithoutFullRowSelect) {
    HWND list = MakeList();
    AddColumn(list, u"A", 80);
    AddColumn(list, u"B", 80);
    AddRows(list, 3);
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
    EXPECT_EQ(row.right - row.left, 160);

    LVHITTESTINFO hit{};
    hit.pt = POINT{10, (row.top + row.bottom) / 2};
    EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, LVHT_ONITEMLABEL);
    hit.pt.x = 100;
    EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(SendMessageW(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.iSubItem, 1);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    hit.pt.y = row.bottom + 3 * (row.bottom - row.top);
    EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, LVHT_NOWHERE);
}

std::string Compact(const std::string& text) {
    std::string out;
    std::copy_if(text.begin(), text.end(), std::back_inserter(out), [](char c) { return c != ' ' && c != '\n'; });
    return out;
}

TEST_F(ListViewMessages, TheTreeDumpShowsColumnsItemsAndTheSelection) {
    HWND list = MakeList();
    AddColumn(list, u"Ad", 100);
    AddColumn(list, u"İl", 50);
    InsertItem(list, 0, u"Ali");
    SetText(list, 0, 1, u"Van");
    InsertItem(list, 1, u"Ece");
    test::StartLog();
    std::string dump = Compact(device::diag::DumpWindowTree());
    EXPECT_TRUE(test::Log().empty()) << "dumping sent messages";
    EXPECT_NE(dump.find(R"("columns":[{"text":"Ad","width":100},{"text":"İl","width":50}])"), std::string::npos);
    EXPECT_NE(dump.find(R"("items":[["Ali","Van"],["Ece",""]],"selected":-1)"), std::string::npos);

    LVITEMW select{};
    select.state = select.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
    EXPECT_NE(Compact(device::diag::DumpWindowTree()).find(R"("selected":1)"), std::string::npos);
}

} // namespace
