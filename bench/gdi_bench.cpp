// GDI speed: a full 240x320 screen of FillRect, of text (the budget is a 60 Hz frame, 16.7 ms),
// of wrapped DrawTextW, and text measuring. Drawn through the Win32 API into a screen-sized
// memory bitmap, which takes the same raster paths as a window DC.
#include <benchmark/benchmark.h>

#include <string>

#include "windows.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;

struct Screen {
    Screen() {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
        previous = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
    }
    ~Screen() {
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

void BM_FillRectFullScreen(benchmark::State& state) {
    Screen screen;
    HBRUSH brushes[] = {CreateSolidBrush(RGB(255, 255, 255)), CreateSolidBrush(RGB(192, 192, 192))};
    const RECT all{0, 0, kWidth, kHeight};
    int frame = 0;
    for (auto _ : state) {
        FillRect(screen.dc, &all, brushes[frame++ & 1]);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
    for (HBRUSH brush : brushes) {
        DeleteObject(brush);
    }
}
BENCHMARK(BM_FillRectFullScreen);

// The same fill through a visible region cut by twelve sibling windows.
void BM_FillRectFullScreenComplexClip(benchmark::State& state) {
    Screen screen;
    for (int i = 0; i < 12; ++i) {
        ExcludeClipRect(screen.dc, 10 + (i % 3) * 75, 30 + (i / 3) * 70, 60 + (i % 3) * 75,
                        60 + (i / 3) * 70);
    }
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    const RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        FillRect(screen.dc, &all, brush);
        benchmark::ClobberMemory();
    }
    DeleteObject(brush);
}
BENCHMARK(BM_FillRectFullScreenComplexClip);

// A screen of text: 22 lines of 38 characters with Turkish letters, opaque background, in the
// system font. One iteration is one full frame.
void BM_TextFullScreen(benchmark::State& state) {
    Screen screen;
    const std::u16string line = u"Çağrı Şükrü Öztürk, İstanbul ığüşöç 123";
    TEXTMETRICW tm{};
    GetTextMetricsW(screen.dc, &tm);
    const int lines = kHeight / tm.tmHeight;
    for (auto _ : state) {
        for (int i = 0; i < lines; ++i) {
            TextOutW(screen.dc, 0, i * tm.tmHeight, line.c_str(), static_cast<int>(line.size()));
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * lines * static_cast<int64_t>(line.size()));
}
BENCHMARK(BM_TextFullScreen)->Unit(benchmark::kMicrosecond);

// The same screen as one wrapped paragraph through DrawTextW.
void BM_DrawTextWrappedFullScreen(benchmark::State& state) {
    Screen screen;
    std::u16string text;
    while (text.size() < 900) {
        text += u"Yeni adres kaydı için adı, soyadı ve telefonu giriniz. ";
    }
    RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        RECT box = all;
        benchmark::DoNotOptimize(
            DrawTextW(screen.dc, text.c_str(), static_cast<int>(text.size()), &box, DT_WORDBREAK));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_DrawTextWrappedFullScreen)->Unit(benchmark::kMicrosecond);

void BM_GetTextExtentExPoint(benchmark::State& state) {
    Screen screen;
    const std::u16string text = u"Ahmet Yılmaz, Kadıköy İstanbul";
    int fit = 0;
    int dx[64];
    SIZE size{};
    for (auto _ : state) {
        GetTextExtentExPointW(screen.dc, text.c_str(), static_cast<int>(text.size()), 100, &fit,
                              dx, &size);
        benchmark::DoNotOptimize(size);
    }
}
BENCHMARK(BM_GetTextExtentExPoint);

} // namespace

BENCHMARK_MAIN();
