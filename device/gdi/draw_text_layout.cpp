// DrawTextW's layout. Order matters: prefixes are resolved first (so "&&" never starts a
// break or an underline), then the text is cut at line ends, wrapped at spaces, and finally
// lines too wide for the rectangle get their end ellipsis.
#include "gdi/draw_text_layout.h"

#include <algorithm>

#include "gdi/text_run.h"

namespace device::gdi {

namespace {

struct Marked {
    std::u16string text;
    std::vector<bool> underlined;
};

// '&' underlines the next character and disappears; "&&" stands for one '&'. A '&' at the very
// end disappears as well.
Marked ResolvePrefixes(const WCHAR* text, int count, bool process) {
    Marked marked;
    bool underlineNext = false;
    for (int i = 0; i < count; ++i) {
        const WCHAR unit = text[i];
        if (process && unit == u'&' && !underlineNext) {
            if (i + 1 < count && text[i + 1] == u'&') {
                marked.text.push_back(u'&');
                marked.underlined.push_back(false);
                ++i;
            } else {
                underlineNext = true;
            }
            continue;
        }
        marked.text.push_back(unit);
        marked.underlined.push_back(underlineNext);
        underlineNext = false;
    }
    return marked;
}

// Advances of text[from, to) for a line starting at from: tabs jump to the next stop.
std::vector<int> LineAdvances(FontFace& face, const std::u16string& text, size_t from, size_t to,
                              const LayoutOptions& options) {
    std::vector<int> advances;
    MeasureRun(face, text.data() + from, static_cast<int>(to - from), &advances);
    if (options.expandTabs) {
        int x = 0;
        for (size_t i = 0; i < advances.size(); ++i) {
            if (text[from + i] == u'\t') {
                const int stop = std::max(1, options.tabWidth);
                advances[i] = stop - x % stop;
            }
            x += advances[i];
        }
    }
    return advances;
}

LayoutLine MakeLine(FontFace& face, const Marked& source, size_t from, size_t to,
                    const LayoutOptions& options) {
    LayoutLine line;
    line.text = source.text.substr(from, to - from);
    line.underlined.assign(source.underlined.begin() + static_cast<ptrdiff_t>(from),
                           source.underlined.begin() + static_cast<ptrdiff_t>(to));
    line.advances = LineAdvances(face, source.text, from, to, options);
    for (int advance : line.advances) {
        line.width += advance;
    }
    return line;
}

bool IsSpace(WCHAR unit) { return unit == u' ' || unit == u'\t'; }

// Greedy wrapping of one paragraph [from, to): each line takes as many words as fit, the
// spaces at a break are dropped, and a word that fits no line is kept whole (or split when
// breakLongWords is set).
void WrapParagraph(FontFace& face, const Marked& source, size_t from, size_t to,
                   const LayoutOptions& options, std::vector<LayoutLine>* lines) {
    const std::u16string& text = source.text;
    auto skipSpaces = [&](size_t i) {
        while (i < to && IsSpace(text[i])) {
            ++i;
        }
        return i;
    };
    size_t start = from;
    do {
        const std::vector<int> advances = LineAdvances(face, text, start, to, options);
        int x = 0;
        size_t i = start;
        size_t wordEnd = start; // end of the last word that fits, start when none
        // Spaces may hang past the edge; only a visible character overflows the line.
        while (i < to) {
            const int advance = advances[i - start];
            if (!IsSpace(text[i]) && i > start && x + advance > options.maxWidth) {
                break;
            }
            x += advance;
            ++i;
            if (i < to && IsSpace(text[i]) && !IsSpace(text[i - 1])) {
                wordEnd = i;
            }
        }
        size_t lineEnd = i;
        size_t next = i;
        if (i < to) {
            if (wordEnd > start) {
                lineEnd = wordEnd;
                next = skipSpaces(wordEnd);
            } else if (!options.breakLongWords) {
                while (lineEnd < to && !IsSpace(text[lineEnd])) {
                    ++lineEnd;
                }
                next = skipSpaces(lineEnd);
            }
        }
        while (lineEnd > start && IsSpace(text[lineEnd - 1])) {
            --lineEnd;
        }
        lines->push_back(MakeLine(face, source, start, lineEnd, options));
        start = next;
    } while (start < to);
}

void AddEllipsis(FontFace& face, LayoutLine& line, const LayoutOptions& options) {
    if (line.width <= options.maxWidth) {
        return;
    }
    const std::u16string dots = u"...";
    const int dotsWidth = RunWidth(face, dots.data(), 3);
    size_t keep = 0;
    int width = 0;
    while (keep < line.text.size() && width + line.advances[keep] + dotsWidth <= options.maxWidth) {
        width += line.advances[keep];
        ++keep;
    }
    // Do not end on the first half of a surrogate pair.
    if (keep > 0 && line.text[keep - 1] >= 0xD800 && line.text[keep - 1] <= 0xDBFF) {
        --keep;
        width -= line.advances[keep];
    }
    line.text.resize(keep);
    line.underlined.resize(keep);
    line.advances.resize(keep);
    std::vector<int> dotAdvances;
    MeasureRun(face, dots.data(), 3, &dotAdvances);
    for (int i = 0; i < 3; ++i) {
        line.text.push_back(u'.');
        line.underlined.push_back(false);
        line.advances.push_back(dotAdvances[i]);
    }
    line.width = width + dotsWidth;
}

} // namespace

std::vector<LayoutLine> LayOutText(FontFace& face, const WCHAR* text, int count,
                                   const LayoutOptions& options) {
    const Marked marked = ResolvePrefixes(text, count, options.processPrefixes);
    std::vector<LayoutLine> lines;
    const size_t length = marked.text.size();
    if (options.singleLine) {
        lines.push_back(MakeLine(face, marked, 0, length, options));
    } else {
        size_t start = 0;
        while (true) {
            size_t end = start;
            while (end < length && marked.text[end] != u'\r' && marked.text[end] != u'\n') {
                ++end;
            }
            if (options.wordBreak && end > start) {
                WrapParagraph(face, marked, start, end, options, &lines);
            } else {
                lines.push_back(MakeLine(face, marked, start, end, options));
            }
            if (end >= length) {
                break;
            }
            // CR LF, LF and a lone CR each end a line.
            start = end + 1;
            if (marked.text[end] == u'\r' && start < length && marked.text[start] == u'\n') {
                ++start;
            }
            if (start >= length) {
                break; // a final line end opens no empty line
            }
        }
    }
    if (options.endEllipsis) {
        for (LayoutLine& line : lines) {
            AddEllipsis(face, line, options);
        }
    }
    return lines;
}

} // namespace device::gdi
