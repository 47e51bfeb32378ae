// The list view: style tables, construction, columns, items and image-list slots.
#include "list_view.h"

#include "common_control.h"
#include "properties.h"

#include "commctrl.h"

#include <iterator>

namespace {

// Always present: WS_CHILD, WS_VISIBLE, WS_CLIPCHILDREN, WS_BORDER, WS_TABSTOP and
// LVS_SHAREIMAGELISTS, so the list view never destroys the image lists it shows.
constexpr DWORD kBaseStyle = 0x52810040;
// The bits the options and the view style own: the view type, LVS_SINGLESEL,
// LVS_SHOWSELALWAYS, both sort bits and LVS_NOCOLUMNHEADER.
constexpr DWORD kOptionOwnedStyles = 0x403F;
// The extended styles the options may change.
constexpr WPARAM kExStyleMask = 0x3FFF;
// comctl32's version 5.24, which the toolkit asks for.
constexpr WPARAM kCommonControlsVersion = 0x20C;
constexpr LONG kDefaultWidth = 200;
constexpr LONG kDefaultHeight = 150;
constexpr int kOptionCount = 26;

constexpr DWORD kViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT,
                                 LVS_REPORT | LVS_NOCOLUMNHEADER};

// Per member, its window style and its extended style: a non-negative entry is or-ed in
// when the member is in the set; a negative one holds the complement of the bits or-ed in
// when the member is absent.
constexpr LONG Absent(DWORD bits) {
    return static_cast<LONG>(~bits);
}
struct TOptionEntry {
    LONG style;
    LONG exStyle;
};
constexpr TOptionEntry kOptionTable[kOptionCount] = {
    {LVS_ALIGNLEFT, 0},             // lvoAlignLeft
    {LVS_AUTOARRANGE, 0},           // lvoAutoArrange
    {LVS_OWNERDRAWFIXED, 0},        // lvoOwnerDrawFixed
    {LVS_EDITLABELS, 0},            // lvoEditLabels
    {LVS_NOLABELWRAP, 0},           // lvoNoLabelWrap
    {LVS_NOSCROLL, 0},              // lvoNoScroll
    {LVS_NOSORTHEADER, 0},          // lvoNoSortHeader
    {Absent(LVS_SHOWSELALWAYS), 0}, // lvoHideSelection
    {Absent(LVS_SINGLESEL), 0},     // lvoMultiSelect
    {LVS_SORTASCENDING, 0},         // lvoSortAscending
    {LVS_SORTDESCENDING, 0},        // lvoSortDescending
    {0, LVS_EX_GRIDLINES},          // lvoGridLines
    {0, LVS_EX_SUBITEMIMAGES},      // lvoSubItemImages
    {0, LVS_EX_CHECKBOXES},         // lvoCheckBoxes
    {0, LVS_EX_TRACKSELECT},        // lvoTrackSelect
    {0, LVS_EX_HEADERDRAGDROP},     // lvoHeaderDragDrop
    {0, LVS_EX_FULLROWSELECT},      // lvoFullRowSelect
    {0, LVS_EX_ONECLICKACTIVATE},   // lvoOneClickActivate
    {0, 0},                         // bits 18 to 23: no member
    {0, 0},
    {0, 0},
    {0, 0},
    {0, 0},
    {0, 0},
    {LVS_OWNERDATA, 0},             // lvoOwnerData
    {LVS_OWNERDRAWFIXED, 0},        // lvoOwnerDrawAlt, the same bit as lvoOwnerDrawFixed
};

DWORD TableBits(LONG TOptionEntry::*column, TListViewOptions options) {
    DWORD bits = 0;
    for (int i = 0; i < kOptionCount; ++i) {
        const LONG entry = kOptionTable[i].*column;
        const bool member = (options & (1u << i)) != 0;
        if (entry >= 0 && member) {
            bits |= static_cast<DWORD>(entry);
        } else if (entry < 0 && !member) {
            bits |= ~static_cast<DWORD>(entry);
        }
    }
    return bits;
}

void DeleteAllItems(TControl* control) {
    SendToControl(control, LVM_DELETEALLITEMS, 0, 0);
}

TCommandTable MakeListViewTable() {
    TCommandTable table;
    table.ClearProc = DeleteAllItems;
    table.ChangeCode = static_cast<WORD>(LVN_ITEMCHANGED);
    table.ItemCountMessage = LVM_GETITEMCOUNT;
    table.SetImageListMessage = LVM_SETIMAGELIST;
    table.BackgroundColorMessage = LVM_SETBKCOLOR;
    return table;
}

const WCHAR* TextOrEmpty(const WCHAR* text) {
    return text != nullptr ? text : u"";
}

// A slot's list gets the size of its kind where it has none yet.
void SizeForKind(TImageList* list, LONG kind) {
    if (list->Handle == nullptr) {
        if (list->Width == 0) {
            list->Width = kind;
        }
        if (list->Height == 0) {
            list->Height = kind;
        }
    }
}

} // namespace

const TCommandTable kListViewCommands = MakeListViewTable();

