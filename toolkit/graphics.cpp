// Colours, background brushes and fonts.
#include "graphics.h"

#include "control.h"
#include "properties.h"

#include <algorithm>
#include <cstring>
#include <string>

COLORREF GetColorRGB(TColor color) {
    if ((color & 0x80000000u) != 0) {
        return GetSysColor(static_cast<int>(color & 0x7FFFFFFFu));
    }
    return color;
}

HBRUSH GetBackgroundBrush(TControl* control) {
    TControl* owner = control;
    while (owner->Parent != nullptr && owner->Parent->Color == owner->Color) {
        owner = owner->Parent;
    }
    COLORREF rgb = GetColorRGB(owner->Color);
    if (owner->BackgroundBrush != nullptr && rgb != owner->BackgroundBrushColor) {
        // A system colour changed since the brush was made.
        DeleteObject(owner->BackgroundBrush);
        owner->BackgroundBrush = nullptr;
    }
    if (owner->BackgroundBrush == nullptr) {
        owner->BackgroundBrushColor = rgb;
        owner->BackgroundBrush = CreateSolidBrush(rgb);
    }
    return owner->BackgroundBrush;
}

namespace {

void MakeFontHandle(TGraphicTool* tool) {
    if (tool->Handle == nullptr) {
        tool->Handle = CreateFontIndirectW(&tool->ToolData.Font);
    }
}

bool SameDescription(const TGraphicTool* a, const TGraphicTool* b) {
    return std::memcmp(&a->ToolData, &b->ToolData, sizeof(TToolData)) == 0;
}

} // namespace

void TGraphicTool::Destroy() {
    if (Handle != nullptr) {
        DeleteObject(Handle);
        Handle = nullptr;
    }
    TGraphicTool* parentTool = ParentTool;
    ParentTool = nullptr;
    Free(parentTool);
    TRefObject::Destroy();
}

TGraphicTool* NewFont() {
    ApplyFontHook = ApplyFont;
    TGraphicTool* font = NewObject<TGraphicTool>();
    font->Kind = gtkFont;
    font->NewSameKind = NewFont;
    font->MakeHandle = MakeFontHandle;
    font->ToolData.Color = clWindowText;
    LOGFONTW& lf = font->ToolData.Font;
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::u16string face = u"MS Sans Serif";
    std::copy(face.begin(), face.end(), lf.lfFaceName);
    return font;
}

HGDIOBJ GetHandle(TGraphicTool* tool) {
    if (tool == nullptr) {
        return nullptr;
    }
    if (tool->Handle != nullptr && GetColorRGB(tool->ToolData.Color) != tool->HandleColor) {
        Changed(tool);
    }
    if (tool->Handle == nullptr) {
        if (tool->ParentTool != nullptr && SameDescription(tool, tool->ParentTool)) {
            return GetHandle(tool->ParentTool);
        }
        tool->HandleColor = GetColorRGB(tool->ToolData.Color);
        if (tool->MakeHandle != nullptr) {
            tool->MakeHandle(tool);
        }
    }
    return tool->Handle;
}

void Changed(TGraphicTool* tool) {
    HGDIOBJ old = tool->Handle;
    tool->Handle = nullptr;
    tool->OnChange.Fire(tool);
    if (old != nullptr) {
        DeleteObject(old);
    }
}

TGraphicTool* Assign(TGraphicTool* target, TGraphicTool* source) {
    if (source == nullptr) {
        Free(target);
        return nullptr;
    }
    if (target == nullptr) {
        target = source->NewSameKind != nullptr ? source->NewSameKind() : NewFont();
    }
    if (target == source || (target->Handle != nullptr && target->Handle == source->Handle)) {
        return target;
    }
    Changed(target);
    target->ToolData = source->ToolData;
    Changed(target);
    return target;
}

void SetParentTool(TGraphicTool* tool, TGraphicTool* parentTool) {
    if (tool == nullptr || tool->ParentTool == parentTool) {
        return;
    }
    AddRef(parentTool);
    TGraphicTool* old = tool->ParentTool;
    tool->ParentTool = parentTool;
    Free(old);
}

namespace {

template <class T>
void SetField(TGraphicTool* tool, T& field, T value) {
    if (field != value) {
        field = value;
        Changed(tool);
    }
}

} // namespace

void SetToolColor(TGraphicTool* tool, TColor color) {
    if (tool->ToolData.Color != color) {
        tool->ToolData.Color = color;
        Changed(tool);
        tool->HandleColor = GetColorRGB(color);
    }
}

void SetFontHeight(TGraphicTool* tool, LONG height) { SetField(tool, tool->ToolData.Font.lfHeight, height); }

void SetFontWeight(TGraphicTool* tool, LONG weight) { SetField(tool, tool->ToolData.Font.lfWeight, weight); }

void SetFontItalic(TGraphicTool* tool, bool italic) {
    SetField(tool, tool->ToolData.Font.lfItalic, static_cast<BYTE>(italic ? 1 : 0));
}

void SetFontName(TGraphicTool* tool, const std::u16string& name) {
    WCHAR face[LF_FACESIZE] = {};
    std::copy_n(name.begin(), std::min<size_t>(name.size(), LF_FACESIZE - 1), face);
    if (std::memcmp(face, tool->ToolData.Font.lfFaceName, sizeof face) != 0) {
        std::memcpy(tool->ToolData.Font.lfFaceName, face, sizeof face);
        Changed(tool);
    }
}
