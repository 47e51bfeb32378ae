// HRGN objects over the Region class: creation, combining, testing and moving.
#include "gdi/dc_state.h"
#include "winbase.h"

using namespace device::gdi;

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) {
    auto region = std::make_unique<RegionObject>();
    region->region = Region(NormalizedRect(x1, y1, x2, y2));
    return static_cast<HRGN>(InsertObject(std::move(region)));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* lprect) {
    if (lprect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

// The destination may be one of the sources. RGN_COPY ignores hrgnSrc2.
int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode) {
    RegionObject* destination = FindOrFail<RegionObject>(hrgnDst);
    RegionObject* first = FindOrFail<RegionObject>(hrgnSrc1);
    if (destination == nullptr || first == nullptr) {
        return ERROR;
    }
    if (iMode == RGN_COPY) {
        destination->region = first->region;
        return RegionType(destination->region);
    }
    RegionObject* second = FindOrFail<RegionObject>(hrgnSrc2);
    if (second == nullptr) {
        return ERROR;
    }
    Region result = first->region;
    switch (iMode) {
    case RGN_AND:
        result.Intersect(second->region);
        break;
    case RGN_OR:
        result.Union(second->region);
        break;
    case RGN_XOR:
        result.Xor(second->region);
        break;
    case RGN_DIFF:
        result.Subtract(second->region);
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    destination->region = std::move(result);
    return RegionType(destination->region);
}

int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc) {
    RegionObject* region = FindOrFail<RegionObject>(hrgn);
    if (region == nullptr || lprc == nullptr) {
        return ERROR;
    }
    *lprc = region->region.Bounds();
    return RegionType(region->region);
}

int WINAPI OffsetRgn(HRGN hrgn, int x, int y) {
    RegionObject* region = FindOrFail<RegionObject>(hrgn);
    if (region == nullptr) {
        return ERROR;
    }
    region->region.Offset(x, y);
    return RegionType(region->region);
}

BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y) {
    RegionObject* region = FindOrFail<RegionObject>(hrgn);
    return region != nullptr && region->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL WINAPI RectInRegion(HRGN hrgn, const RECT* lprect) {
    RegionObject* region = FindOrFail<RegionObject>(hrgn);
    if (region == nullptr || lprect == nullptr) {
        return FALSE;
    }
    const RECT r = NormalizedRect(lprect->left, lprect->top, lprect->right, lprect->bottom);
    return region->region.Intersects(r) ? TRUE : FALSE;
}
