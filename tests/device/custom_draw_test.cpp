// Custom draw of the list view and its header: the stages the parent hears and in which
// order, and the CDRF_* answers honoured on the screen.
#include "listview_fixture.h"

#include <vector>

namespace {

struct Stage {
    bool fromHeader;
    DWORD stage;
    DWORD_PTR item;
};

// What the parent answers, and what it heard.
struct CustomDrawLog {
    std::vector<Stage> stages;
    LRESULT prepaintAnswer = CDRF_DODEFAULT;
    int recolouredItem = -1; // drawn red on yellow
    int skippedItem = -1;    // drawn by nobody
    HFONT itemFont = nullptr;
    LRESULT fontAnswer = CDRF_DODEFAULT; // CDRF_NEWFONT or not, with itemFont selected
};
CustomDrawLog g_log;

LRESULT CALLBACK CustomDrawParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->code != NM_CUSTOMDRAW) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
    bool fromHeader = GetParent(draw->nmcd.hdr.hwndFrom) != hwnd;
    g_log.stages.push_back(Stage{fromHeader, draw->nmcd.dwDrawStage, draw->nmcd.dwItemSpec});
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        return g_log.prepaintAnswer;
    }
    if (fromHeader || draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) {
        return CDRF_DODEFAULT;
    }
    int item = static_cast<int>(draw->nmcd.dwItemSpec);
    if (item == g_log.skippedItem) {
        return CDRF_SKIPDEFAULT;
    }
    if (item == g_log.recolouredItem) {
        draw->clrText = RGB(255, 0, 0);
        draw->clrTextBk = RGB(255, 255, 0);
        SelectObject(draw->nmcd.hdc, g_log.itemFont);
        return g_log.fontAnswer | CDRF_NOTIFYPOSTPAINT;
    }
    return CDRF_DODEFAULT;
}

class CustomDrawTest : public test::ListViewTest {
protected:
    void SetUp() override {
        ListViewTest::SetUp();
        g_log = CustomDrawLog{};
        SetWindowLongPtrW(m_parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CustomDrawParent));
        m_list = MakeList();
        AddColumn(m_list, u"Adı", 120);
        AddColumn(m_list, u"İli", 100);
        AddRows(m_list, 3);
        Pump();
    }
    void Repaint() {
        g_log.stages.clear();
        InvalidateRect(m_list, nullptr, TRUE);
        InvalidateRect(ListView_Header(), nullptr, TRUE);
        Pump();
    }
    HWND ListView_Header() const { return reinterpret_cast<HWND>(SendMessageW(m_list, LVM_GETHEADER, 0, 0)); }
    // Pixels of a colour inside a row of the list, as the screen shows them.
    int CountInRow(int index, COLORREF colour) {
        RECT rect{};
        rect.left = LVIR_BOUNDS;
        SendMessageW(m_list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        MapWindowPoints(m_list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        uint32_t wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        int width = 0;
        int height = 0;
        std::vector<uint32_t> screen = device::diag::ScreenPixels(&width, &height);
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                count += screen[static_cast<size_t>(y * width + x)] == wanted ? 1 : 0;
            }
        }
        return count;
    }
    HWND m_list = nullptr;
};

TEST_F(CustomDrawTest, TheHeaderDrawsInsideTheListsPaintAndBothAskTheParentStageByStage) {
    g_log.prepaintAnswer = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    test::StartLog();
    Repaint();
    const std::vector<Stage> expected = {
        {true, CDDS_PREPAINT, 0},      {true, CDDS_ITEMPREPAINT, 0}, {true, CDDS_ITEMPREPAINT, 1},
        {true, CDDS_POSTPAINT, 0},     {false, CDDS_PREPAINT, 0},    {false, CDDS_ITEMPREPAINT, 0},
        {false, CDDS_ITEMPREPAINT, 1}, {false, CDDS_ITEMPREPAINT, 2}, {false, CDDS_POSTPAINT, 0},
    };
    ASSERT_EQ(g_log.stages.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(g_log.stages[i].fromHeader, expected[i].fromHeader) << i;
        EXPECT_EQ(g_log.stages[i].stage, expected[i].stage) << i;
        EXPECT_EQ(g_log.stages[i].item, expected[i].item) << i;
    }
    // The header's WM_PAINT is sent from inside the list's, never taken from the queue.
    auto paints = test::Only(test::Log(), {WM_PAINT});
    for (const auto& record : paints) {
        if (record.hwnd == ListView_Header()) {
            EXPECT_FALSE(record.posted);
            EXPECT_GT(record.depth, 0);
        }
    }
}

TEST_F(CustomDrawTest, AnswersChangeColoursFontAndWhetherARowIsDrawnAtAll) {
    LOGFONTW big{};
    big.lfHeight = -14;
    big.lfWeight = FW_BOLD;
    g_log.itemFont = CreateFontIndirectW(&big);
    g_log.prepaintAnswer = CDRF_NOTIFYITEMDRAW;
    g_log.recolouredItem = 1;
    g_log.skippedItem = 2;
    Repaint();
    const COLORREF red = RGB(255, 0, 0);
    EXPECT_GT(CountInRow(1, RGB(255, 255, 0)), 0) << "the new background";
    int redWithoutNewFont = CountInRow(1, red);
    EXPECT_GT(redWithoutNewFont, 0) << "the new text colour";
    EXPECT_EQ(CountInRow(2, GetSysColor(COLOR_WINDOWTEXT)), 0) << "a skipped row is not drawn";
    EXPECT_GT(CountInRow(0, GetSysColor(COLOR_WINDOWTEXT)), 0) << "other rows as usual";
    g_log.fontAnswer = CDRF_NEWFONT;
    Repaint();
    EXPECT_GT(CountInRow(1, red), redWithoutNewFont) << "the parent's bold font with CDRF_NEWFONT";
    g_log.prepaintAnswer = CDRF_SKIPDEFAULT;
    Repaint();
    EXPECT_EQ(CountInRow(0, GetSysColor(COLOR_WINDOWTEXT)), 0) << "CDRF_SKIPDEFAULT at prepaint draws no row";
    DeleteObject(g_log.itemFont);
}

} // namespace
