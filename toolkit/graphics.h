// Colours, background brushes and GDI tools (fonts): handles made lazily, shared with the
// parent's tool while the descriptions are equal, and remade after a system colour change.
#pragma once

#include "ref_object.h"

#include "windows.h"

#include <string>

class TControl;

// A colour: RGB when the top bit is clear, a system colour (index | 0x40000000 in the
// rest) when it is set.
using TColor = DWORD;

inline constexpr TColor clWindow = 0xC0000005;     // COLOR_WINDOW
inline constexpr TColor clWindowText = 0xC0000008; // COLOR_WINDOWTEXT
inline constexpr TColor clBtnFace = 0xC000000F;    // COLOR_BTNFACE

COLORREF GetColorRGB(TColor color);

// The solid brush of the control's Color. It lives on the topmost control of the run of
// same-coloured ancestors, so a form and its same-coloured children share one brush.
HBRUSH GetBackgroundBrush(TControl* control);

enum : BYTE { gtkBrush = 0, gtkFont = 1, gtkPen = 2 };

// The description of a tool, compared and copied as one block: its colour and, for a
// font, the LOGFONTW.
struct TToolData {
    TColor Color = 0;
    LOGFONTW Font{};
};
static_assert(sizeof(TToolData) == sizeof(TColor) + sizeof(LOGFONTW), "compared byte for byte");

class TGraphicTool final : public TRefObject {
public:
    BYTE Kind = gtkBrush;
    HGDIOBJ Handle = nullptr;
    // The parent control's tool this one was copied from; its handle is used while both
    // descriptions are equal. The tool holds it (AddRef) so that it outlives the copy.
    TGraphicTool* ParentTool = nullptr;
    COLORREF HandleColor = 0; // GetColorRGB of the colour when the handle was made
    TOnEvent OnChange;
    TToolData ToolData;
    TGraphicTool* (*NewSameKind)() = nullptr;
    void (*MakeHandle)(TGraphicTool* tool) = nullptr;

protected:
    TGraphicTool() = default;
    ~TGraphicTool() override = default;
    void Destroy() override;
    friend struct ObjectAccess;
};

TGraphicTool* NewFont();
HGDIOBJ GetHandle(TGraphicTool* tool);
// Drops the handle: OnChange fires, then the old handle is deleted.
void Changed(TGraphicTool* tool);
// Copies the source's description into the target (made when nil); a nil source frees the
// target. Returns the target.
TGraphicTool* Assign(TGraphicTool* target, TGraphicTool* source);
// Makes the tool share (and hold) the parent's tool.
void SetParentTool(TGraphicTool* tool, TGraphicTool* parentTool);

// Description setters: a different value is stored and the handle dropped (Changed).
void SetToolColor(TGraphicTool* tool, TColor color);
void SetFontHeight(TGraphicTool* tool, LONG height);
void SetFontWeight(TGraphicTool* tool, LONG weight);
void SetFontItalic(TGraphicTool* tool, bool italic);
void SetFontName(TGraphicTool* tool, const std::u16string& name);
