// Fonts and text from the real DejaVu faces: metrics, extents that add up, alignment, opaque
// and clipped output, decorations, and every Turkish letter drawn with a real glyph.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "gdi_test_canvas.h"

using gdi_test::MemoryCanvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

HFONT MakeFont(LONG height, const char16_t* face = u"MS Sans Serif", LONG weight = FW_NORMAL,
               BYTE quality = DEFAULT_QUALITY, BYTE underline = 0) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfQuality = quality;
    lf.lfUnderline = underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::u16string name(face);
    std::copy(name.begin(), name.end(), lf.lfFaceName);
    return CreateFontIndirectW(&lf);
}

TEXTMETRICW Metrics(HDC dc) {
    TEXTMETRICW tm{};
    EXPECT_TRUE(GetTextMetricsW(dc, &tm));
    return tm;
}

int Width(HDC dc, const std::u16string& text) {
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size));
    return size.cx;
}

// A canvas with a font selected, deleted afterwards.
struct FontCanvas {
    FontCanvas(int width, int height, HFONT newFont) : canvas(width, height), font(newFont) {
        previous = SelectObject(canvas.dc(), font);
    }
    ~FontCanvas() {
        SelectObject(canvas.dc(), previous);
        DeleteObject(font);
    }
    HDC dc() const { return canvas.dc(); }
    MemoryCanvas canvas;
    HFONT font;
    HGDIOBJ previous = nullptr;
};

TEST(Fonts, SystemFontHasATwelvePixelEm) {
    MemoryCanvas canvas(4, 4);
    const TEXTMETRICW tm = Metrics(canvas.dc());
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 12);
    EXPECT_GE(tm.tmHeight, 13);
    EXPECT_LE(tm.tmHeight, 15);
    EXPECT_GT(tm.tmAveCharWidth, 3);
    EXPECT_GT(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    EXPECT_EQ(tm.tmWeight, FW_NORMAL);
}

TEST(Fonts, HeightZeroIsTheSystemFontSize) {
    MemoryCanvas plain(4, 4);
    const TEXTMETRICW system = Metrics(plain.dc());
    FontCanvas canvas(4, 4, MakeFont(0));
    const TEXTMETRICW tm = Metrics(canvas.dc());
    EXPECT_EQ(tm.tmHeight, system.tmHeight);
    EXPECT_EQ(tm.tmAscent, system.tmAscent);
    EXPECT_EQ(Width(canvas.dc(), u"Adres Defteri"), Width(plain.dc(), u"Adres Defteri"));
}

TEST(Fonts, PositiveHeightIsTheCellNegativeTheEm) {
    FontCanvas cell(4, 4, MakeFont(20));
    EXPECT_EQ(Metrics(cell.dc()).tmHeight, 20);
    FontCanvas em(4, 4, MakeFont(-20));
    const TEXTMETRICW tm = Metrics(em.dc());
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);
    EXPECT_GT(tm.tmHeight, 20);
}

TEST(Fonts, EveryFaceMapsToDejaVuSans) {
    for (const char16_t* face : {u"MS Sans Serif", u"Tahoma", u"", u"No Such Face", u"Arial"}) {
        FontCanvas canvas(4, 4, MakeFont(-12, face));
        WCHAR name[64] = {};
        const int copied = GetTextFaceW(canvas.dc(), 64, name);
        EXPECT_EQ(std::u16string(name), u"DejaVu Sans") << std::u16string(face).size();
        EXPECT_EQ(copied, 11);
        EXPECT_EQ(GetTextFaceW(canvas.dc(), 0, nullptr), 12) << "length with the terminator";
    }
    WCHAR shortName[6] = {};
    MemoryCanvas canvas(2, 2);
    EXPECT_EQ(GetTextFaceW(canvas.dc(), 6, shortName), 5);
    EXPECT_EQ(std::u16string(shortName), u"DejaV");
}

TEST(Fonts, BoldIsHeavierAndWider) {
    FontCanvas regular(4, 4, MakeFont(-12));
    FontCanvas bold(4, 4, MakeFont(-12, u"Tahoma", FW_BOLD));
    EXPECT_EQ(Metrics(bold.dc()).tmWeight, FW_BOLD);
    EXPECT_GT(Width(bold.dc(), u"Kaydet"), Width(regular.dc(), u"Kaydet"));
    FontCanvas semibold(4, 4, MakeFont(-12, u"Tahoma", FW_SEMIBOLD));
    EXPECT_EQ(Width(semibold.dc(), u"Kaydet"), Width(bold.dc(), u"Kaydet"));
}

