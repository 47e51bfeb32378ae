// The new-address window: the form "Yeni Adres" with five labelled boxes, in which the user
// types one address and keeps it with "Kaydet" or leaves with "Kapat".
#pragma once

#include "control.h"
#include "ref_object.h"

class TNewAddressWindow final : public TRefObject {
public:
    TControl* Address1Edit = nullptr;    // adres1
    TControl* Address2Edit = nullptr;    // adres2
    TControl* SaveButton = nullptr;      // "Kaydet"
    TControl* ProvinceEdit = nullptr;    // ili
    TControl* CloseButton = nullptr;     // "Kapat"
    TControl* Address2Label = nullptr;   // "Adres2"
    TControl* PostalCodeLabel = nullptr; // "Posta Kodu:"
    TControl* ProvinceLabel = nullptr;   // "İli"
    TControl* ButtonPanel = nullptr;     // the bottom panel holding the two buttons
    TControl* NameEdit = nullptr;        // adisoyadi
    TControl* Form = nullptr;            // freeing it releases this object
    TControl* NameLabel = nullptr;       // "Adı SoyAdı:"
    TControl* Address1Label = nullptr;   // "Adres1"
    TControl* PostalCodeEdit = nullptr;  // postakodu, digits only

    // The form's OnShow: makes the form a scrolling container and puts the caret in the
    // name box with its text selected.
    void FormShow(TControl* sender);
    // "Kaydet": checks the name, saves the five texts as typed, says how it went and closes.
    void SaveClick(TControl* sender);
    // "Kapat": closes without saving.
    void CloseClick(TControl* sender);

protected:
    TNewAddressWindow() = default;
    ~TNewAddressWindow() override = default;
    friend struct ObjectAccess;
};

// Builds the window with the given parent form; the new object is stored in the variable
// first. The form's window is made at once (maximized, not yet shown); the controls' windows
// are made when ShowModal shows it.
void CreateNewAddressWindow(TNewAddressWindow*& window, TControl* parent);
