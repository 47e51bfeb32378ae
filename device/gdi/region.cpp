// Region set operations by a band sweep: both operands are cut into horizontal bands at
// every top and bottom edge, and each band's x spans are combined with the operator.
#include "gdi/region.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace device::gdi {

namespace {

using Span = std::pair<LONG, LONG>; // [left, right)

struct Band {
    LONG top;
    LONG bottom;
    std::vector<Span> spans;
};

std::vector<Band> ToBands(const std::vector<RECT>& rects) {
    std::vector<Band> bands;
    for (const RECT& r : rects) {
        if (bands.empty() || bands.back().top != r.top) {
            bands.push_back(Band{r.top, r.bottom, {}});
        }
        bands.back().spans.emplace_back(r.left, r.right);
    }
    return bands;
}

bool InSpans(const std::vector<Span>& spans, size_t& cursor, LONG x) {
    while (cursor < spans.size() && spans[cursor].second <= x) {
        ++cursor;
    }
    return cursor < spans.size() && spans[cursor].first <= x;
}

template <typename Pred>
std::vector<Span> CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, Pred keep) {
    std::vector<LONG> edges;
    edges.reserve((a.size() + b.size()) * 2);
    for (const Span& s : a) {
        edges.push_back(s.first);
        edges.push_back(s.second);
    }
    for (const Span& s : b) {
        edges.push_back(s.first);
        edges.push_back(s.second);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    std::vector<Span> out;
    size_t ca = 0;
    size_t cb = 0;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const LONG x0 = edges[i];
        const LONG x1 = edges[i + 1];
        const bool inA = InSpans(a, ca, x0);
        const bool inB = InSpans(b, cb, x0);
        if (!keep(inA, inB)) {
            continue;
        }
        if (!out.empty() && out.back().second == x0) {
            out.back().second = x1;
        } else {
            out.emplace_back(x0, x1);
        }
    }
    return out;
}

const std::vector<Span>& SpansAt(const std::vector<Band>& bands, size_t& cursor, LONG y) {
    static const std::vector<Span> kNone;
    while (cursor < bands.size() && bands[cursor].bottom <= y) {
        ++cursor;
    }
    if (cursor < bands.size() && bands[cursor].top <= y) {
        return bands[cursor].spans;
    }
    return kNone;
}

LONG SaturatingAdd(LONG value, int delta) {
    const int64_t sum = static_cast<int64_t>(value) + delta;
    return static_cast<LONG>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

} // namespace

RECT IntersectRects(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (IsRectEmptyRect(r)) {
        return RECT{0, 0, 0, 0};
    }
    return r;
}

RECT NormalizedRect(int left, int top, int right, int bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
}

Region::Region(const RECT& rect) {
    if (!IsRectEmptyRect(rect)) {
        m_rects.push_back(rect);
        m_bounds = rect;
    }
}

bool Region::Contains(int x, int y) const {
    if (x < m_bounds.left || x >= m_bounds.right || y < m_bounds.top || y >= m_bounds.bottom) {
        return false;
    }
    for (const RECT& r : m_rects) {
        if (r.top > y) {
            break;
        }
        if (y < r.bottom && x >= r.left && x < r.right) {
            return true;
        }
    }
    return false;
}

bool Region::Intersects(const RECT& rect) const {
    if (IsRectEmptyRect(rect)) {
        return false;
    }
    for (const RECT& r : m_rects) {
        if (!IsRectEmptyRect(IntersectRects(r, rect))) {
            return true;
        }
    }
    return false;
}

bool Region::HoldsInOneRect(const RECT& rect) const {
    for (const RECT& r : m_rects) {
        if (r.left <= rect.left && r.top <= rect.top && r.right >= rect.right && r.bottom >= rect.bottom) {
            return true;
        }
    }
    return false;
}

