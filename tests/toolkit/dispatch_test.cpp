// Message dispatch: the handler chain, commands reflected from a form to its child,
// keys, closing, the end of the application, and exceptions passing through.
#include "application.h"
#include "common_control.h"
#include "control_factory.h"
#include "dispatch.h"
#include "properties.h"
#include "support/message_log.h"
#include "toolkit_fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

using test::DestroyLog;
using test::ExpectedMsg;
using test::LParam;
using test::Posted;
using test::Sent;
using test::WParam;

constexpr UINT kProbe = WM_USER + 7;

// A standard class of the test's own: the toolkit subclasses it like BUTTON or EDIT, and
// its procedure records what reaches it through the toolkit's default processing.
constexpr const char16_t* kEchoClass = u"TestEcho";
std::vector<MSG>* g_echoed = nullptr;

LRESULT CALLBACK EchoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_echoed != nullptr && (message == WM_CHAR || message == WM_KEYDOWN || message == kProbe ||
                                message == WM_DESTROY || message == WM_NCDESTROY)) {
        g_echoed->push_back(MSG{hwnd, message, wParam, lParam, 0, POINT{}});
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class Dispatch : public test::ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        WNDCLASSW echo{};
        echo.lpfnWndProc = EchoProc;
        echo.hInstance = GetModuleHandleW(nullptr);
        echo.lpszClassName = kEchoClass;
        ASSERT_NE(RegisterClassW(&echo), 0);
        g_echoed = &m_echoed;
    }
    void TearDown() override {
        g_echoed = nullptr;
        ToolkitTest::TearDown();
    }
    std::vector<WPARAM> EchoedChars() const {
        std::vector<WPARAM> chars;
        for (const MSG& msg : m_echoed) {
            if (msg.message == WM_CHAR) {
                chars.push_back(msg.wParam);
            }
        }
        return chars;
    }
    static POINT CentreOf(HWND hwnd) {
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    void TapOn(HWND hwnd) {
        POINT centre = CentreOf(hwnd);
        device::input::Tap(centre.x, centre.y);
        Pump();
    }

    std::vector<MSG> m_echoed;
};

std::vector<std::string>* g_calls = nullptr;

bool FirstHandler(TControl*, MSG& msg, LRESULT&) {
    if (msg.message == kProbe) {
        g_calls->push_back("first");
    }
    return false;
}

bool SecondHandler(TControl*, MSG& msg, LRESULT& result) {
    if (msg.message == kProbe) {
        g_calls->push_back("second");
        result = 42;
        return msg.wParam == 1; // handled when asked to be
    }
    return false;
}

TEST_F(Dispatch, TheHandlerAttachedLastRunsFirstAndAHandledMessageStopsTheChain) {
    std::vector<std::string> calls;
    g_calls = &calls;
    TControl* form = CreateForm(nullptr, u"Form");
    Show(form);
    LONG before = form->MessageHandlers->Count;
    AttachHandler(form, FirstHandler);
    AttachHandler(form, SecondHandler);
    AttachHandler(form, FirstHandler); // already there: one entry
    EXPECT_EQ(form->MessageHandlers->Count, before + 4);

    EXPECT_EQ(SendMessageW(form->Handle, kProbe, 0, 0), 0); // not handled: default processing
    EXPECT_EQ(calls, (std::vector<std::string>{"second", "first"}));
    calls.clear();
    EXPECT_EQ(SendMessageW(form->Handle, kProbe, 1, 0), 42);
    EXPECT_EQ(calls, (std::vector<std::string>{"second"}));

    DetachHandler(form, SecondHandler);
    EXPECT_FALSE(IsHandlerAttached(form, SecondHandler));
    EXPECT_EQ(form->MessageHandlers->Count, before + 2);
    calls.clear();
    SendMessageW(form->Handle, kProbe, 1, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));
    g_calls = nullptr;
    Free(form);
}

