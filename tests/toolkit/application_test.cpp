// The application loop and modal display: how a modal form ends (WM_CLOSE, "ok", WM_QUIT),
// the disabled main form and taps on it, what is restored afterwards, draining passes,
// and the end of the application.
#include "application.h"
#include "control_factory.h"
#include "dispatch.h"
#include "properties.h"
#include "support/message_log.h"
#include "toolkit_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using test::DestroyLog;
using test::Posted;
using test::WParam;

constexpr UINT kRunModal = WM_APP + 1;
constexpr UINT kProbe = WM_APP + 2;

// A main form with one button, and a secondary form that a posted kRunModal shows
// modally from inside the main form's message handling, as a button handler would.
class Modal : public test::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        main = CreateForm(nullptr, u"Ana");
        mainButton = SetSize(SetPosition(CreateButton(main, u"Aç"), 40, 40), 100, 40);
        modal = CreateForm(main, u"İkinci");
        modalButton = CreateButton(modal, u"Kaydet");
        g_fixture = this;
        AttachHandler(main, &Modal::RunModalHandler);
    }
    void TearDown() override {
        g_fixture = nullptr;
        if (mainVariable != nullptr) {
            Free(mainVariable);
        }
        ToolkitTest::TearDown();
    }

    // Runs the application with the steps given; each step runs when the program waits.
    void Run(std::vector<std::function<void()>> steps) {
        for (auto& step : steps) {
            device::host::WhenIdle(std::move(step));
        }
        mainVariable = main;
        RunApplication(mainVariable);
    }
    void PostRunModal() { PostMessageW(main->Handle, kRunModal, 0, 0); }
    static void TapAt(POINT point) { device::input::Tap(point.x, point.y); }
    static POINT CentreOf(HWND hwnd) {
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    static bool RunModalHandler(TControl*, MSG& msg, LRESULT&) {
        if (msg.message != kRunModal) {
            return false;
        }
        Modal* self = g_fixture;
        self->modalRuns++;
        self->modalResult = ShowModal(self->modal);
        self->focusAfterModal = GetFocus();
        self->modalWindowAliveAfterModal = IsWindow(self->modal->Handle) != FALSE;
        self->mainEnabledAfterModal = IsWindowEnabled(self->main->Handle) != FALSE;
        self->disableCountAfterModal = self->main->DisableCount;
        self->disabledHandlerAfterModal = IsHandlerAttached(self->main, DisabledFormHandler);
        self->modalFormAfterModal = self->main->ModalForm;
        FreeAndNil(self->modal);
        return true;
    }

    static inline Modal* g_fixture = nullptr;
    TControl* main = nullptr;
    TControl* mainButton = nullptr;
    TControl* modal = nullptr;
    TControl* modalButton = nullptr;
    TControl* mainVariable = nullptr;
    int modalRuns = 0;
    LONG modalResult = 12345;
    HWND focusAfterModal = nullptr;
    bool mainEnabledAfterModal = false;
    bool modalWindowAliveAfterModal = false;
    LONG disableCountAfterModal = -1;
    bool disabledHandlerAfterModal = true;
    TControl* modalFormAfterModal = nullptr;
};

TEST_F(Modal, WmCloseEndsTheModalDisplayWithMinusOneWithoutDestroyingTheWindow) {
    HWND modalWindow = nullptr;
    Run({
        [&] { PostRunModal(); },
        [&] {
            modalWindow = modal->Handle;
            PostMessageW(modalWindow, WM_CLOSE, 0, 0);
        },
    });
    EXPECT_EQ(modalRuns, 1);
    EXPECT_EQ(modalResult, -1);
    EXPECT_TRUE(modalWindowAliveAfterModal); // WM_CLOSE ended the display, not the window
    EXPECT_FALSE(IsWindow(modalWindow)); // gone with the form, which the handler freed
}

