// The search window: its controls, the search on every change of the name, and closing.
#include "search_window.h"

#include "address_store.h"
#include "application.h"
#include "control_factory.h"
#include "layout.h"
#include "list_view.h"
#include "message_box.h"
#include "properties.h"

namespace {

constexpr LONG kButtonPanelHeight = 38;
constexpr LONG kCloseButtonWidth = 85;
constexpr LONG kSearchPanelHeight = 30;
constexpr LONG kNameLabelWidth = 82;

struct TColumnSpec {
    const char16_t* header;
    LONG width;
};
constexpr TColumnSpec kColumns[] = {
    {u"Adı SoyAdı", 100}, {u"Adres 1", 100}, {u"Adres 2", 100}, {u"PostaKodu", 50}, {u"İl", 50}};

// Clears the flag however the box ends, also when an exception passes through its loop.
class FailureReport {
public:
    explicit FailureReport(TSearchWindow* window) : m_window(window) { m_window->ReportingFailure = true; }
    ~FailureReport() { m_window->ReportingFailure = false; }
    FailureReport(const FailureReport&) = delete;
    FailureReport& operator=(const FailureReport&) = delete;

private:
    TSearchWindow* m_window;
};

} // namespace

void CreateSearchWindow(TSearchWindow*& window, TControl* parent) {
    window = NewObject<TSearchWindow>();
    window->Form = CreateForm(parent, u"Adres Ara");
    AddToAutoFree(window->Form, window);
    SetVisible(window->Form, false);
    SetOnShow(window->Form, MakeEvent<&TSearchWindow::FormShow>(window));

    window->ButtonPanel = CreatePanel(window->Form, 0);
    SetAlign(window->ButtonPanel, alBottom);
    SetSize(window->ButtonPanel, 0, kButtonPanelHeight);
    window->ButtonPanel->Margin = 0;

    window->CloseButton = CreateButton(window->ButtonPanel, u"Kapat");
    SetAlign(window->CloseButton, alRight);
    SetSize(window->CloseButton, kCloseButtonWidth, 0);

    window->SearchPanel = CreatePanel(window->Form, 0);
    SetAlign(window->SearchPanel, alTop);
    SetSize(window->SearchPanel, 0, kSearchPanelHeight);

    window->NameLabel = CreateLabel(window->SearchPanel, u"Adı SoyAdı:");
    SetAlign(window->NameLabel, alLeft);
    SetSize(window->NameLabel, kNameLabelWidth, 0);

    window->NameEdit = CreateEditBox(window->SearchPanel, 0);
    SetAlign(window->NameEdit, alClient);

    window->ResultList =
        CreateListView(window->Form, lvsReport, lvoAutoArrange | lvoGridLines | lvoFullRowSelect, nullptr, nullptr,
                       nullptr);
    SetAlign(window->ResultList, alClient);
    SetColor(window->ResultList, clWindow);
    for (const TColumnSpec& column : kColumns) {
        AddColumn(window->ResultList, column.header, 0, column.width);
    }

    SetColor(window->NameEdit, clWindow);
    window->NameEdit->OnChange = MakeEvent<&TSearchWindow::SearchTextChange>(window);
    window->CloseButton->OnClick = MakeEvent<&TSearchWindow::CloseClick>(window);

    window->Database = OpenAddressDatabase();
}

void TSearchWindow::FormShow(TControl* /*sender*/) {
    SetFocused(NameEdit, true);
    SelectAll(NameEdit);
}

void TSearchWindow::SearchTextChange(TControl* /*sender*/) {
    const std::u16string text = GetText(NameEdit);
    TControl* list = ResultList;
    Clear(list);
    if (Database == nullptr) {
        return; // closing: the connection is already gone
    }
    try {
        SearchAddresses(*Database, text,
                        [list](const std::u16string& adisoyadi, const std::u16string& adres1,
                               const std::u16string& adres2, const std::u16string& postakodu,
                               const std::u16string& ili) {
                            AddItem(list, u"");
                            const LONG row = GetCount(list) - 1;
                            SetItemText(list, row, 0, adisoyadi.c_str());
                            SetItemText(list, row, 1, adres1.c_str());
                            SetItemText(list, row, 2, adres2.c_str());
                            SetItemText(list, row, 3, postakodu.c_str());
                            SetItemText(list, row, 4, ili.c_str());
                        });
    } catch (const ESqliteException&) {
        if (!ReportingFailure) {
            FailureReport report(this);
            ShowMessageBox(SearchFailedText, MB_OK | MB_ICONERROR);
        }
    }
}

void TSearchWindow::CloseClick(TControl* /*sender*/) {
    Database.reset();
    Close(Form);
}

void ShowSearchWindow(TControl* parent) {
    TSearchWindow* window = nullptr;
    try {
        CreateSearchWindow(window, parent);
    } catch (const ESqliteException&) {
        Free(window->Form);
        ShowMessageBox(DatabaseUnavailableText, MB_OK | MB_ICONERROR);
        return;
    }
    ShowModal(window->Form);
    Free(window->Form);
}