TEST_F(Dispatch, NoAttachedHandlerRunsAfterWmQuitWasTaken) {
    std::vector<std::string> calls;
    g_calls = &calls;
    TControl* form = CreateForm(nullptr, u"Form");
    Show(form);
    AttachHandler(form, FirstHandler);
    SendMessageW(form->Handle, kProbe, 0, 0);
    EXPECT_EQ(calls.size(), 1u);
    PostQuitMessage(0);
    ProcessMessages(form);
    ASSERT_TRUE(AppTerminated);
    SendMessageW(form->Handle, kProbe, 0, 0);
    EXPECT_EQ(calls.size(), 1u);
    g_calls = nullptr;
    Free(form);
}

struct ClickLog {
    int count = 0;
    TRefObject* sender = nullptr;
};

void CountClick(ClickLog* log, TControl* sender) {
    ++log->count;
    log->sender = sender;
}

TEST_F(Dispatch, ATappedButtonsClickIsReflectedToItFiresOnClickOnceAndTakesTheFocus) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* first = CreateButton(form, u"Bir");
    TControl* second = SetPosition(CreateButton(form, u"İki"), 2, 60);
    ClickLog clicks;
    second->OnClick = MakeEvent<CountClick>(&clicks);
    ClickLog exits;
    first->OnExit = MakeEvent<CountClick>(&exits);
    Show(form);
    Pump();
    ASSERT_EQ(GetFocus(), first->Handle);
    device::spy::SetRole(form->Handle, "form");
    device::spy::SetRole(first->Handle, "first");
    device::spy::SetRole(second->Handle, "button");
    const WPARAM command = MAKEWPARAM(second->ControlId, BN_CLICKED);
    const WPARAM enter = MAKEWPARAM(second->ControlId, BN_SETFOCUS);
    const WPARAM leave = MAKEWPARAM(first->ControlId, BN_KILLFOCUS);
    const LPARAM from = reinterpret_cast<LPARAM>(second->Handle);
    const LPARAM fromFirst = reinterpret_cast<LPARAM>(first->Handle);

    test::StartLog();
    TapOn(second->Handle);
    EXPECT_TRUE(test::MatchesSequence(test::Only(test::Log(), {WM_COMMAND, CM_COMMAND}),
                                      {
                                          // the press moves the focus, the release clicks
                                          {"form", WM_COMMAND, Sent | WParam | LParam, leave, fromFirst},
                                          {"first", CM_COMMAND, Sent | WParam | LParam, leave, fromFirst},
                                          {"form", WM_COMMAND, Sent | WParam | LParam, enter, from},
                                          {"button", CM_COMMAND, Sent | WParam | LParam, enter, from},
                                          {"form", WM_COMMAND, Sent | WParam | LParam, command, from},
                                          {"button", CM_COMMAND, Sent | WParam | LParam, command, from},
                                      },
                                      "tap on a button"));
    EXPECT_EQ(clicks.count, 1);
    EXPECT_EQ(clicks.sender, second);
    EXPECT_EQ(exits.count, 1); // the form's focused control heard that another took over
    EXPECT_EQ(exits.sender, first);
    EXPECT_EQ(GetFocus(), second->Handle);
    EXPECT_EQ(form->FocusedControl, second);
    // The focused button is the default button.
    EXPECT_EQ(second->Style & BS_DEFPUSHBUTTON, BS_DEFPUSHBUTTON);
    EXPECT_EQ(first->Style & BS_DEFPUSHBUTTON, 0u);
    Free(form);
}

TEST_F(Dispatch, AForeignWmCommandGetsTheFormsDefaultProcessing) {
    TControl* form = CreateForm(nullptr, u"Form");
    Show(form);
    HWND foreign = MakeWindow("foreign", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, form->Handle, 5);
    test::StartLog();
    EXPECT_EQ(SendMessageW(form->Handle, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), reinterpret_cast<LPARAM>(foreign)), 0);
    EXPECT_EQ(SendMessageW(form->Handle, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0), 0);
    EXPECT_TRUE(test::Only(test::Log(), {CM_COMMAND}).empty());
    Free(form);
}

