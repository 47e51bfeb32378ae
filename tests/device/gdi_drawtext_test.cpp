// DrawTextW: measuring with DT_CALCRECT, line breaks and wrapping, prefixes, tabs, ellipsis,
// alignment and clipping. Several cases are reference tests: the same picture drawn two ways
// must match pixel for pixel, which survives font updates.
#include <gtest/gtest.h>

#include <string>

#include "gdi_test_canvas.h"

using gdi_test::MemoryCanvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

int Width(HDC dc, const std::u16string& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int LineHeight(HDC dc) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return tm.tmHeight;
}

RECT CalcRect(HDC dc, const std::u16string& text, UINT format, int width = 1000) {
    RECT r{10, 20, 10 + width, 20};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
    return r;
}

// How many pixels differ between two canvases of the same size.
int Differences(const MemoryCanvas& a, const MemoryCanvas& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += a.At(x, y) != b.At(x, y) ? 1 : 0;
        }
    }
    return count;
}

TEST(DrawTextCalcRect, SingleLineIsTheExtentAndDrawsNothing) {
    MemoryCanvas canvas(40, 30);
    HDC dc = canvas.dc();
    RECT r{3, 4, 5, 5};
    const int height = DrawTextW(dc, u"Adres", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(height, LineHeight(dc));
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.top, 4);
    EXPECT_EQ(r.right, 3 + Width(dc, u"Adres")) << "widened to the text";
    EXPECT_EQ(r.bottom, 4 + LineHeight(dc));
    EXPECT_EQ(canvas.Count(kWhite), 40 * 30);
}