TEST(TextExtent, WidthsComeFromTheGlyphs) {
    MemoryCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    const int w = Width(dc, u"W");
    const int i = Width(dc, u"i");
    EXPECT_GT(w, i);
    EXPECT_GT(i, 0);
    EXPECT_EQ(Width(dc, u"iiiiiiii"), 8 * i);
    EXPECT_EQ(Width(dc, u"WiWi"), 2 * (w + i));
    EXPECT_EQ(Width(dc, u""), 0);
    SIZE size{};
    GetTextExtentPoint32W(dc, u"x", 1, &size);
    EXPECT_EQ(size.cy, Metrics(dc).tmHeight);
}

TEST(TextExtent, FitAndCumulativeWidthsAgree) {
    MemoryCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    const std::u16string text = u"Çağrı İşlem";
    const int count = static_cast<int>(text.size());
    std::vector<int> dx(count, -1);
    int fit = -1;
    SIZE size{};
    ASSERT_TRUE(GetTextExtentExPointW(dc, text.c_str(), count, 1000, &fit, dx.data(), &size));
    EXPECT_EQ(fit, count);
    EXPECT_EQ(dx.back(), size.cx);
    for (int k = 0; k < count; ++k) {
        EXPECT_EQ(dx[k], Width(dc, text.substr(0, k + 1))) << k;
        if (k > 0) {
            EXPECT_GT(dx[k], dx[k - 1]) << k;
        }
    }
    // Exactly at a cumulative width the character fits; one pixel less and it does not.
    const int limit = dx[4];
    ASSERT_TRUE(GetTextExtentExPointW(dc, text.c_str(), count, limit, &fit, nullptr, &size));
    EXPECT_EQ(fit, 5);
    EXPECT_EQ(size.cx, dx.back()) << "the size is always the whole string's";
    ASSERT_TRUE(GetTextExtentExPointW(dc, text.c_str(), count, limit - 1, &fit, nullptr, &size));
    EXPECT_EQ(fit, 4);
    ASSERT_TRUE(GetTextExtentExPointW(dc, text.c_str(), count, 0, &fit, nullptr, &size));
    EXPECT_EQ(fit, 0);
}

TEST(TextExtent, BadArgumentsFail) {
    MemoryCanvas canvas(4, 4);
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc(), u"a", -1, &size));
    EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc(), nullptr, 3, &size));
    EXPECT_TRUE(GetTextExtentPoint32W(canvas.dc(), nullptr, 0, &size));
    EXPECT_EQ(size.cx, 0);
}

TEST(TextOut, InkSitsInTheCellBelowTheReferencePoint) {
    MemoryCanvas canvas(40, 30);
    HDC dc = canvas.dc();
    SetBkMode(dc, TRANSPARENT);
    const TEXTMETRICW tm = Metrics(dc);
    ASSERT_TRUE(TextOutW(dc, 5, 4, u"Hg", 2));
    const RECT ink = canvas.Ink();
    EXPECT_GE(ink.left, 5);
    EXPECT_LE(ink.left, 7);
    EXPECT_GE(ink.top, 4);
    EXPECT_LE(ink.bottom, 4 + tm.tmHeight);
    EXPECT_GT(ink.bottom, 4 + tm.tmAscent) << "the g descends below the baseline";
    EXPECT_LE(ink.right, 5 + Width(dc, u"Hg") + 1);
}

TEST(TextOut, CapitalHeightOfTheSystemFont) {
    MemoryCanvas canvas(20, 20);
    SetBkMode(canvas.dc(), TRANSPARENT);
    TextOutW(canvas.dc(), 2, 2, u"H", 1);
    const RECT ink = canvas.Ink();
    const TEXTMETRICW tm = Metrics(canvas.dc());
    EXPECT_GE(ink.bottom - ink.top, 8);
    EXPECT_LE(ink.bottom - ink.top, 10);
    EXPECT_EQ(ink.bottom, 2 + tm.tmAscent) << "H rests on the baseline";
}

TEST(TextOut, AlignmentMovesTheReferencePoint) {
    const std::u16string text = u"Ad";
    auto inkFor = [&](UINT align, int x, int y) {
        MemoryCanvas canvas(40, 30);
        SetBkMode(canvas.dc(), TRANSPARENT);
        SetTextAlign(canvas.dc(), align);
        TextOutW(canvas.dc(), x, y, text.c_str(), 2);
        return canvas.Ink();
    };
    MemoryCanvas probe(4, 4);
    const int width = Width(probe.dc(), text);
    const TEXTMETRICW tm = Metrics(probe.dc());
    const RECT topLeft = inkFor(TA_LEFT | TA_TOP, 10, 5);
    const RECT right = inkFor(TA_RIGHT | TA_TOP, 10 + width, 5);
    const RECT centre = inkFor(TA_CENTER | TA_TOP, 10 + width / 2, 5);
    const RECT baseline = inkFor(TA_LEFT | TA_BASELINE, 10, 5 + tm.tmAscent);
    const RECT bottom = inkFor(TA_LEFT | TA_BOTTOM, 10, 5 + tm.tmHeight);
    for (const RECT& other : {right, centre, baseline, bottom}) {
        EXPECT_EQ(other.left, topLeft.left);
        EXPECT_EQ(other.top, topLeft.top);
        EXPECT_EQ(other.right, topLeft.right);
        EXPECT_EQ(other.bottom, topLeft.bottom);
    }
}

