// The list view's per-window state and the functions its files share: columns, the item
// store, notifications, layout and scrolling, painting, stylus and keys.
#pragma once

#include "controls/listview_texts.h"

#include "commctrl.h"
#include "windows.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace device::listview {

// The comctl32 version this list view implements; CCM_SETVERSION refuses anything newer.
inline constexpr int kOwnVersion = 5;
// Width of a column inserted without LVCF_WIDTH: the small default the platform gives.
inline constexpr int kDefaultColumnWidth = 10;
// Space between a cell's edge and its text.
inline constexpr int kTextPadding = 4;
// Rows are the font's height plus this; a little air makes them easier to hit with a stylus.
inline constexpr int kRowExtra = 4;
// Horizontal scrolling by one "line" moves this many pixels.
inline constexpr int kLineScrollPixels = 8;

struct Column {
    std::u16string text;
    int width = kDefaultColumnWidth;
    int fmt = LVCFMT_LEFT; // column 0 is always drawn left-aligned whatever this says
    int image = 0;
    int order = 0;
};

// One row. Kept small and trivially movable so that a vector of 100,000 of them grows
// cheaply; its texts (sub-item 0 is the label) are in the list view's text pool, where a
// text the parent supplies (LPSTR_TEXTCALLBACKW) is kept as kCallbackText.
struct Item {
    LPARAM lParam = 0;
    UINT state = 0;
    int image = 0;
    int indent = 0;
    TextRef texts;
};

// Stands in the pool for a text the parent is asked for: U+FFFF is no character, so no
// program's text can be it.
inline constexpr std::u16string_view kCallbackText = u"\uFFFF";

struct ListView {
    HWND hwnd = nullptr;
    // LVS_OWNERDATA at creation: the parent keeps the items; the list keeps only their
    // count, the selection and the focus.
    bool ownerData = false;
    int virtualCount = 0;
    std::set<int> virtualSelection;
    UINT callbackMask = 0; // LVM_SETCALLBACKMASK: state bits the parent keeps
    HWND notifyParent = nullptr; // the parent at creation hears every notification
    HWND header = nullptr;
    bool unicodeFormat = true;

    // Store.
    std::vector<Column> columns;
    std::vector<Item> items;
    TextPool texts;
    int selectedCount = 0;
    int focusedItem = -1;
    int selectionMark = -1;

    // Look.
    COLORREF bkColor = 0;
    COLORREF textColor = 0;
    COLORREF textBkColor = CLR_DEFAULT;
    HFONT font = nullptr; // nullptr: the system font
    int fontHeight = 0;
    int rowHeight = 0;
    int headerHeight = 0; // 0 while the header is hidden
    DWORD extendedStyle = 0;
    int version = kOwnVersion;
    HIMAGELIST imageLists[3] = {}; // LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE
    HIMAGELIST checkBoxList = nullptr; // the state list made for LVS_EX_CHECKBOXES, owned

    // Scrolling: the vertical position counts rows, the horizontal one pixels.
    int topIndex = 0;
    int scrollX = 0;
    bool updatingScrollBars = false;

    // Stylus and focus.
    bool hasFocus = false;
    bool destroying = false; // WM_DESTROY came: no more layout or painting
    bool pressed = false; // stylus went down in the client area and is not up yet
    int pressItem = -1;
    int pressSubItem = -1;
    POINT pressPoint{};
};

// --- listview.cpp ----------------------------------------------------------------------
ListView* StateOf(HWND hwnd);
// True while `lv` still belongs to a live window: after anything that sent a message to
// the parent, which may have destroyed the list view.
bool StillAlive(HWND hwnd, const ListView* lv);
DWORD StyleOf(const ListView& lv);
bool IsReportView(const ListView& lv);
bool HeaderShown(const ListView& lv);

