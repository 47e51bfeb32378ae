// Item states as programs change them: LVM_SETITEMSTATE on every item, states given at
// insertion, deleting the focused item, the selection mark, and LVS_SINGLESEL set late.
#include "listview_fixture.h"

#include <functional>

namespace {

using test::ListViewTest;

constexpr UINT kSel = LVIS_SELECTED;
constexpr UINT kFoc = LVIS_FOCUSED;

// A notice as the parent must hear it: code, item, and for state changes old and new state.
struct Heard {
    UINT code;
    int item;
    UINT oldState = 0;
    UINT newState = 0;
};

class ListViewState : public ListViewTest {
protected:
    // `count` rows in report view; `selected` items selected, `focused` focused, quietly
    // forgotten by the parent's log.
    HWND MakeRows(DWORD style, int count, std::initializer_list<int> selected = {}, int focused = -1) {
        HWND list = MakeList(style);
        AddColumn(list, u"Ad", 100);
        AddRows(list, count);
        for (int index : selected) {
            SetState(list, index, kSel, kSel);
        }
        if (focused >= 0) {
            SetState(list, focused, kFoc, kFoc);
        }
        ClearNotices();
        return list;
    }

    static LRESULT SetState(HWND list, int index, UINT state, UINT mask) {
        LVITEMW item{};
        item.state = state;
        item.stateMask = mask;
        return SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }

    static LRESULT Mark(HWND list) { return SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0); }
    static LRESULT Focused(HWND list) {
        return SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    }
    static LRESULT SelectedCount(HWND list) { return SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0); }

    static void ExpectHeard(const std::vector<Heard>& expected, const std::string& context) {
        const auto& notices = test::Parent().notices;
        ASSERT_EQ(notices.size(), expected.size()) << context;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(notices[i].code, expected[i].code) << context << ", notice " << i;
            EXPECT_EQ(notices[i].item, expected[i].item) << context << ", notice " << i;
            if (expected[i].code == LVN_ITEMCHANGING || expected[i].code == LVN_ITEMCHANGED) {
                EXPECT_EQ(notices[i].oldState, expected[i].oldState) << context << ", notice " << i;
                EXPECT_EQ(notices[i].newState, expected[i].newState) << context << ", notice " << i;
                EXPECT_EQ(notices[i].changed, LVIF_STATE) << context << ", notice " << i;
            }
        }
    }
};

// Both halves of one state change.
std::vector<Heard> Pair(int item, UINT oldState, UINT newState) {
    return {{LVN_ITEMCHANGING, item, oldState, newState}, {LVN_ITEMCHANGED, item, oldState, newState}};
}

std::vector<Heard> Join(std::initializer_list<std::vector<Heard>> parts) {
    std::vector<Heard> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST_F(ListViewState, ItemMinusOneChangesEveryItemWithItsOwnNotifications) {
    struct Case {
        const char* name;
        DWORD style;
        UINT state;
        UINT mask;
        LRESULT result;
        std::vector<Heard> heard;
        LRESULT selectedAfter;
        LRESULT focusedAfter;
    };
    const DWORD multi = LVS_REPORT;
    const DWORD single = LVS_REPORT | LVS_SINGLESEL;
    const Case cases[] = {
        {"select all", multi, kSel, kSel, TRUE, Join({Pair(0, 0, kSel), Pair(2, 0, kSel)}), 3, 1},
        {"select all in a single-selection list", single, kSel, kSel, FALSE, {}, 1, 1},
        {"focus all", multi, kFoc, kFoc, FALSE, {}, 1, 1},
        {"take the focus away", multi, 0, kFoc, TRUE, Pair(1, kSel | kFoc, kSel), 1, -1},
        {"clear selection and focus", single, 0, kSel | kFoc, TRUE, Pair(1, kSel | kFoc, 0), 0, -1},
    };
    for (const Case& c : cases) {
        HWND list = MakeRows(c.style, 3, {1}, 1);
        EXPECT_EQ(SetState(list, -1, c.state, c.mask), c.result) << c.name;
        ExpectHeard(c.heard, c.name);
        EXPECT_EQ(SelectedCount(list), c.selectedAfter) << c.name;
        EXPECT_EQ(Focused(list), c.focusedAfter) << c.name;
        DestroyWindow(list);
    }
    // Deselecting all where nothing is selected is a quiet success.
    HWND list = MakeRows(multi, 3);
    EXPECT_EQ(SetState(list, -1, 0, kSel), TRUE);
    ExpectHeard({}, "deselect all of nothing");
}

TEST_F(ListViewState, InsertedSelectionAndFocusAreAnnouncedBeforeTheInsertion) {
    struct Case {
        const char* name;
        DWORD style;
        UINT state;
        UINT mask;
        std::vector<Heard> heard;
        UINT stateAfter;
    };
    const Case cases[] = {
        // Selection and focus apply even outside the mask, and take over from item 0.
        {"selected and focused, empty mask", LVS_REPORT | LVS_SINGLESEL, kSel | kFoc, 0,
         Join({Pair(0, kSel | kFoc, 0), Pair(1, 0, kSel | kFoc), {{LVN_INSERTITEM, 1}}}), kSel | kFoc},
        {"focused only", LVS_REPORT, kFoc, kFoc, Join({Pair(0, kSel | kFoc, kSel), Pair(1, 0, kFoc), {{LVN_INSERTITEM, 1}}}),
         kFoc},
        {"neither", LVS_REPORT, LVIS_CUT, LVIS_CUT, {{LVN_INSERTITEM, 1}}, 0},
    };
    for (const Case& c : cases) {
        HWND list = MakeRows(c.style, 1, {0}, 0);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_STATE;
        item.iItem = 1;
        item.pszText = const_cast<WCHAR*>(u"yeni");
        item.state = c.state;
        item.stateMask = c.mask;
        EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 1) << c.name;
        ExpectHeard(c.heard, c.name);
        EXPECT_EQ(State(list, 1), c.stateAfter) << c.name;
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 1, LVIS_CUT), c.state & c.mask & LVIS_CUT) << c.name;
        DestroyWindow(list);
    }
}

