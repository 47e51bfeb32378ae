// A font face at one size, loaded with FreeType: the metrics GetTextMetricsW reports and a
// cache of rendered glyphs, so that drawing text costs a lookup and a blend per glyph.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "wingdi.h"

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace device::gdi {

struct Glyph {
    bool loaded = false;
    int advance = 0; // pixels to the next pen position
    int left = 0;    // bitmap's left edge relative to the pen position
    int top = 0;     // bitmap's top row above the baseline
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage; // width * height, 0..255
};

// All in pixels, as TEXTMETRICW gives them.
struct FaceMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0; // ascent + descent: the cell height
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    bool fixedPitch = false;
    int underlineTop = 1; // rows below the baseline
    int underlineThickness = 1;
    int strikeoutTop = 4; // rows above the baseline
    int strikeoutThickness = 1;
};

struct FaceRequest {
    std::string file;
    int index = 0;
    LONG lfHeight = 0; // 0 = the system font's size
    bool bold = false;
    bool italic = false;
    bool fixedPitch = false;
    bool monochrome = false; // NONANTIALIASED_QUALITY
};

class FontFace {
public:
    // Null when FreeType cannot open the file.
    static std::unique_ptr<FontFace> Open(FT_Library library, const FaceRequest& request);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const FaceMetrics& Metrics() const { return m_metrics; }
    const std::u16string& FamilyName() const { return m_family; }
    bool Monochrome() const { return m_monochrome; }

    // The glyph of a code point, rendered on first use. Control characters have no ink and no
    // width; a code point the face lacks gets the face's missing-glyph box.
    const Glyph& GlyphOf(char32_t codePoint);
    int Advance(char32_t codePoint) { return GlyphOf(codePoint).advance; }

private:
    FontFace() = default;
    void Load(char32_t codePoint, Glyph& glyph);

    FT_Face m_face = nullptr;
    bool m_monochrome = false;
    FaceMetrics m_metrics;
    std::u16string m_family;
    // Latin, Latin-1 and Latin Extended-A (every Turkish letter) sit in a flat array.
    std::array<Glyph, 0x180> m_common;
    std::unordered_map<char32_t, Glyph> m_other;
};

// The system font's em height in pixels, what lfHeight 0 asks for.
inline constexpr int kSystemFontEm = 12;

// The face for a logical font: the description is mapped to DejaVu Sans (or DejaVu Sans Mono
// for fixed-pitch requests) through fontconfig, and opened once per distinct size and
// rendering. Null only when no font can be loaded at all.
FontFace* MatchFont(const LOGFONTW& logFont);

} // namespace device::gdi
