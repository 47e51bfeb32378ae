// Holding the stylus on a scroll bar's arrow, or on the track beside the thumb, repeats
// the scroll after a delay until the stylus is lifted (or the thumb reaches it).
#include "listview_fixture.h"

namespace {

class ScrollRepeatTest : public test::ListViewTest {
protected:
    // Holds the stylus at `point` for `steps` ticks of 50 ms of the clock, then lifts it;
    // returns how many WM_VSCROLL with `code` the list heard meanwhile.
    size_t Hold(POINT point, int steps, WORD code) {
        for (int i = 0; i < steps; ++i) {
            device::host::WhenIdle([] { device::input::AdvanceClock(50); });
        }
        device::host::WhenIdle([point] { device::input::PointerUp(point.x, point.y); });
        test::StartLog();
        device::input::PointerDown(point.x, point.y);
        Pump();
        size_t count = 0;
        for (const auto& record : test::Only(test::Log(), {WM_VSCROLL})) {
            count += LOWORD(record.wParam) == code ? 1 : 0;
        }
        return count;
    }
    LRESULT TopIndex() const { return SendMessageW(m_list, LVM_GETTOPINDEX, 0, 0); }
    HWND m_list = nullptr;
};

TEST_F(ScrollRepeatTest, HoldingTheDownArrowOfA200RowListScrollsOnAndOnUntilLifted) {
    m_list = MakeList();
    AddColumn(m_list, u"Adı", 120);
    AddRows(m_list, 200);
    Pump();
    RECT window;
    GetWindowRect(m_list, &window);
    int bar = GetSystemMetrics(SM_CXVSCROLL);
    POINT arrow{window.right - bar / 2, window.bottom - bar / 2};
    // One at the press, then after 200 ms one every 50 ms: 200, 250, ... 1000.
    EXPECT_EQ(Hold(arrow, 20, SB_LINEDOWN), 18u);
    EXPECT_EQ(TopIndex(), 18);
    device::host::RunFor(1000);
    EXPECT_EQ(TopIndex(), 18) << "nothing repeats once the stylus is up";

    // The track below the thumb pages until the thumb comes under the stylus.
    POINT track{arrow.x, arrow.y - bar - 2};
    size_t pages = Hold(track, 60, SB_PAGEDOWN);
    EXPECT_GT(pages, 3u);
    EXPECT_LT(pages, 58u);
    EXPECT_GT(TopIndex(), 150);
}

} // namespace
