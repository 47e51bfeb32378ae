// DrawEdge, DrawFrameControl and the system colours they are drawn from.
#include <gtest/gtest.h>

#include "gdi/system_colors.h"
#include "gdi_test_canvas.h"

using gdi_test::MemoryCanvas;
using gdi_test::Picture;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// w highlight (255), f face / 3-D light (192), s shadow (128), k dark shadow (0), r untouched.
const std::map<COLORREF, char> kLegend = {{RGB(255, 255, 255), 'w'},
                                          {RGB(192, 192, 192), 'f'},
                                          {RGB(128, 128, 128), 's'},
                                          {RGB(0, 0, 0), 'k'},
                                          {kRed, 'r'}};

std::string Edge(int width, int height, UINT edge, UINT flags, RECT* adjusted = nullptr) {
    MemoryCanvas canvas(width, height, kRed);
    RECT r{0, 0, width, height};
    EXPECT_TRUE(DrawEdge(canvas.dc(), &r, edge, flags));
    if (adjusted != nullptr) {
        *adjusted = r;
    }
    return Picture(canvas.dc(), RECT{0, 0, width, height}, kLegend);
}

struct SystemColours : ::testing::Test {
    void TearDown() override { device::gdi::ResetSystemColors(); }
};

TEST(DrawEdge, RaisedIsLightTopLeftDarkBottomRight) {
    // Outer part: 3-D light / dark shadow; inner part: highlight / shadow; then the face.
    EXPECT_EQ(Edge(6, 6, EDGE_RAISED, BF_RECT | BF_MIDDLE), "fffffk\n"
                                                            "fwwwsk\n"
                                                            "fwffsk\n"
                                                            "fwffsk\n"
                                                            "fssssk\n"
                                                            "kkkkkk\n");
}

TEST(DrawEdge, SunkenIsShadowTopLeftHighlightBottomRight) {
    // Without BF_MIDDLE the inside is left alone.
    EXPECT_EQ(Edge(6, 6, EDGE_SUNKEN, BF_RECT), "sssssw\n"
                                                "skkkfw\n"
                                                "skrrfw\n"
                                                "skrrfw\n"
                                                "sffffw\n"
                                                "wwwwww\n");
}

TEST(DrawEdge, SoftSwapsTheTopLeftColoursOfTheParts) {
    EXPECT_EQ(Edge(5, 5, EDGE_RAISED, BF_RECT | BF_SOFT), "wwwwk\n"
                                                          "wffsk\n"
                                                          "wfrsk\n"
                                                          "wsssk\n"
                                                          "kkkkk\n");
}

TEST(DrawEdge, OnlyTheRequestedSidesAndParts) {
    EXPECT_EQ(Edge(4, 3, BDR_RAISEDOUTER, BF_BOTTOM), "rrrr\n"
                                                      "rrrr\n"
                                                      "kkkk\n");
    EXPECT_EQ(Edge(4, 3, BDR_SUNKENINNER, BF_LEFT | BF_TOP), "kkkk\n"
                                                             "krrr\n"
                                                             "krrr\n");
}

TEST(DrawEdge, FlatAndMono) {
    EXPECT_EQ(Edge(4, 4, EDGE_RAISED, BF_RECT | BF_FLAT | BF_MIDDLE), "ssss\n"
                                                                      "sffs\n"
                                                                      "sffs\n"
                                                                      "ssss\n");
    EXPECT_EQ(Edge(5, 5, EDGE_SUNKEN, BF_RECT | BF_MONO | BF_MIDDLE), "kkkkk\n"
                                                                      "kwwwk\n"
                                                                      "kwwwk\n"
                                                                      "kwwwk\n"
                                                                      "kkkkk\n");
}

TEST(DrawEdge, AdjustShrinksByTheBorderDrawn) {
    RECT r{};
    Edge(10, 8, EDGE_SUNKEN, BF_RECT | BF_ADJUST, &r);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 8);
    EXPECT_EQ(r.bottom, 6);
    Edge(10, 8, BDR_RAISEDINNER, BF_LEFT | BF_TOP | BF_ADJUST, &r);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.top, 1);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(r.bottom, 8);
    Edge(10, 8, EDGE_SUNKEN, BF_RECT, &r);
    EXPECT_EQ(r.right, 10) << "unchanged without BF_ADJUST";
}

TEST(DrawEdge, BadDcFails) {
    RECT r{0, 0, 4, 4};
    EXPECT_FALSE(DrawEdge(nullptr, &r, EDGE_RAISED, BF_RECT));
    MemoryCanvas canvas(2, 2);
    EXPECT_FALSE(DrawEdge(canvas.dc(), nullptr, EDGE_RAISED, BF_RECT));
}

