// The per-test device.
#include "support/device_fixture.h"

namespace test {

void DeviceTest::SetUp() {
    device::host::StartHeadless();
    WNDCLASSW plain{};
    plain.style = CS_DBLCLKS;
    plain.lpfnWndProc = DefWindowProcW;
    plain.hInstance = GetModuleHandleW(nullptr);
    plain.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    plain.lpszClassName = kPlainClass;
    ASSERT_NE(RegisterClassW(&plain), 0);
    // The desktop and the navigation bar paint themselves first; tests start from a quiet
    // device.
    device::host::PumpMessages();
}

void DeviceTest::TearDown() { device::host::Stop(); }

HWND DeviceTest::MakeWindow(const std::string& role, DWORD style, int x, int y, int cx, int cy, HWND parent,
                            UINT_PTR id, DWORD exStyle) {
    HWND hwnd = CreateWindowExW(exStyle, kPlainClass, u"", style, x, y, cx, cy, parent,
                                reinterpret_cast<HMENU>(id), GetModuleHandleW(nullptr), nullptr);
    if (hwnd != nullptr) {
        device::spy::SetRole(hwnd, role);
    }
    return hwnd;
}

} // namespace test
