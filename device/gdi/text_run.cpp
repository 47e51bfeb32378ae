// Measuring and drawing runs of text with cached glyphs.
#include "gdi/text_run.h"

#include "gdi/raster.h"

namespace device::gdi {

namespace {

bool IsHighSurrogate(WCHAR unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(WCHAR unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The code point starting at text[i], and how many units it takes.
char32_t CodePointAt(const WCHAR* text, int count, int i, int* units) {
    const WCHAR unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(text[i + 1])) {
        *units = 2;
        return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
               (static_cast<char32_t>(text[i + 1]) - 0xDC00);
    }
    *units = 1;
    return unit;
}

} // namespace

DcFont FontOf(const DcObject& dc) {
    DcFont result;
    result.font = Find<FontObject>(dc.state.font);
    if (result.font != nullptr) {
        result.face = FaceOfFont(*result.font);
    }
    return result;
}

void MeasureRun(FontFace& face, const WCHAR* text, int count, std::vector<int>* advances) {
    advances->assign(static_cast<size_t>(count > 0 ? count : 0), 0);
    for (int i = 0; i < count;) {
        int units = 1;
        const char32_t codePoint = CodePointAt(text, count, i, &units);
        (*advances)[i] = face.Advance(codePoint);
        i += units;
    }
}

int RunWidth(FontFace& face, const WCHAR* text, int count) {
    int width = 0;
    for (int i = 0; i < count;) {
        int units = 1;
        width += face.Advance(CodePointAt(text, count, i, &units));
        i += units;
    }
    return width;
}

void DrawRun(DcObject& dc, FontFace& face, const WCHAR* text, int count, int x, int baseline,
             const int* advances, const RunStyle& style, const RECT& limit) {
    const int start = x;
    for (int i = 0; i < count;) {
        int units = 1;
        const char32_t codePoint = CodePointAt(text, count, i, &units);
        const Glyph& glyph = face.GlyphOf(codePoint);
        if (!glyph.coverage.empty()) {
            BlendMask(dc, limit, x + glyph.left, baseline - glyph.top, glyph.width, glyph.height,
                      glyph.coverage.data(), glyph.width, style.pixel);
        }
        if (advances != nullptr) {
            for (int k = 0; k < units; ++k) {
                x += advances[i + k];
            }
        } else {
            x += glyph.advance;
        }
        i += units;
    }
    const FaceMetrics& metrics = face.Metrics();
    if (style.underline) {
        const int top = baseline + metrics.underlineTop;
        FillSurfaceRect(dc,
                        IntersectRects(RECT{start, top, x, top + metrics.underlineThickness}, limit),
                        style.pixel, Mix::Copy);
    }
    if (style.strikeout) {
        const int top = baseline - metrics.strikeoutTop;
        FillSurfaceRect(dc,
                        IntersectRects(RECT{start, top, x, top + metrics.strikeoutThickness}, limit),
                        style.pixel, Mix::Copy);
    }
}

} // namespace device::gdi