TEST_F(Dispatch, AnUnmatchedNotificationPassesCmCommandOnUnhandled) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* label = CreateLabel(form, u"Etiket");
    ClickLog clicks;
    label->OnClick = MakeEvent<CountClick>(&clicks);
    Show(form);
    MSG msg{label->Handle, CM_COMMAND, MAKEWPARAM(label->ControlId, STN_DBLCLK), 0, 0, POINT{}};
    LRESULT result = 0;
    EXPECT_FALSE(StdControlHandler(label, msg, result));
    msg.wParam = MAKEWPARAM(label->ControlId, STN_CLICKED);
    EXPECT_TRUE(StdControlHandler(label, msg, result));
    EXPECT_EQ(clicks.count, 1); // a label takes no focus but is clicked
    Free(form);
}

TEST_F(Dispatch, TabTypedIntoAControlIsSwallowedUnlessCtrlOrAltIsHeld) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* echo = CreateStdControl(form, kEchoClass, WS_CHILD | WS_VISIBLE | WS_TABSTOP, nullptr);
    TControl* other = CreateStdControl(form, kEchoClass, WS_CHILD | WS_VISIBLE | WS_TABSTOP, nullptr);
    Show(form);
    Pump();
    ASSERT_EQ(GetFocus(), echo->Handle);
    device::input::TypeText(u"a\tb");
    Pump();
    EXPECT_EQ(EchoedChars(), (std::vector<WPARAM>{'a', 'b'}));

    m_echoed.clear();
    device::input::KeyDown(VK_CONTROL);
    device::input::TypeCharacter(u'\t');
    device::input::KeyUp(VK_CONTROL);
    device::input::KeyDown(VK_MENU);
    device::input::TypeCharacter(u'\t');
    device::input::KeyUp(VK_MENU);
    Pump();
    EXPECT_EQ(EchoedChars(), (std::vector<WPARAM>{'\t', '\t'}));

    // A key message for a control that does not have the focus is dropped.
    m_echoed.clear();
    SendMessageW(other->Handle, WM_CHAR, 'x', 0);
    EXPECT_TRUE(m_echoed.empty());
    Free(form);
}

TEST_F(Dispatch, AnEditBoxReportsChangesAndFocusThroughItsEvents) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Düğme");
    TControl* edit = SetPosition(CreateEditBox(form, 0), 2, 60);
    int changes = 0;
    int enters = 0;
    int leaves = 0;
    auto count = [](void* data, TRefObject*) { ++*static_cast<int*>(data); };
    edit->OnChange = TOnEvent{count, &changes};
    edit->OnEnter = TOnEvent{count, &enters};
    edit->OnLeave = TOnEvent{count, &leaves};
    Show(form);
    Pump();
    TapOn(edit->Handle);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(form->FocusedControl, edit);
    device::input::TypeText(u"Ali	Veli");
    Pump();
    EXPECT_EQ(changes, 7);                   // one per character; the Tab was swallowed
    EXPECT_EQ(GetText(edit), u"AliVeli"); // what was typed
    TapOn(button->Handle);
    EXPECT_EQ(leaves, 1);
    Free(form);
}

