// The list view control: the styles its options make, what its column and item operations
// hand the platform, clearing, the background colour, and image lists made on demand.
#include "control_factory.h"
#include "list_view.h"
#include "properties.h"
#include "support/message_log.h"
#include "toolkit_fixture.h"

#include "commctrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr TListViewOptions kSearchOptions = lvoAutoArrange | lvoGridLines | lvoFullRowSelect;

// Copies every column and item record as it reaches the list view's window.
struct SentRecords {
    std::vector<LVCOLUMNW> columns;
    std::vector<std::u16string> columnTexts;
    std::vector<LVITEMW> items;
    static bool Filter(void* data, MSG& msg, LRESULT&) {
        auto* self = static_cast<SentRecords*>(data);
        if (msg.message == LVM_INSERTCOLUMNW && msg.lParam != 0) {
            self->columns.push_back(*reinterpret_cast<const LVCOLUMNW*>(msg.lParam));
            self->columnTexts.push_back(self->columns.back().pszText);
        } else if ((msg.message == LVM_INSERTITEMW || msg.message == LVM_SETITEMTEXTW) && msg.lParam != 0) {
            self->items.push_back(*reinterpret_cast<const LVITEMW*>(msg.lParam));
        }
        return false;
    }
};

class ListViewControl : public test::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        m_form = CreateForm(nullptr, u"Liste");
    }
    void TearDown() override {
        Free(m_form);
        ToolkitTest::TearDown();
    }
    TControl* MakeList(TListViewOptions options, TImageList* small = nullptr, TImageList* large = nullptr,
                       TImageList* state = nullptr) {
        return CreateListView(m_form, lvsReport, options, small, large, state);
    }
    static std::u16string ItemText(TControl* list, int item, int subItem) {
        WCHAR buffer[64] = {};
        LVITEMW request{};
        request.iSubItem = subItem;
        request.pszText = buffer;
        request.cchTextMax = 64;
        SendMessageW(list->Handle, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request));
        return buffer;
    }
    static DWORD WindowStyle(TControl* list) {
        return static_cast<DWORD>(GetWindowLongW(list->Handle, GWL_STYLE)) | WS_VISIBLE;
    }
    static LRESULT HeaderCount(TControl* list) {
        HWND header = reinterpret_cast<HWND>(SendMessageW(list->Handle, LVM_GETHEADER, 0, 0));
        return SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
    }

    TControl* m_form = nullptr;
};

