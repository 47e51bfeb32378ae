// A full-screen repaint: a form covering the work area with a grid of child windows that
// each draw a line of text, invalidated as a whole and painted through the message loop.
#include "device_host.h"
#include "windows.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

LRESULT CALLBACK TextProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        WCHAR text[64];
        int length = GetWindowTextW(hwnd, text, 64);
        SetBkMode(hdc, TRANSPARENT);
        DrawTextW(hdc, text, length, &client, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        EndPaint(hwnd, &paint);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void BM_FullScreenRepaint(benchmark::State& state) {
    device::host::StartHeadless();
    WNDCLASSW cls{};
    cls.lpfnWndProc = TextProc;
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    cls.lpszClassName = u"BenchText";
    RegisterClassW(&cls);
    HWND form = CreateWindowExW(0, u"BenchText", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 294, nullptr, nullptr,
                                nullptr, nullptr);
    const int rows = static_cast<int>(state.range(0));
    const int height = 294 / rows;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < 2; ++column) {
            std::u16string text = u"Çiçek Şahin İlgün " + std::u16string(1, static_cast<char16_t>(u'A' + row % 26));
            CreateWindowExW(0, u"BenchText", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER, column * 120,
                            row * height, 120, height, form, nullptr, nullptr, nullptr);
        }
    }
    device::host::PumpMessages();
    for (auto _ : state) {
        InvalidateRect(nullptr, nullptr, TRUE); // the whole screen, every window in it
        device::host::PumpMessages();
    }
    state.counters["windows"] = rows * 2 + 1;
    device::host::Stop();
}
BENCHMARK(BM_FullScreenRepaint)->Arg(14)->Arg(20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
