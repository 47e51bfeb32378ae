// Image lists: images of one size kept in a bitmap (and, with ILC_MASK, a monochrome mask
// beside it), added from bitmap strips or icons and drawn through the mask. The bitmaps are
// real GDI bitmaps, so ImageList_GetImageInfo can hand them out; image i is the i-th block of
// cy rows. Every depth is kept as 32-bit colour: ILC_COLOR4 to ILC_COLOR32 and ILC_COLORDDB
// change nothing that the device shows.
//
// Handles carry generation counters, so a destroyed or made-up handle fails with
// ERROR_INVALID_HANDLE instead of reaching another list.
#include "commctrl.h"
#include "windows.h"

#include "gdi/icons.h"
#include "gdi/raster.h"
#include "kernel/handle_slots.h"

#include <algorithm>
#include <cstdint>

using namespace device::gdi;

namespace {

struct ImageList {
    int cx = 0; // the size of every image of the list
    int cy = 0;
    COLORREF background = CLR_NONE;
    int count = 0;
    HBITMAP image = nullptr;
    HBITMAP mask = nullptr; // only with ILC_MASK
};

device::HandleSlots<ImageList>& Lists() {
    static device::HandleSlots<ImageList> lists;
    return lists;
}

ImageList* ListOrFail(HIMAGELIST himl) {
    ImageList* list = Lists().Find(reinterpret_cast<uintptr_t>(himl));
    if (list == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return list;
}

Surface& Pixels(HBITMAP bitmap) { return Find<BitmapObject>(bitmap)->surface; }

// The list's bitmaps are marked as stock while it lives, so that a program deleting what
// ImageList_GetImageInfo gave it cannot pull them from under the list.
HBITMAP KeptBitmap(int width, WORD bitsPixel) {
    HBITMAP bitmap = NewBitmap(width, 1, bitsPixel);
    if (bitmap != nullptr) {
        Find<BitmapObject>(bitmap)->stock = true;
    }
    return bitmap;
}

void FreeBitmap(HBITMAP bitmap) {
    if (BitmapObject* object = Find<BitmapObject>(bitmap)) {
        object->stock = false;
        DeleteObject(bitmap);
    }
}

// Grows or shrinks the bitmaps to hold count images; new images are black and opaque. False,
// with nothing changed, when that would make a bitmap larger than the GDI allows.
bool Resize(ImageList& list, int count) {
    if (static_cast<int64_t>(list.cx) * list.cy * count > kMaxBitmapPixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    const size_t pixels = static_cast<size_t>(list.cx) * list.cy * count;
    for (HBITMAP bitmap : {list.image, list.mask}) {
        if (bitmap != nullptr) {
            Surface& surface = Pixels(bitmap);
            surface.pixels.resize(pixels, 0);
            surface.height = list.cy * count;
        }
    }
    list.count = count;
    return true;
}

// Copies the cx x cy pixels at (x, y) of a source into the list's image `at` of target.
void CopyIn(ImageList& list, int at, const Surface& source, int x, int y, HBITMAP target, bool asMask) {
    const Surface block = CopyBlock(source, x, y, list.cx, list.cy);
    Surface& into = Pixels(target);
    for (int row = 0; row < list.cy; ++row) {
        for (int column = 0; column < list.cx; ++column) {
            const uint32_t pixel = block.At(column, row);
            into.Set(column, at * list.cy + row, asMask ? MonochromePixel(pixel) : pixel);
        }
    }
}

// Adds every image of a strip; a mask of the same layout when the list keeps masks and one is
// given, opaque images otherwise. Answers the first new index, or -1.
int AddStrip(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
    ImageList* list = ListOrFail(himl);
    if (list == nullptr) {
        return -1;
    }
    const BitmapObject* image = FindOrFail<BitmapObject>(hbmImage);
    const BitmapObject* mask = hbmMask != nullptr ? FindOrFail<BitmapObject>(hbmMask) : nullptr;
    if (image == nullptr || (hbmMask != nullptr && mask == nullptr)) {
        return -1;
    }
    const int added = image->surface.width / list->cx;
    if (added == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    const int first = list->count;
    if (!Resize(*list, first + added)) {
        return -1;
    }
    for (int i = 0; i < added; ++i) {
        CopyIn(*list, first + i, image->surface, i * list->cx, 0, list->image, false);
        if (list->mask != nullptr && mask != nullptr) {
            CopyIn(*list, first + i, mask->surface, i * list->cx, 0, list->mask, true);
        }
    }
    return first;
}

// The colour a blend mixes in: the highlight by default, the pixel below for CLR_NONE.
uint32_t BlendColour(COLORREF foreground, uint32_t below) {
    if (foreground == CLR_NONE) {
        return below;
    }
    return ToPixel(foreground == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : foreground);
}

} // namespace

HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow) {
    (void)cGrow;
    if (cx <= 0 || cy <= 0 || cInitial < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (static_cast<int64_t>(cx) * cy > kMaxBitmapPixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    ImageList list{cx, cy, CLR_NONE, 0, KeptBitmap(cx, 32), nullptr};
    if (list.image != nullptr && (flags & ILC_MASK) != 0) {
        list.mask = KeptBitmap(cx, 1);
    }
    const uintptr_t handle = list.image != nullptr && (list.mask != nullptr || (flags & ILC_MASK) == 0)
                                 ? Lists().Insert(list)
                                 : 0;
    if (handle == 0) {
        FreeBitmap(list.image);
        FreeBitmap(list.mask);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Resize(*Lists().Find(handle), 0);
    return reinterpret_cast<HIMAGELIST>(handle);
}

BOOL WINAPI ImageList_Destroy(HIMAGELIST himl) {
    ImageList* list = ListOrFail(himl);
    if (list == nullptr) {
        return FALSE;
    }
    FreeBitmap(list->image);
    FreeBitmap(list->mask);
    Lists().Erase(reinterpret_cast<uintptr_t>(himl));
    return TRUE;
}

// Returns the previous colour; CLR_NONE for a bad handle.
COLORREF WINAPI ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk) {
    ImageList* list = ListOrFail(himl);
    if (list == nullptr) {
        return CLR_NONE;
    }
    COLORREF previous = list->background;
    list->background = clrBk;
    return previous;
}

COLORREF WINAPI ImageList_GetBkColor(HIMAGELIST himl) {
    ImageList* list = ListOrFail(himl);
    return list != nullptr ? list->background : CLR_NONE;
}

// A bad handle answers 0, with the error set.
int WINAPI ImageList_GetImageCount(HIMAGELIST himl) {
    ImageList* list = ListOrFail(himl);
    return list != nullptr ? list->count : 0;
}

BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
    ImageList* list = ListOrFail(himl);
    if (list == nullptr || cx == nullptr || cy == nullptr) {
        return FALSE;
    }
    *cx = list->cx;
    *cy = list->cy;
    return TRUE;
}

// A new size removes every image.
BOOL WINAPI ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy) {
    ImageList* list = ListOrFail(himl);
    if (list == nullptr || cx <= 0 || cy <= 0 || static_cast<int64_t>(cx) * cy > kMaxBitmapPixels) {
        return FALSE;
    }
    Resize(*list, 0);
    list->cx = cx;
    list->cy = cy;
    for (HBITMAP bitmap : {list->image, list->mask}) {
        if (bitmap != nullptr) {
            Pixels(bitmap).width = cx;
        }
    }
    return TRUE;
}

int WINAPI ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask) {
    return AddStrip(himl, hbmImage, hbmMask);
}

// The mask is made from the pixels of colour crMask (CLR_DEFAULT: the top-left pixel's), and
// in a masked list those pixels turn black, so the image can be XORed over a masked screen.
int WINAPI ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask) {
    const int first = AddStrip(himl, hbmImage, nullptr);
    ImageList* list = first >= 0 ? Lists().Find(reinterpret_cast<uintptr_t>(himl)) : nullptr;
    if (list == nullptr || list->mask == nullptr) {
        return first;
    }
    const Surface& source = Find<BitmapObject>(hbmImage)->surface;
    const uint32_t key = crMask == CLR_DEFAULT ? source.At(0, 0) : ToPixel(crMask);
    Surface& image = Pixels(list->image);
    Surface& mask = Pixels(list->mask);
    for (int row = first * list->cy; row < list->count * list->cy; ++row) {
        for (int column = 0; column < list->cx; ++column) {
            const bool transparent = image.At(column, row) == key;
            mask.Set(column, row, transparent ? 0xFFFFFF : 0);
            if (transparent) {
                image.Set(column, row, 0);
            }
        }
    }
    return first;
}

