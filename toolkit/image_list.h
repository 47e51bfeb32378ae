// TImageList: the description of a platform image list whose handle is made only when a
// control first needs it (the list view's image-list slots).
#pragma once

#include "graphics.h"
#include "ref_object.h"

#include "commctrl.h"

// The background colour that means none.
inline constexpr TColor clNone = 0x1FFFFFFF;

class TImageList final : public TRefObject {
public:
    HIMAGELIST Handle = nullptr; // made on demand by GetHandle
    BYTE ColorDepth = 0;         // adds no flag: the list gets the platform's default depth
    bool Masked = false;
    LONG Width = 0; // image size; changed only while Handle is null
    LONG Height = 0;
    TColor BkColor = clNone;
    LONG AllocBy = 0; // growth step handed to the platform

protected:
    TImageList() = default;
    ~TImageList() override = default;
    // Destroys the platform's list along with the object.
    void Destroy() override;
    friend struct ObjectAccess;
};

// An image list without a size or a handle; a list view slot sizes it for its kind.
TImageList* NewImageList();

// The handle, made when there is none and both sizes are set; null while a size is 0.
HIMAGELIST GetHandle(TImageList* list);
// Stores the colour and hands it to the platform's list when it exists.
void SetBkColor(TImageList* list, TColor color);
// Sets the image size, only while the platform's list is not made yet.
void SetImageSize(TImageList* list, LONG width, LONG height);
