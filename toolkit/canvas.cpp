// TCanvas: attaching and releasing DCs, selecting the font, measuring text.
#include "canvas.h"

#include "control.h"
#include "control_factory.h"

namespace {

// Fetched once for the process: what DeselectTools puts back into a DC.
struct StockTools {
    HGDIOBJ pen = GetStockObject(BLACK_PEN);
    HGDIOBJ brush = GetStockObject(NULL_BRUSH);
    HGDIOBJ font = GetStockObject(SYSTEM_FONT);
};

const StockTools& Stock() {
    static const StockTools stock;
    return stock;
}

void CanvasFontChanged(void* data, TRefObject* /*sender*/) { DeselectTools(static_cast<TCanvas*>(data)); }

} // namespace

TCanvas* NewCanvas(HDC dc) {
    TCanvas* canvas = NewObject<TCanvas>();
    if (dc != nullptr) {
        SetHandle(canvas, dc);
    }
    return canvas;
}

void TCanvas::Destroy() {
    SetHandle(this, nullptr);
    FreeAndNil(Pen);
    FreeAndNil(Brush);
    FreeAndNil(Font);
    TRefObject::Destroy();
}

HDC GetHandle(TCanvas* canvas) {
    if (canvas->OnGetHandle.IsSet()) {
        HDC dc = canvas->OnGetHandle.Code(canvas->OnGetHandle.Data, canvas);
        SetHandle(canvas, dc);
        return dc;
    }
    return canvas->DC;
}

void SetHandle(TCanvas* canvas, HDC dc) {
    if (dc == canvas->DC) {
        return;
    }
    if (canvas->DC != nullptr) {
        DeselectTools(canvas);
        if (canvas->OnGetHandle.Code == SupplyDC && !canvas->m_temporaryDC) {
            ReleaseDC(canvas->Owner != nullptr ? canvas->Owner->Handle : nullptr, canvas->DC);
        } else {
            DeleteDC(canvas->DC);
        }
        canvas->m_temporaryDC = false;
        canvas->DC = nullptr;
        canvas->State &= static_cast<BYTE>(~kCanvasHasDC);
    }
    if (dc != nullptr) {
        canvas->State |= kCanvasHasDC;
        canvas->DC = dc;
        MoveTo(canvas, canvas->PenPos.x, canvas->PenPos.y);
    }
}

void DeselectTools(TCanvas* canvas) {
    constexpr BYTE kToolBits = kCanvasPenSelected | kCanvasBrushSelected | kCanvasFontSelected;
    if (canvas->DC == nullptr || (canvas->State & kToolBits) == 0) {
        return;
    }
    SelectObject(canvas->DC, Stock().pen);
    SelectObject(canvas->DC, Stock().brush);
    SelectObject(canvas->DC, Stock().font);
    canvas->State &= static_cast<BYTE>(~kToolBits);
}

HDC RequiredState(TCanvas* canvas, BYTE request) {
    if ((request & kCanvasHasDC) != 0 && GetHandle(canvas) == nullptr) {
        return nullptr;
    }
    BYTE needed = static_cast<BYTE>(request & ~canvas->State);
    if (needed == 0) {
        return canvas->DC;
    }
    if ((needed & kCanvasFontSelected) != 0) {
        if (canvas->Font != nullptr) {
            SelectObject(canvas->DC, GetHandle(canvas->Font));
            SetTextColor(canvas->DC, GetColorRGB(canvas->Font->ToolData.Color));
            canvas->Font->OnChange = TOnEvent{CanvasFontChanged, canvas};
        } else if (canvas->Owner != nullptr) {
            SetTextColor(canvas->DC, GetColorRGB(canvas->Owner->TextColor));
        }
    }
    canvas->State |= needed;
    return canvas->DC;
}

void MoveTo(TCanvas* canvas, int x, int y) {
    canvas->PenPos = POINT{x, y};
    RequiredState(canvas, kCanvasHasDC);
    if (canvas->DC != nullptr) {
        MoveToEx(canvas->DC, x, y, nullptr);
    }
}

SIZE TextExtent(TCanvas* canvas, const std::u16string& text) {
    constexpr BYTE kDCAndFont = kCanvasHasDC | kCanvasFontSelected;
    RequiredState(canvas, kDCAndFont);
    bool temporary = false;
    if (canvas->DC == nullptr) {
        HDC memory = CreateCompatibleDC(nullptr);
        SetHandle(canvas, memory);
        canvas->m_temporaryDC = memory != nullptr;
        temporary = true;
        RequiredState(canvas, kDCAndFont);
    }
    SIZE size{};
    if (canvas->DC != nullptr) {
        GetTextExtentExPointW(canvas->DC, text.c_str(), static_cast<int>(text.size()), 0, nullptr, nullptr, &size);
    }
    size.cx += 1;
    if (temporary) {
        SetHandle(canvas, nullptr);
    }
    return size;
}

HDC SupplyDC(void* data, TCanvas* canvas) {
    auto* control = static_cast<TControl*>(data);
    if (canvas->DC != nullptr) {
        return canvas->DC;
    }
    HWND hwnd = GetWindowHandle(control);
    return hwnd != nullptr ? GetDC(hwnd) : nullptr;
}