// i -1 appends. The icon is stretched to the list's size.
int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon) {
    ImageList* list = ListOrFail(himl);
    if (list == nullptr) {
        return -1;
    }
    const Icon* icon = FindIcon(hicon);
    if (icon == nullptr || i < -1 || i >= list->count) {
        SetLastError(icon == nullptr ? ERROR_INVALID_CURSOR_HANDLE : ERROR_INVALID_PARAMETER);
        return -1;
    }
    const int at = i == -1 ? list->count : i;
    if (i == -1 && !Resize(*list, list->count + 1)) {
        return -1;
    }
    Surface& image = Pixels(list->image);
    Surface* mask = list->mask != nullptr ? &Pixels(list->mask) : nullptr;
    for (int row = 0; row < list->cy; ++row) {
        const int y = row * icon->color.height / list->cy;
        for (int column = 0; column < list->cx; ++column) {
            const int x = column * icon->color.width / list->cx;
            image.Set(column, at * list->cy + row, icon->color.At(x, y));
            if (mask != nullptr) {
                mask->Set(column, at * list->cy + row, icon->mask.At(x, y));
            }
        }
    }
    return at;
}

// i -1 removes every image; the later images move up by one.
BOOL WINAPI ImageList_Remove(HIMAGELIST himl, int i) {
    ImageList* list = ListOrFail(himl);
    if (list == nullptr || i < -1 || i >= list->count) {
        return FALSE;
    }
    if (i == -1) {
        Resize(*list, 0);
        return TRUE;
    }
    const size_t imagePixels = static_cast<size_t>(list->cx) * list->cy;
    for (HBITMAP bitmap : {list->image, list->mask}) {
        if (bitmap != nullptr) {
            auto& pixels = Pixels(bitmap).pixels;
            const auto start = pixels.begin() + static_cast<ptrdiff_t>(imagePixels * static_cast<size_t>(i));
            pixels.erase(start, start + static_cast<ptrdiff_t>(imagePixels));
        }
    }
    Resize(*list, list->count - 1);
    return TRUE;
}

