// TImageList: its handle on demand and its background colour.
#include "image_list.h"

void TImageList::Destroy() {
    if (Handle != nullptr) {
        ImageList_Destroy(Handle);
        Handle = nullptr;
    }
    TRefObject::Destroy();
}

TImageList* NewImageList() {
    return NewObject<TImageList>();
}

HIMAGELIST GetHandle(TImageList* list) {
    if (list->Handle == nullptr && list->Width != 0 && list->Height != 0) {
        const UINT flags = list->Masked ? ILC_MASK : ILC_COLOR;
        list->Handle = ImageList_Create(list->Width, list->Height, flags, 0, list->AllocBy);
        if (list->BkColor != clNone) {
            SetBkColor(list, list->BkColor);
        }
    }
    return list->Handle;
}

void SetBkColor(TImageList* list, TColor color) {
    list->BkColor = color;
    if (list->Handle != nullptr) {
        ImageList_SetBkColor(list->Handle, GetColorRGB(color));
    }
}

void SetImageSize(TImageList* list, LONG width, LONG height) {
    if (list->Handle == nullptr) {
        list->Width = width;
        list->Height = height;
    }
}
