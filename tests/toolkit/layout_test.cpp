// Layout: where alignment puts children and when it waits for a showing, label sizing, and
// anchors.
#include "application.h"
#include "canvas.h"
#include "control_factory.h"
#include "layout.h"
#include "properties.h"
#include "toolkit_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Format(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

class LayoutTest : public test::ToolkitTest {
protected:
    void TearDown() override {
        Free(form_);
        ToolkitTest::TearDown();
    }
    // A shown form holding a borderless panel with the given client size and margin.
    TControl* Container(LONG width, LONG height, LONG margin) {
        form_ = CreateForm(nullptr, u"Form");
        TControl* panel = CreatePanel(form_, 2);
        SetBoundsRect(panel, RECT{0, 0, width, height});
        panel->Margin = margin;
        Show(form_);
        return panel;
    }
    // Makes the windows of the controls added since the form was shown.
    void Realize() { CreateWindow(form_); }
    TControl* form_ = nullptr;
};

// Three groups: alignment, label sizing, anchors.
class Alignment : public LayoutTest {};
class LabelSizing : public LayoutTest {};
class Anchors : public LayoutTest {};

struct AlignedChild {
    BYTE align;
    LONG width, height; // 0 leaves the panel's default
    RECT expected;
};

struct PlacementCase {
    const char* name;
    LONG width, height, margin;
    std::vector<AlignedChild> children;
    bool windows = true; // a window would hide a negative size: the platform clamps it
};

TEST_F(Alignment, AlignedChildrenTakeTheEdgesOfWhatTheEarlierOnesLeft) {
    const PlacementCase cases[] = {
        {"top, left, client",
         200,
         100,
         2,
         {{alTop, 0, 20, {2, 2, 198, 22}},
          {alLeft, 30, 0, {2, 24, 32, 98}},
          {alClient, 0, 0, {34, 24, 198, 98}}}},
        {"two left",
         200,
         100,
         2,
         {{alLeft, 30, 0, {2, 2, 32, 98}}, {alLeft, 40, 0, {34, 2, 74, 98}}}},
        {"bottom before right",
         200,
         100,
         2,
         {{alRight, 85, 0, {113, 2, 198, 60}}, {alBottom, 0, 36, {2, 62, 198, 98}}}},
        {"narrower than its margins",
         3,
         3,
         2,
         {{alTop, 0, 5, {2, 2, 2, 7}}, {alClient, 0, 0, {2, 9, 2, 9}}},
         false},
    };
    for (const PlacementCase& test : cases) {
        TControl* container = Container(test.width, test.height, test.margin);
        std::vector<TControl*> children;
        for (const AlignedChild& child : test.children) {
            children.push_back(SetSize(CreatePanel(container, 2), child.width, child.height));
        }
        if (test.windows) {
            Realize();
        }
        for (size_t i = 0; i < children.size(); ++i) {
            SetAlign(children[i], test.children[i].align);
        }
        for (size_t i = 0; i < children.size(); ++i) {
            RECT placed = GetBoundsRect(children[i]);
            EXPECT_TRUE(placed == test.children[i].expected)
                << test.name << ", child " << i << ": " << Format(placed) << ", expected "
                << Format(test.children[i].expected);
        }
        FreeAndNil(form_);
    }
}

TEST_F(Alignment, AChildOfAHiddenFormOnlyMarksItUntilTheFormIsShown) {
    form_ = CreateForm(nullptr, u"Form");
    SetVisible(form_, false);
    TControl* child = CreatePanel(form_, 2);
    SetAlign(child, alTop);
    EXPECT_EQ(GetWidth(child), 100);
    EXPECT_NE(form_->AlignState & kRealignPending, 0);
    Show(form_);
    EXPECT_EQ(form_->AlignState & kRealignPending, 0);
    EXPECT_EQ(GetWidth(child), ClientWidth(form_) - 4);
}

TEST_F(Alignment, WritingTheSameAlignInstallsTheHookWithoutRealigning) {
    TControl* container = Container(200, 100, 2);
    TControl* child = CreatePanel(container, 2);
    SetAlign(child, alTop);
    RealignHook = NoRealign;
    SetPosition(child, 50, 50); // a move is no resize: nothing realigns on its own
    SetAlign(child, alTop);
    EXPECT_EQ(RealignHook, &RequestRealign);
    EXPECT_EQ(GetLeft(child), 50);
    SetAlign(child, alBottom);
    EXPECT_EQ(GetBoundsRect(child).bottom, 98);
}

TEST_F(Alignment, APlacedChildAndItsContainerAreMarkedSoNothingRecursesUpwards) {
    TControl* container = Container(200, 100, 2);
    TControl* child = CreatePanel(container, 2);
    Realize();
    struct Seen {
        TControl* child;
        int positions = 0;
        BYTE childStates = 0xFF, containerStates = 0xFF; // and-ed over every WM_SIZE
    } seen{child};
    child->OnMessage = TOnMessage{[](void* data, MSG& msg, LRESULT&) {
                                      auto* s = static_cast<Seen*>(data);
                                      s->positions += msg.message == WM_WINDOWPOSCHANGING ? 1 : 0;
                                      if (msg.message == WM_SIZE) {
                                          s->childStates &= s->child->AlignState;
                                          s->containerStates &= s->child->Parent->AlignState;
                                      }
                                      return false;
                                  },
                                  &seen};
    SetAlign(child, alClient);
    EXPECT_EQ(seen.positions, 1); // one placement, no second round from its WM_SIZE
    EXPECT_EQ(seen.childStates & kBeingPlaced, kBeingPlaced);
    EXPECT_EQ(seen.containerStates & kAligningChildren, kAligningChildren);
    EXPECT_EQ(child->AlignState, 0);
    EXPECT_EQ(container->AlignState, 0);
    child->OnMessage = TOnMessage{}; // `seen` ends here; the teardown's messages must not reach it
}

