// The list view control ("SysListView32"): creation and teardown, the window procedure
// and the class descriptor. Report view first; the other views show a plain list.
//
// Sections of this control, one file each:
//   listview.cpp            creation, fonts and styles, colours and versions, the window
//                           procedure, the window-tree dump, the class descriptor
//   listview_columns.cpp    columns and the header items that follow them
//   listview_store.cpp      items and sub-items
//   listview_virtual.cpp    items the parent keeps: LVS_OWNERDATA, callback texts, finding
//   listview_notify.cpp     WM_NOTIFY to the parent, item states, selection and focus
//   listview_checkboxes.cpp LVS_EX_CHECKBOXES
//   listview_scroll.cpp     metrics, header placement, scroll bars, invalidation
//   listview_paint.cpp      WM_PAINT and WM_ERASEBKGND
//   listview_input.cpp      hit testing, rectangles, stylus, keys, focus notifications
//
// Not emulated:
// - LVS_EDITLABELS, LVS_OWNERDRAWFIXED;
// - images: the image lists are stored and returned but nothing is drawn from them (check
//   boxes are drawn by the list itself), and the row height does not follow the small
//   icons' height; a virtual list asks for no images and has no check boxes;
// - icon and small-icon views arranged in a grid: LVS_ICON, LVS_SMALLICON and LVS_LIST all
//   show their items as one column of labels;
// - ANSI notifications (a parent answering NFR_ANSI still gets Unicode ones), LVN_KEYDOWN,
//   LVN_BEGINDRAG, LVN_ODSTATECHANGED, tooltips, incremental search by typing, hot tracking
//   of the extended styles, column reordering and resizing by dragging the header,
//   tap-and-hold gestures; selecting every row of a virtual list keeps one entry per row.

#include "controls/listview.h"

#include "controls/listview_state.h"
#include "diag/json_writer.h"
#include "window/window_registry.h"

#include <algorithm>
#include <new>

namespace device::listview {

ListView* StateOf(HWND hwnd) { return reinterpret_cast<ListView*>(GetWindowLongPtrW(hwnd, 0)); }

bool StillAlive(HWND hwnd, const ListView* lv) { return IsWindow(hwnd) && StateOf(hwnd) == lv; }

// Read from the window record: asked several times for every row added.
DWORD StyleOf(const ListView& lv) {
    const Window* window = LookUp(lv.hwnd);
    return window != nullptr ? window->style : 0;
}

bool IsReportView(const ListView& lv) { return (StyleOf(lv) & LVS_TYPEMASK) == LVS_REPORT; }

bool HeaderShown(const ListView& lv) {
    if (lv.header == nullptr) {
        return false;
    }
    const DWORD style = StyleOf(lv);
    return (style & LVS_TYPEMASK) == LVS_REPORT && (style & LVS_NOCOLUMNHEADER) == 0;
}

namespace {

DWORD HeaderStyle(DWORD listStyle) {
    DWORD style = WS_CHILD | HDS_HORZ;
    if ((listStyle & LVS_NOSORTHEADER) == 0) {
        style |= HDS_BUTTONS;
    }
    return style;
}

LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto* lv = new (std::nothrow) ListView;
    if (lv == nullptr) {
        return FALSE;
    }
    lv->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(lv));
    return DefWindowProcW(hwnd, WM_NCCREATE, wParam, lParam);
}

// The parent at this moment hears every notification for the control's whole life, even if
// the control is later moved elsewhere; it is asked which character set it wants.
LRESULT OnCreate(ListView& lv, const CREATESTRUCTW* create) {
    lv.notifyParent = create->hwndParent;
    lv.ownerData = (create->style & LVS_OWNERDATA) != 0;
    lv.bkColor = GetSysColor(COLOR_WINDOW);
    lv.textColor = GetSysColor(COLOR_WINDOWTEXT);
    HWND hwnd = lv.hwnd;
    if (lv.notifyParent != nullptr) {
        LRESULT format = SendMessageW(lv.notifyParent, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(hwnd), NF_QUERY);
        if (!StillAlive(hwnd, &lv)) {
            return -1;
        }
        lv.unicodeFormat = format != NFR_ANSI;
    }
    lv.header = CreateWindowExW(0, WC_HEADERW, u"", HeaderStyle(create->style), 0, 0, 0, 0, hwnd, nullptr,
                                create->hInstance, nullptr);
    if (!StillAlive(hwnd, &lv)) {
        return -1;
    }
    UpdateMetrics(lv);
    UpdateLayout(lv);
    return 0;
}

LRESULT OnDestroy(ListView& lv) {
    lv.destroying = true;
    DeleteAllItems(lv);
    return 0;
}

