// TControl: the one record behind every window of the toolkit (form, button, label, panel,
// edit box, list view), its command table, and the order in which it is torn down.
#pragma once

#include "graphics.h"
#include "pointer_list.h"
#include "ref_object.h"

#include "windows.h"

#include <string>

class TControl;
class TCanvas;
class TImageList;

// Message handlers and the dispatch procedure: true means handled. The message record is
// the platform's MSG and may be changed by a handler; the result is the value the window
// procedure returns.
using TMessageHandler = bool (*)(TControl* control, MSG& msg, LRESULT& result);

// The message filter event: Code(Data, message, result) -> handled.
struct TOnMessage {
    bool (*Code)(void* data, MSG& msg, LRESULT& result) = nullptr;
    void* Data = nullptr;
    bool IsSet() const { return Code != nullptr; }
};

using TControlProc = void (*)(TControl* control);
using TChildrenChangedProc = void (*)(TControl* container, TControl* child);

// Per-kind codes and messages, copied whole into every control by its constructor.
struct TCommandTable {
    TControlProc ClearProc = nullptr; // empties the control
    DWORD Reserved = 0;
    // Notification codes (high word of a reflected WM_COMMAND) that fire the events.
    WORD ClickCode = 0;
    WORD EnterCode = 0;
    WORD LeaveCode = 0;
    WORD ChangeCode = 0;
    WORD SelChangeCode = 0;
    // Extra size that label auto-sizing adds to a measured text.
    WORD AutoSizeExtraWidth = 0;
    WORD AutoSizeExtraHeight = 0;
    // Messages of the generic operations; 0 means the kind has no such message.
    WORD GetSelectionMessage = 0;
    WORD SetSelectionMessage = 0;
    WORD BackgroundColorMessage = 0;
    WORD ItemCountMessage = 0;
    WORD SetImageListMessage = 0;
};

// Toolkit messages: a child's WM_COMMAND reflected by its form, and the colour messages
// reflected as CN_BASE + message.
inline constexpr UINT CM_COMMAND = 0xB005;
inline constexpr UINT CM_UPDATESCROLL = 0xB013;
inline constexpr UINT CN_BASE = 0xBC00;

// The window property that binds a window to its TControl.
inline constexpr const WCHAR* kSelfProperty = u"SELF_";

class TControl final : public TRefObject {
public:
    // Virtual operations, in their fixed order after Init and Destroy.
    void Init() override;
    virtual void InitParented(TControl* parent);
    virtual bool CreateWindow();
    virtual LRESULT WndProc(MSG& msg);

    // Fields, in declaration order.
    HWND Handle = nullptr;
    DWORD ClassStyle = 0;
    DWORD Style = 0;
    BYTE WindowState = 0; // type of the last WM_SIZE
    WNDPROC OldWndProc = nullptr; // procedure of a subclassed standard class
    TControl* Parent = nullptr;
    bool Enabled = false;
    bool Visible = false;
    bool TabStop = false;
    LONG TabOrder = 0;
    BYTE TextAlign = 0; // 0 left, 1 right, 2 centre
    bool WordWrap = false;
    TPointerList* MessageHandlers = nullptr; // (handler, keep flag) pairs
    TPointerList* Children = nullptr;        // in the order they were added
    HBRUSH BackgroundBrush = nullptr;
    COLORREF BackgroundBrushColor = 0;
    bool Destroyed = false;
    bool WindowDestroyed = false;
    LONG MessageDepth = 0;
    UINT ControlId = 0;
    TImageList* SmallImages = nullptr;
    TImageList* LargeImages = nullptr;
    TImageList* StateImages = nullptr;
    bool IsForm = false;
    bool IsControl = false;
    BYTE NoTextRedraw = 0;
    BYTE BoundsSet = 0; // bit 0 left, bit 1 top changed; bits 2-3 written at least once
    TOnEvent OnLeave;
    TMessageHandler DispatchProc = nullptr;
    TControlProc AutoSizeProc = nullptr;
    std::u16string ClassName;
    TColor TextColor = 0;
    TColor Color = 0;
    TGraphicTool* Font = nullptr;
    TGraphicTool* Brush = nullptr;
    TCanvas* Canvas = nullptr;
    LONG Margin = 0;
    RECT BoundsRect{};
    LONG ClientTopInset = 0;
    LONG ClientBottomInset = 0;
    LONG ClientLeftInset = 0;
    LONG ClientRightInset = 0;
    bool Transparent = false;
    TOnMessage OnMessage;
    TOnEvent OnClick;
    bool RightClick = false;
    TControl* FocusedControl = nullptr; // on a form: the child that has or last had the focus
    bool VisibleSet = false;
    bool ShowPending = false;
    BYTE FocusLock = 0;
    LONG HorzLineStep = 0;
    LONG VertLineStep = 0;
    TOnEvent OnChange;
    TOnEvent OnEnter;
    TCommandTable CommandTable;
    LONG MinWidth = 0;
    LONG MinHeight = 0;
    LONG ColumnCount = 0;
    DWORD ListOptions = 0;
    BYTE ViewStyle = 0;
    LONG ModalResult = 0;
    TControl* ModalForm = nullptr;
    BYTE Align = 0;
    BYTE AlignState = 0;
    bool AutoSizing = false;
    TOnEvent OnSelChange;
    bool RedrawOnResize = false;
    TOnEvent OnShow;
    std::u16string Text; // empty means no text
    TControlProc OnHandleCreated = nullptr;
    TChildrenChangedProc ChildrenChangedHook = nullptr;
    TControlProc AfterScrollHook = nullptr;
    TOnEvent OnExit;
    LONG DisableCount = 0;
    bool AnchorLeft = false;
    bool AnchorTop = false;
    bool AnchorRight = false;
    bool AnchorBottom = false;
    LONG LastClientWidth = 0;
    LONG LastClientHeight = 0;

protected:
    TControl() = default;
    ~TControl() override = default;
    void Destroy() override;
    friend struct ObjectAccess;
};

// The default dispatch procedure: no handler attached, nothing handled.
bool NoDispatch(TControl* control, MSG& msg, LRESULT& result);
// The default AutoSizeProc, which leaves the control as it is.
void KeepSize(TControl* control);
// The default ClearProc: the text becomes empty.
void ClearText(TControl* control);

// The default RealignHook.
void NoRealign(TControl* control);

// Process-wide hooks with do-nothing defaults until the features that need them are used.
// RealignHook: the parent re-arranges its aligned children (set by the first Align write).
extern TControlProc RealignHook;
// ApplyFontHook: nil until the first font is made, then the font applier.
extern TControlProc ApplyFontHook;