TEST_F(ListViewControl, TheSearchWindowsCallMakesItsWindowWithTheStylesItsOptionsSay) {
    test::StartLog();
    TControl* list = MakeList(kSearchOptions);
    ASSERT_NE(list->Handle, nullptr); // the version message made the window
    device::spy::SetRole(list->Handle, "list");
    // Made before its form is shown, the window waits hidden; the rest is the style asked for.
    EXPECT_EQ(WindowStyle(list), 0x5281014Du | WS_CLIPSIBLINGS);
    EXPECT_EQ(SendMessageW(list->Handle, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x21);
    // The styles are in place before the version message, and no image list is sent.
    EXPECT_TRUE(test::MatchesSequence(
        test::ForRole(test::Only(test::Log(), {LVM_SETEXTENDEDLISTVIEWSTYLE, LVM_SETIMAGELIST, CCM_SETVERSION}),
                      "list"),
        {{"list", LVM_SETEXTENDEDLISTVIEWSTYLE, test::Sent | test::WParam | test::LParam, 0x3FFF, 0x21},
         {"list", CCM_SETVERSION, test::Sent | test::WParam | test::LParam, 0x20C, 0}},
        "CreateListView"));

    TControl* plain = MakeList(0);
    EXPECT_EQ(WindowStyle(plain), 0x52810040u | WS_CLIPSIBLINGS | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    EXPECT_EQ(SendMessageW(plain->Handle, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0);
}

TEST_F(ListViewControl, OptionsWithANegativeEntryAddTheirBitsWhenAbsentAndBits18To23AddNothing) {
    struct Case {
        TListViewOptions options;
        DWORD style;
        DWORD exStyle;
    };
    const Case cases[] = {
        {0, LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0},
        {lvoHideSelection | lvoMultiSelect, 0, 0},
        {0x00FC0000 | lvoMultiSelect, LVS_SHOWSELALWAYS, 0}, // bits 18-23
        {lvoOwnerDrawAlt | lvoHideSelection, LVS_OWNERDRAWFIXED | LVS_SINGLESEL, 0},
        {lvoOwnerData | lvoOneClickActivate | lvoHideSelection | lvoMultiSelect, LVS_OWNERDATA, 0x40},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListViewOptionStyles(c.options), c.style) << std::hex << c.options;
        EXPECT_EQ(ListViewOptionExStyles(c.options), c.exStyle) << std::hex << c.options;
    }
    EXPECT_EQ(ListViewStyleBits(lvsReportNoHeader), LVS_REPORT | LVS_NOCOLUMNHEADER);
}

TEST_F(ListViewControl, ColumnsTakeTheNextIndexInCallOrderAndTheirWidthDecidesMaskAndFormat) {
    TControl* list = MakeList(kSearchOptions);
    SentRecords sent;
    list->OnMessage = TOnMessage{&SentRecords::Filter, &sent};
    AddColumn(list, u"Adı SoyAdı", 0, 100);
    AddColumn(list, u"Varsayılan", 1, 0);
    AddColumn(list, u"Resimli", 2, -80);
    InsertColumn(list, -1, u"Reddedilen", 0, 50); // the platform refuses a negative index
    AddColumn(list, u"İl", 0, 50);
    EXPECT_EQ(list->ColumnCount, 4);
    EXPECT_EQ(HeaderCount(list), 4);

    struct Expected {
        WPARAM index;
        UINT mask;
        int fmt;
        int cx;
    };
    const Expected expected[] = {{0, LVCF_FMT | LVCF_TEXT | LVCF_WIDTH, LVCFMT_LEFT, 100},
                                 {1, LVCF_FMT | LVCF_TEXT, LVCFMT_RIGHT, 0},
                                 {2, LVCF_FMT | LVCF_TEXT | LVCF_WIDTH, LVCFMT_CENTER | LVCFMT_BITMAP_ON_RIGHT, 80},
                                 {WPARAM(-1), LVCF_FMT | LVCF_TEXT | LVCF_WIDTH, LVCFMT_LEFT, 50},
                                 {3, LVCF_FMT | LVCF_TEXT | LVCF_WIDTH, LVCFMT_LEFT, 50}};
    ASSERT_EQ(sent.columns.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(sent.columns[i].mask, expected[i].mask) << i;
        EXPECT_EQ(sent.columns[i].fmt, expected[i].fmt) << i;
        EXPECT_EQ(sent.columns[i].cx, expected[i].cx) << i;
    }
    EXPECT_EQ(sent.columnTexts[4], u"İl");
    EXPECT_EQ(SendMessageW(list->Handle, LVM_GETCOLUMNWIDTH, 2, 0), 80);
    EXPECT_EQ(SendMessageW(list->Handle, LVM_GETCOLUMNWIDTH, 3, 0), 50);
    list->OnMessage = TOnMessage{}; // `sent` ends here, before the teardown's messages
}

TEST_F(ListViewControl, ItemsAreAddedAtTheEndWithANilTextSentAsAnEmptyStringAndClearKeepsTheColumns) {
    TControl* list = MakeList(kSearchOptions);
    for (const char16_t* header : {u"Adı SoyAdı", u"Adres 1"}) {
        AddColumn(list, header, 0, 100);
    }
    SentRecords sent;
    list->OnMessage = TOnMessage{&SentRecords::Filter, &sent};
    EXPECT_EQ(AddItem(list, u"Ayşe"), 0);
    EXPECT_EQ(AddItem(list, nullptr), 1);
    EXPECT_TRUE(SetItemText(list, 1, 1, u"Çamlık Sok."));
    EXPECT_TRUE(SetItemText(list, 1, 0, nullptr));
    EXPECT_FALSE(SetItemText(list, 2, 0, u"yok")); // no such row
    list->OnMessage = TOnMessage{};
    ASSERT_EQ(sent.items.size(), 5u);
    EXPECT_EQ(sent.items[1].iItem, 1); // the count, so the end
    for (const LVITEMW& item : sent.items) {
        EXPECT_NE(item.pszText, nullptr);
    }
    EXPECT_EQ(GetCount(list), 2);
    EXPECT_EQ(ItemText(list, 0, 0), u"Ayşe");
    EXPECT_EQ(ItemText(list, 1, 0), u"");
    EXPECT_EQ(ItemText(list, 1, 1), u"Çamlık Sok.");

    Clear(list);
    EXPECT_EQ(GetCount(list), 0);
    EXPECT_EQ(list->ColumnCount, 2);
    EXPECT_EQ(HeaderCount(list), 2);
    // A kind without an item-count message counts nothing.
    TControl* button = CreateButton(m_form, u"Düğme");
    EXPECT_EQ(GetCount(button), 0);
}

TEST_F(ListViewControl, TheColorWriteSetsTheListsBackground) {
    TControl* list = MakeList(kSearchOptions);
    SetColor(list, 0x00336699);
    EXPECT_EQ(SendMessageW(list->Handle, LVM_GETBKCOLOR, 0, 0), 0x00336699);
    SetColor(list, clWindow);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list->Handle, LVM_GETBKCOLOR, 0, 0)), GetSysColor(COLOR_WINDOW));
}

