// A screen of every standard control of the device — labels, edit boxes, buttons, check
// boxes and radio buttons in a group box, a multi-line box with its scroll bar, a report
// list — under the navigation bar and above a menu bar; "Bilgi" opens a message box.
#include "aygshell.h"
#include "commctrl.h"
#include "windows.h"

namespace {

constexpr int kInfoButton = 101;

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kInfoButton && HIWORD(wParam) == BN_CLICKED) {
            MessageBoxW(nullptr, u"Kayıt Yapıldı !", u"Adres Defteri", MB_ICONINFORMATION);
            return 0;
        }
        break;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND Child(HWND parent, const char16_t* cls, const char16_t* text, DWORD style, int x, int y, int cx, int cy,
           int id = 0) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, cx, cy, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

void AddColumn(HWND list, int index, const char16_t* text, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<LPWSTR>(text);
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void AddRow(HWND list, const char16_t* name, const char16_t* province, const char16_t* postalCode) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<LPWSTR>(name);
    int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    const char16_t* texts[] = {province, postalCode};
    for (int sub = 1; sub <= 2; ++sub) {
        LVITEMW subItem{};
        subItem.iSubItem = sub;
        subItem.pszText = const_cast<LPWSTR>(texts[sub - 1]);
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&subItem));
    }
}

// Check boxes checked, unchecked and indeterminate, and a group of radio buttons in a
// group box, one of them checked and one disabled. The group box comes last, beneath the
// radio buttons, which clip their siblings.
void BuildChecks(HWND form) {
    HWND yes = Child(form, u"BUTTON", u"Evet", BS_AUTOCHECKBOX | WS_TABSTOP, 4, 106, 70, 18);
    Child(form, u"BUTTON", u"Hayır", BS_AUTOCHECKBOX | WS_TABSTOP, 78, 106, 74, 18);
    HWND maybe = Child(form, u"BUTTON", u"Belki", BS_AUTO3STATE | WS_TABSTOP, 156, 106, 80, 18);
    SendMessageW(yes, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(maybe, BM_SETCHECK, BST_INDETERMINATE, 0);
    HWND home = Child(form, u"BUTTON", u"Ev", BS_AUTORADIOBUTTON | WS_GROUP, 130, 140, 100, 16);
    Child(form, u"BUTTON", u"İş", BS_AUTORADIOBUTTON, 130, 156, 100, 16);
    Child(form, u"BUTTON", u"Cep", BS_AUTORADIOBUTTON | WS_DISABLED, 130, 172, 100, 16);
    SendMessageW(home, BM_SETCHECK, BST_CHECKED, 0);
    Child(form, u"BUTTON", u"Telefon", BS_GROUPBOX | WS_GROUP, 124, 124, 112, 66);
}

void BuildControls(HWND form) {
    Child(form, u"STATIC", u"Ad Soyad:", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 4, 7, 60, 18);
    HWND name = Child(form, u"EDIT", u"Ayşe Çelik", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 66, 4, 170, 22);
    Child(form, u"STATIC", u"Parola:", SS_LEFTNOWORDWRAP, 4, 33, 60, 18);
    Child(form, u"EDIT", u"gizli", WS_BORDER | ES_PASSWORD | ES_AUTOHSCROLL, 66, 30, 80, 22);
    Child(form, u"STATIC", u"Kod:", SS_RIGHT, 146, 33, 34, 18);
    Child(form, u"EDIT", u"34000", WS_BORDER | ES_NUMBER, 184, 30, 52, 22);
    Child(form, u"BUTTON", u"Kaydet", BS_DEFPUSHBUTTON | WS_TABSTOP, 4, 57, 74, 24);
    Child(form, u"BUTTON", u"Bilgi", BS_PUSHBUTTON | WS_TABSTOP, 82, 57, 74, 24, kInfoButton);
    Child(form, u"BUTTON", u"Sil", BS_PUSHBUTTON | WS_DISABLED, 160, 57, 76, 24);
    Child(form, u"STATIC", u"Ortalanmış etiket, çerçeveli", SS_CENTER | WS_BORDER, 4, 84, 232, 20);
    BuildChecks(form);
    Child(form, u"EDIT", u"Çok satırlı bir kutu:\r\nİkinci satır\r\nÜçüncü satır\r\nDördüncü satır\r\nBeşinci satır",
          WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 4, 128, 116, 62);
    HWND list = Child(form, WC_LISTVIEWW, u"", WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                      4, 194, 232, 70);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0x3FFF, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    AddColumn(list, 0, u"Adı SoyAdı", 100);
    AddColumn(list, 1, u"İl", 70);
    AddColumn(list, 2, u"PostaKodu", 70);
    AddRow(list, u"Ayşe Çelik", u"İstanbul", u"34000");
    AddRow(list, u"Kaan Öztürk", u"Ankara", u"06100");
    AddRow(list, u"Şahin Güneş", u"İzmir", u"35210");
    AddRow(list, u"Ömer Işık", u"Bursa", u"16010");
    AddRow(list, u"Çiçek Yıldız", u"Muğla", u"48000");
    AddRow(list, u"Gül Doğan", u"Van", u"65100");
    LVITEMW selected{};
    selected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    selected.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&selected));
    SetFocus(name);
    SendMessageW(name, EM_SETSEL, 5, 5);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW cls{};
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = FormProc;
    cls.hInstance = instance;
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    cls.lpszClassName = u"ShowcaseForm";
    RegisterClassW(&cls);
    HWND form = CreateWindowExW(0, u"ShowcaseForm", u"Denetimler", WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    // The Pocket PC way: an empty menu bar, and the window shortened to end where it starts.
    SHMENUBARINFO bar{};
    bar.cbSize = sizeof(SHMENUBARINFO);
    bar.hwndParent = form;
    bar.dwFlags = SHCMBF_EMPTYBAR;
    if (SHCreateMenuBar(&bar)) {
        RECT formRect;
        RECT barRect;
        GetWindowRect(form, &formRect);
        GetWindowRect(bar.hwndMB, &barRect);
        SetWindowPos(form, nullptr, 0, 0, formRect.right - formRect.left, barRect.top - formRect.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    SHDoneButton(form, SHDB_SHOW);
    BuildControls(form);
    ShowWindow(form, show);
    UpdateWindow(form);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