TEST(DrawTextCalcRect, PrefixesAreResolvedBeforeMeasuring) {
    MemoryCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    const RECT prefixed = CalcRect(dc, u"&Kaydet", DT_SINGLELINE);
    EXPECT_EQ(prefixed.right - prefixed.left, Width(dc, u"Kaydet"));
    const RECT literal = CalcRect(dc, u"&Kaydet", DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(literal.right - literal.left, Width(dc, u"&Kaydet"));
    const RECT doubled = CalcRect(dc, u"A&&B", DT_SINGLELINE);
    EXPECT_EQ(doubled.right - doubled.left, Width(dc, u"A&B"));
}

TEST(DrawTextCalcRect, LineEndsMakeLinesUnlessSingleLine) {
    MemoryCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    const int line = LineHeight(dc);
    RECT r = CalcRect(dc, u"bir\niki\r\nüç\rdört", 0);
    EXPECT_EQ(r.bottom - r.top, 4 * line);
    EXPECT_EQ(r.right - r.left, Width(dc, u"dört"));
    r = CalcRect(dc, u"son\n", 0);
    EXPECT_EQ(r.bottom - r.top, line) << "a final line end opens no line";
    r = CalcRect(dc, u"a\n\nb", 0);
    EXPECT_EQ(r.bottom - r.top, 3 * line) << "an empty line between counts";
    r = CalcRect(dc, u"bir\niki", DT_SINGLELINE);
    EXPECT_EQ(r.bottom - r.top, line);
}

TEST(DrawTextCalcRect, WordBreakWrapsAtSpaces) {
    MemoryCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    const int line = LineHeight(dc);
    const int width = Width(dc, u"Yeni adres");
    const RECT r = CalcRect(dc, u"Yeni adres kaydet", DT_WORDBREAK, width + 2);
    EXPECT_EQ(r.bottom - r.top, 2 * line);
    EXPECT_EQ(r.right - r.left, width) << "the widest line, without the space at the break";
    const RECT all = CalcRect(dc, u"Yeni adres kaydet", DT_WORDBREAK, 1000);
    EXPECT_EQ(all.bottom - all.top, line);
    const RECT narrow = CalcRect(dc, u"a b c", DT_WORDBREAK, 1);
    EXPECT_EQ(narrow.bottom - narrow.top, 3 * line);
}

TEST(DrawTextCalcRect, LongWordsStayWholeUnlessEditControl) {
    MemoryCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    const int line = LineHeight(dc);
    const std::u16string word = u"Çekoslovakyalılaştıramadıklarımızdan";
    const int limit = Width(dc, word) / 3;
    const RECT whole = CalcRect(dc, word, DT_WORDBREAK, limit);
    EXPECT_EQ(whole.bottom - whole.top, line);
    EXPECT_EQ(whole.right - whole.left, Width(dc, word));
    const RECT split = CalcRect(dc, word, DT_WORDBREAK | DT_EDITCONTROL, limit);
    EXPECT_GE(split.bottom - split.top, 3 * line);
    EXPECT_LE(split.bottom - split.top, 4 * line);
    EXPECT_LE(split.right - split.left, limit);
}

TEST(DrawTextCalcRect, ExpandTabsJumpsToStopsOfEightAverageWidths) {
    MemoryCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const RECT tabbed = CalcRect(dc, u"a\tb", DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(tabbed.right - tabbed.left, 8 * tm.tmAveCharWidth + Width(dc, u"b"));
    const RECT two = CalcRect(dc, u"\t\tb", DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(two.right - two.left, 16 * tm.tmAveCharWidth + Width(dc, u"b"));
}

TEST(DrawTextCalcRect, EmptyTextIsAnEmptyRectangle) {
    MemoryCanvas canvas(4, 4);
    RECT r{5, 5, 50, 50};
    EXPECT_EQ(DrawTextW(canvas.dc(), u"", -1, &r, DT_CALCRECT), 0);
    EXPECT_EQ(r.right, 5);
    EXPECT_EQ(r.bottom, 5);
    EXPECT_EQ(DrawTextW(canvas.dc(), nullptr, 3, &r, 0), 0);
}

TEST(DrawTextEllipsis, CutsTheLineToFitAndEndsWithDots) {
    MemoryCanvas canvas(4, 4);
    HDC dc = canvas.dc();
    const std::u16string text = u"Uzun bir açıklama metni";
    const int limit = Width(dc, text) / 2;
    const RECT r = CalcRect(dc, text, DT_SINGLELINE | DT_END_ELLIPSIS, limit);
    EXPECT_LE(r.right - r.left, limit);
    EXPECT_GT(r.right - r.left, limit - Width(dc, u"W...")) << "keeps as much as fits";
    const RECT fits = CalcRect(dc, u"Kısa", DT_SINGLELINE | DT_END_ELLIPSIS, 200);
    EXPECT_EQ(fits.right - fits.left, Width(dc, u"Kısa")) << "no dots when it fits";
}

// Reference: the ellipsized text looks exactly like the kept prefix followed by "...".
TEST(DrawTextEllipsis, LooksLikeThePrefixWithDots) {
    MemoryCanvas probe(4, 4);
    const std::u16string text = u"Uzun bir açıklama metni";
    const int limit = Width(probe.dc(), text) / 2;
    const int dots = Width(probe.dc(), u"...");
    size_t keep = 0;
    while (keep < text.size() && Width(probe.dc(), text.substr(0, keep + 1)) + dots <= limit) {
        ++keep;
    }
    MemoryCanvas cut(200, 20);
    RECT r{0, 0, limit, 20};
    DrawTextW(cut.dc(), text.c_str(), -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
    MemoryCanvas expected(200, 20);
    const std::u16string shown = text.substr(0, keep) + u"...";
    TextOutW(expected.dc(), 0, 0, shown.c_str(), static_cast<int>(shown.size()));
    EXPECT_EQ(Differences(cut, expected), 0);
}

// Reference: plain DrawTextW at the top-left draws what TextOutW draws.
TEST(DrawTextDrawing, MatchesTextOutAtTheTopLeft) {
    MemoryCanvas drawn(120, 20);
    RECT r{3, 2, 120, 20};
    // No clipping: the dot of the İ reaches above the cell, where TextOutW draws it too.
    EXPECT_EQ(DrawTextW(drawn.dc(), u"Şişli İstanbul", -1, &r, DT_SINGLELINE | DT_NOCLIP),
              LineHeight(drawn.dc()));
    MemoryCanvas expected(120, 20);
    TextOutW(expected.dc(), 3, 2, u"Şişli İstanbul", 14);
    EXPECT_EQ(Differences(drawn, expected), 0);
}

TEST(DrawTextDrawing, IgnoresTheDcTextAlignmentAndCurrentPosition) {
    MemoryCanvas drawn(80, 20);
    SetTextAlign(drawn.dc(), TA_RIGHT | TA_BOTTOM | TA_UPDATECP);
    MoveToEx(drawn.dc(), 7, 7, nullptr);
    RECT r{3, 2, 80, 20};
    DrawTextW(drawn.dc(), u"Ara", -1, &r, DT_SINGLELINE);
    MemoryCanvas expected(80, 20);
    TextOutW(expected.dc(), 3, 2, u"Ara", 3);
    EXPECT_EQ(Differences(drawn, expected), 0);
    POINT position{};
    MoveToEx(drawn.dc(), 0, 0, &position);
    EXPECT_EQ(position.x, 7);
}

TEST(DrawTextDrawing, CentredRightAndVerticallyCentred) {
    MemoryCanvas canvas(4, 4);
    const int width = Width(canvas.dc(), u"Tamam");
    const int line = LineHeight(canvas.dc());
    auto drawAt = [](UINT format, RECT r, int* answer) {
        auto target = std::make_unique<MemoryCanvas>(100, 40);
        SetBkMode(target->dc(), TRANSPARENT);
        *answer = DrawTextW(target->dc(), u"Tamam", -1, &r, format);
        return target;
    };
    int answer = 0;
    const RECT box{10, 5, 90, 35};
    const RECT reference =
        drawAt(DT_SINGLELINE | DT_NOCLIP, RECT{10 + (80 - width) / 2, 5 + (30 - line) / 2, 200, 200}, &answer)
            ->Ink();
    const RECT centred = drawAt(DT_SINGLELINE | DT_CENTER | DT_VCENTER, box, &answer)->Ink();
    EXPECT_EQ(answer, (30 - line) / 2 + line) << "offset from the top to the text's bottom";
    EXPECT_EQ(centred.left, reference.left);
    EXPECT_EQ(centred.top, reference.top);
    EXPECT_EQ(centred.bottom, reference.bottom);
    const RECT right = drawAt(DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, box, &answer)->Ink();
    const RECT rightReference =
        drawAt(DT_SINGLELINE | DT_NOCLIP, RECT{90 - width, 35 - line, 200, 200}, &answer)->Ink();
    EXPECT_EQ(right.left, rightReference.left);
    EXPECT_EQ(right.bottom, rightReference.bottom);
    const RECT ignored = drawAt(DT_VCENTER, box, &answer)->Ink();
    EXPECT_LT(ignored.top, 5 + 3) << "DT_VCENTER needs DT_SINGLELINE";
    EXPECT_EQ(answer, line);
}

TEST(DrawTextDrawing, ClipsToTheRectangleUnlessNoClip) {
    MemoryCanvas canvas(100, 30);
    HDC dc = canvas.dc();
    SetBkMode(dc, TRANSPARENT);
    RECT r{5, 5, 20, 12};
    DrawTextW(dc, u"Geniş bir yazı", -1, &r, DT_SINGLELINE);
    RECT ink = canvas.Ink();
    EXPECT_GE(ink.left, 5);
    EXPECT_LE(ink.right, 20);
    EXPECT_LE(ink.bottom, 12);
    canvas.Fill(kWhite);
    DrawTextW(dc, u"Geniş bir yazı", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    ink = canvas.Ink();
    EXPECT_GT(ink.right, 20);
    EXPECT_GT(ink.bottom, 12);
}

TEST(DrawTextDrawing, PrefixUnderlinesOnlyTheMarkedCharacter) {
    MemoryCanvas marked(60, 20);
    MemoryCanvas plain(60, 20);
    RECT r{2, 2, 60, 20};
    DrawTextW(marked.dc(), u"K&aydet", -1, &r, DT_SINGLELINE);
    DrawTextW(plain.dc(), u"Kaydet", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    TEXTMETRICW tm{};
    GetTextMetricsW(plain.dc(), &tm);
    const int from = 2 + Width(plain.dc(), u"K");
    const int to = from + Width(plain.dc(), u"a");
    int changed = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (marked.At(x, y) == plain.At(x, y)) {
                continue;
            }
            ++changed;
            EXPECT_GE(y, 2 + tm.tmAscent) << "only below the baseline";
            EXPECT_GE(x, from);
            EXPECT_LT(x, to);
        }
    }
    EXPECT_GE(changed, to - from) << "a whole underline under the a";
}

TEST(DrawTextDrawing, WrappedLinesStackByTheLineHeight) {
    MemoryCanvas probe(4, 4);
    const int line = LineHeight(probe.dc());
    const int width = Width(probe.dc(), u"Kaydet");
    MemoryCanvas canvas(60, 60);
    RECT r{0, 0, width + 1, 60};
    EXPECT_EQ(DrawTextW(canvas.dc(), u"Kaydet Kaydet", -1, &r, DT_WORDBREAK), 2 * line);
    MemoryCanvas expected(60, 60);
    TextOutW(expected.dc(), 0, 0, u"Kaydet", 6);
    TextOutW(expected.dc(), 0, line, u"Kaydet", 6);
    EXPECT_EQ(Differences(canvas, expected), 0);
}

TEST(DrawTextDrawing, EditControlLeavesOutAPartlyVisibleLastLine) {
    MemoryCanvas probe(4, 4);
    const int line = LineHeight(probe.dc());
    MemoryCanvas canvas(60, 60);
    SetBkColor(canvas.dc(), RGB(255, 0, 0));
    RECT r{0, 0, 60, line + line / 2};
    DrawTextW(canvas.dc(), u"bir\niki", -1, &r, DT_EDITCONTROL);
    EXPECT_EQ(canvas.Ink().bottom, line);
    canvas.Fill(kWhite);
    DrawTextW(canvas.dc(), u"bir\niki", -1, &r, 0);
    EXPECT_EQ(canvas.Ink().bottom, r.bottom) << "without it, the clipped second line shows";
}

} // namespace
