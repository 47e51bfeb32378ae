// A set of pixels described by disjoint rectangles: the update regions and visible
// regions of the window system and the clipping regions of DCs and HRGNs.
#pragma once

#include <vector>

#include "windef.h"

namespace device::gdi {

// Kept in y-x banded form: rectangles sorted by top then left, each horizontal band made of
// rectangles of equal top and bottom that neither touch nor overlap, and vertically adjacent
// bands with identical spans merged. The form is canonical, so two regions holding the same
// pixels hold the same rectangles and equality is a plain comparison.
class Region {
public:
    Region() = default;
    explicit Region(const RECT& rect);

    bool IsEmpty() const { return m_rects.empty(); }
    // The smallest rectangle holding every pixel; all zero when empty.
    RECT Bounds() const { return m_bounds; }
    bool Contains(int x, int y) const;
    // True when some pixel of rect is in the region.
    bool Intersects(const RECT& rect) const;
    // True when one rectangle of the region holds all of rect: a quick check that may
    // answer false for a rect covered only by several of them together.
    bool HoldsInOneRect(const RECT& rect) const;
    const std::vector<RECT>& Rects() const { return m_rects; }

    void Union(const RECT& rect);
    void Union(const Region& other);
    void Subtract(const RECT& rect);
    void Subtract(const Region& other);
    void Intersect(const RECT& rect);
    void Intersect(const Region& other);
    void Xor(const Region& other);
    void Offset(int dx, int dy);
    void Clear();

    bool operator==(const Region& other) const;
    bool operator!=(const Region& other) const { return !(*this == other); }

private:
    enum class Op { Union, Intersect, Subtract, Xor };
    void Combine(const Region& other, Op op);
    void UpdateBounds();

    std::vector<RECT> m_rects;
    RECT m_bounds{0, 0, 0, 0};
};

// Rectangle helpers shared by the GDI (the USER ones belong to the window system).
inline bool IsRectEmptyRect(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }
RECT IntersectRects(const RECT& a, const RECT& b);
RECT NormalizedRect(int left, int top, int right, int bottom);

} // namespace device::gdi