LRESULT OnNcDestroy(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (ListView* lv = StateOf(hwnd)) {
        ReleaseImageLists(*lv, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)));
    }
    delete StateOf(hwnd);
    SetWindowLongPtrW(hwnd, 0, 0);
    return DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
}

LRESULT OnSetFont(ListView& lv, WPARAM wParam, LPARAM lParam) {
    lv.font = reinterpret_cast<HFONT>(wParam);
    if (lv.header != nullptr) {
        SendMessageW(lv.header, WM_SETFONT, wParam, FALSE);
    }
    UpdateMetrics(lv);
    UpdateLayout(lv);
    if (LOWORD(lParam) != 0) {
        InvalidateAll(lv);
    }
    return 0;
}

// Programs may set the view type and the header style after creation: follow both.
LRESULT OnStyleChanged(ListView& lv, WPARAM which, const STYLESTRUCT* change) {
    if (static_cast<int>(which) != GWL_STYLE || change == nullptr) {
        return 0;
    }
    if (lv.header != nullptr) {
        DWORD headerStyle = static_cast<DWORD>(GetWindowLongW(lv.header, GWL_STYLE));
        DWORD wanted = (headerStyle & ~HDS_BUTTONS) | (HeaderStyle(change->styleNew) & HDS_BUTTONS);
        if (wanted != headerStyle) {
            SetWindowLongW(lv.header, GWL_STYLE, static_cast<LONG>(wanted));
        }
    }
    UpdateLayout(lv);
    InvalidateAll(lv);
    return 0;
}

LRESULT OnSize(ListView& lv) {
    UpdateLayout(lv);
    InvalidateAll(lv);
    return 0;
}

