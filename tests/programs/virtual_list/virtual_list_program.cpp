// A virtual list of 1,000,000 rows (LVS_OWNERDATA): the program keeps no rows at all and
// makes every text when the list view asks for it. Scripts scroll it to the end and back,
// select rows and take screenshots; what the parent heard is counted and printed at the end
// so that a test can tell that only the drawn rows were asked for.
#include "commctrl.h"
#include "windows.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kRows = 1000000;
constexpr int kListId = 100;

long g_textRequests = 0;
long g_cacheHints = 0;
int g_largestHint = 0;

void Write(LVITEMW& item, const std::u16string& text) {
    if (item.pszText == nullptr || item.cchTextMax <= 0) {
        return;
    }
    size_t count = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    text.copy(item.pszText, count);
    item.pszText[count] = 0;
}

std::u16string Digits(long value) {
    std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// Row n: "Kayıt n", a city and a postal code that follow from n.
void Describe(LVITEMW& item) {
    static const char16_t* const kCities[] = {u"İstanbul", u"Ankara", u"İzmir", u"Bursa", u"Çanakkale", u"Muğla"};
    switch (item.iSubItem) {
    case 0: Write(item, u"Kayıt " + Digits(item.iItem)); break;
    case 1: Write(item, kCities[item.iItem % 6]); break;
    default: Write(item, Digits(10000 + (item.iItem * 7919L) % 90000)); break;
    }
}

LRESULT OnNotify(NMHDR* header) {
    switch (header->code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        if ((item.mask & LVIF_TEXT) != 0) {
            ++g_textRequests;
            Describe(item);
        }
        return 0;
    }
    case LVN_ODCACHEHINT: {
        const auto* hint = reinterpret_cast<NMLVCACHEHINT*>(header);
        ++g_cacheHints;
        g_largestHint = std::max(g_largestHint, hint->iTo - hint->iFrom + 1);
        return 0;
    }
    case LVN_ODFINDITEMW: {
        // "Kayıt n" is row n.
        const auto* find = reinterpret_cast<NMLVFINDITEMW*>(header);
        std::u16string wanted = find->lvfi.psz != nullptr ? find->lvfi.psz : u"";
        const std::u16string prefix = u"Kayıt ";
        if (wanted.rfind(prefix, 0) != 0) {
            return -1;
        }
        long row = 0;
        for (char16_t c : wanted.substr(prefix.size())) {
            if (c < u'0' || c > u'9' || row > kRows) {
                return -1;
            }
            row = row * 10 + (c - u'0');
        }
        return row < kRows ? row : -1;
    }
    default: return 0;
    }
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void AddColumn(HWND list, int index, const char16_t* text, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = width;
    column.pszText = const_cast<LPWSTR>(text);
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW formClass{};
    formClass.lpfnWndProc = FormProc;
    formClass.hInstance = instance;
    formClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    formClass.lpszClassName = u"VirtualListForm";
    RegisterClassW(&formClass);
    HWND form = CreateWindowExW(0, u"VirtualListForm", u"Bir Milyon", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr,
                                nullptr, instance, nullptr);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, u"",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                    LVS_SHOWSELALWAYS,
                                0, 0, 240, 268, form, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kListId)),
                                instance, nullptr);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    AddColumn(list, 0, u"Kayıt", 110);
    AddColumn(list, 1, u"İl", 70);
    AddColumn(list, 2, u"Posta", 56);
    SendMessageW(list, LVM_SETITEMCOUNT, kRows, 0);
    SetFocus(list);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    find.psz = u"Kayıt 765432";
    long found = IsWindow(list) ? static_cast<long>(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                                                  reinterpret_cast<LPARAM>(&find)))
                                : -2;
    std::printf("rows %ld texts %ld hints %ld largest-hint %d found %ld\n",
                IsWindow(list) ? static_cast<long>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1L,
                g_textRequests, g_cacheHints, g_largestHint, found);
    return static_cast<int>(msg.wParam);
}