TEST_F(Dispatch, ListViewNotificationsReachTheControlThroughItsParentsForwarder) {
    TControl* form = CreateForm(nullptr, u"Form");
    TCommandTable table;
    table.ChangeCode = 0xFF9B;
    TControl* list = CreateCommonControl(form, u"SysListView32", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | 0x0001,
                                         &table);
    SetSize(list, 200, 150);
    EXPECT_TRUE(IsHandlerAttached(form, NotificationForwarder));
    EXPECT_TRUE(IsHandlerAttached(list, CommonControlNotifyHandler));
    ClickLog clicks;
    list->OnClick = MakeEvent<CountClick>(&clicks);
    int enters = 0;
    list->OnEnter = TOnEvent{[](void* data, TRefObject*) { ++*static_cast<int*>(data); }, &enters};
    Show(form);
    Pump();
    TapOn(list->Handle);
    EXPECT_EQ(clicks.count, 1);
    EXPECT_EQ(clicks.sender, list);
    EXPECT_FALSE(list->RightClick);
    EXPECT_GE(enters, 1);

    NMHDR header{list->Handle, list->ControlId, static_cast<UINT>(-5)}; // NM_RCLICK
    SendMessageW(form->Handle, WM_NOTIFY, list->ControlId, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(clicks.count, 2);
    EXPECT_TRUE(list->RightClick);
    header.code = static_cast<UINT>(-50);
    EXPECT_EQ(SendMessageW(form->Handle, WM_NOTIFY, list->ControlId, reinterpret_cast<LPARAM>(&header)), 1);
    Free(form);
}

// WM_SIZE keeps its type in WindowState. The rules that change a control's own state
// apply to its own window only: the messages of a window without an object reach the main
// form's procedure and change nothing of the main form.
TEST_F(Dispatch, WmSizeStoresTheWindowStateAndAStrangersMessagesChangeNothingOfTheMainForm) {
    TControl* main = CreateForm(nullptr, u"Ana");
    MainForm = main;
    Show(main);
    for (WPARAM type : {SIZE_MAXIMIZED, SIZE_MINIMIZED, SIZE_RESTORED}) {
        SendMessageW(main->Handle, WM_SIZE, type, MAKELPARAM(240, 268));
        EXPECT_EQ(main->WindowState, type);
    }
    HWND stranger = CreateWindowExW(0, u"Form", u"", WS_POPUP | WS_VISIBLE, 0, 26, 100, 100, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(stranger, nullptr);
    ASSERT_EQ(GetPropW(stranger, kSelfProperty), nullptr);
    SendMessageW(stranger, WM_SIZE, SIZE_MAXIMIZED, 0);
    EXPECT_EQ(main->WindowState, SIZE_RESTORED);
    SendMessageW(stranger, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(stranger)); // default processing destroyed it
    EXPECT_FALSE(device::host::IsQuitPending());
    EXPECT_FALSE(main->WindowDestroyed);                    // its WM_DESTROY was not the main form's
    EXPECT_EQ(GetPropW(main->Handle, kSelfProperty), main); // nor its WM_NCDESTROY
    MainForm = nullptr;
    Free(main);
}

// Un-subclassed before its window goes, a standard control's own procedure hears the end
// of its window and can release what it keeps for it.
TEST_F(Dispatch, AStandardControlsOwnProcedureHearsItsWindowGo) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* echo = CreateStdControl(form, kEchoClass, WS_CHILD | WS_VISIBLE, nullptr);
    Show(form);
    HWND window = echo->Handle;
    Free(form);
    std::vector<UINT> heard;
    for (const MSG& msg : m_echoed) {
        if (msg.hwnd == window) {
            heard.push_back(msg.message);
        }
    }
    EXPECT_EQ(heard, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(Dispatch, WmCloseOnTheMainFormPostsWmQuitAndTheWindowStays) {
    TControl* form = CreateForm(nullptr, u"Ana");
    MainForm = form;
    Show(form);
    Pump();
    Close(form);
    Pump();
    EXPECT_TRUE(device::host::IsQuitPending());
    EXPECT_TRUE(IsWindow(form->Handle));
    EXPECT_FALSE(form->WindowDestroyed);
    MainForm = nullptr;
    Free(form);
}

TEST_F(Dispatch, WmCloseOnAnotherFormDestroysItsWindowAndFreesTheFormAfterwards) {
    TControl* main = CreateForm(nullptr, u"Ana");
    MainForm = main;
    TControl* other = CreateForm(nullptr, u"Başka");
    TControl* button = CreateButton(other, u"Düğme");
    DestroyLog log;
    log.Watch(other, "other");
    log.Watch(button, "button");
    Show(main);
    Show(other);
    Pump();
    HWND otherWindow = other->Handle;
    struct Seen {
        HWND window;
        bool windowGoneWhenFreed = false;
    } seen{otherWindow};
    TOnEvent watch = other->OnDestroy;
    struct Both {
        TOnEvent watch;
        Seen* seen;
    } both{watch, &seen};
    other->OnDestroy = TOnEvent{[](void* data, TRefObject* sender) {
                                    auto* b = static_cast<Both*>(data);
                                    b->seen->windowGoneWhenFreed = !IsWindow(b->seen->window);
                                    b->watch.Fire(sender);
                                },
                                &both};
    Close(other);
    Pump();
    EXPECT_FALSE(IsWindow(otherWindow));
    EXPECT_FALSE(device::host::IsQuitPending());
    EXPECT_EQ(log.Count("other"), 1);
    EXPECT_EQ(log.Count("button"), 1);
    EXPECT_TRUE(seen.windowGoneWhenFreed);
    EXPECT_EQ(main->Children->Count, 0);
    MainForm = nullptr;
    Free(main);
}

TEST_F(Dispatch, ColourMessagesAreReflectedToTheChildWhichAnswersWithItsBrush) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* label = CreateLabel(form, u"Etiket");
    Show(form);
    HDC dc = GetDC(label->Handle);
    LRESULT brush = SendMessageW(form->Handle, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(label->Handle));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetBackgroundBrush(label)));
    EXPECT_EQ(form->BackgroundBrush, reinterpret_cast<HBRUSH>(brush)); // same colour: the form's brush
    label->Transparent = true;
    brush = SendMessageW(form->Handle, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(label->Handle));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
    ReleaseDC(label->Handle, dc);
    Free(form);
}


