// The list view control: the platform's "SysListView32" with a view style, options that
// become window and extended styles, report columns, items, and three image-list slots.
// Items and columns live only in the platform control; the object keeps ColumnCount.
#pragma once

#include "control.h"
#include "image_list.h"

#include "windows.h"

#include <string>

using TListViewStyle = BYTE;
enum : BYTE {
    lvsIcon = 0,
    lvsSmallIcon = 1,
    lvsList = 2,
    lvsReport = 3,
    lvsReportNoHeader = 4,
};

// A set of 26 members, one bit each; bits 18 to 23 belong to no member.
using TListViewOptions = DWORD;
enum : DWORD {
    lvoAlignLeft = 1u << 0,
    lvoAutoArrange = 1u << 1,
    lvoOwnerDrawFixed = 1u << 2,
    lvoEditLabels = 1u << 3,
    lvoNoLabelWrap = 1u << 4,
    lvoNoScroll = 1u << 5,
    lvoNoSortHeader = 1u << 6,
    lvoHideSelection = 1u << 7,
    lvoMultiSelect = 1u << 8,
    lvoSortAscending = 1u << 9,
    lvoSortDescending = 1u << 10,
    lvoGridLines = 1u << 11,
    lvoSubItemImages = 1u << 12,
    lvoCheckBoxes = 1u << 13,
    lvoTrackSelect = 1u << 14,
    lvoHeaderDragDrop = 1u << 15,
    lvoFullRowSelect = 1u << 16,
    lvoOneClickActivate = 1u << 17,
    lvoOwnerData = 1u << 24,
    lvoOwnerDrawAlt = 1u << 25,
};

// Image-list kinds of the slots: state images, small icons, large icons.
enum : LONG { ilkState = 0, ilkSmall = 16, ilkLarge = 32 };

extern const TCommandTable kListViewCommands;

// The window and list view styles of a view style and options, and the extended list view
// style of the options.
DWORD ListViewStyleBits(TListViewStyle viewStyle);
DWORD ListViewOptionStyles(TListViewOptions options);
DWORD ListViewOptionExStyles(TListViewOptions options);

// Builds the control and, at its end, its window (the version message needs one). The
// image lists are shown, never owned: the caller frees them after the list view.
TControl* CreateListView(TControl* parent, TListViewStyle viewStyle, TListViewOptions options,
                         TImageList* smallList, TImageList* largeList, TImageList* stateList);
// OnHandleCreated of the list view: styles, extended styles and image lists of a new window.
void ApplyListViewStyle(TControl* control);

// Alignment 0 left, 1 right, 2 centre; a negative width is that many pixels with the
// header's bitmap on the right, a width of 0 the platform's default.
void InsertColumn(TControl* control, LONG index, const std::u16string& text, BYTE align,
                  LONG width);
void AddColumn(TControl* control, const std::u16string& text, BYTE align, LONG width);

// Texts are wide strings or nil; nil is sent as an empty string, never as a null pointer.
LONG InsertItem(TControl* control, LONG index, const WCHAR* text);
LONG AddItem(TControl* control, const WCHAR* text);
bool SetItemText(TControl* control, LONG item, LONG subItem, const WCHAR* text);

// The command table's item count (0 for a kind without one), and its clear procedure.
LONG GetCount(TControl* control);
void Clear(TControl* control);

TImageList* GetImageList(TControl* control, LONG kind);
void SetImageList(TControl* control, LONG kind, TImageList* list);
void ApplyImageLists(TControl* control);
