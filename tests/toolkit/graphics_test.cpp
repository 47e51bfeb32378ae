// Drawing tools: shared background brushes and their renewal after a system colour
// change, font handles shared with the parent's font until a field changes, Assign, and
// measuring text on a canvas that has no DC.
#include "canvas.h"
#include "device_diag.h"
#include "control_factory.h"
#include "graphics.h"
#include "properties.h"
#include "toolkit_fixture.h"

#include <gtest/gtest.h>

namespace {

class Graphics : public test::ToolkitTest {};

TEST_F(Graphics, SameColouredControlsShareTheTopmostBrushAndAChangedColourGetsItsOwn) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* panel = CreatePanel(form, 0);
    TControl* label = CreateLabel(panel, u"Etiket");
    HBRUSH shared = GetBackgroundBrush(label);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(form->BackgroundBrush, shared);
    EXPECT_EQ(label->BackgroundBrush, nullptr);
    EXPECT_EQ(panel->BackgroundBrush, nullptr);
    EXPECT_EQ(GetBackgroundBrush(form), shared); // made once, then reused

    SetColor(label, RGB(10, 20, 30));
    HBRUSH own = GetBackgroundBrush(label);
    EXPECT_NE(own, shared);
    EXPECT_EQ(label->BackgroundBrush, own);
    EXPECT_EQ(label->BackgroundBrushColor, RGB(10, 20, 30));
    EXPECT_EQ(GetBackgroundBrush(panel), shared);
    Free(form);
}

TEST_F(Graphics, ASystemColourChangeRenewsTheBrushMadeFromIt) {
    TControl* form = CreateForm(nullptr, u"Form");
    HBRUSH before = GetBackgroundBrush(form);
    EXPECT_EQ(form->BackgroundBrushColor, GetSysColor(COLOR_WINDOW));
    const INT element = COLOR_WINDOW;
    const COLORREF pink = RGB(250, 200, 210);
    ASSERT_TRUE(SetSysColors(1, &element, &pink));
    HBRUSH after = GetBackgroundBrush(form);
    EXPECT_EQ(form->BackgroundBrushColor, pink);
    EXPECT_EQ(form->BackgroundBrush, after);
    EXPECT_EQ(GetObjectType(before), 0u); // the old brush was deleted
    LOGBRUSH logBrush{};
    ASSERT_NE(GetObjectW(after, sizeof logBrush, &logBrush), 0);
    EXPECT_EQ(logBrush.lbColor, pink);
    Free(form);
}

TEST_F(Graphics, ACopiedFontUsesItsParentsHandleUntilOneOfItsFieldsChanges) {
    TControl* form = CreateForm(nullptr, u"Form");
    TGraphicTool* formFont = GetFont(form);
    TControl* label = CreateLabel(form, u"Etiket");
    ASSERT_NE(label->Font, nullptr);
    EXPECT_EQ(label->Font->ParentTool, formFont);
    HGDIOBJ shared = GetHandle(formFont);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(GetHandle(label->Font), shared);
    EXPECT_EQ(label->Font->Handle, nullptr); // owns none

    SetFontHeight(label->Font, 20);
    HGDIOBJ own = GetHandle(label->Font);
    EXPECT_NE(own, shared);
    EXPECT_EQ(label->Font->Handle, own);
    SetFontHeight(label->Font, 20); // the same value: nothing dropped
    EXPECT_EQ(label->Font->Handle, own);
    Free(form);
}

TEST_F(Graphics, ChangingAFontDropsItsHandleAndTellsItsControl) {
    TControl* form = CreateForm(nullptr, u"Form");
    TGraphicTool* font = GetFont(form);
    GetHandle(font);
    SetToolColor(font, RGB(200, 0, 0));
    EXPECT_EQ(font->Handle, nullptr);
    EXPECT_EQ(form->TextColor, RGB(200, 0, 0)); // through FontChanged
    Free(form);
}

TEST_F(Graphics, AssignClonesOntoNilAndANilSourceFreesTheTarget) {
    TGraphicTool* source = NewFont();
    SetFontWeight(source, 700);
    TGraphicTool* copy = Assign(nullptr, source);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, source);
    EXPECT_EQ(copy->Kind, gtkFont);
    EXPECT_EQ(copy->ToolData.Font.lfWeight, 700);
    EXPECT_EQ(std::u16string(copy->ToolData.Font.lfFaceName), u"MS Sans Serif");

    test::DestroyLog log;
    log.Watch(copy, "copy");
    EXPECT_EQ(Assign(copy, nullptr), nullptr);
    EXPECT_EQ(log.Count("copy"), 1);
    EXPECT_EQ(Assign(source, source), source);
    Free(source);
}

TEST_F(Graphics, MeasuringTheEmptyStringWithoutADCGivesWidthOneAndTheFontHeightAndLeavesNoDC) {
    TCanvas* canvas = NewCanvas(nullptr);
    canvas->Font = NewFont();
    SetFontHeight(canvas->Font, -13);
    SIZE size = TextExtent(canvas, u"");
    EXPECT_EQ(size.cx, 1);
    EXPECT_EQ(canvas->DC, nullptr);
    EXPECT_EQ(canvas->State, 0);

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetHandle(canvas->Font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_EQ(size.cy, metrics.tmHeight);
    EXPECT_GT(size.cy, 0);

    SIZE wide = TextExtent(canvas, u"Adres Defteri");
    EXPECT_GT(wide.cx, 20);
    EXPECT_EQ(wide.cy, size.cy);
    Free(canvas);
}

// A control whose window cannot be made (a button without a parent) measures on a memory
// DC of its own, which must be deleted, not released as its window's DC would be.
TEST_F(Graphics, AControlWithoutAWindowMeasuresOnAMemoryDCAndDeletesIt) {
    TControl* button = CreateButton(nullptr, u"Penceresiz");
    TCanvas* canvas = GetCanvas(button);
    GetFont(button);
    const SIZE first = TextExtent(canvas, u"Kayıt"); // makes the font's handle
    const size_t before = device::diag::LiveGdiObjectCount();
    EXPECT_EQ(TextExtent(canvas, u"Kayıt").cx, first.cx);
    EXPECT_GT(first.cx, 1);
    EXPECT_EQ(button->Handle, nullptr);
    EXPECT_EQ(canvas->DC, nullptr);
    EXPECT_EQ(device::diag::LiveGdiObjectCount(), before);
    Free(button);
}

TEST_F(Graphics, AControlsCanvasDrawsOnItsWindowAndDropsTheFontWhenItChanges) {
    TControl* form = CreateForm(nullptr, u"Form");
    GetFont(form);
    TCanvas* canvas = GetCanvas(form);
    EXPECT_EQ(canvas->Owner, form);
    ASSERT_NE(canvas->Font, nullptr);
    SIZE size = TextExtent(canvas, u"Kayıt");
    EXPECT_GT(size.cx, 1);
    EXPECT_NE(form->Handle, nullptr); // the DC came from the control's window
    EXPECT_NE(canvas->DC, nullptr);
    EXPECT_EQ(canvas->State & kCanvasFontSelected, kCanvasFontSelected);
    SetFontHeight(canvas->Font, 30);
    EXPECT_EQ(canvas->State & kCanvasFontSelected, 0); // selected again when next needed
    EXPECT_GT(TextExtent(canvas, u"Kayıt").cy, size.cy);
    Free(form); // releases the window DC with the canvas
}

} // namespace
