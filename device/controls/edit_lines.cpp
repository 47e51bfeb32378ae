// The EDIT control's lines: measuring characters in the control's font, breaking the text
// into lines (word wrap for a multi-line control that does not scroll sideways), and,
// after an edit, laying out again only the lines that the edit reaches.
#include "controls/edit_state.h"

#include <algorithm>
#include <climits>

namespace device::edit {
namespace {

// Tab stops every 8 average characters (the platform's 32 dialog units).
constexpr int kTabStopCharacters = 8;

// A memory DC with the control's font selected, for measuring.
class Measurer {
public:
    explicit Measurer(const State& state) : m_dc(CreateCompatibleDC(nullptr)) {
        m_previous = SelectObject(m_dc, ControlFont(state));
    }
    ~Measurer() {
        SelectObject(m_dc, m_previous);
        DeleteDC(m_dc);
    }
    Measurer(const Measurer&) = delete;
    Measurer& operator=(const Measurer&) = delete;

    HDC Dc() const { return m_dc; }

    // Each character's own advance.
    std::vector<int> Advances(std::u16string_view text) const {
        std::vector<int> advances(text.size(), 0);
        if (text.empty()) {
            return advances;
        }
        std::vector<int> cumulative(text.size(), 0);
        SIZE size{};
        GetTextExtentExPointW(m_dc, text.data(), static_cast<int>(text.size()), 0, nullptr,
                              cumulative.data(), &size);
        for (size_t i = 0; i < text.size(); ++i) {
            advances[i] = cumulative[i] - (i > 0 ? cumulative[i - 1] : 0);
        }
        return advances;
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous = nullptr;
};

bool IsBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}
bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool IsPassword(const State& state) {
    return !state.multiLine && state.passwordChar != 0;
}

// Fills `measured[from, to)` with the advances of `text[from, to)`. A password box shows
// every character as the password character.
void Measure(const State& state, std::u16string_view text, int from, int to,
             std::vector<int>* measured) {
    if (from >= to) {
        return;
    }
    Measurer measurer(state);
    auto out = measured->begin() + from;
    if (IsPassword(state)) {
        std::fill_n(out, to - from,
                    measurer.Advances(std::u16string_view(&state.passwordChar, 1))[0]);
        return;
    }
    std::vector<int> advances =
        measurer.Advances(text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
    std::copy(advances.begin(), advances.end(), out);
}

// Replaces `count` entries at `at` with `replacement` zeros.
void Splice(std::vector<int>* values, int at, int count, int replacement) {
    auto position = values->erase(values->begin() + at, values->begin() + at + count);
    values->insert(position, static_cast<size_t>(replacement), 0);
}

// Breaks the text into lines: greedy, after white space when a word would cross the
// width, inside a word that is wider than the line; spaces may hang past the edge. Every
// line starts afresh (x 0, no break seen), so from a line start onwards the lines depend
// only on the text from there: that is what lets an edit stop laying out once it reaches
// a line start that the old layout had at the same place.
class LineBreaker {
public:
    LineBreaker(const State& state, std::u16string_view text, Layout* layout,
                std::vector<Line>* out)
        : m_text(text), m_layout(*layout), m_out(*out), m_singleLine(!state.multiLine),
          m_width(Wraps(state) ? FormatWidth(state) : INT_MAX),
          m_tabStop(std::max(1, state.averageWidth * kTabStopCharacters)) {}

    // Lays out from `index`, `x` pixels into the line that begins at `lineStart`, until
    // `stop(start of the next line)` answers true. Returns where it stopped, or -1 when it
    // reached the end of the text.
    template <class Stop>
    int Run(int lineStart, int index, int x, Stop stop) {
        const int length = static_cast<int>(m_text.size());
        while (true) {
            int end = index;
            if (m_singleLine) {
                end = length;
            } else {
                while (end < length && !IsBreak(m_text[static_cast<size_t>(end)])) {
                    ++end;
                }
            }
            int breakLength = 0;
            if (end < length) {
                breakLength = m_text[static_cast<size_t>(end)] == u'\r' && end + 1 < length &&
                                      m_text[static_cast<size_t>(end) + 1] == u'\n'
                                  ? 2
                                  : 1;
            }
            int lastBreak = -1;
            for (int i = index; i < end;) {
                char16_t c = m_text[static_cast<size_t>(i)];
                int advance = c == u'\t' ? m_tabStop - x % m_tabStop
                                         : m_layout.measured[static_cast<size_t>(i)];
                if (x + advance > m_width && i > lineStart && c != u' ') {
                    int breakAt = lastBreak > lineStart ? lastBreak : i;
                    Add(lineStart, breakAt, 0,
                        breakAt < i ? m_layout.offsets[static_cast<size_t>(breakAt)] : x);
                    if (stop(breakAt)) {
                        // The word carried over was placed on the line before; it holds no
                        // tab or space, so it fits the new line as it is.
                        for (int j = breakAt, carried = 0; j < i; ++j) {
                            m_layout.offsets[static_cast<size_t>(j)] = carried;
                            carried += m_layout.advances[static_cast<size_t>(j)];
                        }
                        return breakAt;
                    }
                    lineStart = i = breakAt;
                    x = 0;
                    lastBreak = -1;
                    continue;
                }
                m_layout.advances[static_cast<size_t>(i)] = advance;
                m_layout.offsets[static_cast<size_t>(i)] = x;
                x += advance;
                if (c == u' ' || c == u'\t') {
                    lastBreak = i + 1;
                }
                ++i;
            }
            Add(lineStart, end, breakLength, x);
            for (int i = end; i < end + breakLength; ++i) {
                m_layout.advances[static_cast<size_t>(i)] = 0;
                m_layout.offsets[static_cast<size_t>(i)] = x;
            }
            if (breakLength == 0) {
                return -1;
            }
            lineStart = index = end + breakLength;
            x = 0;
            if (stop(lineStart)) {
                return lineStart;
            }
        }
    }

private:
    void Add(int start, int end, int breakLength, int width) {
        m_out.push_back(Line{start, end - start, breakLength, width});
    }

    std::u16string_view m_text;
    Layout& m_layout;
    std::vector<Line>& m_out;
    bool m_singleLine;
    int m_width;
    int m_tabStop;
};

int Widest(const std::vector<Line>& lines, size_t from, size_t to) {
    int widest = 0;
    for (size_t i = from; i < to; ++i) {
        widest = std::max(widest, lines[i].width);
    }
    return widest;
}

// What is drawn for a character: the password character, or a space for a tab.
char16_t Shown(const State& state, char16_t c) {
    if (IsPassword(state)) {
        return state.passwordChar;
    }
    return c == u'\t' ? u' ' : c;
}

} // namespace

bool Wraps(const State& state) {
    return state.multiLine && (Style(state) & ES_AUTOHSCROLL) == 0 && !state.hasHorzBar;
}

bool ScrollsSideways(const State& state) {
    return state.multiLine ? !Wraps(state) : (Style(state) & ES_AUTOHSCROLL) != 0;
}

int FormatWidth(const State& state) {
    return state.formatRect.right - state.formatRect.left;
}

void UpdateMetrics(State& state) {
    {
        Measurer measurer(state);
        TEXTMETRICW metrics{};
        if (GetTextMetricsW(measurer.Dc(), &metrics)) {
            state.lineHeight = std::max<int>(1, metrics.tmHeight);
            state.averageWidth = std::max<int>(1, metrics.tmAveCharWidth);
        }
    }
    UpdateFormatRect(state);
}

Layout LayOut(const State& state, std::u16string_view text) {
    Layout layout;
    const int length = static_cast<int>(text.size());
    layout.measured.assign(text.size(), 0);
    layout.advances.assign(text.size(), 0);
    layout.offsets.assign(text.size(), 0);
    Measure(state, text, 0, length, &layout.measured);
    LineBreaker(state, text, &layout, &layout.lines).Run(0, 0, 0, [](int) { return false; });
    layout.widest = Widest(layout.lines, 0, layout.lines.size());
    return layout;
}

void Relayout(State& state) {
    state.layout = LayOut(state, state.text);
    state.shown.resize(state.text.size());
    std::transform(state.text.begin(), state.text.end(), state.shown.begin(),
                   [&state](char16_t c) { return Shown(state, c); });
    KeepScrollInRange(state);
}

void RelayoutAfterEdit(State& state, int start, int removed, int inserted) {
    Layout& layout = state.layout;
    const std::u16string& text = state.text;
    const int length = static_cast<int>(text.size());
    const int delta = inserted - removed;

    // Where laying out resumes, found in the old lines (everything before `start` is as it
    // was). A line break just before the edit may join one it inserts ("\r" + "\n"). A
    // wrapped line depends on the words of the line after it (one that gets shorter may
    // move up), so wrapping resumes a line earlier; without wrapping it resumes at the edit
    // itself, x pixels into its line.
    const bool afterBreak =
        state.multiLine && start > 0 && IsBreak(text[static_cast<size_t>(start) - 1]);
    const int first = LineOf(state, afterBreak ? start - 1 : start);
    const int resumeLine = Wraps(state) ? std::max(0, first - 1) : first;
    // The new characters are measured together with a surrogate half on either side that
    // they may have completed or split.
    int measureFrom = start;
    int measureTo = start + inserted;
    if (measureFrom > 0 && IsHighSurrogate(text[static_cast<size_t>(measureFrom) - 1])) {
        --measureFrom;
    }
    if (measureTo < length && IsLowSurrogate(text[static_cast<size_t>(measureTo)])) {
        ++measureTo;
    }
    const int lineStart = layout.lines[static_cast<size_t>(resumeLine)].start;
    int resume = lineStart;
    int x = 0;
    if (!Wraps(state) && !afterBreak && measureFrom > lineStart) {
        resume = measureFrom;
        x = layout.offsets[static_cast<size_t>(resume) - 1] +
            layout.advances[static_cast<size_t>(resume) - 1];
    }

    Splice(&layout.measured, start, removed, inserted);
    Splice(&layout.advances, start, removed, inserted);
    Splice(&layout.offsets, start, removed, inserted);
    Measure(state, text, measureFrom, measureTo, &layout.measured);
    state.shown.replace(static_cast<size_t>(start), static_cast<size_t>(removed),
                        static_cast<size_t>(inserted), u' ');
    for (int i = start; i < start + inserted; ++i) {
        state.shown[static_cast<size_t>(i)] = Shown(state, text[static_cast<size_t>(i)]);
    }

    // Lay out until a line starts past the edit where an old line started (moved by the
    // edit's length): from there on the old lines are still right.
    std::vector<Line>& lines = layout.lines;
    size_t oldLine = static_cast<size_t>(resumeLine) + 1;
    std::vector<Line> fresh;
    LineBreaker breaker(state, text, &layout, &fresh);
    const int stoppedAt = breaker.Run(lineStart, resume, x, [&](int next) {
        if (next < start + inserted) {
            return false;
        }
        while (oldLine < lines.size() && lines[oldLine].start < next - delta) {
            ++oldLine;
        }
        return oldLine < lines.size() && lines[oldLine].start == next - delta;
    });
    const size_t keptFrom = stoppedAt < 0 ? lines.size() : oldLine;

    const int removedWidest = Widest(lines, static_cast<size_t>(resumeLine), keptFrom);
    const int freshWidest = Widest(fresh, 0, fresh.size());
    for (size_t i = keptFrom; i < lines.size(); ++i) {
        lines[i].start += delta;
    }
    lines.erase(lines.begin() + resumeLine, lines.begin() + static_cast<std::ptrdiff_t>(keptFrom));
    lines.insert(lines.begin() + resumeLine, fresh.begin(), fresh.end());
    if (freshWidest >= layout.widest) {
        layout.widest = freshWidest;
    } else if (removedWidest == layout.widest) {
        layout.widest = Widest(lines, 0, lines.size()); // the widest line may have gone
    }
    KeepScrollInRange(state);
}

bool FitsWithoutScrolling(const State& state, std::u16string_view text) {
    Layout layout = LayOut(state, text);
    if (state.multiLine) {
        return static_cast<int>(layout.lines.size()) <= VisibleLineCount(state);
    }
    return layout.widest + kCaretWidth <= FormatWidth(state);
}

} // namespace device::edit