void Region::Union(const RECT& rect) { Combine(Region(rect), Op::Union); }
void Region::Union(const Region& other) { Combine(other, Op::Union); }
namespace {

bool Covers(const RECT& outer, const RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

} // namespace

// Clipping to windows mostly takes away a rectangle that misses the region or covers all
// of it; those end here without the band walk (the form is canonical, so an untouched
// region is already the result).
void Region::Subtract(const RECT& rect) {
    if (IsEmpty() || IsRectEmptyRect(rect) || IsRectEmptyRect(IntersectRects(rect, m_bounds))) {
        return;
    }
    if (Covers(rect, m_bounds)) {
        Clear();
        return;
    }
    Combine(Region(rect), Op::Subtract);
}
void Region::Subtract(const Region& other) { Combine(other, Op::Subtract); }
// A rectangle cut from one rectangle, or one that holds the whole region, needs no band walk.
void Region::Intersect(const RECT& rect) {
    if (IsEmpty() || IsRectEmptyRect(rect)) {
        Clear();
        return;
    }
    if (Covers(rect, m_bounds)) {
        return;
    }
    if (m_rects.size() == 1) {
        const RECT cut = IntersectRects(m_rects.front(), rect);
        if (IsRectEmptyRect(cut)) {
            Clear();
        } else {
            m_rects.front() = cut;
            m_bounds = cut;
        }
        return;
    }
    Combine(Region(rect), Op::Intersect);
}
void Region::Intersect(const Region& other) { Combine(other, Op::Intersect); }
void Region::Xor(const Region& other) { Combine(other, Op::Xor); }

void Region::Offset(int dx, int dy) {
    for (RECT& r : m_rects) {
        r.left = SaturatingAdd(r.left, dx);
        r.right = SaturatingAdd(r.right, dx);
        r.top = SaturatingAdd(r.top, dy);
        r.bottom = SaturatingAdd(r.bottom, dy);
    }
    UpdateBounds();
}

void Region::Clear() {
    m_rects.clear();
    m_bounds = RECT{0, 0, 0, 0};
}

bool Region::operator==(const Region& other) const {
    if (m_rects.size() != other.m_rects.size()) {
        return false;
    }
    for (size_t i = 0; i < m_rects.size(); ++i) {
        const RECT& a = m_rects[i];
        const RECT& b = other.m_rects[i];
        if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) {
            return false;
        }
    }
    return true;
}

void Region::Combine(const Region& other, Op op) {
    // Cheap cases first: they are the common ones for window clipping.
    if (op == Op::Intersect && (IsEmpty() || other.IsEmpty())) {
        Clear();
        return;
    }
    if (op == Op::Subtract && (IsEmpty() || other.IsEmpty())) {
        return;
    }
    if ((op == Op::Union || op == Op::Xor) && other.IsEmpty()) {
        return;
    }
    if ((op == Op::Union || op == Op::Xor) && IsEmpty()) {
        *this = other;
        return;
    }

    const std::vector<Band> a = ToBands(m_rects);
    const std::vector<Band> b = ToBands(other.m_rects);
    std::vector<LONG> ys;
    ys.reserve((a.size() + b.size()) * 2);
    for (const Band& band : a) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    for (const Band& band : b) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    auto keep = [op](bool inA, bool inB) {
        switch (op) {
        case Op::Union:
            return inA || inB;
        case Op::Intersect:
            return inA && inB;
        case Op::Subtract:
            return inA && !inB;
        case Op::Xor:
            return inA != inB;
        }
        return false;
    };

    std::vector<Band> result;
    size_t ca = 0;
    size_t cb = 0;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const LONG y0 = ys[i];
        const LONG y1 = ys[i + 1];
        std::vector<Span> spans = CombineSpans(SpansAt(a, ca, y0), SpansAt(b, cb, y0), keep);
        if (spans.empty()) {
            continue;
        }
        if (!result.empty() && result.back().bottom == y0 && result.back().spans == spans) {
            result.back().bottom = y1;
        } else {
            result.push_back(Band{y0, y1, std::move(spans)});
        }
    }

    m_rects.clear();
    for (const Band& band : result) {
        for (const Span& s : band.spans) {
            m_rects.push_back(RECT{s.first, band.top, s.second, band.bottom});
        }
    }
    UpdateBounds();
}

void Region::UpdateBounds() {
    if (m_rects.empty()) {
        m_bounds = RECT{0, 0, 0, 0};
        return;
    }
    m_bounds = m_rects.front();
    for (const RECT& r : m_rects) {
        m_bounds.left = std::min(m_bounds.left, r.left);
        m_bounds.top = std::min(m_bounds.top, r.top);
        m_bounds.right = std::max(m_bounds.right, r.right);
        m_bounds.bottom = std::max(m_bounds.bottom, r.bottom);
    }
}

} // namespace device::gdi
