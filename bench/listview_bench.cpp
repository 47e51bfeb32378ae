// List view speed with many rows, through SendMessageW as the toolkit drives it: filling
// 100,000 rows of five columns, clearing them, and repainting a 240x268 list of 10 rows
// and of 100,000 rows (which must cost the same: only the visible rows are drawn).
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "commctrl.h"
#include "device_host.h"
#include "windows.h"

namespace {

constexpr int kManyRows = 100000;
constexpr int kColumns = 5;

// A headless device with the search window's list view: report view, single selection,
// selection always shown, grid lines and full-row select, five columns.
class SearchList {
public:
    SearchList() {
        device::host::StartHeadless();
        WNDCLASSW parentClass{};
        parentClass.lpfnWndProc = DefWindowProcW;
        parentClass.lpszClassName = u"BenchParent";
        RegisterClassW(&parentClass);
        m_parent = CreateWindowExW(0, u"BenchParent", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                                   nullptr, nullptr);
        m_list = CreateWindowExW(0, WC_LISTVIEWW, u"", 0x5281014D, 0, 0, 240, 268, m_parent, nullptr, nullptr,
                                 nullptr);
        SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0x3FFF, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        const std::array<std::pair<const char16_t*, int>, kColumns> columns{{
            {u"Adı SoyAdı", 100}, {u"Adres 1", 100}, {u"Adres 2", 100}, {u"PostaKodu", 50}, {u"İl", 50}}};
        for (int i = 0; i < kColumns; ++i) {
            LVCOLUMNW column{};
            column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
            column.cx = columns[static_cast<size_t>(i)].second;
            column.pszText = const_cast<WCHAR*>(columns[static_cast<size_t>(i)].first);
            SendMessageW(m_list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        }
        for (int i = 0; i < 100; ++i) {
            std::string number = std::to_string(i);
            std::u16string digits(number.begin(), number.end());
            m_texts[0].push_back(u"Ayşe Yılmaz " + digits);
            m_texts[1].push_back(u"Çiçek Sokak No " + digits);
            m_texts[2].push_back(u"Kadıköy");
            m_texts[3].push_back(u"347" + digits);
            m_texts[4].push_back(u"İstanbul");
        }
        device::host::PumpMessages();
    }
    ~SearchList() { device::host::Stop(); }
    SearchList(const SearchList&) = delete;
    SearchList& operator=(const SearchList&) = delete;

    // What the search window does per row: an empty item at the end, then its five texts.
    void AddRows(int count) {
        for (int i = 0; i < count; ++i) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0));
            item.pszText = const_cast<WCHAR*>(u"");
            int index = static_cast<int>(SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
            for (int column = 0; column < kColumns; ++column) {
                LVITEMW text{};
                text.iSubItem = column;
                text.pszText = const_cast<WCHAR*>(m_texts[static_cast<size_t>(column)][static_cast<size_t>(i % 100)].c_str());
                SendMessageW(m_list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text));
            }
        }
    }

    void Clear() { SendMessageW(m_list, LVM_DELETEALLITEMS, 0, 0); }
    LRESULT Count() const { return SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0); }

    void Repaint() {
        InvalidateRect(m_list, nullptr, TRUE);
        UpdateWindow(m_list);
    }

    HWND List() const { return m_list; }

private:
    HWND m_parent = nullptr;
    HWND m_list = nullptr;
    std::array<std::vector<std::u16string>, kColumns> m_texts;
};

// Run with 10,000 and 100,000 rows: the time per row must not grow with the count.
void BM_ListViewInsertRows(benchmark::State& state) {
    SearchList list;
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        list.AddRows(rows);
        state.PauseTiming();
        if (list.Count() != rows) {
            state.SkipWithError("row count");
        }
        list.Clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ListViewInsertRows)->Arg(10000)->Arg(kManyRows)->Unit(benchmark::kMillisecond);

void BM_ListViewClearRows(benchmark::State& state) {
    SearchList list;
    for (auto _ : state) {
        state.PauseTiming();
        list.AddRows(kManyRows);
        state.ResumeTiming();
        list.Clear();
    }
    state.SetItemsProcessed(state.iterations() * kManyRows);
}
BENCHMARK(BM_ListViewClearRows)->Unit(benchmark::kMillisecond);

void BM_ListViewCount(benchmark::State& state) {
    SearchList list;
    list.AddRows(kManyRows);
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.Count());
    }
}
BENCHMARK(BM_ListViewCount);

