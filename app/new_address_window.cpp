// The new-address window: building it, and its three handlers.
#include "new_address_window.h"

#include "address_store.h"
#include "application.h"
#include "control_factory.h"
#include "layout.h"
#include "message_box.h"
#include "properties.h"
#include "scrolling.h"

namespace {

constexpr LONG kLeft = 12;
constexpr LONG kEditWidth = 210;
constexpr LONG kButtonWidth = 85;
constexpr LONG kButtonPanelHeight = 36;

// The form is already on screen, maximized, when ShowModal shows it: its window was made and
// maximized while it was built, before OnShow was attached. The toolkit's rule fires OnShow
// only for a window that was hidden, so it would never run FormShow. This filter fires it
// for that showing instead, once ShowModal has made the controls' windows, and before the
// attached handlers see the message, so that the scrolling container that FormShow makes
// hears its own showing. A form that really was hidden is left to the toolkit's rule, so
// OnShow runs once per showing either way.
bool FireOnShowWhenAlreadyVisible(void* data, MSG& msg, LRESULT& /*result*/) {
    auto* form = static_cast<TControl*>(data);
    if (msg.message == WM_SHOWWINDOW && msg.wParam != 0 && msg.hwnd == form->Handle &&
        IsWindowVisible(form->Handle)) {
        form->OnShow.Fire(form);
    }
    return false;
}

TControl* CreateFieldLabel(TControl* form, const std::u16string& caption, LONG top) {
    return AutoSize(SetPosition(CreateLabel(form, caption), kLeft, top), true);
}

TControl* CreateField(TControl* form, TEditOptions options, LONG top) {
    return SetSize(SetPosition(CreateEditBox(form, options), kLeft, top), kEditWidth, 0);
}

} // namespace

void CreateNewAddressWindow(TNewAddressWindow*& window, TControl* parent) {
    window = NewObject<TNewAddressWindow>();
    TControl* form = CreateForm(parent, u"Yeni Adres");
    window->Form = form;
    AddToAutoFree(form, window);

    SetVisible(form, false);
    SetWindowState(form, 2); // makes the form's window and shows it maximized
    form->Margin = 1;
    SetOnShow(form, MakeEvent<&TNewAddressWindow::FormShow>(window));
    form->OnMessage = TOnMessage{FireOnShowWhenAlreadyVisible, form};

    window->NameLabel = SetSize(SetPosition(CreateLabel(form, u"Adı SoyAdı:"), kLeft, 8), 98, 17);
    window->Address1Label = CreateFieldLabel(form, u"Adres1", 51);
    window->Address2Label = CreateFieldLabel(form, u"Adres2", 95);
    window->PostalCodeLabel = CreateFieldLabel(form, u"Posta Kodu:", 141);
    window->ProvinceLabel = CreateFieldLabel(form, u"İli", 187);

    window->ButtonPanel = CreatePanel(form, 0);
    SetAlign(window->ButtonPanel, alBottom);
    SetSize(window->ButtonPanel, 0, kButtonPanelHeight);
    window->ButtonPanel->Margin = 0;

    window->SaveButton = CreateButton(window->ButtonPanel, u"Kaydet");
    SetSize(SetAlign(window->SaveButton, alLeft), kButtonWidth, 0);
    window->CloseButton = CreateButton(window->ButtonPanel, u"Kapat");
    SetSize(SetAlign(window->CloseButton, alRight), kButtonWidth, 0);

    window->NameEdit = CreateField(form, 0, 26);
    window->Address1Edit = CreateField(form, 0, 69);
    window->Address2Edit = CreateField(form, 0, 113);
    window->ProvinceEdit = CreateField(form, 0, 207);
    window->PostalCodeEdit = CreateField(form, eoNumber, 161);

    window->SaveButton->OnClick = MakeEvent<&TNewAddressWindow::SaveClick>(window);
    window->CloseButton->OnClick = MakeEvent<&TNewAddressWindow::CloseClick>(window);

    for (TControl* edit : {window->NameEdit, window->Address1Edit, window->Address2Edit,
                           window->ProvinceEdit, window->PostalCodeEdit}) {
        SetColor(edit, clWindow);
        Anchor(edit, true, false, true, false);
    }
}

void TNewAddressWindow::FormShow(TControl* /*sender*/) {
    // The boxes' windows were made while the form was built (setting their colour needs
    // them), the panel's only now, and a new window goes below its siblings. Scrolled, the
    // panel moves with the boxes and would slide under them, covering "Kaydet"; it is kept
    // above them so that both buttons stay visible and tappable.
    SetWindowPos(GetWindowHandle(ButtonPanel), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    MakeScrolling(Form);
    SetFocused(NameEdit, true);
    SelectAll(NameEdit);
}

void TNewAddressWindow::SaveClick(TControl* /*sender*/) {
    const std::u16string name = GetText(NameEdit);
    if (name.empty()) {
        ShowMessageBox(u"Enaz Adı Olmalıdır !", MB_ICONWARNING);
        return;
    }
    // Taken as typed: no trimming, no other check. The connection is closed again before
    // any box is shown.
    const bool saved = SaveAddress(name, GetText(Address1Edit), GetText(Address2Edit),
                                   GetText(PostalCodeEdit), GetText(ProvinceEdit));
    if (saved) {
        ShowMessageBox(u"Kayıt Yapıldı !", MB_ICONINFORMATION);
    } else {
        ShowMessageBox(u"Hata Oluştu !", MB_ICONERROR);
    }
    Close(Form);
}

void TNewAddressWindow::CloseClick(TControl* /*sender*/) {
    Close(Form);
}
