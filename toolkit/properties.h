// Control properties and geometry: every setter stores the value in the control and
// touches the platform only when the window exists; a few operations make the window.
#pragma once

#include "control.h"

#include "windows.h"

#include <string>

// Raises FocusLock while the toolkit itself gives a control the focus (also while an
// exception passes).
class FocusLockScope {
public:
    explicit FocusLockScope(TControl* control);
    ~FocusLockScope();
    FocusLockScope(const FocusLockScope&) = delete;
    FocusLockScope& operator=(const FocusLockScope&) = delete;

private:
    TControl* m_control;
};

// SendMessageW to the control's window, which is made if needed.
LRESULT SendToControl(TControl* control, UINT message, WPARAM wParam, LPARAM lParam);

std::u16string GetText(TControl* control);
void SetText(TControl* control, const std::u16string& text);
void SetStyle(TControl* control, DWORD style);

bool GetVisible(TControl* control);
// The public Visible write: records that visibility was set explicitly, then applies it.
void SetVisible(TControl* control, bool visible);
// Applies visibility without recording it (window creation uses this).
void ApplyVisible(TControl* control, bool visible);
void SetWindowState(TControl* control, BYTE state);
bool GetEnabled(TControl* control);
void SetEnabled(TControl* control, bool enabled);
// Gives the window the focus when the control is enabled and a tab stop; false otherwise.
bool CanFocus(TControl* control);
void SetFocused(TControl* control, bool focused);

// The Parent write: relinks the control (and its window, when it has one).
void SetParent(TControl* control, TControl* parent);
TControl* ParentForm(TControl* control);

RECT GetBoundsRect(TControl* control);
void SetBoundsRect(TControl* control, const RECT& rect);
LONG GetLeft(TControl* control);
LONG GetTop(TControl* control);
LONG GetWidth(TControl* control);
LONG GetHeight(TControl* control);
void SetLeft(TControl* control, LONG x);
void SetTop(TControl* control, LONG y);
void SetWidth(TControl* control, LONG width);
void SetHeight(TControl* control, LONG height);
TControl* SetPosition(TControl* control, LONG x, LONG y);
// A width or height of 0 or less leaves that dimension unchanged.
TControl* SetSize(TControl* control, LONG width, LONG height);
RECT ClientRect(TControl* control);
LONG ClientWidth(TControl* control);
LONG ClientHeight(TControl* control);
POINT ClientToScreen(TControl* control, POINT point);
POINT ScreenToClient(TControl* control, POINT point);
void Invalidate(TControl* control);
void UpdateAll(TControl* control);

void SetColor(TControl* control, TColor color);
void SelectAll(TControl* control);
void SetOnShow(TControl* control, TOnEvent event);
bool ShowWatchHandler(TControl* control, MSG& msg, LRESULT& result);

// The control's font and canvas, made on first use.
TGraphicTool* GetFont(TControl* control);
TCanvas* GetCanvas(TControl* control);
void FontChanged(TControl* control, TGraphicTool* font);
void BrushChanged(TControl* control, TGraphicTool* brush);
void ApplyFont(TControl* control);

LONG ChildCount(TControl* control);
TControl* ChildAt(TControl* control, LONG index);
