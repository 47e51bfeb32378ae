// Two report lists with images, as a Win32 program for the handheld would build them: the
// upper one with small icons drawn with GDI (added as a masked strip, and one more made into
// an icon first) and state images (a flag on some rows); the lower one with check boxes.
#include "commctrl.h"
#include "windows.h"

namespace {

constexpr int kIcon = 16;
constexpr COLORREF kKey = RGB(255, 0, 255); // marks what the icons leave see-through

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Fill(HDC hdc, RECT rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

// Draws `count` 16x16 pictures side by side on the key colour; picture(hdc, left) draws one.
template <typename Draw>
HBITMAP Strip(int count, Draw picture) {
    HDC hdc = CreateCompatibleDC(nullptr);
    HBITMAP strip = CreateCompatibleBitmap(hdc, count * kIcon, kIcon);
    HGDIOBJ previous = SelectObject(hdc, strip);
    Fill(hdc, RECT{0, 0, count * kIcon, kIcon}, kKey);
    for (int i = 0; i < count; ++i) {
        picture(hdc, i, i * kIcon);
    }
    SelectObject(hdc, previous);
    DeleteDC(hdc);
    return strip;
}

void Disc(HDC hdc, int left, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldBrush = SelectObject(hdc, brush);
    HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
    Ellipse(hdc, left + 1, 1, left + 15, 15);
    SelectObject(hdc, oldPen);
    SelectObject(hdc, oldBrush);
    DeleteObject(brush);
}

// A person, a house and a letter, then a sun made into an icon first.
HIMAGELIST SmallIcons() {
    HIMAGELIST list = ImageList_Create(kIcon, kIcon, ILC_COLOR | ILC_MASK, 4, 4);
    HBITMAP strip = Strip(3, [](HDC hdc, int i, int left) {
        if (i == 0) {
            Disc(hdc, left, RGB(0, 120, 215));
            Fill(hdc, RECT{left + 5, 4, left + 11, 10}, RGB(255, 220, 180));
        } else if (i == 1) {
            Fill(hdc, RECT{left + 2, 7, left + 14, 15}, RGB(200, 60, 40));
            POINT roof[] = {{left + 1, 7}, {left + 8, 1}, {left + 15, 7}};
            Polygon(hdc, roof, 3);
            Fill(hdc, RECT{left + 7, 10, left + 10, 15}, RGB(90, 50, 20));
        } else {
            Fill(hdc, RECT{left + 1, 3, left + 15, 13}, RGB(250, 240, 200));
            MoveToEx(hdc, left + 1, 3, nullptr);
            LineTo(hdc, left + 8, 9);
            LineTo(hdc, left + 15, 3);
        }
    });
    ImageList_AddMasked(list, strip, kKey);
    DeleteObject(strip);

    // The sun: colour image black where the mask lets the screen through, as icons are.
    HBITMAP colour = Strip(1, [](HDC hdc, int, int) { Disc(hdc, 0, RGB(255, 200, 0)); });
    HBITMAP mask = CreateBitmap(kIcon, kIcon, 1, 1, nullptr);
    HDC source = CreateCompatibleDC(nullptr);
    HDC target = CreateCompatibleDC(nullptr);
    HGDIOBJ oldSource = SelectObject(source, colour);
    HGDIOBJ oldTarget = SelectObject(target, mask);
    SetBkColor(source, kKey);
    BitBlt(target, 0, 0, kIcon, kIcon, source, 0, 0, SRCCOPY); // key colour -> 1 (see-through)
    SetTextColor(source, RGB(255, 255, 255));
    SetBkColor(source, RGB(0, 0, 0));
    BitBlt(source, 0, 0, kIcon, kIcon, target, 0, 0, SRCAND); // blacken what the mask hides
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteDC(source);
    DeleteDC(target);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    ImageList_AddIcon(list, icon);
    DestroyIcon(icon);
    DeleteObject(mask);
    DeleteObject(colour);
    return list;
}

// State image 1: a red flag.
HIMAGELIST Flags() {
    HIMAGELIST list = ImageList_Create(kIcon, kIcon, ILC_COLOR | ILC_MASK, 1, 1);
    HBITMAP strip = Strip(1, [](HDC hdc, int, int left) {
        Fill(hdc, RECT{left + 3, 2, left + 5, 15}, RGB(60, 60, 60));
        Fill(hdc, RECT{left + 5, 2, left + 14, 8}, RGB(220, 0, 0));
    });
    ImageList_AddMasked(list, strip, kKey);
    DeleteObject(strip);
    return list;
}

HWND MakeList(HWND form, int top, int height, DWORD extended) {
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, u"",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                                0, top, 240, height, form, nullptr, nullptr, nullptr);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);
    const struct {
        const char16_t* text;
        int width;
    } columns[] = {{u"Ad", 130}, {u"İl", 106}};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = columns[i].width;
        column.pszText = const_cast<LPWSTR>(columns[i].text);
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

void AddRow(HWND list, int index, const char16_t* name, const char16_t* city, int image, UINT stateImage) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(name);
    item.iImage = image;
    item.state = INDEXTOSTATEIMAGEMASK(stateImage);
    item.stateMask = LVIS_STATEIMAGEMASK;
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = const_cast<LPWSTR>(city);
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void Fill(HWND list, bool flags) {
    AddRow(list, 0, u"Ayşe Yılmaz", u"İstanbul", 0, flags ? 1 : 0);
    AddRow(list, 1, u"Ev", u"Ankara", 1, 0);
    AddRow(list, 2, u"Mektup", u"İzmir", 2, flags ? 1 : 0);
    AddRow(list, 3, u"Güneş", u"Muğla", 3, 0);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW formClass{};
    formClass.lpfnWndProc = FormProc;
    formClass.hInstance = instance;
    formClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    formClass.lpszClassName = u"ListIconsForm";
    RegisterClassW(&formClass);
    HWND form = CreateWindowExW(0, u"ListIconsForm", u"Simgeler", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr,
                                nullptr, instance, nullptr);
    // The lists free their image lists when they go (no LVS_SHAREIMAGELISTS).
    HWND upper = MakeList(form, 0, 134, LVS_EX_FULLROWSELECT);
    SendMessageW(upper, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SmallIcons()));
    SendMessageW(upper, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(Flags()));
    Fill(upper, true);
    HWND lower = MakeList(form, 134, 134, LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES);
    SendMessageW(lower, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SmallIcons()));
    Fill(lower, false);
    SetFocus(upper);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