TEST_F(ListViewControl, ImageListsAreMadeWhenShownWithTheSizeOfTheirKind) {
    TImageList* small = NewImageList();
    TImageList* large = NewImageList();
    TImageList* state = NewImageList();
    SetImageSize(large, 48, 0); // a missing size gives both the kind's size
    SetImageSize(state, 12, 12);
    large->BkColor = 0x00112233;
    EXPECT_EQ(GetHandle(small), nullptr); // no size yet: nothing made
    TControl* list = MakeList(0, small, large, state);
    ASSERT_NE(small->Handle, nullptr);
    ASSERT_NE(large->Handle, nullptr);
    ASSERT_NE(state->Handle, nullptr);
    struct Expected {
        TImageList* list;
        int slot;
        int size;
    };
    for (const Expected& e : {Expected{large, LVSIL_NORMAL, 32}, Expected{small, LVSIL_SMALL, 16},
                              Expected{state, LVSIL_STATE, 12}}) {
        EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(list->Handle, LVM_GETIMAGELIST, e.slot, 0)), e.list->Handle);
        int cx = 0;
        int cy = 0;
        ASSERT_TRUE(ImageList_GetIconSize(e.list->Handle, &cx, &cy));
        EXPECT_EQ(cx, e.size);
        EXPECT_EQ(cy, e.size);
    }
    EXPECT_EQ(ImageList_GetBkColor(large->Handle), 0x00112233u);
    SetBkColor(small, clWindow);
    EXPECT_EQ(ImageList_GetBkColor(small->Handle), GetSysColor(COLOR_WINDOW));
    SetImageSize(small, 24, 24); // too late: the platform's list exists
    EXPECT_EQ(small->Width, 16);
    EXPECT_EQ(GetImageList(list, 8), small);
    EXPECT_EQ(GetImageList(list, 17), large);

    // The list view shows the lists but never frees them.
    Free(list);
    EXPECT_EQ(ImageList_GetImageCount(large->Handle), 0);
    for (TImageList* imageList : {small, large, state}) {
        Free(imageList);
    }
}

} // namespace