// --- listview_virtual.cpp: items the parent keeps ------------------------------------
int ItemCount(const ListView& lv);
bool IsValidItem(const ListView& lv, int index);
UINT ItemState(const ListView& lv, int index);
// Stores state bits without any notification (the caller announces them).
void StoreItemState(ListView& lv, int index, UINT state);
LPARAM ItemParam(const ListView& lv, int index);
// The text of a cell as it is to be shown: the stored one, or the parent's answer to
// LVN_GETDISPINFOW written into `scratch`. After a callback the list may be gone: callers
// check StillAlive before going on.
std::u16string_view CellText(ListView& lv, int index, int subItem, std::u16string& scratch);
// LVN_ODCACHEHINT for the rows about to be drawn of a virtual list.
void HintCache(ListView& lv, int from, int to);
LRESULT SetItemCount(ListView& lv, WPARAM count, LPARAM flags);
LRESULT FindItem(ListView& lv, int start, const LVFINDINFOW* find);

// --- listview_checkboxes.cpp: LVS_EX_CHECKBOXES -----------------------------------------
bool HasCheckBoxes(const ListView& lv);
void CheckBoxesTurnedOn(ListView& lv);
void CheckBoxesTurnedOff(ListView& lv);
// The state a new item gets: clear when the list has check boxes.
UINT InsertedStateImage(const ListView& lv, UINT state);
bool ToggleCheckBox(ListView& lv, int index);

// --- listview_icons.cpp: small icons and state images -----------------------------------
// Where the parts of an item's label cell lie, from the cell's left edge: the state image
// [stateLeft, iconLeft), the small icon [iconLeft, labelLeft), then the label.
struct LabelParts {
    int stateLeft;
    int iconLeft;
    int labelLeft;
};
bool HasItemImages(const ListView& lv);
LabelParts PartsOf(const ListView& lv, int left);
// The row height the image lists ask for (0 without them).
int ImageRowHeight(const ListView& lv);
// Draws an item's state image and small icon in its label cell; false when the parent, asked
// for the image, destroyed the list.
bool PaintItemImages(ListView& lv, HDC hdc, const RECT& cell, int index, bool selected);
LRESULT SetImageList(ListView& lv, WPARAM type, LPARAM list);
// Puts the check boxes' own state list in place (null takes it away), freeing the one before.
void SetCheckBoxList(ListView& lv, HIMAGELIST made);
// At the end of the window: the check boxes' list, and every list unless LVS_SHAREIMAGELISTS.
void ReleaseImageLists(ListView& lv, DWORD style);

// --- listview_columns.cpp --------------------------------------------------------------
int ColumnLeft(const ListView& lv, int column);
int TotalColumnWidth(const ListView& lv);
LRESULT InsertColumn(ListView& lv, WPARAM index, const LVCOLUMNW* column);
LRESULT SetColumn(ListView& lv, WPARAM index, const LVCOLUMNW* column);
LRESULT GetColumn(const ListView& lv, WPARAM index, LVCOLUMNW* column);
LRESULT DeleteColumn(ListView& lv, WPARAM index);
LRESULT SetColumnWidth(ListView& lv, WPARAM index, int width);

// --- listview_store.cpp: items and sub-items -------------------------------------------
// A text handed in by a program: null becomes empty, LPSTR_TEXTCALLBACKW kCallbackText.
std::u16string_view TextFrom(const WCHAR* text);
// Upper case of ASCII and Latin letters, for comparing labels regardless of case.
char16_t FoldCase(char16_t c);
// Copies as much as fits, always terminated; answers the number of characters copied.
int CopyText(std::u16string_view text, WCHAR* buffer, int capacity);
std::u16string_view SubItemText(const ListView& lv, const Item& item, int subItem);
LRESULT InsertItem(ListView& lv, const LVITEMW* item);
LRESULT SetItemText(ListView& lv, WPARAM index, const LVITEMW* item);
LRESULT GetItemText(ListView& lv, WPARAM index, LVITEMW* item);
LRESULT SetItem(ListView& lv, const LVITEMW* item);
LRESULT GetItem(ListView& lv, LVITEMW* item);
LRESULT DeleteItem(ListView& lv, WPARAM index);
// Deletes every item with the platform's notifications (LVM_DELETEALLITEMS, WM_DESTROY).
LRESULT DeleteAllItems(ListView& lv);

