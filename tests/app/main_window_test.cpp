// The main window in-process: its three buttons where they belong, "Kapat" ending the
// program, and the form, its buttons and the TMainWindow each freed exactly once.
#include "application.h"
#include "main_window.h"
#include "properties.h"
#include "toolkit/toolkit_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using test::DestroyLog;

class MainWindowTest : public test::ToolkitTest {
protected:
    static RECT WindowRect(HWND hwnd) {
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        return rect;
    }
    static void TapOn(HWND hwnd) {
        RECT rect = WindowRect(hwnd);
        device::input::Tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
};

TEST_F(MainWindowTest, CreatingItMakesTheObjectsButNoWindow) {
    TMainWindow* window = nullptr;
    CreateMainWindow(window, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(MainForm, window->Form);
    EXPECT_EQ(window->Form->Text, u"Adres Defteri");
    EXPECT_EQ(window->Form->Handle, nullptr);
    EXPECT_EQ(window->NewButton->Parent, window->Form);
    EXPECT_EQ(window->CloseButton->Text, u"Kapat");
    // The form's auto-free list releases the window object with the form.
    DestroyLog log;
    log.Watch(window, "window");
    TControl* form = window->Form;
    MainForm = nullptr;
    Free(form);
    EXPECT_EQ(log.Count("window"), 1);
}

TEST_F(MainWindowTest, TheButtonsStandWhereTheyBelongOnAFormFillingTheWorkArea) {
    struct Button {
        const char16_t* caption;
        LONG top;
    };
    const Button expected[] = {{u"Yeni Adres", 40}, {u"Adres Ara", 96}, {u"Kapat", 157}};
    bool checked = false;
    device::host::WhenIdle([&] {
        checked = true;
        TControl* form = MainWindow->Form;
        ASSERT_EQ(GetForegroundWindow(), form->Handle);
        WCHAR title[32] = {};
        GetWindowTextW(form->Handle, title, 32);
        EXPECT_EQ(std::u16string(title), u"Adres Defteri");
        RECT formRect = WindowRect(form->Handle);
        EXPECT_EQ(formRect.left, 0);
        EXPECT_EQ(formRect.top, 26);
        EXPECT_EQ(formRect.right, 240);
        EXPECT_EQ(formRect.bottom, 294); // the top of its menu bar
        POINT origin = ClientToScreen(form, POINT{0, 0});
        TControl* buttons[] = {MainWindow->NewButton, MainWindow->SearchButton, MainWindow->CloseButton};
        for (int i = 0; i < 3; ++i) {
            RECT rect = WindowRect(buttons[i]->Handle);
            WCHAR caption[32] = {};
            GetWindowTextW(buttons[i]->Handle, caption, 32);
            EXPECT_EQ(std::u16string(caption), expected[i].caption);
            EXPECT_EQ(rect.left - origin.x, 48) << i;
            EXPECT_EQ(rect.top - origin.y, expected[i].top) << i;
            EXPECT_EQ(rect.right - rect.left, 139) << i;
            EXPECT_EQ(rect.bottom - rect.top, 42) << i;
            EXPECT_TRUE(IsWindowVisible(buttons[i]->Handle));
        }
        EXPECT_EQ(GetFocus(), MainWindow->NewButton->Handle); // the first tab stop
    });
    EXPECT_EQ(RunAddressBook(), 0);
    EXPECT_TRUE(checked);
}

TEST_F(MainWindowTest, KapatEndsTheProgramFreeingFormButtonsAndWindowOnceEach) {
    DestroyLog log;
    struct Seen {
        TMainWindow* window = nullptr;
        bool fieldClearedFirst = false;
        int formFreed = 0;
    } seen;
    bool stillRunning = false;
    device::host::WhenIdle([&] {
        seen.window = MainWindow;
        log.Watch(MainWindow, "window");
        log.Watch(MainWindow->NewButton, "Yeni Adres");
        log.Watch(MainWindow->SearchButton, "Adres Ara");
        log.Watch(MainWindow->CloseButton, "Kapat");
        MainWindow->Form->OnDestroy = TOnEvent{[](void* data, TRefObject*) {
                                                   auto* s = static_cast<Seen*>(data);
                                                   s->fieldClearedFirst = s->window->Form == nullptr;
                                                   ++s->formFreed;
                                               },
                                               &seen};
        TapOn(MainWindow->NewButton->Handle);
    });
    bool newAddressShown = false;
    device::host::WhenIdle([&] {
        // The new-address window is up; its own "Kapat" (the topmost one) leaves it again.
        // ("Adres Ara" opens its window: the search window's own tests cover it.)
        WCHAR title[32] = {};
        GetWindowTextW(GetForegroundWindow(), title, 32);
        newAddressShown = std::u16string(title) == u"Yeni Adres";
        TapOn(device::diag::FindWindowByText(u"Kapat"));
    });
    device::host::WhenIdle([&] {
        stillRunning = AppRunning && !AppTerminated;
        TapOn(MainWindow->CloseButton->Handle);
    });
    device::host::WhenIdle([] { ADD_FAILURE() << "Kapat should have ended the program"; });
    EXPECT_EQ(RunAddressBook(), 0);
    EXPECT_TRUE(newAddressShown);
    EXPECT_TRUE(stillRunning);
    EXPECT_TRUE(seen.fieldClearedFirst);
    EXPECT_EQ(seen.formFreed, 1);
    EXPECT_EQ(log.Order(), (std::vector<std::string>{"window", "Yeni Adres", "Adres Ara", "Kapat"}));
    EXPECT_EQ(MainWindow, nullptr);
    EXPECT_EQ(MainForm, nullptr);
}

} // namespace
