// Building controls, and making their windows on demand: parents before children, the
// toolkit's "Form" class registered once, standard controls subclassed.
#pragma once

#include "control.h"

#include "windows.h"

#include <string>

// Edit box options, one bit each.
using TEditOptions = DWORD;
enum : DWORD {
    eoNoHScroll = 1u << 0,
    eoNoVScroll = 1u << 1,
    eoLowercase = 1u << 2,
    eoMultiline = 1u << 3,
    eoNoHideSel = 1u << 4,
    eoOemConvert = 1u << 5,
    eoPassword = 1u << 6,
    eoReadonly = 1u << 7,
    eoUppercase = 1u << 8,
    eoWantReturn = 1u << 9,
    eoWantTab = 1u << 10,
    eoNumber = 1u << 11,
};

// Command-table templates of the kinds built here.
extern const TCommandTable kButtonCommands;
extern const TCommandTable kStaticCommands;
extern const TCommandTable kEditCommands;

TControl* NewControl(TControl* parent, const std::u16string& className);
TControl* CreateStdControl(TControl* parent, const std::u16string& className, DWORD style,
                           const TCommandTable* commands);
TControl* CreateForm(TControl* parent, const std::u16string& caption);
TControl* CreateButton(TControl* parent, const std::u16string& caption);
TControl* CreateLabel(TControl* parent, const std::u16string& caption);
TControl* CreatePanel(TControl* parent, BYTE edgeStyle);
TControl* CreateEditBox(TControl* parent, TEditOptions options);

// The window, made (hidden, unless Visible was set explicitly) when it does not exist.
HWND GetWindowHandle(TControl* control);
// The virtual window-creation operation; true when the window exists afterwards.
bool CreateWindow(TControl* control);
void CreateChildWindows(TControl* control);
// Shortens a form that reaches below its menu bar so that it ends where the bar starts: the
// shell leaves the room to the application.
void EndAboveMenuBar(TControl* form, HWND menuBar);

// 0 unknown, 1 Pocket PC, 2 Smartphone; asked once and cached.
int GetPlatformType();
// GetPlatformType's answer; 255 until it is first asked.
extern BYTE PlatformTypeCache;

// The control whose window is being created: the first message of the new window binds
// to it.
extern TControl* CreatingControl;
// The next ControlId; 16-bit, wraps.
extern WORD ControlIdCounter;