TEST(TextOut, UpdateCpDrawsAtAndAdvancesTheCurrentPosition) {
    MemoryCanvas canvas(40, 20);
    HDC dc = canvas.dc();
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 3, 2, nullptr);
    TextOutW(dc, 30, 30, u"ab", 2);
    POINT position{};
    MoveToEx(dc, 0, 0, &position);
    EXPECT_EQ(position.x, 3 + Width(dc, u"ab"));
    EXPECT_EQ(position.y, 2);
    EXPECT_EQ(canvas.Ink().left, 3) << "the opaque box starts at the current position";
}

TEST(TextOut, OpaqueModeFillsTheCellTransparentDoesNot) {
    MemoryCanvas canvas(40, 20);
    HDC dc = canvas.dc();
    SetBkColor(dc, kRed);
    TextOutW(dc, 2, 1, u"ı", 1);
    const int width = Width(dc, u"ı");
    const TEXTMETRICW tm = Metrics(dc);
    const RECT ink = canvas.Ink();
    EXPECT_EQ(ink.left, 2);
    EXPECT_EQ(ink.top, 1);
    EXPECT_EQ(ink.right, 2 + width);
    EXPECT_EQ(ink.bottom, 1 + tm.tmHeight);
    EXPECT_EQ(canvas.At(2, 1), kRed);

    canvas.Fill(kWhite);
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 2, 1, u"ı", 1);
    EXPECT_EQ(canvas.Count(kRed), 0);
    EXPECT_GT(40 * 20 - canvas.Count(kWhite), 0);
}

TEST(ExtTextOut, OpaqueRectangleAndClipping) {
    MemoryCanvas canvas(40, 20);
    HDC dc = canvas.dc();
    SetBkColor(dc, kRed);
    SetBkMode(dc, TRANSPARENT);
    RECT box{0, 0, 6, 20};
    ASSERT_TRUE(ExtTextOutW(dc, 2, 2, ETO_OPAQUE | ETO_CLIPPED, &box, u"WWWW", 4, nullptr));
    const RECT ink = canvas.Ink();
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.right, 6) << "clipped to the rectangle";
    EXPECT_EQ(ink.bottom, 20) << "the whole rectangle is filled";
    // Only the opaque rectangle, with no text: the usual way to fill with the background.
    canvas.Fill(kWhite);
    RECT bar{5, 5, 9, 7};
    ASSERT_TRUE(ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &bar, nullptr, 0, nullptr));
    EXPECT_EQ(canvas.Count(kRed), 8);
}

TEST(ExtTextOut, DxSpacesTheCharacters) {
    MemoryCanvas canvas(40, 20);
    HDC dc = canvas.dc();
    SetBkMode(dc, TRANSPARENT);
    const INT dx[] = {15, 15};
    ASSERT_TRUE(ExtTextOutW(dc, 0, 0, 0, nullptr, u"ll", 2, dx));
    std::vector<int> columns;
    for (int x = 0; x < 40; ++x) {
        for (int y = 0; y < 20; ++y) {
            if (canvas.At(x, y) != kWhite) {
                columns.push_back(x);
                break;
            }
        }
    }
    ASSERT_FALSE(columns.empty());
    const int first = columns.front();
    EXPECT_NE(std::find(columns.begin(), columns.end(), first + 15), columns.end());
    EXPECT_EQ(std::find(columns.begin(), columns.end(), first + 7), columns.end());
}

TEST(TextRendering, AntialiasedByDefaultMonochromeOnRequest) {
    auto distinctColours = [](BYTE quality) {
        FontCanvas canvas(40, 20, MakeFont(-12, u"Tahoma", FW_NORMAL, quality));
        SetBkMode(canvas.dc(), TRANSPARENT);
        TextOutW(canvas.dc(), 1, 1, u"Sa&w", 4);
        std::set<COLORREF> colours;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 40; ++x) {
                colours.insert(canvas.canvas.At(x, y));
            }
        }
        return colours;
    };
    EXPECT_GT(distinctColours(DEFAULT_QUALITY).size(), 2u);
    const std::set<COLORREF> mono = distinctColours(NONANTIALIASED_QUALITY);
    EXPECT_EQ(mono, (std::set<COLORREF>{kWhite, kBlack}));
}

