// The main window of the address book: the form "Adres Defteri" with its three buttons,
// and the program's start-up sequence.
#pragma once

#include "control.h"
#include "ref_object.h"

class TMainWindow final : public TRefObject {
public:
    TControl* NewButton = nullptr;    // "Yeni Adres"
    TControl* SearchButton = nullptr; // "Adres Ara"
    TControl* CloseButton = nullptr;  // "Kapat"
    TControl* Form = nullptr;         // the main form; freeing it releases this object

protected:
    TMainWindow() = default;
    ~TMainWindow() override = default;
    friend struct ObjectAccess;
};

// The one main window; set by the start-up sequence, not used after RunApplication.
extern TMainWindow* MainWindow;

// Builds the window's objects (no platform window yet) and makes its form MainForm. The
// new object is stored in the variable before anything else.
void CreateMainWindow(TMainWindow*& window, TControl* parent);

void NewAddressClick(TMainWindow* window, TControl* sender);
void SearchClick(TMainWindow* window, TControl* sender);
void CloseClick(TMainWindow* window, TControl* sender);

// The program's main sequence: builds the main window, runs the application until the
// main form is closed, and answers the exit status (0).
int RunAddressBook();
