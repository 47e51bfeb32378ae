// A fresh headless device for each test, with helpers to make test windows.
#pragma once

#include "device_diag.h"
#include "device_host.h"
#include "device_input.h"
#include "device_spy.h"
#include "windows.h"

#include <gtest/gtest.h>

#include <string>

namespace test {

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A class whose procedure passes everything to DefWindowProcW.
    static constexpr const char16_t* kPlainClass = u"TestPlain";

    // Creates a window of the plain class and gives it a role in the spy's printouts.
    HWND MakeWindow(const std::string& role, DWORD style, int x, int y, int cx, int cy, HWND parent = nullptr,
                    UINT_PTR id = 0, DWORD exStyle = 0);

    int Pump() { return device::host::PumpMessages(); }
};

} // namespace test