TEST_F(Alignment, AResizedPanelRearrangesItsOwnChildren) {
    TControl* container = Container(200, 100, 1);
    TControl* panel = SetSize(CreatePanel(container, 0), 0, 36); // bordered, as a button bar
    panel->Margin = 0;
    TControl* save = SetSize(CreateButton(panel, u"Kaydet"), 85, 0);
    TControl* close = SetSize(CreateButton(panel, u"Kapat"), 85, 0);
    Realize();
    SetAlign(save, alLeft);
    SetAlign(close, alRight);
    SetAlign(panel, alBottom);
    EXPECT_TRUE(GetBoundsRect(panel) == (RECT{1, 63, 199, 99}));
    const LONG inner = ClientWidth(panel);
    EXPECT_EQ(inner, 196);
    EXPECT_TRUE(GetBoundsRect(save) == (RECT{0, 0, 85, 34}));
    EXPECT_TRUE(GetBoundsRect(close) == (RECT{inner - 85, 0, inner, 34}));
    SetSize(container, 240, 0); // its WM_SIZE realigns the container, which widens the panel
    EXPECT_TRUE(GetBoundsRect(close) == (RECT{inner + 40 - 85, 0, inner + 40, 34}));
}

// The size a text takes in the platform's default font, measured apart from the toolkit.
SIZE Measured(const std::u16string& text, const LOGFONTW* font = nullptr) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT made = font != nullptr ? CreateFontIndirectW(font) : nullptr;
    if (made != nullptr) {
        SelectObject(dc, made);
    }
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    DeleteDC(dc);
    if (made != nullptr) {
        DeleteObject(made);
    }
    return size;
}

TEST_F(LabelSizing, AnAutoSizedControlTakesItsTextsSizeWhereAlignmentLeavesIt) {
    const SIZE text = Measured(u"Posta Kodu:");
    struct Case {
        const char* name;
        bool button;
        const char16_t* text;
        BYTE align;
        LONG width, height; // -1: what the alignment gives
    } cases[] = {
        {"empty label", false, u"", alNone, 1, 1},
        {"empty button", true, u"", alNone, 14, 6},
        {"label", false, u"Posta Kodu:", alNone, text.cx + 2, text.cy + 1},
        {"top label", false, u"Posta Kodu:", alTop, -1, text.cy + 1},
        {"left label", false, u"Posta Kodu:", alLeft, text.cx + 2, -1},
        {"client label", false, u"Posta Kodu:", alClient, -1, -1},
    };
    for (const Case& test : cases) {
        TControl* container = Container(200, 100, 2);
        TControl* control =
            test.button ? CreateButton(container, test.text) : CreateLabel(container, test.text);
        SetAlign(control, test.align);
        const RECT aligned = GetBoundsRect(control);
        AutoSize(control, true);
        const RECT sized = GetBoundsRect(control);
        EXPECT_EQ(sized.right - sized.left,
                  test.width >= 0 ? test.width : aligned.right - aligned.left)
            << test.name;
        EXPECT_EQ(sized.bottom - sized.top,
                  test.height >= 0 ? test.height : aligned.bottom - aligned.top)
            << test.name;
        FreeAndNil(form_);
    }
}

TEST_F(LabelSizing, AnAutoSizedLabelInAnItalicFontFollowsItsTextUntilTurnedOff) {
    TControl* label = CreateLabel(Container(200, 100, 2), u"Adı SoyAdı:");
    SetFontItalic(GetFont(label), true);
    const LOGFONTW italic = label->Font->ToolData.Font;
    AutoSize(label, true);
    EXPECT_EQ(GetWidth(label), Measured(u"Adı SoyAdı: ", &italic).cx + 2); // a blank for the slant
    SetText(label, u"İli");
    EXPECT_EQ(GetWidth(label), Measured(u"İli ", &italic).cx + 2);
    AutoSize(label, false);
    SetText(label, u"Şükrü Öztürk");
    EXPECT_EQ(GetWidth(label), Measured(u"İli ", &italic).cx + 2);
}

TEST_F(Anchors, ChildrenFollowOrStretchWithTheRightAndBottomEdges) {
    TControl* container = Container(200, 100, 2);
    struct Case {
        bool left, top, right, bottom;
        LONG dx, dy, dw, dh; // the change when the container grows by 40 x 20
    } cases[] = {
        {true, false, true, false, 0, 0, 40, 0},  // stretches
        {false, false, true, false, 40, 0, 0, 0}, // follows the right edge
        {true, false, false, false, 0, 0, 0, 0},  // stays
        {false, true, false, true, 0, 0, 0, 20},  // stretches downwards
        {false, false, false, true, 0, 20, 0, 0}, // follows the bottom edge
    };
    std::vector<TControl*> children;
    std::vector<RECT> before;
    for (const Case& test : cases) {
        TControl* child = SetSize(SetPosition(CreatePanel(container, 2), 10, 10), 50, 30);
        Anchor(child, test.left, test.top, test.right, test.bottom);
        children.push_back(child);
        before.push_back(GetBoundsRect(child));
    }
    Realize();
    SetSize(container, 240, 120);
    for (size_t i = 0; i < children.size(); ++i) {
        const RECT was = before[i];
        const Case& c = cases[i];
        const RECT expected{was.left + c.dx, was.top + c.dy, was.right + c.dx + c.dw,
                            was.bottom + c.dy + c.dh};
        EXPECT_TRUE(GetBoundsRect(children[i]) == expected)
            << "child " << i << ": " << Format(GetBoundsRect(children[i])) << ", expected "
            << Format(expected);
    }
}

} // namespace
