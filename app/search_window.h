// The search window: a name box over a five-column list of the addresses whose name holds
// what is typed, refilled on every change of the text, and "Kapat" below. It keeps its own
// database connection for as long as it exists.
#pragma once

#include "control.h"
#include "ref_object.h"
#include "sqlite_database.h"

#include <memory>

// What the user is told when a search fails, and when the address book cannot be opened.
inline constexpr char16_t SearchFailedText[] = u"Arama Yapılamadı !";
inline constexpr char16_t DatabaseUnavailableText[] = u"Adres Defteri Açılamadı !";

class TSearchWindow final : public TRefObject {
public:
    TControl* NameEdit = nullptr;    // the name box
    TControl* Form = nullptr;        // "Adres Ara"; freeing it releases this object
    TControl* CloseButton = nullptr; // "Kapat"
    TControl* NameLabel = nullptr;   // "Adı SoyAdı:"
    TControl* ResultList = nullptr;  // the report list
    TControl* ButtonPanel = nullptr; // bottom panel holding "Kapat"
    TControl* SearchPanel = nullptr; // top panel holding the label and the name box
    // The window's connection; released by CloseClick, or with the window at the latest.
    std::unique_ptr<TSqliteDatabase> Database;
    // Set while the failure box of a search is up, so that changes arriving meanwhile
    // never pile a second box on top of it.
    bool ReportingFailure = false;

    // The event handlers, bound with this object as their data.
    // OnShow of the form: the caret goes to the name box, whose text is selected.
    void FormShow(TControl* sender);
    // OnChange of the name box: the list is cleared and refilled with one complete query.
    // A failed query leaves the list as the failure left it and tells the user in one box.
    void SearchTextChange(TControl* sender);
    // OnClick of "Kapat": the connection goes, then the form is closed.
    void CloseClick(TControl* sender);

protected:
    TSearchWindow() = default;
    ~TSearchWindow() override = default;
    friend struct ObjectAccess;
};

// Builds the window (no window handles yet) and opens its connection; the new object is
// stored in the variable first. Raises ESqliteException when the connection cannot be
// opened; the form has been made by then and the caller frees it.
void CreateSearchWindow(TSearchWindow*& window, TControl* parent);

// The search window's part of the main window's "Adres Ara": built fresh, shown modally
// and freed; a connection that cannot be opened is reported and nothing is shown.
void ShowSearchWindow(TControl* parent);
