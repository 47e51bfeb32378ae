// CreateIconIndirect, GetIconInfo, DestroyIcon, DrawIconEx and DrawIcon. An icon copies the
// bitmaps it is made from, so the caller keeps and deletes its own; it is drawn by ANDing its
// mask onto the screen and XORing its colour image over that.
#include "gdi/icons.h"

#include "gdi/raster.h"
#include "kernel/handle_slots.h"
#include "windows.h"

#include <cstdint>

using namespace device::gdi;

namespace {

device::HandleSlots<Icon>& Icons() {
    static device::HandleSlots<Icon> icons;
    return icons;
}

const Surface* BitmapPixels(HBITMAP bitmap) {
    const BitmapObject* object = Find<BitmapObject>(bitmap);
    return object != nullptr ? &object->surface : nullptr;
}

const Icon* IconOrFail(HICON handle) {
    const Icon* icon = FindIcon(handle);
    if (icon == nullptr) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    }
    return icon;
}

HBITMAP BitmapOf(const Surface& pixels, WORD bitsPixel) {
    HBITMAP bitmap = NewBitmap(pixels.width, pixels.height, bitsPixel);
    if (bitmap != nullptr) {
        Find<BitmapObject>(bitmap)->surface.pixels = pixels.pixels;
    }
    return bitmap;
}

} // namespace

namespace device::gdi {

const Icon* FindIcon(HICON handle) { return Icons().Find(reinterpret_cast<uintptr_t>(handle)); }

HICON InsertIcon(Icon icon) {
    const uintptr_t handle = Icons().Insert(std::move(icon));
    if (handle == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return reinterpret_cast<HICON>(handle);
}

Surface CopyBlock(const Surface& from, int x, int y, int width, int height) {
    Surface block;
    block.Resize(width, height, 0);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            if (from.Contains(x + column, y + row)) {
                block.Set(column, row, from.At(x + column, y + row));
            }
        }
    }
    return block;
}

} // namespace device::gdi

// The mask is required. Without a colour bitmap the icon is monochrome: the mask bitmap is
// twice as high, its top half the AND mask and its bottom half the image.
HICON WINAPI CreateIconIndirect(PICONINFO piconinfo) {
    const Surface* mask = piconinfo != nullptr ? BitmapPixels(piconinfo->hbmMask) : nullptr;
    const Surface* color = piconinfo != nullptr && piconinfo->hbmColor != nullptr ? BitmapPixels(piconinfo->hbmColor)
                                                                                  : nullptr;
    if (mask == nullptr || (piconinfo->hbmColor != nullptr && color == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const int width = color != nullptr ? color->width : mask->width;
    const int height = color != nullptr ? color->height : mask->height / 2;
    if (width <= 0 || height <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Icon icon;
    icon.mask = CopyBlock(*mask, 0, 0, width, height);
    for (uint32_t& pixel : icon.mask.pixels) {
        pixel = MonochromePixel(pixel);
    }
    icon.color = color != nullptr ? CopyBlock(*color, 0, 0, width, height) : CopyBlock(*mask, 0, height, width, height);
    icon.isIcon = piconinfo->fIcon != FALSE;
    // An icon's hot spot is its centre; a cursor's is the one given.
    icon.hotX = icon.isIcon ? static_cast<DWORD>(width / 2) : piconinfo->xHotspot;
    icon.hotY = icon.isIcon ? static_cast<DWORD>(height / 2) : piconinfo->yHotspot;
    return InsertIcon(std::move(icon));
}

// The bitmaps are new copies that the caller deletes: a monochrome mask and a colour image.
BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
    const Icon* icon = IconOrFail(hIcon);
    if (icon == nullptr || piconinfo == nullptr) {
        if (icon != nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
        }
        return FALSE;
    }
    HBITMAP mask = BitmapOf(icon->mask, 1);
    HBITMAP color = mask != nullptr ? BitmapOf(icon->color, 32) : nullptr;
    if (color == nullptr) {
        DeleteObject(mask);
        return FALSE;
    }
    *piconinfo = ICONINFO{icon->isIcon ? TRUE : FALSE, icon->hotX, icon->hotY, mask, color};
    return TRUE;
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
    if (!Icons().Erase(reinterpret_cast<uintptr_t>(hIcon))) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return FALSE;
    }
    return TRUE;
}

// A width or height of 0 is the icon's own, or the system's icon size with DI_DEFAULTSIZE; an
// icon of another size is stretched. A flicker-free brush fills the rectangle first. DI_MASK
// and DI_IMAGE alone copy that part; together the mask is ANDed and the image XORed.
BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
                       HBRUSH hbrFlickerFreeDraw, UINT diFlags) {
    (void)istepIfAniCur;
    const Icon* icon = IconOrFail(hIcon);
    DcObject* dc = FindOrFail<DcObject>(hdc);
    if (icon == nullptr || dc == nullptr) {
        return FALSE;
    }
    if ((diFlags & DI_NORMAL) == 0 || cxWidth < 0 || cyWidth < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool systemSize = (diFlags & DI_DEFAULTSIZE) != 0;
    const int width = cxWidth != 0 ? cxWidth : systemSize ? GetSystemMetrics(SM_CXICON) : icon->color.width;
    const int height = cyWidth != 0 ? cyWidth : systemSize ? GetSystemMetrics(SM_CYICON) : icon->color.height;
    if (hbrFlickerFreeDraw != nullptr) {
        RECT area{xLeft, yTop, xLeft + width, yTop + height};
        FillRect(hdc, &area, hbrFlickerFreeDraw);
    }
    const bool useMask = (diFlags & DI_MASK) != 0;
    const bool useImage = (diFlags & DI_IMAGE) != 0;
    ForEachStretchedPixel(*dc, xLeft, yTop, width, height, icon->color.width, icon->color.height,
                          [&](uint32_t& pixel, int x, int y) {
                              if (useMask && useImage) {
                                  pixel = (pixel & icon->mask.At(x, y)) ^ icon->color.At(x, y);
                              } else {
                                  pixel = useMask ? icon->mask.At(x, y) : icon->color.At(x, y);
                              }
                          });
    return TRUE;
}

BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
    return DrawIconEx(hDC, X, Y, hIcon, 0, 0, 0, nullptr, DI_NORMAL | DI_COMPAT | DI_DEFAULTSIZE);
}
