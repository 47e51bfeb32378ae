// FreeType faces: sizing from a LOGFONTW height the way the Windows font mapper does (a
// positive height is the cell, a negative one the em), metrics, and glyph rendering with
// light hinting and grayscale antialiasing, or monochrome on request.
#include "gdi/font_face.h"

#include <algorithm>
#include <cmath>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

namespace device::gdi {

namespace {

int RoundToInt(double value) { return static_cast<int>(std::lround(value)); }

std::u16string Widen(const char* text) {
    std::u16string wide;
    for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(*p)));
    }
    return wide;
}

} // namespace

std::unique_ptr<FontFace> FontFace::Open(FT_Library library, const FaceRequest& request) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, request.file.c_str(), request.index, &face) != 0) {
        return nullptr;
    }
    std::unique_ptr<FontFace> result(new FontFace());
    result->m_face = face;
    result->m_monochrome = request.monochrome;
    result->m_family = Widen(face->family_name);

    // Windows sizes TrueType fonts by the OS/2 "win" ascent and descent: a positive lfHeight is
    // their sum in pixels, a negative one the em.
    const double unitsPerEm = face->units_per_EM != 0 ? face->units_per_EM : 2048;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double winAscent = os2 != nullptr ? os2->usWinAscent : face->ascender;
    const double winDescent = os2 != nullptr ? os2->usWinDescent : -face->descender;
    double em = kSystemFontEm;
    if (request.lfHeight < 0) {
        em = -static_cast<double>(request.lfHeight);
    } else if (request.lfHeight > 0) {
        em = request.lfHeight * unitsPerEm / (winAscent + winDescent);
    }
    const FT_F26Dot6 em26 = std::max<FT_F26Dot6>(64, std::lround(em * 64));
    FT_Set_Char_Size(face, 0, em26, 72, 72);
    em = em26 / 64.0;
    const double scale = em / unitsPerEm;

    FaceMetrics& m = result->m_metrics;
    m.ascent = RoundToInt(winAscent * scale);
    m.descent = request.lfHeight > 0 ? std::max(0, static_cast<int>(request.lfHeight) - m.ascent)
                                     : RoundToInt(winDescent * scale);
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - RoundToInt(em));
    const double lineGap = face->height - (face->ascender - face->descender);
    m.externalLeading = std::max(0, RoundToInt(lineGap * scale));
    m.maxCharWidth = RoundToInt(face->max_advance_width * scale);
    m.weight = request.bold ? FW_BOLD : FW_NORMAL;
    m.italic = request.italic;
    m.fixedPitch = FT_IS_FIXED_WIDTH(face) != 0;
    m.underlineThickness = std::max(1, RoundToInt(face->underline_thickness * scale));
    m.underlineTop = std::clamp(RoundToInt(-face->underline_position * scale), 1,
                                std::max(1, m.descent - m.underlineThickness));
    if (os2 != nullptr && os2->yStrikeoutSize > 0) {
        m.strikeoutThickness = std::max(1, RoundToInt(os2->yStrikeoutSize * scale));
        m.strikeoutTop = std::max(1, RoundToInt(os2->yStrikeoutPosition * scale));
    } else {
        m.strikeoutThickness = m.underlineThickness;
        m.strikeoutTop = std::max(1, m.ascent / 3);
    }
    m.aveCharWidth = os2 != nullptr && os2->xAvgCharWidth > 0
                         ? RoundToInt(os2->xAvgCharWidth * scale)
                         : result->Advance(U'x');
    return result;
}

FontFace::~FontFace() {
    if (m_face != nullptr) {
        FT_Done_Face(m_face);
    }
}

const Glyph& FontFace::GlyphOf(char32_t codePoint) {
    Glyph* glyph = nullptr;
    if (codePoint < m_common.size()) {
        glyph = &m_common[codePoint];
    } else {
        glyph = &m_other[codePoint];
    }
    if (!glyph->loaded) {
        Load(codePoint, *glyph);
        glyph->loaded = true;
    }
    return *glyph;
}

void FontFace::Load(char32_t codePoint, Glyph& glyph) {
    if (codePoint < 0x20 || codePoint == 0x7F) {
        return;
    }
    const FT_UInt index = FT_Get_Char_Index(m_face, codePoint);
    const FT_Int32 flags = m_monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT;
    if (FT_Load_Glyph(m_face, index, flags) != 0) {
        return;
    }
    FT_GlyphSlot slot = m_face->glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, m_monochrome ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_LIGHT) != 0) {
        return;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
    for (int row = 0; row < glyph.height; ++row) {
        const unsigned char* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
        uint8_t* target = glyph.coverage.data() + static_cast<size_t>(row) * glyph.width;
        for (int column = 0; column < glyph.width; ++column) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                const bool set = (source[column >> 3] & (0x80 >> (column & 7))) != 0;
                target[column] = set ? 255 : 0;
            } else {
                target[column] = source[column];
            }
        }
    }
}

} // namespace device::gdi
