// The font mapper: turns a LOGFONTW into one of the pinned DejaVu faces through fontconfig and
// keeps every face it opens, so that matching and loading happen once per font in use.
//
// Not emulated: lfWidth (glyphs keep their natural width), lfEscapement and lfOrientation
// (text is always horizontal), serif and symbol faces (they get DejaVu Sans too), kerning.
// The font machinery is not thread-safe; the device draws from one thread.
#include <cstdio>
#include <map>
#include <tuple>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "gdi/font_face.h"
#include "gdi/objects.h"

namespace device::gdi {

namespace {

// The device's fonts. Every proportional face the programs ask for ("MS Sans Serif", "Tahoma",
// "", anything unknown) becomes DejaVu Sans, which has every Turkish letter; fixed-pitch
// requests become DejaVu Sans Mono.
constexpr const char* kSansFamily = "DejaVu Sans";
constexpr const char* kMonoFamily = "DejaVu Sans Mono";

bool SameFace(const WCHAR* face, const char* name) {
    size_t i = 0;
    for (; name[i] != '\0'; ++i) {
        WCHAR a = face[i];
        char b = name[i];
        if (a >= u'A' && a <= u'Z') {
            a = static_cast<WCHAR>(a - u'A' + u'a');
        }
        if (b >= 'A' && b <= 'Z') {
            b = static_cast<char>(b - 'A' + 'a');
        }
        if (a != static_cast<WCHAR>(b)) {
            return false;
        }
    }
    return face[i] == 0;
}

bool WantsFixedPitch(const LOGFONTW& lf) {
    if ((lf.lfPitchAndFamily & 0x03) == FIXED_PITCH || (lf.lfPitchAndFamily & 0xF0) == FF_MODERN) {
        return true;
    }
    for (const char* name : {"Courier New", "Courier", "Lucida Console", "Terminal", "Fixedsys",
                             "Consolas", "DejaVu Sans Mono"}) {
        if (SameFace(lf.lfFaceName, name)) {
            return true;
        }
    }
    return false;
}

struct FontFile {
    std::string path;
    int index = 0;
};

class FontSystem {
public:
    FontSystem() {
        if (FT_Init_FreeType(&m_library) != 0) {
            m_library = nullptr;
        }
    }
    ~FontSystem() {
        m_faces.clear(); // faces before the library that made them
        if (m_library != nullptr) {
            FT_Done_FreeType(m_library);
        }
        // Fontconfig keeps its configuration until told to let go; the device is its only
        // user, so it is let go with the fonts (the leak checker would report it otherwise).
        if (m_usedFontconfig) {
            FcFini();
        }
    }
    FontSystem(const FontSystem&) = delete;
    FontSystem& operator=(const FontSystem&) = delete;

    FontFace* Match(const LOGFONTW& lf) {
        if (m_library == nullptr) {
            return nullptr;
        }
        FaceRequest request;
        request.fixedPitch = WantsFixedPitch(lf);
        request.bold = lf.lfWeight >= FW_SEMIBOLD;
        request.italic = lf.lfItalic != 0;
        request.lfHeight = lf.lfHeight;
        request.monochrome = lf.lfQuality == NONANTIALIASED_QUALITY;
        const auto key = std::make_tuple(request.fixedPitch, request.bold, request.italic,
                                         request.lfHeight, request.monochrome);
        auto found = m_faces.find(key);
        if (found != m_faces.end()) {
            return found->second.get();
        }
        const FontFile* file = Locate(request.fixedPitch ? kMonoFamily : kSansFamily,
                                      request.bold, request.italic);
        if (file == nullptr) {
            return nullptr;
        }
        request.file = file->path;
        request.index = file->index;
        std::unique_ptr<FontFace> face = FontFace::Open(m_library, request);
        FontFace* raw = face.get();
        if (raw != nullptr) {
            m_faces.emplace(key, std::move(face));
        }
        return raw;
    }

private:
    // Asks fontconfig for the family in the wanted weight and slant (DejaVu Sans Bold, DejaVu
    // Sans Oblique, ...). Results are kept, found or not.
    const FontFile* Locate(const char* family, bool bold, bool italic) {
        const auto key = std::make_tuple(std::string(family), bold, italic);
        auto found = m_files.find(key);
        if (found != m_files.end()) {
            return found->second.path.empty() ? nullptr : &found->second;
        }
        FontFile file;
        m_usedFontconfig = true;
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_OBLIQUE : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        if (match != nullptr) {
            FcChar8* path = nullptr;
            FcChar8* matchedFamily = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
                file.path = reinterpret_cast<const char*>(path);
            }
            FcPatternGetInteger(match, FC_INDEX, 0, &file.index);
            if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch &&
                std::string(reinterpret_cast<const char*>(matchedFamily)) != family) {
                // Text still draws, but not with the pinned face: measurements will differ.
                std::fprintf(stderr, "device: font '%s' not installed, using '%s'\n", family,
                             reinterpret_cast<const char*>(matchedFamily));
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
        auto stored = m_files.emplace(key, std::move(file)).first;
        return stored->second.path.empty() ? nullptr : &stored->second;
    }

    FT_Library m_library = nullptr;
    bool m_usedFontconfig = false;
    std::map<std::tuple<std::string, bool, bool>, FontFile> m_files;
    std::map<std::tuple<bool, bool, bool, LONG, bool>, std::unique_ptr<FontFace>> m_faces;
};

FontSystem& Fonts() {
    static FontSystem fonts;
    return fonts;
}

} // namespace

FontFace* MatchFont(const LOGFONTW& logFont) { return Fonts().Match(logFont); }

FontFace* FaceOfFont(FontObject& font) {
    if (font.face == nullptr) {
        font.face = MatchFont(font.logFont);
    }
    return font.face;
}

} // namespace device::gdi
