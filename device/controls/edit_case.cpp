// Case mapping for ES_UPPERCASE and ES_LOWERCASE: Unicode's simple (one character to one
// character) mapping, without any language's rules.
//
// The Turkish dotted and dotless i follow the Unicode default, not Turkish: 'i' becomes
// 'I' and U+0131 (dotless ı) also becomes 'I'; U+0130 (İ) becomes 'i' and 'I' becomes 'i'.
// This matches what a per-character mapping on the platform does. The table covers Basic
// Latin, Latin-1, Latin Extended-A, Greek and Cyrillic; other characters are left as they are.
#include "controls/edit_state.h"

namespace device::edit {
namespace {

struct Range {
    char16_t first; // first upper-case character
    char16_t last;
    int delta;  // lower = upper + delta
    bool pairs; // upper and lower alternate (even/odd), delta 1
};

// Ranges of upper-case letters and how to reach their lower-case forms.
constexpr Range kRanges[] = {
    {u'A', u'Z', 32, false},     {0x00C0, 0x00D6, 32, false},
    {0x00D8, 0x00DE, 32, false}, {0x0100, 0x012F, 1, true},
    {0x0132, 0x0137, 1, true},   {0x0139, 0x0148, 1, true}, // odd upper, even lower
    {0x014A, 0x0177, 1, true},   {0x0179, 0x017E, 1, true}, // odd upper, even lower
    {0x0391, 0x03A1, 32, false}, {0x03A3, 0x03AB, 32, false},
    {0x0400, 0x040F, 80, false}, {0x0410, 0x042F, 32, false},
    {0x0460, 0x0481, 1, true},   {0x048A, 0x04BF, 1, true},
};

// Characters outside the regular ranges.
struct Pair {
    char16_t upper;
    char16_t lower;
};
constexpr Pair kSingles[] = {
    {0x0178, 0x00FF}, // Ÿ ÿ
    {0x0386, 0x03AC}, {0x0388, 0x03AD}, {0x0389, 0x03AE}, {0x038A, 0x03AF},
    {0x038C, 0x03CC}, {0x038E, 0x03CD}, {0x038F, 0x03CE},
};

// Lower-case characters whose upper-case form is not their pair's (one direction only).
constexpr Pair kUpperOnly[] = {
    {u'I', 0x0131},   // ı dotless i
    {0x039C, 0x00B5}, // µ micro sign
    {0x03A3, 0x03C2}, // ς final sigma
    {u'S', 0x017F},   // ſ long s
};

bool IsUpperInPairRange(const Range& range, char16_t c) {
    // In the even/odd ranges the upper-case letter has the parity of the range's start.
    return ((c - range.first) % 2) == 0;
}

} // namespace

char16_t ToLower(char16_t c) {
    if (c == 0x0130) {
        return u'i'; // İ: the default mapping, not Turkish's
    }
    for (const Range& range : kRanges) {
        if (c >= range.first && c <= range.last) {
            if (range.pairs) {
                return IsUpperInPairRange(range, c) ? static_cast<char16_t>(c + 1) : c;
            }
            return static_cast<char16_t>(c + range.delta);
        }
    }
    for (const Pair& pair : kSingles) {
        if (pair.upper == c) {
            return pair.lower;
        }
    }
    return c;
}

char16_t ToUpper(char16_t c) {
    for (const Pair& pair : kUpperOnly) {
        if (pair.lower == c) {
            return pair.upper;
        }
    }
    for (const Range& range : kRanges) {
        if (range.pairs) {
            if (c > range.first && c <= range.last && !IsUpperInPairRange(range, c)) {
                return static_cast<char16_t>(c - 1);
            }
            continue;
        }
        int upper = c - range.delta;
        if (upper >= range.first && upper <= range.last) {
            return static_cast<char16_t>(upper);
        }
    }
    for (const Pair& pair : kSingles) {
        if (pair.lower == c) {
            return pair.upper;
        }
    }
    return c;
}

} // namespace device::edit