BOOL WINAPI ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle) {
    return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

// dx and dy (0: the whole image) draw the top-left part only. Where the mask is set the
// background shows: rgbBk (CLR_DEFAULT: the list's colour), or the screen itself for
// CLR_NONE or ILD_TRANSPARENT. ILD_MASK draws the mask, its 0 bits in the DC's text colour
// and its 1 bits in its background colour. ILD_BLEND25 and ILD_BLEND50 mix rgbFg
// (CLR_DEFAULT: the highlight colour; CLR_NONE: the screen) into a masked list's image.
BOOL WINAPI ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk,
                             COLORREF rgbFg, UINT fStyle) {
    ImageList* list = ListOrFail(himl);
    if (list == nullptr) {
        return FALSE;
    }
    DcObject* dc = FindOrFail<DcObject>(hdcDst);
    if (dc == nullptr || i < 0 || i >= list->count) {
        return FALSE;
    }
    const int width = dx <= 0 ? list->cx : std::min(dx, list->cx);
    const int height = dy <= 0 ? list->cy : std::min(dy, list->cy);
    const Surface& image = Pixels(list->image);
    const Surface* mask = list->mask != nullptr ? &Pixels(list->mask) : nullptr;
    const int top = i * list->cy;
    const auto maskBit = [&](int column, int row) { return mask != nullptr && mask->At(column, top + row) != 0; };

    if ((fStyle & ILD_MASK) != 0) {
        const uint32_t zero = ToPixel(dc->state.textColor);
        const uint32_t one = ToPixel(dc->state.bkColor);
        ForEachStretchedPixel(*dc, x, y, width, height, width, height, [&](uint32_t& pixel, int column, int row) {
            pixel = maskBit(column, row) ? one : zero;
        });
        return TRUE;
    }
    const COLORREF background = rgbBk == CLR_DEFAULT ? list->background : rgbBk;
    const bool seeThrough = (fStyle & ILD_TRANSPARENT) != 0 || background == CLR_NONE;
    const uint32_t backgroundPixel = ToPixel(background);
    const uint32_t alpha = mask == nullptr                   ? 0
                           : (fStyle & ILD_BLEND50) != 0 ? 128
                           : (fStyle & ILD_BLEND25) != 0 ? 64
                                                         : 0;
    ForEachStretchedPixel(*dc, x, y, width, height, width, height, [&](uint32_t& pixel, int column, int row) {
        if (maskBit(column, row)) {
            if (!seeThrough) {
                pixel = backgroundPixel;
            }
            return;
        }
        const uint32_t colour = image.At(column, top + row);
        pixel = alpha == 0 ? colour : BlendPixels(colour, BlendColour(rgbFg, pixel), alpha);
    });
    return TRUE;
}

// The list's own bitmaps, which stay the list's, and where image i lies in them.
BOOL WINAPI ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo) {
    ImageList* list = ListOrFail(himl);
    if (list == nullptr || pImageInfo == nullptr || i < 0 || i >= list->count) {
        return FALSE;
    }
    *pImageInfo = IMAGEINFO{list->image, list->mask, 0, 0, RECT{0, i * list->cy, list->cx, (i + 1) * list->cy}};
    return TRUE;
}

// A new icon that the caller destroys; an image of an unmasked list is opaque.
HICON WINAPI ImageList_GetIcon(HIMAGELIST himl, int i, UINT flags) {
    (void)flags;
    ImageList* list = ListOrFail(himl);
    if (list == nullptr || i < 0 || i >= list->count) {
        return nullptr;
    }
    Icon icon;
    icon.color = CopyBlock(Pixels(list->image), 0, i * list->cy, list->cx, list->cy);
    icon.mask = list->mask != nullptr ? CopyBlock(Pixels(list->mask), 0, i * list->cy, list->cx, list->cy)
                                      : CopyBlock(Surface{}, 0, 0, list->cx, list->cy);
    // The image is drawn transparently onto black, so the icon's XOR leaves the screen alone
    // wherever the mask is set.
    for (size_t p = 0; p < icon.color.pixels.size(); ++p) {
        if (icon.mask.pixels[p] != 0) {
            icon.color.pixels[p] = 0;
        }
    }
    icon.hotX = static_cast<DWORD>(list->cx / 2);
    icon.hotY = static_cast<DWORD>(list->cy / 2);
    return InsertIcon(std::move(icon));
}
