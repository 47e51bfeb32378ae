// The header control ("SysHeader32"): a row of column titles that a list view in report
// view places above its rows; with HDS_BUTTONS the titles are buttons that report taps.
//
// Not emulated: resizing and reordering items by dragging (HDN_BEGINTRACK, HDN_TRACK,
// HDN_ENDTRACK, HDS_DRAGDROP), HDN_DIVIDERDBLCLICK,
// bitmaps and image lists in items, filters, hot tracking, HDI_ORDER affecting the order
// in which items are drawn.

#include "controls/header.h"

#include "commctrl.h"
#include "diag/json_writer.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

namespace device::header {
namespace {

// Space between an item's edge and its text.
constexpr int kTextPadding = 4;
// The header is the font's height plus this, for the button edges.
constexpr int kHeightExtra = 6;

struct HeaderItem {
    std::u16string text;
    bool textCallback = false; // LPSTR_TEXTCALLBACKW: the parent is asked each time
    int width = 0;
    int fmt = HDF_LEFT | HDF_STRING;
    LPARAM lParam = 0;
    int order = 0;
};

struct Header {
    HWND hwnd = nullptr;
    HWND notifyParent = nullptr; // the parent at creation
    std::vector<HeaderItem> items;
    HFONT font = nullptr;        // nullptr: the system font
    int pressedItem = -1;        // the button the stylus went down on
    bool pressedInside = false;  // the stylus is still over that button
};

Header* StateOf(HWND hwnd) { return reinterpret_cast<Header*>(GetWindowLongPtrW(hwnd, 0)); }

bool HasButtons(const Header& header) { return (GetWindowLongW(header.hwnd, GWL_STYLE) & HDS_BUTTONS) != 0; }

int FontHeight(const Header& header) {
    HDC hdc = GetDC(header.hwnd);
    HGDIOBJ previous = SelectObject(hdc, header.font != nullptr ? header.font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(hdc, &metrics);
    SelectObject(hdc, previous);
    ReleaseDC(header.hwnd, hdc);
    return metrics.tmHeight;
}

RECT ItemRect(const Header& header, size_t index) {
    RECT client{};
    GetClientRect(header.hwnd, &client);
    int left = 0;
    for (size_t i = 0; i < index; ++i) {
        left += header.items[i].width;
    }
    return RECT{left, 0, left + header.items[index].width, client.bottom};
}

int ItemAt(const Header& header, POINT point) {
    RECT client{};
    GetClientRect(header.hwnd, &client);
    if (point.y < 0 || point.y >= client.bottom) {
        return -1;
    }
    int left = 0;
    for (size_t i = 0; i < header.items.size(); ++i) {
        int right = left + header.items[i].width;
        if (point.x >= left && point.x < right) {
            return static_cast<int>(i);
        }
        left = right;
    }
    return -1;
}

void InvalidateItem(const Header& header, int index) {
    if (index >= 0 && static_cast<size_t>(index) < header.items.size()) {
        RECT rect = ItemRect(header, static_cast<size_t>(index));
        InvalidateRect(header.hwnd, &rect, TRUE);
    }
}

void CopyFields(HeaderItem& target, const HDITEMW& source) {
    if ((source.mask & HDI_WIDTH) != 0) {
        target.width = std::max(source.cxy, 0);
    }
    if ((source.mask & HDI_TEXT) != 0) {
        target.textCallback = source.pszText == LPSTR_TEXTCALLBACKW;
        target.text = source.pszText != nullptr && !target.textCallback ? std::u16string(source.pszText)
                                                                        : std::u16string();
    }
    if ((source.mask & HDI_FORMAT) != 0) {
        target.fmt = source.fmt;
    }
    if ((source.mask & HDI_LPARAM) != 0) {
        target.lParam = source.lParam;
    }
    if ((source.mask & HDI_ORDER) != 0) {
        target.order = source.iOrder;
    }
}

UINT_PTR IdOf(HWND hwnd) { return static_cast<UINT_PTR>(GetWindowLongPtrW(hwnd, GWLP_ID)); }

// An item's text: its own, or the parent's answer to HDN_GETDISPINFOW for a callback item
// (kept when the parent sets HDI_DI_SETITEM). May send, so the caller checks that the header
// and the item survived.
std::u16string ItemText(Header& header, size_t index) {
    HeaderItem& item = header.items[index];
    if (!item.textCallback || !IsWindow(header.notifyParent)) {
        return item.text;
    }
    WCHAR buffer[260] = {};
    NMHDDISPINFOW info{};
    info.hdr.hwndFrom = header.hwnd;
    info.hdr.idFrom = IdOf(header.hwnd);
    info.hdr.code = HDN_GETDISPINFOW;
    info.iItem = static_cast<int>(index);
    info.mask = HDI_TEXT;
    info.pszText = buffer;
    info.cchTextMax = static_cast<int>(std::size(buffer));
    info.lParam = item.lParam;
    HWND hwnd = header.hwnd;
    SendMessageW(header.notifyParent, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    std::u16string text;
    if (info.pszText != nullptr && info.pszText != LPSTR_TEXTCALLBACKW) {
        // The parent may point at its own buffer instead of filling ours.
        const WCHAR* source = info.pszText;
        size_t length = 0;
        while (length < 1024 && source[length] != 0) {
            ++length;
        }
        text.assign(source, length);
    }
    if ((info.mask & HDI_DI_SETITEM) != 0 && StateOf(hwnd) == &header && index < header.items.size()) {
        header.items[index].text = text;
        header.items[index].textCallback = false;
    }
    return text;
}

// HDN_ITEMCHANGINGW (a non-zero answer vetoes) or HDN_ITEMCHANGEDW about `item`.
LRESULT NotifyItemChange(const Header& header, UINT code, int index, const HDITEMW& item) {
    if (!IsWindow(header.notifyParent)) {
        return 0;
    }
    HDITEMW copy = item;
    NMHEADERW change{};
    change.hdr.hwndFrom = header.hwnd;
    change.hdr.idFrom = IdOf(header.hwnd);
    change.hdr.code = code;
    change.iItem = index;
    change.pitem = &copy;
    return SendMessageW(header.notifyParent, WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

// --- Messages -------------------------------------------------------------------------------

LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto* header = new (std::nothrow) Header;
    if (header == nullptr) {
        return FALSE;
    }
    header->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(header));
    return DefWindowProcW(hwnd, WM_NCCREATE, wParam, lParam);
}

LRESULT OnCreate(Header& header, const CREATESTRUCTW* create) {
    header.notifyParent = create->hwndParent;
    if (header.notifyParent != nullptr) {
        SendMessageW(header.notifyParent, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(header.hwnd), NF_QUERY);
    }
    return 0;
}

LRESULT OnNcDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    delete StateOf(hwnd);
    SetWindowLongPtrW(hwnd, 0, 0);
    return DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
}

LRESULT InsertItem(Header& header, WPARAM index, const HDITEMW* item) {
    if (item == nullptr || static_cast<INT_PTR>(index) < 0) {
        return -1;
    }
    size_t at = std::min(static_cast<size_t>(index), header.items.size());
    HeaderItem added;
    added.order = static_cast<int>(at);
    CopyFields(added, *item);
    header.items.insert(header.items.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
    InvalidateRect(header.hwnd, nullptr, TRUE);
    return static_cast<LRESULT>(at);
}

LRESULT DeleteItem(Header& header, WPARAM index) {
    if (index >= header.items.size()) {
        return FALSE;
    }
    header.items.erase(header.items.begin() + static_cast<std::ptrdiff_t>(index));
    header.pressedItem = -1;
    InvalidateRect(header.hwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT GetItem(Header& header, WPARAM index, HDITEMW* item) {
    if (item == nullptr || index >= header.items.size()) {
        return FALSE;
    }
    if ((item->mask & HDI_TEXT) != 0 && item->pszText != nullptr && item->pszText != LPSTR_TEXTCALLBACKW &&
        item->cchTextMax > 0) {
        HWND hwnd = header.hwnd;
        std::u16string text = ItemText(header, index);
        if (StateOf(hwnd) != &header || index >= header.items.size()) {
            return FALSE;
        }
        size_t count = std::min(text.size(), static_cast<size_t>(item->cchTextMax - 1));
        std::copy_n(text.begin(), count, item->pszText);
        item->pszText[count] = 0;
    }
    const HeaderItem& source = header.items[index];
    if ((item->mask & HDI_WIDTH) != 0) {
        item->cxy = source.width;
    }
    if ((item->mask & HDI_FORMAT) != 0) {
        item->fmt = source.fmt;
    }
    if ((item->mask & HDI_LPARAM) != 0) {
        item->lParam = source.lParam;
    }
    if ((item->mask & HDI_ORDER) != 0) {
        item->iOrder = source.order;
    }
    return TRUE;
}

// The parent hears HDN_ITEMCHANGINGW, which it may veto, and HDN_ITEMCHANGEDW once the item
// has changed; both carry the caller's HDITEMW.
LRESULT SetItem(Header& header, WPARAM index, const HDITEMW* item) {
    if (item == nullptr || index >= header.items.size()) {
        return FALSE;
    }
    HWND hwnd = header.hwnd;
    int at = static_cast<int>(index);
    if (NotifyItemChange(header, HDN_ITEMCHANGINGW, at, *item) != 0) {
        return FALSE;
    }
    if (StateOf(hwnd) != &header || index >= header.items.size()) {
        return FALSE;
    }
    CopyFields(header.items[index], *item);
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyItemChange(header, HDN_ITEMCHANGEDW, at, *item);
    return TRUE;
}

LRESULT GetItemRect(const Header& header, WPARAM index, RECT* rect) {
    if (rect == nullptr || index >= header.items.size()) {
        return FALSE;
    }
    *rect = ItemRect(header, index);
    return TRUE;
}

// The header takes the top of the given rectangle, as high as its font needs (nothing when
// HDS_HIDDEN), and leaves the rest to its parent.
LRESULT Layout(const Header& header, HDLAYOUT* layout) {
    if (layout == nullptr || layout->prc == nullptr || layout->pwpos == nullptr) {
        return FALSE;
    }
    bool hidden = (GetWindowLongW(header.hwnd, GWL_STYLE) & HDS_HIDDEN) != 0;
    int height = hidden ? 0 : FontHeight(header) + kHeightExtra;
    RECT& area = *layout->prc;
    WINDOWPOS& pos = *layout->pwpos;
    pos = WINDOWPOS{};
    pos.hwnd = header.hwnd;
    pos.x = area.left;
    pos.y = area.top;
    pos.cx = area.right - area.left;
    pos.cy = height;
    pos.flags = hidden ? SWP_HIDEWINDOW : SWP_SHOWWINDOW;
    area.top += height;
    return TRUE;
}

LRESULT OnSetFont(Header& header, WPARAM wParam, LPARAM lParam) {
    header.font = reinterpret_cast<HFONT>(wParam);
    if (LOWORD(lParam) != 0) {
        InvalidateRect(header.hwnd, nullptr, TRUE);
    }
    return 0;
}

UINT TextAlignment(int fmt) {
    switch (fmt & HDF_JUSTIFYMASK) {
    case HDF_RIGHT: return DT_RIGHT;
    case HDF_CENTER: return DT_CENTER;
    default: return DT_LEFT;
    }
}

// NM_CUSTOMDRAW to the parent (a list view passes it on to its own parent); returns the
// CDRF_* answer.
LRESULT CustomDraw(const Header& header, DWORD stage, HDC hdc, const RECT& rect, DWORD_PTR item = 0,
                   UINT itemState = 0, LPARAM itemParam = 0) {
    if (!IsWindow(header.notifyParent)) {
        return CDRF_DODEFAULT;
    }
    NMCUSTOMDRAW draw{};
    draw.hdr.hwndFrom = header.hwnd;
    draw.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrW(header.hwnd, GWLP_ID));
    draw.hdr.code = NM_CUSTOMDRAW;
    draw.dwDrawStage = stage;
    draw.hdc = hdc;
    draw.rc = rect;
    draw.dwItemSpec = item;
    draw.uItemState = itemState;
    draw.lItemlParam = itemParam;
    return SendMessageW(header.notifyParent, WM_NOTIFY, draw.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));
}

// One item: its face, and its text in the font and colour the DC holds.
void PaintItem(const Header& header, HDC hdc, const HeaderItem& item, const std::u16string& label, RECT rect,
               bool pushed) {
    if (HasButtons(header)) {
        DrawFrameControl(hdc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    } else {
        FillRect(hdc, &rect, GetSysColorBrush(COLOR_BTNFACE));
        RECT edge = rect;
        DrawEdge(hdc, &edge, EDGE_ETCHED, BF_RIGHT | BF_BOTTOM);
    }
    RECT text{rect.left + kTextPadding, rect.top, rect.right - kTextPadding, rect.bottom};
    if (pushed) {
        OffsetRect(&text, 1, 1);
    }
    if (text.right > text.left && !label.empty()) {
        DrawTextW(hdc, label.c_str(), static_cast<int>(label.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | TextAlignment(item.fmt));
    }
}

// Buttons look raised, and pushed while the stylus holds them; without HDS_BUTTONS the
// items are flat titles with a thin edge. The part right of the last item is an empty
// button face. The parent may take over through NM_CUSTOMDRAW: a colour or font for an
// item (CDRF_NEWFONT), or the drawing itself (CDRF_SKIPDEFAULT).
void PaintHeader(Header& header, HDC hdc) {
    HWND hwnd = header.hwnd;
    RECT client{};
    GetClientRect(hwnd, &client);
    HGDIOBJ font = header.font != nullptr ? header.font : GetStockObject(SYSTEM_FONT);
    HGDIOBJ previousFont = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    LRESULT mode = CustomDraw(header, CDDS_PREPAINT, hdc, client);
    if (StateOf(hwnd) != &header) {
        return; // the parent destroyed the header while being asked
    }
    bool buttons = HasButtons(header);
    int left = 0;
    for (size_t i = 0; i < header.items.size() && (mode & CDRF_SKIPDEFAULT) == 0; ++i) {
        const HeaderItem& item = header.items[i];
        RECT rect{left, 0, left + item.width, client.bottom};
        left = rect.right;
        if (rect.right <= rect.left) {
            continue;
        }
        bool pushed = buttons && header.pressedInside && header.pressedItem == static_cast<int>(i);
        SelectObject(hdc, font);
        SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
        LRESULT itemMode = CDRF_DODEFAULT;
        if ((mode & CDRF_NOTIFYITEMDRAW) != 0) {
            itemMode = CustomDraw(header, CDDS_ITEMPREPAINT, hdc, rect, i, pushed ? CDIS_SELECTED : 0, item.lParam);
            if (StateOf(hwnd) != &header || i >= header.items.size()) {
                return;
            }
            if ((itemMode & CDRF_NEWFONT) == 0) {
                SelectObject(hdc, font);
            }
        }
        if ((itemMode & CDRF_SKIPDEFAULT) == 0) {
            std::u16string label = ItemText(header, i);
            if (StateOf(hwnd) != &header || i >= header.items.size()) {
                return;
            }
            PaintItem(header, hdc, header.items[i], label, rect, pushed);
        }
        // Taken again: the parent may have changed the items while it was asked.
        const HeaderItem& current = header.items[i];
        if ((itemMode & CDRF_NOTIFYPOSTPAINT) != 0) {
            CustomDraw(header, CDDS_ITEMPOSTPAINT, hdc, rect, i, pushed ? CDIS_SELECTED : 0, current.lParam);
            if (StateOf(hwnd) != &header) {
                return;
            }
        }
    }
    if ((mode & CDRF_SKIPDEFAULT) == 0 && left < client.right) {
        RECT rest{left, 0, client.right, client.bottom};
        if (buttons) {
            DrawFrameControl(hdc, &rest, DFC_BUTTON, DFCS_BUTTONPUSH);
        } else {
            FillRect(hdc, &rest, GetSysColorBrush(COLOR_BTNFACE));
        }
    }
    if ((mode & CDRF_NOTIFYPOSTPAINT) != 0) {
        CustomDraw(header, CDDS_POSTPAINT, hdc, client);
    }
    SelectObject(hdc, previousFont);
}

LRESULT OnPaint(Header& header) {
    PAINTSTRUCT ps{};
    HDC hdc = BeginPaint(header.hwnd, &ps);
    if (hdc != nullptr) {
        PaintHeader(header, hdc);
    }
    EndPaint(header.hwnd, &ps);
    return 0;
}

// --- Stylus ---------------------------------------------------------------------------------

LRESULT OnLButtonDown(Header& header, POINT point) {
    if (!HasButtons(header)) {
        return 0;
    }
    header.pressedItem = ItemAt(header, point);
    header.pressedInside = header.pressedItem >= 0;
    if (header.pressedItem >= 0) {
        SetCapture(header.hwnd);
        InvalidateItem(header, header.pressedItem);
    }
    return 0;
}

LRESULT OnMouseMove(Header& header, POINT point) {
    if (header.pressedItem < 0) {
        return 0;
    }
    bool inside = ItemAt(header, point) == header.pressedItem;
    if (inside != header.pressedInside) {
        header.pressedInside = inside;
        InvalidateItem(header, header.pressedItem);
    }
    return 0;
}

// HDN_ITEMCLICKW goes to the parent only when the stylus comes up over the button it went
// down on.
LRESULT OnLButtonUp(Header& header, POINT point) {
    int pressed = header.pressedItem;
    if (pressed < 0) {
        return 0;
    }
    bool inside = ItemAt(header, point) == pressed;
    header.pressedItem = -1;
    header.pressedInside = false;
    HWND hwnd = header.hwnd;
    InvalidateItem(header, pressed);
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    if (inside && IsWindow(hwnd) && StateOf(hwnd) == &header && IsWindow(header.notifyParent)) {
        NMHEADERW click{};
        click.hdr.hwndFrom = hwnd;
        click.hdr.idFrom = IdOf(hwnd);
        click.hdr.code = HDN_ITEMCLICKW;
        click.iItem = pressed;
        click.iButton = 0;
        SendMessageW(header.notifyParent, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    }
    return 0;
}

LRESULT OnCaptureChanged(Header& header) {
    if (header.pressedItem >= 0) {
        InvalidateItem(header, header.pressedItem);
    }
    header.pressedItem = -1;
    header.pressedInside = false;
    return 0;
}

LRESULT CALLBACK HeaderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return OnNcCreate(hwnd, wParam, lParam);
    }
    Header* state = StateOf(hwnd);
    if (state == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    Header& header = *state;
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_CREATE: return OnCreate(header, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_NCDESTROY: return OnNcDestroy(hwnd, wParam, lParam);
    case WM_PAINT: return OnPaint(header);
    case WM_ERASEBKGND: return 1; // every pixel is painted in WM_PAINT
    case WM_SETFONT: return OnSetFont(header, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(header.font);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnLButtonDown(header, point);
    case WM_MOUSEMOVE: return OnMouseMove(header, point);
    case WM_LBUTTONUP: return OnLButtonUp(header, point);
    case WM_CAPTURECHANGED: return OnCaptureChanged(header);
    case HDM_GETITEMCOUNT: return static_cast<LRESULT>(header.items.size());
    case HDM_INSERTITEMW: return InsertItem(header, wParam, reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_DELETEITEM: return DeleteItem(header, wParam);
    case HDM_GETITEMW: return GetItem(header, wParam, reinterpret_cast<HDITEMW*>(lParam));
    case HDM_SETITEMW: return SetItem(header, wParam, reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_GETITEMRECT: return GetItemRect(header, wParam, reinterpret_cast<RECT*>(lParam));
    case HDM_LAYOUT: return Layout(header, reinterpret_cast<HDLAYOUT*>(lParam));
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// The items' texts and widths, for the window-tree dump.
void DumpHeader(HWND hwnd, diag::JsonWriter& out) {
    const Header* header = StateOf(hwnd);
    if (header == nullptr) {
        return;
    }
    out.Key("items");
    out.BeginArray();
    for (const HeaderItem& item : header->items) {
        out.BeginObject();
        out.Key("text");
        out.String(item.text);
        out.Key("width");
        out.Number(item.width);
        out.EndObject();
    }
    out.EndArray();
}

} // namespace
} // namespace device::header

namespace device {

ClassDescriptor HeaderClassDescriptor() {
    return ClassDescriptor{WC_HEADERW,
                           CS_GLOBALCLASS | CS_DBLCLKS,
                           header::HeaderProc,
                           static_cast<int>(sizeof(header::Header*)),
                           reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_BTNFACE + 1)),
                           header::DumpHeader};
}

} // namespace device