TEST_F(Modal, TheOkButtonEndsItWithOneAndALaterWmCloseKeepsThatValue) {
    bool okShown = false;
    bool systemMenuGone = false;
    bool stillRunningAfterOtherCommand = false;
    // The "ok" command posts a WM_CLOSE behind itself, which arrives while the display
    // still runs, after the result was set; what the result was when it came is kept.
    struct Order {
        TControl* modal;
        LONG resultWhenClosed = 0;
        bool closedDuringTheDisplay = false;
    } order{modal};
    modal->OnMessage = TOnMessage{[](void* data, MSG& msg, LRESULT&) {
                                      auto* o = static_cast<Order*>(data);
                                      if (msg.message == WM_COMMAND && msg.lParam == reinterpret_cast<LPARAM>(msg.hwnd)) {
                                          PostMessageW(msg.hwnd, WM_CLOSE, 0, 0);
                                      } else if (msg.message == WM_CLOSE) {
                                          o->resultWhenClosed = o->modal->ModalResult;
                                          o->closedDuringTheDisplay = IsHandlerAttached(o->modal, ModalFormHandler);
                                      }
                                      return false;
                                  },
                                  &order};
    SetStyle(modal, modal->Style | WS_SYSMENU);
    Run({
        [&] { PostRunModal(); },
        [&] {
            okShown = (GetWindowLongW(modal->Handle, GWL_EXSTYLE) & WS_EX_CAPTIONOKBTN) != 0;
            systemMenuGone = (GetWindowLongW(modal->Handle, GWL_STYLE) & WS_SYSMENU) == 0 &&
                             (modal->Style & WS_SYSMENU) == 0;
            // A command of one of the form's own buttons leaves the display running.
            SendMessageW(modal->Handle, WM_COMMAND, MAKEWPARAM(modalButton->ControlId, BN_CLICKED),
                         reinterpret_cast<LPARAM>(modalButton->Handle));
            stillRunningAfterOtherCommand = modal->ModalResult == 0;
            device::input::Tap(224, 13); // "ok" in the navigation bar
        },
    });
    EXPECT_TRUE(okShown);
    EXPECT_TRUE(systemMenuGone);
    EXPECT_TRUE(stillRunningAfterOtherCommand);
    EXPECT_EQ(order.resultWhenClosed, 1);
    EXPECT_TRUE(order.closedDuringTheDisplay);
    EXPECT_EQ(modalResult, 1);
}

TEST_F(Modal, TheMainFormIsDisabledMeanwhileAndATapOnItBringsTheModalFormToTheFront) {
    bool mainDisabled = false;
    bool handlerAttached = false;
    TControl* modalOfMain = nullptr;
    TControl* focusOfMain = nullptr;
    HWND foregroundAfterTap = nullptr;
    HWND modalWindow = nullptr;
    std::vector<UINT> bringingToFront;
    int clicks = 0;
    mainButton->OnClick = TOnEvent{[](void* data, TRefObject*) { ++*static_cast<int*>(data); }, &clicks};
    SetBoundsRect(modal, RECT{0, 26, 240, 100}); // leaves the main form's button uncovered
    Run({
        [&] { PostRunModal(); },
        [&] {
            modalWindow = modal->Handle;
            mainDisabled = !IsWindowEnabled(main->Handle);
            handlerAttached = IsHandlerAttached(main, DisabledFormHandler);
            modalOfMain = main->ModalForm;
            focusOfMain = main->FocusedControl; // its next WM_SETFOCUS goes on to the modal form
            // Only a button press or release on the disabled form (hit code HTERROR) brings
            // the modal form to the front, from wherever the foreground is.
            HWND elsewhere = MakeWindow("elsewhere", WS_POPUP | WS_VISIBLE, 0, 200, 50, 50);
            for (UINT mouse = WM_MOUSEMOVE; mouse <= WM_RBUTTONDBLCLK; ++mouse) {
                for (WORD hit : {static_cast<WORD>(HTERROR), static_cast<WORD>(HTCLIENT)}) {
                    SetForegroundWindow(elsewhere);
                    LRESULT result = SendMessageW(main->Handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(main->Handle),
                                                  MAKELPARAM(hit, mouse));
                    if (GetForegroundWindow() == modalWindow) {
                        bringingToFront.push_back(hit == static_cast<WORD>(HTERROR) && result == 1 ? mouse : 0);
                    }
                }
            }
            DestroyWindow(elsewhere);
            SetForegroundWindow(main->Handle);
            TapAt(CentreOf(mainButton->Handle));
        },
        [&] {
            foregroundAfterTap = GetForegroundWindow();
            PostMessageW(modal->Handle, WM_CLOSE, 0, 0);
        },
    });
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(handlerAttached);
    EXPECT_NE(modalOfMain, nullptr);
    EXPECT_EQ(focusOfMain, modalOfMain);
    EXPECT_EQ(bringingToFront, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                                                 WM_RBUTTONUP}));
    EXPECT_EQ(foregroundAfterTap, modalWindow);
    EXPECT_EQ(clicks, 0); // the main form's buttons do not react
}

TEST_F(Modal, AfterwardsTheMainFormIsEnabledActivatedAndTheFocusReturns) {
    HWND buttonWindow = nullptr;
    Run({
        [&] {
            buttonWindow = mainButton->Handle;
            device::spy::SetRole(main->Handle, "main");
            SetFocused(mainButton, true);
            PostRunModal();
        },
        [&] {
            test::StartLog();
            PostMessageW(modal->Handle, WM_CLOSE, 0, 0);
        },
    });
    EXPECT_TRUE(mainEnabledAfterModal);
    EXPECT_EQ(focusAfterModal, buttonWindow);
    EXPECT_EQ(disableCountAfterModal, 0);
    EXPECT_FALSE(disabledHandlerAfterModal);
    EXPECT_EQ(modalFormAfterModal, nullptr);
    bool activated = false;
    for (const auto& record : test::ForRole(test::Log(), "main")) {
        activated |= record.message == WM_ACTIVATE && record.posted && record.wParam == WA_ACTIVE;
    }
    EXPECT_TRUE(activated);
}

