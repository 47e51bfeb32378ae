// A DC's clip region: IntersectClipRect, ExcludeClipRect, SelectClipRgn and GetClipBox. The
// clip region is kept in device units and always meets the DC's visible region before use,
// so a window DC never draws outside its window.
#include "gdi/dc_state.h"
#include "winbase.h"

using namespace device::gdi;

namespace {

// The clip region, or "everything" when the DC has none.
Region CurrentClip(const DcObject& dc) {
    return dc.state.clip ? *dc.state.clip : Region(kUnboundedRect);
}

RECT DeviceRect(const DcObject& dc, int left, int top, int right, int bottom) {
    const RECT r = NormalizedRect(left, top, right, bottom);
    const POINT org = dc.state.viewportOrg;
    return RECT{Shift(r.left, org.x, 0), Shift(r.top, org.y, 0), Shift(r.right, org.x, 0),
                Shift(r.bottom, org.y, 0)};
}

int SetClip(DcObject& dc, Region clip) {
    dc.state.clip = std::move(clip);
    dc.UpdateClip();
    return RegionType(dc.effectiveClip);
}

} // namespace

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return ERROR;
    }
    Region clip = CurrentClip(*dc);
    clip.Intersect(DeviceRect(*dc, left, top, right, bottom));
    return SetClip(*dc, std::move(clip));
}

int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return ERROR;
    }
    Region clip = CurrentClip(*dc);
    clip.Subtract(DeviceRect(*dc, left, top, right, bottom));
    return SetClip(*dc, std::move(clip));
}

// hrgn 0 removes the clip region. The region is copied (device units), so the caller may
// delete it at once.
int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr) {
        return ERROR;
    }
    if (hrgn == nullptr) {
        dc->state.clip.reset();
        dc->UpdateClip();
        return RegionType(dc->effectiveClip);
    }
    RegionObject* region = FindOrFail<RegionObject>(hrgn);
    if (region == nullptr) {
        return ERROR;
    }
    return SetClip(*dc, region->region);
}

int WINAPI GetClipBox(HDC hdc, LPRECT lprect) {
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (dc == nullptr || lprect == nullptr) {
        return ERROR;
    }
    if (dc->effectiveClip.IsEmpty()) {
        *lprect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    *lprect = dc->LogicalRect(dc->effectiveClip.Bounds());
    return RegionType(dc->effectiveClip);
}
