// The device's message path: SendMessageW against a direct call of the same window
// procedure, and a post/get/dispatch round trip against SendMessageW.
#include "device_host.h"
#include "windows.h"

#include <benchmark/benchmark.h>

namespace {

LRESULT CALLBACK CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        return static_cast<LRESULT>(wParam) + 1;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class Device {
public:
    Device() {
        device::host::StartHeadless();
        WNDCLASSW cls{};
        cls.lpfnWndProc = CountingProc;
        cls.lpszClassName = u"BenchWindow";
        RegisterClassW(&cls);
        hwnd = CreateWindowExW(0, u"BenchWindow", u"", WS_POPUP | WS_VISIBLE, 0, 26, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
        device::host::PumpMessages();
    }
    ~Device() { device::host::Stop(); }
    HWND hwnd = nullptr;
};

void BM_DirectCall(benchmark::State& state) {
    Device device;
    // Called through a pointer the compiler cannot see through, as the device calls it.
    WNDPROC volatile proc = CountingProc;
    WPARAM value = 0;
    for (auto _ : state) {
        value = static_cast<WPARAM>(proc(device.hwnd, WM_USER, value, 0));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_DirectCall);

void BM_SendMessage(benchmark::State& state) {
    Device device;
    WPARAM value = 0;
    for (auto _ : state) {
        value = static_cast<WPARAM>(SendMessageW(device.hwnd, WM_USER, value, 0));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_SendMessage);

void BM_PostGetDispatch(benchmark::State& state) {
    Device device;
    MSG msg;
    LRESULT result = 0;
    for (auto _ : state) {
        PostMessageW(device.hwnd, WM_USER, 1, 0);
        GetMessageW(&msg, nullptr, 0, 0);
        TranslateMessage(&msg);
        result = DispatchMessageW(&msg);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_PostGetDispatch);

} // namespace

BENCHMARK_MAIN();