TEST_F(Modal, WmQuitDuringTheModalDisplayEndsItAndTheApplication) {
    Run({
        [&] { PostRunModal(); },
        [&] { PostQuitMessage(0); },
    });
    EXPECT_EQ(modalRuns, 1);
    EXPECT_EQ(modalResult, 0);
    EXPECT_TRUE(mainEnabledAfterModal);
    EXPECT_TRUE(AppTerminated);
    EXPECT_EQ(mainVariable, nullptr); // freed by RunApplication
}

TEST_F(Modal, AFormWithoutParentIsOnlyShown) {
    TControl* lone = CreateForm(nullptr, u"Tek");
    SetStyle(lone, lone->Style | WS_SYSMENU);
    MainForm = main;
    Show(main);
    EXPECT_EQ(ShowModal(lone), 0);
    EXPECT_TRUE(IsWindowVisible(lone->Handle));
    // None of the modal display's changes: no "ok" button, the system menu kept.
    EXPECT_EQ(GetWindowLongW(lone->Handle, GWL_EXSTYLE) & WS_EX_CAPTIONOKBTN, 0);
    EXPECT_NE(GetWindowLongW(lone->Handle, GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_EQ(lone->ModalResult, 0);
    EXPECT_TRUE(IsWindowEnabled(main->Handle));
    EXPECT_EQ(main->DisableCount, 0);
    EXPECT_FALSE(IsHandlerAttached(lone, ModalFormHandler));
    Free(lone);
    MainForm = nullptr;
    mainVariable = main;
}

// Without a main form there is nobody to disable, refocus or reactivate; the display
// itself runs as ever.
TEST_F(Modal, WithoutAMainFormTheDisplayStillRunsAndEnds) {
    Show(main);
    device::host::WhenIdle([&] { PostMessageW(modal->Handle, WM_CLOSE, 0, 0); });
    ASSERT_EQ(MainForm, nullptr);
    EXPECT_EQ(ShowModal(modal), -1);
    EXPECT_TRUE(IsWindowEnabled(main->Handle));
    EXPECT_FALSE(IsHandlerAttached(main, DisabledFormHandler));
    EXPECT_FALSE(IsHandlerAttached(modal, ModalFormHandler));
    mainVariable = main;
}

class Loop : public test::ToolkitTest {};

TEST_F(Loop, AWmNullEndsOneDrainingPass) {
    TControl* form = CreateForm(nullptr, u"Form");
    Show(form);
    Pump();
    std::vector<WPARAM> seen;
    form->OnMessage = TOnMessage{[](void* data, MSG& msg, LRESULT&) {
                                     if (msg.message == kProbe) {
                                         static_cast<std::vector<WPARAM>*>(data)->push_back(msg.wParam);
                                     }
                                     return false;
                                 },
                                 &seen};
    PostMessageW(form->Handle, kProbe, 1, 0);
    PostMessageW(form->Handle, WM_NULL, 0, 0);
    PostMessageW(form->Handle, kProbe, 2, 0);
    ProcessMessages(form);
    EXPECT_EQ(seen, std::vector<WPARAM>{1});
    ProcessMessages(form);
    EXPECT_EQ(seen, (std::vector<WPARAM>{1, 2}));
    form->OnMessage = TOnMessage{};
    Free(form);
}

TEST_F(Loop, ClosingTheMainFormEndsTheLoopAndFreesItOnce) {
    TControl* form = CreateForm(nullptr, u"Ana");
    TControl* button = CreateButton(form, u"Kapat");
    DestroyLog log;
    log.Watch(form, "form");
    log.Watch(button, "button");
    button->OnClick = TOnEvent{[](void* data, TRefObject*) { Close(static_cast<TControl*>(data)); }, form};
    bool runningInside = false;
    device::host::WhenIdle([&] {
        runningInside = AppRunning && MainForm == form && IsWindowVisible(form->Handle);
        RECT rect{};
        GetWindowRect(button->Handle, &rect);
        device::input::Tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    });
    device::host::WhenIdle([] { ADD_FAILURE() << "the loop should have ended after the tap"; });
    TControl* variable = form;
    RunApplication(variable);
    EXPECT_TRUE(runningInside);
    EXPECT_EQ(variable, nullptr);
    EXPECT_EQ(MainForm, nullptr);
    EXPECT_FALSE(AppRunning);
    EXPECT_TRUE(AppTerminated);
    EXPECT_EQ(log.Order(), (std::vector<std::string>{"form", "button"}));
}

} // namespace
