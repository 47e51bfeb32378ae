// The search window in-process, opened from the running address book: its connection is
// closed exactly once however the window ends, and a change of the name that arrives while
// a failed search's box is up shows no second box.
#include "application.h"
#include "list_view.h"
#include "main_window.h"
#include "search_window.h"
#include "support/program_directory.h"
#include "support/raw_sqlite.h"
#include "toolkit/toolkit_fixture.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <functional>
#include <string>

namespace {

class SearchWindowTest : public test::ToolkitTest {
public:
    static void TapOn(HWND hwnd) {
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        device::input::Tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    // The window object of the search form that is shown modally over the main form.
    static TSearchWindow* ShownSearchWindow() {
        TControl* form = MainForm != nullptr ? MainForm->ModalForm : nullptr;
        return form != nullptr ? static_cast<TSearchWindow*>(form->OnShow.Data) : nullptr;
    }
    static int CountClose(unsigned /*type*/, void* count, void* /*connection*/, void* /*unused*/) {
        ++*static_cast<int*>(count);
        return 0;
    }
    static int VisibleMessageBoxes() {
        const std::string dump = device::diag::DumpWindowTree();
        int boxes = 0;
        for (size_t at = dump.find("\"#32770\""); at != std::string::npos; at = dump.find("\"#32770\"", at + 1)) {
            ++boxes;
        }
        return boxes;
    }

protected:
    adres_test_support::ProgramDirectory m_program;
};

struct Closes {
    int whenFormFreed = -1; // as the form's destruction begins
    int total = -1;
};

// Opens the search window from the main window, ends it the given way, ends the program,
// and counts the closes of the window's connection (total -1: closed while still open).
Closes ClosesWhenEndedBy(const std::function<void(TSearchWindow*)>& end) {
    struct Counts {
        int closes = 0;
        int whenFormFreed = -1;
    } counts;
    int& closes = counts.closes;
    int closesWhileOpen = -1;
    bool mainDisabled = false;
    bool searchGone = false;
    device::host::WhenIdle([] { SearchWindowTest::TapOn(MainWindow->SearchButton->Handle); });
    device::host::WhenIdle([&] {
        TSearchWindow* window = SearchWindowTest::ShownSearchWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_NE(window->Database, nullptr);
        sqlite3_trace_v2(window->Database->Handle, SQLITE_TRACE_CLOSE, SearchWindowTest::CountClose, &closes);
        window->Form->OnDestroy = TOnEvent{[](void* data, TRefObject*) {
                                               auto* c = static_cast<Counts*>(data);
                                               c->whenFormFreed = c->closes;
                                           },
                                           &counts};
        mainDisabled = !IsWindowEnabled(MainForm->Handle); // its buttons do nothing meanwhile
        closesWhileOpen = closes;
        end(window);
    });
    device::host::WhenIdle([&] {
        searchGone = SearchWindowTest::ShownSearchWindow() == nullptr;
        SearchWindowTest::TapOn(MainWindow->CloseButton->Handle);
    });
    EXPECT_EQ(RunAddressBook(), 0);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(searchGone);
    return Closes{counts.whenFormFreed, closesWhileOpen == 0 ? closes : -1};
}

TEST_F(SearchWindowTest, KapatClosesTheConnectionExactlyOnce) {
    adres_test_support::RawConnection(m_program.DatabasePath()).Exec(adres_test_support::kAddressTableSql);
    const Closes closes = ClosesWhenEndedBy([](TSearchWindow* window) { TapOn(window->CloseButton->Handle); });
    EXPECT_EQ(closes.whenFormFreed, 1); // Kapat itself let it go
    EXPECT_EQ(closes.total, 1);
}

TEST_F(SearchWindowTest, TheOkButtonClosesTheConnectionExactlyOnceWhenTheWindowIsFreed) {
    adres_test_support::RawConnection(m_program.DatabasePath()).Exec(adres_test_support::kAddressTableSql);
    const Closes closes = ClosesWhenEndedBy([](TSearchWindow*) { device::input::Tap(224, 13); }); // the "ok"
    EXPECT_EQ(closes.whenFormFreed, 0); // still open until the window object goes with the form
    EXPECT_EQ(closes.total, 1);
}

TEST_F(SearchWindowTest, AChangeArrivingWhileTheFailureBoxIsUpRunsItsQueryButShowsNoSecondBox) {
    adres_test_support::RawConnection(m_program.DatabasePath()).Exec("create table kisi (ad text)");
    bool returned = false;
    int boxesAfterSecondChange = -1;
    int boxesAtTheEnd = -1;
    int rowsAfterFailure = -1;
    device::host::WhenIdle([] { TapOn(MainWindow->SearchButton->Handle); });
    device::host::WhenIdle([] { device::input::TypeText(u"a"); });
    device::host::WhenIdle([&] {
        // Inside the first failure's box: a second change of the name, as a program setting
        // the text would make, fails too.
        TSearchWindow* window = ShownSearchWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(VisibleMessageBoxes(), 1);
        window->SearchTextChange(window->NameEdit);
        returned = true;
        rowsAfterFailure = GetCount(window->ResultList);
    });
    device::host::WhenIdle([&] {
        boxesAfterSecondChange = VisibleMessageBoxes();
        device::input::PressKey(VK_RETURN);
    });
    device::host::WhenIdle([&] {
        boxesAtTheEnd = VisibleMessageBoxes();
        TapOn(ShownSearchWindow()->CloseButton->Handle);
    });
    device::host::WhenIdle([] { TapOn(MainWindow->CloseButton->Handle); });
    EXPECT_EQ(RunAddressBook(), 0);
    EXPECT_TRUE(returned);
    EXPECT_EQ(boxesAfterSecondChange, 1);
    EXPECT_EQ(rowsAfterFailure, 0);
    EXPECT_EQ(boxesAtTheEnd, 0);
}

} // namespace