TEST_F(Dispatch, AnExceptionFromAHandlerPassesThroughWithEveryCountBalanced) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Düğme");
    button->OnClick = TOnEvent{[](void*, TRefObject*) { throw std::runtime_error("kayıt açılamadı"); }, nullptr};
    Show(form);
    Pump();
    const WPARAM command = MAKEWPARAM(button->ControlId, BN_CLICKED);
    EXPECT_THROW(SendMessageW(form->Handle, WM_COMMAND, command, reinterpret_cast<LPARAM>(button->Handle)),
                 std::runtime_error);
    EXPECT_EQ(button->MessageDepth, 0);
    EXPECT_EQ(form->MessageDepth, 0);
    EXPECT_EQ(button->RefCount, 0);
    EXPECT_EQ(button->FocusLock, 0);

    // Everything still works afterwards.
    ClickLog clicks;
    button->OnClick = MakeEvent<CountClick>(&clicks);
    SendMessageW(form->Handle, WM_COMMAND, command, reinterpret_cast<LPARAM>(button->Handle));
    EXPECT_EQ(clicks.count, 1);
    Free(form);
}

TEST_F(Dispatch, AFormFreedByItsOwnMessageGoesOnceThatMessageIsOver) {
    TControl* form = CreateForm(nullptr, u"Form");
    DestroyLog log;
    log.Watch(form, "form");
    Show(form);
    struct Probe {
        TControl* form;
        DestroyLog* log;
        bool aliveAfterFree = false;
    } probe{form, &log};
    form->OnMessage = TOnMessage{[](void* data, MSG& msg, LRESULT&) -> bool {
                                     auto* p = static_cast<Probe*>(data);
                                     if (msg.message == kProbe) {
                                         Free(p->form);
                                         p->aliveAfterFree = p->log->Count("form") == 0;
                                     }
                                     return false; // the built-in rules still run on it
                                 },
                                 &probe};
    HWND window = form->Handle;
    SendMessageW(window, kProbe, 0, 0);
    EXPECT_TRUE(probe.aliveAfterFree);
    EXPECT_EQ(log.Count("form"), 1);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Dispatch, AControlWhoseWindowGoesWhileAnExceptionPassesIsLeftToItsOwner) {
    TControl* form = CreateForm(nullptr, u"Form");
    DestroyLog log;
    log.Watch(form, "form");
    Show(form);
    form->OnMessage = TOnMessage{[](void*, MSG& msg, LRESULT&) -> bool {
                                     if (msg.message == kProbe) {
                                         DestroyWindow(msg.hwnd);
                                         throw std::runtime_error("yarıda kaldı");
                                     }
                                     return false;
                                 },
                                 nullptr};
    EXPECT_THROW(SendMessageW(form->Handle, kProbe, 0, 0), std::runtime_error);
    EXPECT_TRUE(form->WindowDestroyed);
    EXPECT_EQ(log.Count("form"), 0); // not freed in the middle of the unwinding
    EXPECT_EQ(form->MessageDepth, 0);
    Free(form); // its owner frees it
    EXPECT_EQ(log.Count("form"), 1);
}

} // namespace
