// TCanvas: a drawing surface over a device context that it obtains on demand, with the
// font selected when a text operation needs it.
#pragma once

#include "graphics.h"
#include "ref_object.h"

#include "windows.h"

#include <string>

class TCanvas;

// Supplies a DC on demand: Code(Data, canvas) -> DC or 0.
struct TOnGetHandle {
    HDC (*Code)(void* data, TCanvas* canvas) = nullptr;
    void* Data = nullptr;
    bool IsSet() const { return Code != nullptr; }
};

// State bits of a canvas.
inline constexpr BYTE kCanvasHasDC = 0x01;
inline constexpr BYTE kCanvasPenSelected = 0x02;
inline constexpr BYTE kCanvasBrushSelected = 0x04;
inline constexpr BYTE kCanvasFontSelected = 0x08;

class TCanvas final : public TRefObject {
public:
    TControl* Owner = nullptr; // the control it draws on; nil for a free canvas
    HDC DC = nullptr;
    POINT PenPos{};
    BYTE State = 0;
    TGraphicTool* Brush = nullptr; // owned; never made in this program
    TGraphicTool* Pen = nullptr;   // owned; never made in this program
    TGraphicTool* Font = nullptr;  // owned; nil when not used
    TOnGetHandle OnGetHandle;

protected:
    TCanvas() = default;
    ~TCanvas() override = default;
    void Destroy() override;
    friend struct ObjectAccess;
    friend void SetHandle(TCanvas* canvas, HDC dc);
    friend SIZE TextExtent(TCanvas* canvas, const std::u16string& text);

private:
    // The DC was made by TextExtent for one measurement and must be deleted, not released.
    bool m_temporaryDC = false;
};

TCanvas* NewCanvas(HDC dc);
HDC GetHandle(TCanvas* canvas);
void SetHandle(TCanvas* canvas, HDC dc);
HDC RequiredState(TCanvas* canvas, BYTE request);
void DeselectTools(TCanvas* canvas);
void MoveTo(TCanvas* canvas, int x, int y);
// Width (plus 1) and height of the text in the canvas font.
SIZE TextExtent(TCanvas* canvas, const std::u16string& text);

// The DC supplier of a control's canvas: the canvas's DC, else GetDC of the control's
// window (made on demand).
HDC SupplyDC(void* control, TCanvas* canvas);
