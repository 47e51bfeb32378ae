// A device with a parent window ready for edit boxes, shared by the edit control's tests.
#pragma once

#include "support/device_fixture.h"
#include "support/message_log.h"

#include <cstdint>
#include <string>
#include <vector>

namespace test {

class EditTest : public DeviceTest {
protected:
    static constexpr UINT_PTR kEditId = 100;
    // What the toolkit's edit boxes are made with: child, visible, border, tab stop,
    // ES_AUTOHSCROLL, ES_AUTOVSCROLL.
    static constexpr DWORD kBoxStyle =
        WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_AUTOVSCROLL;

    void SetUp() override {
        DeviceTest::SetUp();
        m_parent = MakeWindow("parent", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
        ASSERT_NE(m_parent, nullptr);
    }

    HWND Parent() const { return m_parent; }

    // An edit box on the parent at (x, y) of the parent's client area, role "edit".
    HWND MakeEdit(DWORD style, const std::u16string& text = u"", int x = 10, int y = 10,
                  int cx = 210, int cy = 22, const std::string& role = "edit") {
        HWND edit =
            CreateWindowExW(0, u"EDIT", text.c_str(), style, x, y, cx, cy, m_parent,
                            reinterpret_cast<HMENU>(kEditId), GetModuleHandleW(nullptr), nullptr);
        if (edit != nullptr) {
            device::spy::SetRole(edit, role);
        }
        return edit;
    }

    static std::u16string TextOf(HWND edit) {
        std::u16string text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, u'\0');
        text.resize(
            static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    // The ordered selection, as EM_GETSEL writes it.
    static std::pair<DWORD, DWORD> Selection(HWND edit) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    // A screen point inside the edit box, from a client point.
    static POINT OnScreen(HWND edit, int x, int y) {
        POINT point{x, y};
        ClientToScreen(edit, &point);
        return point;
    }

    // The screen point of a character's left edge, halfway down its line.
    static POINT AtCharacter(HWND edit, int index) {
        LRESULT position = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        return OnScreen(edit, GET_X_LPARAM(position), GET_Y_LPARAM(position) + 6);
    }

    // What the screen shows inside a window's rectangle, row by row (0x00RRGGBB).
    static std::vector<uint32_t> PixelsOf(HWND window) {
        RECT rect;
        GetWindowRect(window, &rect);
        int width = 0;
        int height = 0;
        std::vector<uint32_t> screen = device::diag::ScreenPixels(&width, &height);
        std::vector<uint32_t> pixels;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                pixels.push_back(screen[static_cast<size_t>(y * width + x)]);
            }
        }
        return pixels;
    }

    // Only the parent's WM_COMMAND notifications, for sequences about EN_* codes.
    static Records Notifications() { return ForRole(Only(Log(), {WM_COMMAND}), "parent"); }

    // WM_COMMAND(MAKEWPARAM(id, code), edit) as the parent must hear it.
    static ExpectedMsg Command(WORD code, HWND edit) {
        return ExpectedMsg{"parent", WM_COMMAND, Sent | WParam | LParam, MAKEWPARAM(kEditId, code),
                           reinterpret_cast<LPARAM>(edit)};
    }

private:
    HWND m_parent = nullptr;
};

} // namespace test