TEST(DrawFrameControl, PushButtonRaisedThenSunkenWhenPushed) {
    MemoryCanvas canvas(5, 5, kRed);
    RECT r{0, 0, 5, 5};
    ASSERT_TRUE(DrawFrameControl(canvas.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_EQ(Picture(canvas.dc(), r, kLegend), "wwwwk\n"
                                                "wffsk\n"
                                                "wffsk\n"
                                                "wsssk\n"
                                                "kkkkk\n");
    EXPECT_EQ(r.right, 5) << "the caller's rectangle is left alone";
    ASSERT_TRUE(DrawFrameControl(canvas.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED));
    EXPECT_EQ(Picture(canvas.dc(), r, kLegend), "kkkkw\n"
                                                "kssfw\n"
                                                "ksffw\n"
                                                "kfffw\n"
                                                "wwwww\n");
    ASSERT_TRUE(DrawFrameControl(canvas.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT));
    EXPECT_EQ(Picture(canvas.dc(), r, kLegend), "sssss\n"
                                                "sfffs\n"
                                                "sfffs\n"
                                                "sfffs\n"
                                                "sssss\n");
}

TEST(DrawFrameControl, UnsupportedKindsFail) {
    MemoryCanvas canvas(5, 5, kRed);
    RECT r{0, 0, 5, 5};
    EXPECT_FALSE(DrawFrameControl(canvas.dc(), &r, DFC_BUTTON, DFCS_BUTTONRADIOMASK));
    EXPECT_FALSE(DrawFrameControl(canvas.dc(), &r, 1, 0));               // DFC_CAPTION
    EXPECT_EQ(canvas.Count(kRed), 25);
}

// Black pixels of a 15x15 scroll arrow button, as a picture.
std::string Arrow(UINT state) {
    MemoryCanvas canvas(15, 15, kRed);
    RECT r{0, 0, 15, 15};
    EXPECT_TRUE(DrawFrameControl(canvas.dc(), &r, DFC_SCROLL, state));
    return Picture(canvas.dc(), RECT{2, 2, 13, 13}, {{RGB(0, 0, 0), '#'}, {RGB(192, 192, 192), '.'}});
}

TEST(DrawFrameControl, ScrollArrowsPointTheirWay) {
    const std::string up = Arrow(DFCS_SCROLLUP);
    EXPECT_EQ(up, "...........\n"
                  "...........\n"
                  "...........\n"
                  ".....#.....\n"
                  "....###....\n"
                  "...#####...\n"
                  "..#######..\n"
                  "...........\n"
                  "...........\n"
                  "...........\n"
                  "...........\n");
    // Down is up upside down (one row lower: the box has an odd height), left is up transposed.
    const std::string down = Arrow(DFCS_SCROLLDOWN);
    const std::string left = Arrow(DFCS_SCROLLLEFT);
    const std::string right = Arrow(DFCS_SCROLLRIGHT);
    auto at = [](const std::string& picture, int x, int y) { return picture[y * 12 + x]; };
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 11; ++x) {
            EXPECT_EQ(at(up, x, y), at(left, y, x)) << x << "," << y;
            EXPECT_EQ(at(down, x, y), at(right, y, x)) << x << "," << y;
            if (y >= 3 && y <= 6) {
                EXPECT_EQ(at(up, x, y), at(down, x, 9 - y)) << x << "," << y;
            }
        }
    }
}

TEST(DrawFrameControl, PushedArrowMovesDownRightInactiveArrowIsGrey) {
    const std::string up = Arrow(DFCS_SCROLLUP);
    const std::string pushed = Arrow(DFCS_SCROLLUP | DFCS_PUSHED);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(up[y * 12 + x], pushed[(y + 1) * 12 + x + 1]) << x << "," << y;
        }
    }
    const std::string inactive = Arrow(DFCS_SCROLLUP | DFCS_INACTIVE);
    EXPECT_EQ(inactive.find('#'), std::string::npos) << "no black arrow when inactive";
    MemoryCanvas canvas(15, 15, kRed);
    RECT r{0, 0, 15, 15};
    DrawFrameControl(canvas.dc(), &r, DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE);
    EXPECT_EQ(canvas.At(7, 5), RGB(128, 128, 128)) << "the arrow's apex in shadow grey";
    EXPECT_EQ(canvas.At(8, 6), RGB(128, 128, 128));
    EXPECT_EQ(canvas.At(10, 9), RGB(255, 255, 255)) << "its highlight one pixel down-right";
}

TEST_F(SystemColours, DefaultsAndBothIndexForms) {
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW & 0xFF), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), RGB(128, 128, 128));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
    EXPECT_EQ(GetSysColor(COLOR_STATIC), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(C_SYS_COLOR_TYPES), 0u);
    EXPECT_EQ(GetSysColor(-1), 0u);
}

TEST_F(SystemColours, BrushesAreSharedUndeletableAndFollowChanges) {
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE & 0xFF), face);
    EXPECT_NE(GetSysColorBrush(COLOR_WINDOW), face);
    EXPECT_EQ(GetSysColorBrush(99), nullptr);
    EXPECT_TRUE(DeleteObject(face));
    EXPECT_EQ(GetObjectType(face), OBJ_BRUSH) << "system brushes cannot be deleted";

    device::gdi::SetSystemColor(COLOR_BTNFACE, RGB(10, 20, 30));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(10, 20, 30));
    LOGBRUSH info{};
    GetObjectW(face, sizeof info, &info);
    EXPECT_EQ(info.lbColor, RGB(10, 20, 30));
    MemoryCanvas canvas(2, 2);
    RECT r{0, 0, 2, 2};
    FillRect(canvas.dc(), &r, face);
    EXPECT_EQ(canvas.At(1, 1), RGB(10, 20, 30));
}

TEST_F(SystemColours, EdgesFollowTheScheme) {
    device::gdi::SetSystemColor(COLOR_BTNSHADOW, kRed);
    MemoryCanvas canvas(4, 4);
    RECT r{0, 0, 4, 4};
    DrawEdge(canvas.dc(), &r, BDR_SUNKENOUTER, BF_RECT);
    EXPECT_EQ(canvas.At(0, 0), kRed);
    EXPECT_EQ(canvas.At(3, 3), RGB(255, 255, 255));
}

} // namespace
