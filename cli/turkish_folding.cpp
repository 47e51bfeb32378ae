// The Turkish foldings, worked out on the letters and turned into byte tables through the
// code page once.
#include "turkish_folding.h"

#include "winbase.h"
#include "winnls.h"

namespace {

char16_t TurkishLower(char16_t c) {
    switch (c) {
    case u'I':
        return u'ı';
    case u'İ':
        return u'i';
    case u'Ğ':
    case u'Ş':
    case u'Š':
    case u'Œ':
        return static_cast<char16_t>(c + 1);
    case u'Ÿ':
        return u'ÿ';
    default:
        break;
    }
    if ((c >= u'A' && c <= u'Z') || (c >= u'À' && c <= u'Þ' && c != u'×')) {
        return static_cast<char16_t>(c + 0x20);
    }
    return c;
}

char16_t WithoutMark(char16_t c) {
    switch (c) {
    case u'ç':
        return u'c';
    case u'ş':
        return u's';
    case u'ğ':
        return u'g';
    case u'ı':
    case u'î':
        return u'i';
    case u'ö':
        return u'o';
    case u'ü':
    case u'û':
        return u'u';
    case u'â':
        return u'a';
    default:
        return c;
    }
}

TNameFolding MakeFolding(bool withoutMarks) {
    TNameFolding folding{};
    for (int byte = 0; byte < 256; ++byte) {
        const char ansi = static_cast<char>(byte);
        WCHAR unit = 0;
        MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, &ansi, 1, &unit, 1);
        unit = TurkishLower(unit);
        if (withoutMarks) {
            unit = WithoutMark(unit);
        }
        char folded = ansi;
        BOOL unmapped = FALSE;
        WideCharToMultiByte(CP_ACP, 0, &unit, 1, &folded, 1, nullptr, &unmapped);
        folding[static_cast<size_t>(byte)] = static_cast<unsigned char>(unmapped ? ansi : folded);
    }
    return folding;
}

} // namespace

const TNameFolding& TurkishCaseFolding() {
    static const TNameFolding folding = MakeFolding(false);
    return folding;
}

const TNameFolding& TurkishMarkFolding() {
    static const TNameFolding folding = MakeFolding(true);
    return folding;
}