// One full repaint of the list (header excluded), scrolled to the middle so that the
// painted rows are neither the first nor the last.
void BM_ListViewRepaint(benchmark::State& state) {
    SearchList list;
    list.AddRows(static_cast<int>(state.range(0)));
    SendMessageW(list.List(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(state.range(0) / 2), FALSE);
    device::host::PumpMessages();
    for (auto _ : state) {
        list.Repaint();
    }
}
BENCHMARK(BM_ListViewRepaint)->Arg(10)->Arg(kManyRows)->Unit(benchmark::kMicrosecond);

// The same repaint with a 16x16 small icon and a check box in every row, beside the plain
// one above: what drawing images costs.
void BM_ListViewRepaintWithImages(benchmark::State& state) {
    SearchList list;
    HIMAGELIST icons = ImageList_Create(16, 16, ILC_COLOR | ILC_MASK, 1, 1);
    HBITMAP strip = CreateBitmap(16, 16, 1, 32, nullptr);
    ImageList_AddMasked(icons, strip, RGB(0, 0, 0));
    DeleteObject(strip);
    SendMessageW(list.List(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons));
    SendMessageW(list.List(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    list.AddRows(static_cast<int>(state.range(0)));
    SendMessageW(list.List(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(state.range(0) / 2), FALSE);
    device::host::PumpMessages();
    for (auto _ : state) {
        list.Repaint();
    }
    ImageList_Destroy(icons);
}
BENCHMARK(BM_ListViewRepaintWithImages)->Arg(kManyRows)->Unit(benchmark::kMicrosecond);

// A virtual list (LVS_OWNERDATA) of the same look whose parent makes each text on request,
// as a program showing a large table would.
class VirtualList {
public:
    explicit VirtualList(int rows) {
        device::host::StartHeadless();
        WNDCLASSW parentClass{};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.lpszClassName = u"BenchVirtualParent";
        RegisterClassW(&parentClass);
        m_parent = CreateWindowExW(0, u"BenchVirtualParent", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr,
                                   nullptr, nullptr, nullptr);
        m_list = CreateWindowExW(0, WC_LISTVIEWW, u"", 0x5281014D | LVS_OWNERDATA, 0, 0, 240, 268, m_parent, nullptr,
                                 nullptr, nullptr);
        SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0x3FFF, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = 80;
            column.pszText = const_cast<WCHAR*>(u"Sütun");
            SendMessageW(m_list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        }
        SendMessageW(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
        device::host::PumpMessages();
    }
    ~VirtualList() { device::host::Stop(); }
    VirtualList(const VirtualList&) = delete;
    VirtualList& operator=(const VirtualList&) = delete;

    HWND List() const { return m_list; }

    void Repaint() {
        InvalidateRect(m_list, nullptr, TRUE);
        UpdateWindow(m_list);
    }

private:
    // "Satır <row>.<column>", written into the buffer the list view lends.
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
            if ((item.mask & LVIF_TEXT) != 0 && item.cchTextMax > 24) {
                std::string text = "Satir " + std::to_string(item.iItem) + "." + std::to_string(item.iSubItem);
                std::copy(text.begin(), text.end(), item.pszText);
                item.pszText[text.size()] = 0;
            }
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    HWND m_parent = nullptr;
    HWND m_list = nullptr;
};

// Making a virtual list of 1,000 and of 1,000,000 rows and showing it the first time: the
// same cost, since nothing is kept per row.
void BM_VirtualListOpen(benchmark::State& state) {
    for (auto _ : state) {
        VirtualList list(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(list.List());
    }
}
BENCHMARK(BM_VirtualListOpen)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// A page down through the list and the repaint that follows, from the middle.
void BM_VirtualListScrollAndRepaint(benchmark::State& state) {
    VirtualList list(static_cast<int>(state.range(0)));
    SendMessageW(list.List(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(state.range(0) / 2), FALSE);
    device::host::PumpMessages();
    int direction = 1;
    for (auto _ : state) {
        SendMessageW(list.List(), WM_VSCROLL, direction > 0 ? SB_PAGEDOWN : SB_PAGEUP, 0);
        direction = -direction;
        UpdateWindow(list.List());
    }
}
BENCHMARK(BM_VirtualListScrollAndRepaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The same repaint as BM_ListViewRepaint, the texts coming from the parent.
void BM_VirtualListRepaint(benchmark::State& state) {
    VirtualList list(static_cast<int>(state.range(0)));
    SendMessageW(list.List(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(state.range(0) / 2), FALSE);
    device::host::PumpMessages();
    for (auto _ : state) {
        list.Repaint();
    }
}
BENCHMARK(BM_VirtualListRepaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