TEST_F(ListViewState, DeletingTheFocusedItemLetsGoFirstAndPassesTheFocusOn) {
    HWND list = MakeRows(LVS_REPORT, 4, {1, 2}, 1);
    ASSERT_TRUE(SendMessageW(list, LVM_DELETEITEM, 1, 0));
    ExpectHeard(Join({Pair(1, kSel | kFoc, 0), {{LVN_DELETEITEM, 1}}}), "delete the focused item");
    // The item that took its place has the focus, without being selected or announced.
    EXPECT_EQ(Focused(list), 1);
    EXPECT_EQ(State(list, 1), kSel | kFoc); // it was selected already
    EXPECT_EQ(SelectedCount(list), 1);

    // The last item passes the focus to the new last one.
    SetState(list, 2, kFoc, kFoc);
    ClearNotices();
    ASSERT_TRUE(SendMessageW(list, LVM_DELETEITEM, 2, 0));
    ExpectHeard(Join({Pair(2, kFoc, 0), {{LVN_DELETEITEM, 2}}}), "delete the last, focused item");
    EXPECT_EQ(Focused(list), 1);
    EXPECT_EQ(State(list, 1), kFoc | kSel);
}

// The mark starts where a program first puts the focus, follows the user's selections and
// LVM_SETSELECTIONMARK, and keeps its place as items come and go.
TEST_F(ListViewState, TheSelectionMarkFollowsThePlatformsRules) {
    HWND list = MakeRows(LVS_REPORT | LVS_SINGLESEL, 6);
    Pump();
    struct Step {
        const char* name;
        std::function<void()> action;
        LRESULT mark;
    };
    const Step steps[] = {
        {"nothing yet", [] {}, -1},
        {"a program selects", [list] { SetState(list, 3, kSel, kSel); }, -1},
        {"a program first focuses", [list] { SetState(list, 2, kFoc, kFoc); }, 2},
        {"a program focuses again", [list] { SetState(list, 4, kSel | kFoc, kSel | kFoc); }, 2},
        {"the user taps", [this, list] {
             POINT point = RowPoint(list, 5);
             device::input::Tap(point.x, point.y);
             Pump();
         }, 5},
        {"the user moves up", [list] { SendMessageW(list, WM_KEYDOWN, VK_UP, 0); }, 4},
        {"an item above comes", [list] { InsertItem(list, 0, u"üst"); }, 5},
        {"the marked item goes", [list] { SendMessageW(list, LVM_DELETEITEM, 5, 0); }, 5},
        {"the last items go", [list] {
             SendMessageW(list, LVM_DELETEITEM, 6, 0);
             SendMessageW(list, LVM_DELETEITEM, 5, 0);
         }, 4},
        {"set by the program", [list] { EXPECT_EQ(SendMessageW(list, LVM_SETSELECTIONMARK, 0, 1), 4); }, 1},
        {"everything goes", [list] { SendMessageW(list, LVM_DELETEALLITEMS, 0, 0); }, -1},
    };
    for (const Step& step : steps) {
        step.action();
        EXPECT_EQ(Mark(list), step.mark) << step.name;
    }
}

TEST_F(ListViewState, SingleSelectionSetLateTakesEverySelectionAway) {
    HWND list = MakeRows(LVS_REPORT, 4, {0, 2, 3});
    SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) | static_cast<LONG>(LVS_SINGLESEL));
    ClearNotices();
    ASSERT_TRUE(SetState(list, 1, kSel, kSel));
    ExpectHeard(Join({Pair(0, kSel, 0), Pair(2, kSel, 0), Pair(3, kSel, 0), Pair(1, 0, kSel)}),
                "selecting under a late LVS_SINGLESEL");
    EXPECT_EQ(SelectedCount(list), 1);
}

} // namespace