// The header's notifications reach the list view's parent as the header sent them: custom
// draw (its answer comes back), HDN_ITEMCHANGINGW (the parent may veto) and
// HDN_ITEMCHANGEDW; a tap on a header button first becomes LVN_COLUMNCLICK. A width that a
// program set on the header directly is taken over by its column.
LRESULT OnNotify(ListView& lv, NMHDR* header) {
    if (header == nullptr || header->hwndFrom != lv.header) {
        return 0;
    }
    auto forward = [&lv, header]() -> LRESULT {
        if (lv.notifyParent == nullptr || !IsWindow(lv.notifyParent)) {
            return 0;
        }
        return SendMessageW(lv.notifyParent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
    };
    const auto* change = reinterpret_cast<const NMHEADERW*>(header);
    switch (header->code) {
    case NM_CUSTOMDRAW:
    case HDN_ITEMCHANGINGW:
    case HDN_GETDISPINFOW: return forward();
    case HDN_ITEMCHANGEDW: {
        HWND hwnd = lv.hwnd;
        LRESULT result = forward();
        if (StillAlive(hwnd, &lv) && change->pitem != nullptr && (change->pitem->mask & HDI_WIDTH) != 0 &&
            change->iItem >= 0 && static_cast<size_t>(change->iItem) < lv.columns.size() &&
            lv.columns[static_cast<size_t>(change->iItem)].width != std::max(change->pitem->cxy, 0)) {
            lv.columns[static_cast<size_t>(change->iItem)].width = std::max(change->pitem->cxy, 0);
            UpdateScrollBars(lv);
            InvalidateAll(lv);
        }
        return result;
    }
    case HDN_ITEMCLICKW: {
        HWND hwnd = lv.hwnd;
        NMLISTVIEW info{};
        info.iItem = -1;
        info.iSubItem = change->iItem;
        Notify(lv, LVN_COLUMNCLICK, &info.hdr);
        return StillAlive(hwnd, &lv) ? forward() : 0;
    }
    default: return 0;
    }
}

LRESULT SetExtendedStyle(ListView& lv, WPARAM mask, LPARAM bits) {
    DWORD old = lv.extendedStyle;
    DWORD newBits = static_cast<DWORD>(bits);
    lv.extendedStyle = mask == 0 ? newBits : (old & ~static_cast<DWORD>(mask)) | (newBits & static_cast<DWORD>(mask));
    if (lv.extendedStyle != old) {
        HWND hwnd = lv.hwnd;
        if (((lv.extendedStyle & ~old) & LVS_EX_CHECKBOXES) != 0) {
            CheckBoxesTurnedOn(lv);
            if (!StillAlive(hwnd, &lv)) {
                return static_cast<LRESULT>(old);
            }
        } else if (((old & ~lv.extendedStyle) & LVS_EX_CHECKBOXES) != 0) {
            CheckBoxesTurnedOff(lv);
        }
        UpdateLayout(lv);
        InvalidateAll(lv);
    }
    return static_cast<LRESULT>(old);
}

LRESULT GetImageList(const ListView& lv, WPARAM type) {
    return type > LVSIL_STATE ? 0 : reinterpret_cast<LRESULT>(lv.imageLists[type]);
}

LRESULT SetVersion(ListView& lv, WPARAM version) {
    if (static_cast<int>(version) > kOwnVersion) {
        return -1;
    }
    int previous = lv.version;
    lv.version = static_cast<int>(version);
    return previous;
}

LRESULT SetUnicodeFormat(ListView& lv, WPARAM unicode) {
    bool previous = lv.unicodeFormat;
    lv.unicodeFormat = unicode != 0;
    return previous ? TRUE : FALSE;
}

// A parent asking again (NF_REQUERY) makes the control ask the parent once more.
LRESULT OnNotifyFormat(ListView& lv, WPARAM wParam, LPARAM lParam) {
    if (lParam == NF_REQUERY && lv.notifyParent != nullptr) {
        lv.unicodeFormat =
            SendMessageW(lv.notifyParent, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(lv.hwnd), NF_QUERY) != NFR_ANSI;
        return lv.unicodeFormat ? NFR_UNICODE : NFR_ANSI;
    }
    return DefWindowProcW(lv.hwnd, WM_NOTIFYFORMAT, wParam, lParam);
}

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return OnNcCreate(hwnd, wParam, lParam);
    }
    ListView* state = StateOf(hwnd);
    if (state == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    ListView& lv = *state;
    switch (message) {
    case WM_CREATE: return OnCreate(lv, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_DESTROY: return OnDestroy(lv);
    case WM_NCDESTROY: return OnNcDestroy(hwnd, wParam, lParam);
    case WM_SIZE: return OnSize(lv);
    case WM_SETFONT: return OnSetFont(lv, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(lv.font);
    case WM_STYLECHANGED: return OnStyleChanged(lv, wParam, reinterpret_cast<const STYLESTRUCT*>(lParam));
    case WM_NOTIFY: return OnNotify(lv, reinterpret_cast<NMHDR*>(lParam));
    case WM_NOTIFYFORMAT: return OnNotifyFormat(lv, wParam, lParam);
    case WM_PAINT: return OnPaint(lv);
    case WM_ERASEBKGND: return OnEraseBackground(lv, reinterpret_cast<HDC>(wParam));
    case WM_VSCROLL: return OnVScroll(lv, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL: return OnHScroll(lv, LOWORD(wParam), HIWORD(wParam));
    case WM_LBUTTONDOWN: return OnLButtonDown(lv, wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_LBUTTONUP: return OnLButtonUp(lv, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_LBUTTONDBLCLK: return OnLButtonDblClk(lv, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_CAPTURECHANGED: return OnCaptureChanged(lv);
    case WM_KEYDOWN: return OnKeyDown(lv, wParam);
    case WM_SETFOCUS: return OnSetFocus(lv);
    case WM_KILLFOCUS: return OnKillFocus(lv);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ENABLE: InvalidateAll(lv); return 0; // the text greys out

    case LVM_GETBKCOLOR: return static_cast<LRESULT>(lv.bkColor);
    case LVM_SETBKCOLOR: lv.bkColor = static_cast<COLORREF>(lParam); return TRUE;
    case LVM_GETTEXTCOLOR: return static_cast<LRESULT>(lv.textColor);
    case LVM_SETTEXTCOLOR: lv.textColor = static_cast<COLORREF>(lParam); return TRUE;
    case LVM_GETTEXTBKCOLOR: return static_cast<LRESULT>(lv.textBkColor);
    case LVM_SETTEXTBKCOLOR: lv.textBkColor = static_cast<COLORREF>(lParam); return TRUE;
    case LVM_GETIMAGELIST: return GetImageList(lv, wParam);
    case LVM_SETIMAGELIST: return SetImageList(lv, wParam, lParam);
    case LVM_GETITEMCOUNT: return ItemCount(lv);
    case LVM_SETITEMCOUNT: return SetItemCount(lv, wParam, lParam);
    case LVM_FINDITEMW: return FindItem(lv, static_cast<int>(wParam), reinterpret_cast<const LVFINDINFOW*>(lParam));
    case LVM_GETCALLBACKMASK: return static_cast<LRESULT>(lv.callbackMask);
    case LVM_SETCALLBACKMASK: lv.callbackMask = static_cast<UINT>(wParam); return TRUE;
    case LVM_GETITEMW: return GetItem(lv, reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMW: return SetItem(lv, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_INSERTITEMW: return InsertItem(lv, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_DELETEITEM: return DeleteItem(lv, wParam);
    case LVM_DELETEALLITEMS: return DeleteAllItems(lv);
    case LVM_GETITEMTEXTW: return GetItemText(lv, wParam, reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMTEXTW: return SetItemText(lv, wParam, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMSTATE: return GetItemState(lv, static_cast<int>(wParam), static_cast<UINT>(lParam));
    case LVM_SETITEMSTATE: return SetItemState(lv, wParam, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETNEXTITEM: return GetNextItem(lv, static_cast<int>(wParam), LOWORD(lParam));
    case LVM_GETSELECTEDCOUNT: return lv.selectedCount;
    case LVM_GETSELECTIONMARK: return lv.selectionMark;
    case LVM_SETSELECTIONMARK: return SetSelectionMark(lv, lParam);
    case LVM_GETITEMRECT: return GetItemRect(lv, static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
    case LVM_GETSUBITEMRECT: return GetSubItemRect(lv, static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
    case LVM_GETITEMPOSITION: return GetItemPosition(lv, static_cast<int>(wParam), reinterpret_cast<POINT*>(lParam));
    case LVM_HITTEST: return HitTest(lv, reinterpret_cast<LVHITTESTINFO*>(lParam), false);
    case LVM_SUBITEMHITTEST: return HitTest(lv, reinterpret_cast<LVHITTESTINFO*>(lParam), true);
    case LVM_ENSUREVISIBLE: return EnsureVisible(lv, static_cast<int>(wParam));
    case LVM_SCROLL: return Scroll(lv, static_cast<int>(wParam), static_cast<int>(lParam));
    case LVM_GETTOPINDEX: return IsReportView(lv) || (StyleOf(lv) & LVS_TYPEMASK) == LVS_LIST ? lv.topIndex : 0;
    case LVM_GETCOUNTPERPAGE: return CountPerPage(lv);
    case LVM_GETHEADER: return reinterpret_cast<LRESULT>(lv.header);
    case LVM_INSERTCOLUMNW: return InsertColumn(lv, wParam, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_GETCOLUMNW: return GetColumn(lv, wParam, reinterpret_cast<LVCOLUMNW*>(lParam));
    case LVM_SETCOLUMNW: return SetColumn(lv, wParam, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_DELETECOLUMN: return DeleteColumn(lv, wParam);
    case LVM_GETCOLUMNWIDTH: return wParam < lv.columns.size() ? lv.columns[wParam].width : 0;
    case LVM_SETCOLUMNWIDTH: return SetColumnWidth(lv, wParam, static_cast<short>(LOWORD(lParam)));
    case LVM_SETEXTENDEDLISTVIEWSTYLE: return SetExtendedStyle(lv, wParam, lParam);
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return static_cast<LRESULT>(lv.extendedStyle);
    case CCM_SETVERSION: return SetVersion(lv, wParam);
    case CCM_GETVERSION: return lv.version;
    case CCM_SETUNICODEFORMAT: return SetUnicodeFormat(lv, wParam);
    case CCM_GETUNICODEFORMAT: return lv.unicodeFormat ? TRUE : FALSE;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// Columns, every item's texts (one per column), the selected item and the first row shown,
// read straight from the state so that dumping never disturbs the message traffic under
// test.
void DumpListView(HWND hwnd, diag::JsonWriter& out) {
    const ListView* lv = StateOf(hwnd);
    if (lv == nullptr) {
        return;
    }
    out.Key("columns");
    out.BeginArray();
    for (const Column& column : lv->columns) {
        out.BeginObject();
        out.Key("text");
        out.String(column.text);
        out.Key("width");
        out.Number(column.width);
        out.EndObject();
    }
    out.EndArray();
    size_t shown = std::max<size_t>(lv->columns.size(), 1);
    out.Key("items");
    out.BeginArray();
    int selected = -1;
    for (size_t i = 0; i < lv->items.size(); ++i) {
        const Item& item = lv->items[i];
        if (selected < 0 && (item.state & LVIS_SELECTED) != 0) {
            selected = static_cast<int>(i);
        }
        out.BeginArray();
        for (size_t column = 0; column < shown; ++column) {
            out.String(std::u16string(SubItemText(*lv, item, static_cast<int>(column))));
        }
        out.EndArray();
    }
    out.EndArray();
    out.Key("selected");
    out.Number(selected);
    out.Key("top"); // the first row the list shows
    out.Number(lv->topIndex);
}

} // namespace
} // namespace device::listview

namespace device {

ClassDescriptor ListViewClassDescriptor() {
    return ClassDescriptor{WC_LISTVIEWW,
                           CS_GLOBALCLASS | CS_DBLCLKS,
                           listview::ListViewProc,
                           static_cast<int>(sizeof(listview::ListView*)),
                           reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1)),
                           listview::DumpListView};
}

} // namespace device