TEST(TextRendering, UnderlineRunsUnderTheWholeText) {
    FontCanvas canvas(40, 20, MakeFont(-12, u"Tahoma", FW_NORMAL, NONANTIALIASED_QUALITY, 1));
    HDC dc = canvas.dc();
    SetBkMode(dc, TRANSPARENT);
    const TEXTMETRICW tm = Metrics(dc);
    EXPECT_EQ(tm.tmUnderlined, 255);
    TextOutW(dc, 2, 0, u"a b", 3);
    const int width = Width(dc, u"a b");
    bool found = false;
    for (int y = tm.tmAscent; y < tm.tmHeight && !found; ++y) {
        int run = 0;
        for (int x = 2; x < 2 + width; ++x) {
            run += canvas.canvas.At(x, y) == kBlack ? 1 : 0;
        }
        found = run == width;
    }
    EXPECT_TRUE(found) << "a full-width black row below the baseline";
}

TEST(TextRendering, StrikeoutCrossesAboveTheBaselineItalicSlants) {
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfStrikeOut = 1;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    FontCanvas canvas(40, 20, CreateFontIndirectW(&lf));
    HDC dc = canvas.dc();
    SetBkMode(dc, TRANSPARENT);
    const TEXTMETRICW tm = Metrics(dc);
    EXPECT_EQ(tm.tmStruckOut, 255);
    TextOutW(dc, 2, 0, u"o o", 3);
    const int width = Width(dc, u"o o");
    int fullRows = 0;
    for (int y = 0; y < tm.tmAscent; ++y) {
        int run = 0;
        for (int x = 2; x < 2 + width; ++x) {
            run += canvas.canvas.At(x, y) == kBlack ? 1 : 0;
        }
        fullRows += run == width ? 1 : 0;
    }
    EXPECT_GE(fullRows, 1) << "a full-width row through the letters, above the baseline";

    lf.lfStrikeOut = 0;
    lf.lfItalic = 1;
    FontCanvas italic(40, 20, CreateFontIndirectW(&lf));
    EXPECT_EQ(Metrics(italic.dc()).tmItalic, 255);
    SetBkMode(italic.dc(), TRANSPARENT);
    TextOutW(italic.dc(), 2, 0, u"l", 1);
    FontCanvas upright(40, 20, MakeFont(-12, u"Tahoma", FW_NORMAL, NONANTIALIASED_QUALITY));
    SetBkMode(upright.dc(), TRANSPARENT);
    TextOutW(upright.dc(), 2, 0, u"l", 1);
    EXPECT_GT(italic.canvas.Ink().right - italic.canvas.Ink().left,
              upright.canvas.Ink().right - upright.canvas.Ink().left)
        << "an oblique l leans, so it is wider than an upright one";
}

TEST(TextRendering, EveryTurkishLetterHasItsOwnGlyph) {
    // What a letter the font lacks would draw: the missing-glyph box.
    auto picture = [](char16_t letter) {
        FontCanvas canvas(20, 20, MakeFont(-12, u"Tahoma", FW_NORMAL, NONANTIALIASED_QUALITY));
        SetBkMode(canvas.dc(), TRANSPARENT);
        TextOutW(canvas.dc(), 2, 2, &letter, 1);
        return gdi_test::Picture(canvas.dc(), RECT{0, 0, 20, 20}, gdi_test::kBlackOnWhite);
    };
    const std::string missing = picture(u'\x0378');
    const std::u16string letters = u"çÇğĞıİöÖşŞüÜ";
    std::set<std::string> seen;
    for (char16_t letter : letters) {
        const std::string drawn = picture(letter);
        EXPECT_NE(drawn, missing) << static_cast<int>(letter);
        EXPECT_NE(drawn.find('#'), std::string::npos) << static_cast<int>(letter);
        EXPECT_TRUE(seen.insert(drawn).second) << "two letters look alike: "
                                               << static_cast<int>(letter);
    }
    // The dotless and dotted i differ from each other and from the ASCII ones.
    EXPECT_NE(picture(u'ı'), picture(u'i'));
    EXPECT_NE(picture(u'İ'), picture(u'I'));
}

TEST(TextRendering, DeletingAFontWhileSelectedKeepsTextWorking) {
    MemoryCanvas canvas(40, 20);
    HFONT font = MakeFont(-16);
    SelectObject(canvas.dc(), font);
    ASSERT_TRUE(DeleteObject(font));
    EXPECT_TRUE(TextOutW(canvas.dc(), 0, 0, u"ok", 2));
    EXPECT_EQ(Metrics(canvas.dc()).tmHeight - Metrics(canvas.dc()).tmInternalLeading, 16);
    SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetObjectType(font), 0u);
}

} // namespace
