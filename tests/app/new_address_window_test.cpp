// The new-address window in-process: its OnShow runs once when ShowModal shows the form,
// although the form is already on screen, and only after the controls' windows exist.
#include "application.h"
#include "dispatch.h"
#include "main_window.h"
#include "new_address_window.h"
#include "properties.h"
#include "scrolling.h"
#include "toolkit/toolkit_fixture.h"

#include <gtest/gtest.h>

namespace {

class NewAddressWindowTest : public test::ToolkitTest {};

// Counts the form's OnShow and notes whether the controls had their windows then, before
// passing it on to FormShow.
struct ShowCounter {
    TNewAddressWindow* window = nullptr;
    TOnEvent formShow;
    int count = 0;
    bool controlsHadWindows = true;

    static void Count(void* data, TRefObject* sender) {
        auto* counter = static_cast<ShowCounter*>(data);
        ++counter->count;
        counter->controlsHadWindows &= counter->window->NameEdit->Handle != nullptr &&
                                       counter->window->SaveButton->Handle != nullptr;
        counter->formShow.Fire(sender);
    }
};

TEST_F(NewAddressWindowTest, FormShowRunsOnceWhenShowModalShowsTheFormAfterItsControlsHaveWindows) {
    TMainWindow* main = nullptr;
    CreateMainWindow(main, nullptr);
    Show(main->Form);
    TNewAddressWindow* window = nullptr;
    CreateNewAddressWindow(window, MainForm);
    ASSERT_TRUE(IsWindowVisible(window->Form->Handle)); // maximized while it was built
    ShowCounter counter{window, window->Form->OnShow};
    window->Form->OnShow = TOnEvent{ShowCounter::Count, &counter};
    int countWhileShown = 0;
    bool scrolling = false;
    HWND focus = nullptr;
    device::host::WhenIdle([&] {
        countWhileShown = counter.count;
        scrolling = IsHandlerAttached(window->Form, ScrollBarHandler);
        focus = GetFocus();
        Close(window->Form);
    });
    ShowModal(window->Form);
    EXPECT_EQ(countWhileShown, 1);
    EXPECT_TRUE(counter.controlsHadWindows);
    EXPECT_TRUE(scrolling);
    EXPECT_EQ(focus, window->NameEdit->Handle);
    Free(window->Form);
    TControl* form = main->Form;
    MainForm = nullptr;
    Free(form);
}

} // namespace