DWORD ListViewStyleBits(TListViewStyle viewStyle) {
    return viewStyle < std::size(kViewStyles) ? kViewStyles[viewStyle] : LVS_ICON;
}

DWORD ListViewOptionStyles(TListViewOptions options) {
    return TableBits(&TOptionEntry::style, options);
}

DWORD ListViewOptionExStyles(TListViewOptions options) {
    return TableBits(&TOptionEntry::exStyle, options);
}

TControl* CreateListView(TControl* parent, TListViewStyle viewStyle, TListViewOptions options,
                         TImageList* smallList, TImageList* largeList, TImageList* stateList) {
    const DWORD style = ListViewStyleBits(viewStyle) | kBaseStyle | ListViewOptionStyles(options);
    TControl* control = CreateCommonControl(parent, WC_LISTVIEWW, style, &kListViewCommands);
    control->ListOptions = options;
    control->ViewStyle = viewStyle;
    control->OnHandleCreated = ApplyListViewStyle;
    control->BoundsRect.right = control->BoundsRect.left + kDefaultWidth;
    control->BoundsRect.bottom = control->BoundsRect.top + kDefaultHeight;
    SetImageList(control, ilkSmall, smallList);
    SetImageList(control, ilkLarge, largeList);
    SetImageList(control, ilkState, stateList);
    // The first message that needs the window makes it, and ApplyListViewStyle runs then.
    SendToControl(control, CCM_SETVERSION, kCommonControlsVersion, 0);
    return control;
}

void ApplyListViewStyle(TControl* control) {
    SetStyle(control, (control->Style & ~kOptionOwnedStyles) |
                          ListViewOptionStyles(control->ListOptions) |
                          ListViewStyleBits(control->ViewStyle));
    SendToControl(control, LVM_SETEXTENDEDLISTVIEWSTYLE, kExStyleMask,
                  static_cast<LPARAM>(ListViewOptionExStyles(control->ListOptions)));
    ApplyImageLists(control);
}

void InsertColumn(TControl* control, LONG index, const std::u16string& text, BYTE align,
                  LONG width) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT;
    column.fmt = align & 0xFF;
    if (width < 0) {
        column.fmt |= LVCFMT_BITMAP_ON_RIGHT;
        width = -width;
    }
    column.cx = width;
    if (width > 0) {
        column.mask |= LVCF_WIDTH;
    }
    column.pszText = const_cast<WCHAR*>(text.c_str());
    if (SendToControl(control, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&column)) >= 0) {
        ++control->ColumnCount;
    }
}

void AddColumn(TControl* control, const std::u16string& text, BYTE align, LONG width) {
    InsertColumn(control, control->ColumnCount, text, align, width);
}

LONG InsertItem(TControl* control, LONG index, const WCHAR* text) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<WCHAR*>(TextOrEmpty(text));
    return static_cast<LONG>(
        SendToControl(control, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

LONG AddItem(TControl* control, const WCHAR* text) {
    return InsertItem(control, GetCount(control), text);
}

bool SetItemText(TControl* control, LONG item, LONG subItem, const WCHAR* text) {
    LVITEMW value{};
    value.iSubItem = subItem;
    value.pszText = const_cast<WCHAR*>(TextOrEmpty(text));
    return SendToControl(control, LVM_SETITEMTEXTW, static_cast<WPARAM>(item),
                         reinterpret_cast<LPARAM>(&value)) != 0;
}

LONG GetCount(TControl* control) {
    const WORD message = control->CommandTable.ItemCountMessage;
    return message != 0 ? static_cast<LONG>(SendToControl(control, message, 0, 0)) : 0;
}

void Clear(TControl* control) {
    control->CommandTable.ClearProc(control);
}

TImageList* GetImageList(TControl* control, LONG kind) {
    if (kind == ilkState) {
        return control->StateImages;
    }
    TImageList* list = kind <= ilkSmall ? control->SmallImages : control->LargeImages;
    if (list != nullptr) {
        SizeForKind(list, kind);
    }
    return list;
}

void SetImageList(TControl* control, LONG kind, TImageList* list) {
    if (list != nullptr && kind != ilkState && (list->Width == 0 || list->Height == 0)) {
        SetImageSize(list, kind, kind);
    }
    if (kind == ilkSmall) {
        control->SmallImages = list;
    } else if (kind == ilkLarge) {
        control->LargeImages = list;
    } else {
        control->StateImages = list;
    }
    ApplyImageLists(control);
}

void ApplyImageLists(TControl* control) {
    const WORD message = control->CommandTable.SetImageListMessage;
    if (message == 0) {
        return;
    }
    static constexpr struct {
        LONG kind;
        WPARAM slot;
    } kSlots[] = {{ilkLarge, LVSIL_NORMAL}, {ilkSmall, LVSIL_SMALL}, {ilkState, LVSIL_STATE}};
    for (const auto& slot : kSlots) {
        TImageList* list = GetImageList(control, slot.kind);
        if (list != nullptr) {
            SendToControl(control, message, slot.slot, reinterpret_cast<LPARAM>(GetHandle(list)));
        }
    }
}
