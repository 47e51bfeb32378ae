// The main window: three buttons stacked on the main form, and the start-up sequence.
#include "main_window.h"

#include "application.h"
#include "control_factory.h"
#include "new_address_window.h"
#include "properties.h"
#include "search_window.h"

TMainWindow* MainWindow = nullptr;

namespace {

// The buttons' positions in the form's client area; the gap before "Kapat" is wider.
constexpr LONG kButtonLeft = 48;
constexpr LONG kNewButtonTop = 40;
constexpr LONG kSearchButtonTop = 96;
constexpr LONG kCloseButtonTop = 157;
constexpr LONG kButtonWidth = 139;
constexpr LONG kButtonHeight = 42;

TControl* CreateMainButton(TControl* form, const std::u16string& caption, LONG top) {
    return SetSize(SetPosition(CreateButton(form, caption), kButtonLeft, top), kButtonWidth, kButtonHeight);
}

} // namespace

void CreateMainWindow(TMainWindow*& window, TControl* parent) {
    window = NewObject<TMainWindow>();
    window->Form = CreateForm(parent, u"Adres Defteri");
    MainForm = window->Form;
    AddToAutoFree(window->Form, window);
    window->NewButton = CreateMainButton(window->Form, u"Yeni Adres", kNewButtonTop);
    window->SearchButton = CreateMainButton(window->Form, u"Adres Ara", kSearchButtonTop);
    window->CloseButton = CreateMainButton(window->Form, u"Kapat", kCloseButtonTop);
    window->NewButton->OnClick = MakeEvent<NewAddressClick>(window);
    window->SearchButton->OnClick = MakeEvent<SearchClick>(window);
    window->CloseButton->OnClick = MakeEvent<CloseClick>(window);
}

void NewAddressClick(TMainWindow* /*window*/, TControl* /*sender*/) {
    // Built afresh on every tap, so nothing typed survives a visit; freeing the form
    // releases its controls and the window object.
    TNewAddressWindow* window = nullptr;
    CreateNewAddressWindow(window, MainForm);
    ShowModal(window->Form);
    Free(window->Form);
}

void SearchClick(TMainWindow* /*window*/, TControl* /*sender*/) {
    // Built fresh, shown modally and freed again: no text or row survives a visit.
    ShowSearchWindow(MainForm);
}

void CloseClick(TMainWindow* window, TControl* /*sender*/) {
    // The form is the main form: its WM_CLOSE posts WM_QUIT and the application ends.
    Close(window->Form);
}

int RunAddressBook() {
    CreateMainWindow(MainWindow, nullptr);
    // Frees the form when the application ends, and with it the buttons and, through the
    // form's auto-free list, the TMainWindow; the field is cleared first.
    RunApplication(MainWindow->Form);
    MainWindow = nullptr;
    return 0;
}
