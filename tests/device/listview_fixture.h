// Shared by the list view tests: a parent window that records every WM_NOTIFY it gets
// (code and list view fields) and answers LVN_DELETEALLITEMS as the test chooses, plus
// helpers that fill a list view through its messages.
#pragma once

#include "support/device_fixture.h"
#include "support/message_log.h"

#include "commctrl.h"

#include <functional>
#include <string>
#include <vector>

namespace test {

// One WM_NOTIFY as the parent saw it. `item` is kNoItem for notifications that carry only
// an NMHDR.
struct Notice {
    UINT code = 0;
    int item = 0;
    int subItem = 0;
    UINT newState = 0;
    UINT oldState = 0;
    UINT changed = 0;
    HWND from = nullptr;
    UINT_PTR id = 0;
};

inline constexpr int kNoItem = -1000;
inline constexpr UINT_PTR kListId = 100;

struct ParentLog {
    std::vector<Notice> notices;
    LRESULT deleteAllAnswer = FALSE;
    LRESULT itemChangingAnswer = FALSE;
    LRESULT notifyFormatAnswer = NFR_UNICODE;
    int notifyFormatQueries = 0;
    // Counts of items the list view reported while each LVN_DELETEITEM was being sent.
    std::vector<LRESULT> countsDuringDelete;
    // A parent that destroys the list view when it hears this code (0: never).
    UINT destroyOn = 0;
    // A parent that deselects each item it hears is being deleted.
    bool deselectOnDelete = false;
    // Answers notifications the test cares about (display texts, finds); unset: recorded only.
    std::function<LRESULT(NMHDR*)> answer;
};

inline ParentLog& Parent() {
    static ParentLog log;
    return log;
}

inline bool CarriesListViewFields(UINT code) {
    return code == NM_CLICK || code == NM_DBLCLK || code == LVN_ITEMCHANGING || code == LVN_ITEMCHANGED ||
           code == LVN_INSERTITEM || code == LVN_DELETEITEM || code == LVN_DELETEALLITEMS ||
           code == LVN_COLUMNCLICK || code == LVN_ITEMACTIVATE;
}

inline LRESULT CALLBACK RecordingParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ParentLog& log = Parent();
    if (message == WM_NOTIFYFORMAT) {
        ++log.notifyFormatQueries;
        return log.notifyFormatAnswer;
    }
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == NM_CUSTOMDRAW) {
            // Custom draw comes with every paint; its own tests record it.
            return CDRF_DODEFAULT;
        }
        Notice notice;
        notice.code = header->code;
        notice.from = header->hwndFrom;
        notice.id = header->idFrom;
        notice.item = kNoItem;
        if (CarriesListViewFields(header->code)) {
            const auto* info = reinterpret_cast<const NMLISTVIEW*>(lParam);
            notice.item = info->iItem;
            notice.subItem = info->iSubItem;
            notice.newState = info->uNewState;
            notice.oldState = info->uOldState;
            notice.changed = info->uChanged;
        }
        log.notices.push_back(notice);
        if (log.answer) {
            return log.answer(const_cast<NMHDR*>(header));
        }
        if (log.destroyOn != 0 && header->code == log.destroyOn) {
            log.destroyOn = 0;
            DestroyWindow(header->hwndFrom);
            return 0;
        }
        if (header->code == LVN_DELETEITEM) {
            log.countsDuringDelete.push_back(SendMessageW(header->hwndFrom, LVM_GETITEMCOUNT, 0, 0));
            if (log.deselectOnDelete) {
                LVITEMW deselect{};
                deselect.stateMask = LVIS_SELECTED;
                SendMessageW(header->hwndFrom, LVM_SETITEMSTATE, static_cast<WPARAM>(notice.item),
                             reinterpret_cast<LPARAM>(&deselect));
            }
        }
        if (header->code == LVN_DELETEALLITEMS) {
            return log.deleteAllAnswer;
        }
        if (header->code == LVN_ITEMCHANGING) {
            return log.itemChangingAnswer;
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class ListViewTest : public DeviceTest {
protected:
    static constexpr const char16_t* kParentClass = u"ListViewTestParent";

    void SetUp() override {
        DeviceTest::SetUp();
        Parent() = ParentLog{};
        WNDCLASSW parentClass{};
        parentClass.style = CS_DBLCLKS;
        parentClass.lpfnWndProc = RecordingParentProc;
        parentClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
        parentClass.lpszClassName = kParentClass;
        ASSERT_NE(RegisterClassW(&parentClass), 0);
        m_parent = CreateWindowExW(0, kParentClass, u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(m_parent, nullptr);
        device::spy::SetRole(m_parent, "parent");
    }

    // A list view filling the parent's top-left corner; report view unless told otherwise.
    HWND MakeList(DWORD style = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, int cx = 240, int cy = 268) {
        HWND list = CreateWindowExW(0, WC_LISTVIEWW, u"", WS_CHILD | WS_VISIBLE | style, 0, 0, cx, cy, m_parent,
                                    reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
        if (list != nullptr) {
            device::spy::SetRole(list, "list view");
        }
        return list;
    }

    static LRESULT AddColumn(HWND list, const std::u16string& text, int width, int fmt = LVCFMT_LEFT,
                             int index = 1000) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_TEXT | (width > 0 ? LVCF_WIDTH : 0);
        column.fmt = fmt;
        column.cx = width;
        column.pszText = const_cast<WCHAR*>(text.c_str());
        return SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
    }

    static LRESULT InsertItem(HWND list, int index, const std::u16string& text, LPARAM data = 0) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = const_cast<WCHAR*>(text.c_str());
        item.lParam = data;
        return SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }

    static LRESULT SetText(HWND list, int index, int subItem, const std::u16string& text) {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = const_cast<WCHAR*>(text.c_str());
        return SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }

    static std::u16string GetText(HWND list, int index, int subItem) {
        WCHAR buffer[256] = {};
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = buffer;
        item.cchTextMax = 256;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    static UINT State(HWND list, int index) {
        return static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index),
                                              LVIS_SELECTED | LVIS_FOCUSED));
    }

    static LRESULT Count(HWND list) { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); }

    static std::u16string Number(int value) {
        std::string digits = std::to_string(value);
        return std::u16string(digits.begin(), digits.end());
    }

    // Rows "Row 0", "Row 1", ... with the item's index as its data.
    static void AddRows(HWND list, int count, int first = 0) {
        for (int i = first; i < first + count; ++i) {
            InsertItem(list, i, u"Row " + Number(i), i);
        }
    }

    // Screen point inside column 0 of a row, a little right of the label's start.
    static POINT RowPoint(HWND list, int index, int dx = 6) {
        RECT rect{};
        rect.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        POINT point{rect.left + dx, (rect.top + rect.bottom) / 2};
        ClientToScreen(list, &point);
        return point;
    }

    static std::vector<UINT> Codes() {
        std::vector<UINT> codes;
        for (const Notice& notice : Parent().notices) {
            codes.push_back(notice.code);
        }
        return codes;
    }

    static void ClearNotices() { Parent().notices.clear(); }

    HWND m_parent = nullptr;
};

} // namespace test