// --- listview_notify.cpp: notifications and item states --------------------------------
LRESULT Notify(ListView& lv, UINT code, NMHDR* header);
LRESULT NotifyPlain(ListView& lv, UINT code);
LRESULT NotifyItem(ListView& lv, UINT code, int item, int subItem = 0);
// NM_CLICK, NM_DBLCLK, LVN_ITEMACTIVATE: an NMITEMACTIVATE with the item and the point.
LRESULT NotifyActivate(ListView& lv, UINT code, int item, int subItem, POINT point);
// Changes the bits of `mask` in an item's state to those of `state`, with
// LVN_ITEMCHANGING (which may veto) and LVN_ITEMCHANGED. Under LVS_SINGLESEL a newly
// selected item first takes the selection from the other one, and a newly focused item
// always takes the focus from the other one, each with its own pair of notifications.
// Returns false when vetoed or when the window went away.
bool ChangeItemState(ListView& lv, int index, UINT state, UINT mask);
// Selects and focuses one item, first clearing every other selection (a plain tap, an
// arrow key). `index` -1 only clears the selection.
bool SelectOnly(ListView& lv, int index);
LRESULT SetItemState(ListView& lv, WPARAM index, const LVITEMW* item);
// The state bits of `mask`; those in the callback mask are asked of the parent.
LRESULT GetItemState(ListView& lv, int index, UINT mask);
// Answers the previous mark.
LRESULT SetSelectionMark(ListView& lv, LPARAM index);
LRESULT GetNextItem(const ListView& lv, int start, UINT flags);
// Forgets selection and focus without telling anyone (clearing all items).
void ClearSelectionSilently(ListView& lv);

// --- listview_scroll.cpp: layout and scrolling -----------------------------------------
void UpdateMetrics(ListView& lv);
// Top of the first row in client coordinates.
int ListTop(const ListView& lv);
int CountPerPage(const ListView& lv);
// Places the header and recomputes both scroll bars for the current items and columns.
void UpdateLayout(ListView& lv);
void UpdateScrollBars(ListView& lv);
void ScrollToTop(ListView& lv, int topIndex);
void ScrollToX(ListView& lv, int scrollX);
LRESULT OnVScroll(ListView& lv, WORD code, WORD position);
LRESULT OnHScroll(ListView& lv, WORD code, WORD position);
LRESULT EnsureVisible(ListView& lv, int index);
LRESULT Scroll(ListView& lv, int dx, int dy);
// Row rectangle of an item in client coordinates (over all columns; the client width in the
// views without columns).
RECT RowRect(const ListView& lv, int index);
void InvalidateItem(const ListView& lv, int index);
// Invalidates the rows from `index` down to the bottom of the client area.
void InvalidateFrom(const ListView& lv, int index);
void InvalidateAll(const ListView& lv);
// The item was inserted at `index`: redraw only what moved, if any of it shows.
void ItemsChangedFrom(ListView& lv, int index);

// --- listview_paint.cpp -----------------------------------------------------------------
LRESULT OnPaint(ListView& lv);
LRESULT OnEraseBackground(ListView& lv, HDC hdc);

// --- listview_input.cpp: hit testing, stylus, keys, focus ------------------------------
LRESULT HitTest(const ListView& lv, LVHITTESTINFO* info, bool subItems);
LRESULT GetItemRect(const ListView& lv, int index, RECT* rect);
// RECT::top names the sub-item and RECT::left the part (LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL).
LRESULT GetSubItemRect(const ListView& lv, int index, RECT* rect);
LRESULT GetItemPosition(const ListView& lv, int index, POINT* position);
LRESULT OnLButtonDown(ListView& lv, WPARAM keys, POINT point);
LRESULT OnLButtonUp(ListView& lv, POINT point);
LRESULT OnLButtonDblClk(ListView& lv, POINT point);
LRESULT OnCaptureChanged(ListView& lv);
LRESULT OnKeyDown(ListView& lv, WPARAM key);
LRESULT OnSetFocus(ListView& lv);
LRESULT OnKillFocus(ListView& lv);

} // namespace device::listview
