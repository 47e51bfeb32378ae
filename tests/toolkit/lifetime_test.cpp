// Lifetimes: holder counts, the auto-free order, pointer-list growth, and the order in
// which a form and its children are torn down.
#include "application.h"
#include "control_factory.h"
#include "dispatch.h"
#include "pointer_list.h"
#include "properties.h"
#include "support/message_log.h"
#include "toolkit_fixture.h"

#include "aygshell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using test::DestroyLog;
using test::ExpectedMsg;
using test::Sent;
using test::WParam;

TEST(RefObject, FirstFreeDestroysAFreshObjectAndOneAddRefSurvivesOneFree) {
    DestroyLog log;
    TPointerList* fresh = NewList();
    log.Watch(fresh, "fresh");
    Free(fresh);
    EXPECT_EQ(log.Order(), std::vector<std::string>{"fresh"});

    TPointerList* held = NewList();
    log.Watch(held, "held");
    AddRef(held);
    Free(held);
    EXPECT_EQ(log.Count("held"), 0);
    EXPECT_EQ(held->RefCount, 0);
    Free(held);
    EXPECT_EQ(log.Count("held"), 1);

    Free(nullptr); // ignored
}

TEST(RefObject, FreeAndNilClearsTheVariableBeforeTheObjectGoes) {
    TPointerList* list = NewList();
    struct Probe {
        TPointerList** variable;
        bool clearedFirst = false;
    } probe{&list};
    list->OnDestroy = TOnEvent{[](void* data, TRefObject*) {
                                   auto* p = static_cast<Probe*>(data);
                                   p->clearedFirst = *p->variable == nullptr;
                               },
                               &probe};
    FreeAndNil(list);
    EXPECT_EQ(list, nullptr);
    EXPECT_TRUE(probe.clearedFirst);
}

TEST(RefObject, AutoFreeObjectsGoInTheOrderTheyWereAttached) {
    DestroyLog log;
    TPointerList* owner = NewList();
    TPointerList* a = NewList();
    TPointerList* b = NewList();
    TPointerList* c = NewList();
    log.Watch(owner, "owner");
    log.Watch(a, "A");
    log.Watch(b, "B");
    log.Watch(c, "C");
    AddToAutoFree(owner, a);
    AddToAutoFree(owner, b);
    AddToAutoFree(owner, c);
    // Newest pair first: (Free, C), (Free, B), (Free, A).
    ASSERT_EQ(owner->AutoFreeList->Count, 6);
    EXPECT_EQ(owner->AutoFreeList->Get(1), c);
    EXPECT_EQ(owner->AutoFreeList->Get(5), a);
    Free(owner);
    EXPECT_EQ(log.Order(), (std::vector<std::string>{"owner", "A", "B", "C"}));
}

TEST(RefObject, RemovingFromTheAutoFreeListDetachesWithoutFreeing) {
    DestroyLog log;
    TPointerList* owner = NewList();
    TPointerList* a = NewList();
    TPointerList* b = NewList();
    TPointerList* stranger = NewList();
    log.Watch(a, "A");
    log.Watch(b, "B");
    AddToAutoFree(owner, a);
    AddToAutoFree(owner, b);

    RemoveFromAutoFree(owner, stranger); // not attached: nothing changes
    EXPECT_EQ(owner->AutoFreeList->Count, 4);
    RemoveFromAutoFree(owner, a);
    EXPECT_EQ(owner->AutoFreeList->Count, 2);
    EXPECT_EQ(owner->AutoFreeList->Get(1), b);
    RemoveFromAutoFree(owner, b);
    EXPECT_EQ(owner->AutoFreeList, nullptr); // the last pair takes the list with it
    EXPECT_TRUE(log.Order().empty());

    Free(owner);
    EXPECT_TRUE(log.Order().empty());
    Free(a);
    Free(b);
    Free(stranger);
}

TEST(RefObject, AFreeReachingAnObjectBeingDestroyedDoesNotDestroyItAgain) {
    DestroyLog log;
    TPointerList* list = NewList();
    log.Watch(list, "list");
    TOnEvent watch = list->OnDestroy;
    struct Again {
        TOnEvent watch;
        LONG countSeen = 0;
    } again{watch};
    list->OnDestroy = TOnEvent{[](void* data, TRefObject* sender) {
                                   auto* a = static_cast<Again*>(data);
                                   a->countSeen = sender->RefCount;
                                   a->watch.Fire(sender);
                                   Free(sender); // a careless holder letting go once more
                               },
                               &again};
    Free(list);
    EXPECT_LT(again.countSeen, 0); // negative while destruction runs
    EXPECT_EQ(log.Count("list"), 1);
}

TEST(PointerList, GrowsByAQuarterWithoutAStepAndByTheStepWithOne) {
    TPointerList* list = NewList();
    list->GrowBy = 0;
    std::vector<LONG> capacities{list->Capacity};
    for (int i = 0; i < 5; ++i) {
        list->Add(nullptr);
        if (capacities.back() != list->Capacity) {
            capacities.push_back(list->Capacity);
        }
    }
    EXPECT_EQ(capacities, (std::vector<LONG>{0, 1, 2, 3, 4, 6}));

    TPointerList* stepped = NewList();
    EXPECT_EQ(stepped->GrowBy, 4);
    std::vector<LONG> steps{stepped->Capacity};
    for (int i = 0; i < 5; ++i) {
        stepped->Add(nullptr);
        if (steps.back() != stepped->Capacity) {
            steps.push_back(stepped->Capacity);
        }
    }
    EXPECT_EQ(steps, (std::vector<LONG>{0, 4, 8}));

    // Large lists grow by at most 1000 entries at a time.
    TPointerList* large = NewList();
    large->GrowBy = 0;
    large->SetCapacity(8000);
    for (int i = 0; i < 8001; ++i) {
        large->Add(nullptr);
    }
    EXPECT_EQ(large->Capacity, 9000);
    Free(list);
    Free(stepped);
    Free(large);
}

TEST(PointerList, InsertDeleteAndLookUpMoveTheRightEntries) {
    TPointerList* list = NewList();
    int a = 0, b = 0, c = 0;
    list->Insert(0, &a);
    EXPECT_EQ(list->Count, 1);
    EXPECT_EQ(list->Get(0), &a);
    list->Insert(0, &b);
    list->Insert(5, &c); // past the end: appended
    EXPECT_EQ(list->Get(0), &b);
    EXPECT_EQ(list->Get(1), &a);
    EXPECT_EQ(list->Get(2), &c);
    EXPECT_EQ(list->Get(3), nullptr);
    EXPECT_EQ(list->Get(-1), nullptr);
    EXPECT_EQ(list->IndexOf(&c), 2);
    list->DeleteRange(1, 10); // cut to the entries that exist
    EXPECT_EQ(list->Count, 1);
    list->DeleteRange(1, 1); // at Count: nothing
    list->Remove(&a);        // not there: nothing
    EXPECT_EQ(list->Count, 1);
    list->Remove(&b);
    EXPECT_EQ(list->Count, 0);
    list->SetCapacity(0);
    EXPECT_EQ(list->Items, nullptr);
    Free(list);
}

class ControlLifetime : public test::ToolkitTest {};

TEST_F(ControlLifetime, FormTeardownHidesAndDestroysChildrenFirstThenItsOwnWindow) {
    DestroyLog log;
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* first = CreateButton(form, u"Bir");
    TControl* second = CreateButton(form, u"İki");
    log.Watch(form, "form");
    log.Watch(first, "first");
    log.Watch(second, "second");
    Show(form);
    Pump();
    HWND formWindow = form->Handle;
    HWND firstWindow = first->Handle;
    HWND secondWindow = second->Handle;
    device::spy::SetRole(formWindow, "form");
    device::spy::SetRole(firstWindow, "first");
    device::spy::SetRole(secondWindow, "second");
    device::spy::SetRole(SHFindMenuBar(formWindow), "menu bar");
    ASSERT_EQ(GetPropW(formWindow, kSelfProperty), form);

    test::StartLog();
    Free(form);
    EXPECT_EQ(log.Order(), (std::vector<std::string>{"form", "first", "second"}));
    EXPECT_TRUE(test::MatchesSequence(
        test::Only(test::Log(), {WM_SHOWWINDOW, WM_DESTROY, WM_NCDESTROY}),
        {
            {"form", WM_SHOWWINDOW, Sent | WParam, FALSE},
            {"first", WM_SHOWWINDOW, Sent | WParam, FALSE},
            {"first", WM_DESTROY},
            {"first", WM_NCDESTROY},
            {"second", WM_SHOWWINDOW, Sent | WParam, FALSE},
            {"second", WM_DESTROY},
            {"second", WM_NCDESTROY},
            {"menu bar", WM_DESTROY}, // the form owns it: it goes first
            {"menu bar", WM_NCDESTROY},
            {"form", WM_DESTROY},
            {"form", WM_NCDESTROY},
        },
        "freeing a shown form"));
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_FALSE(IsWindow(firstWindow));
    EXPECT_FALSE(IsWindow(secondWindow));
}

// The hold around each message lifts the count of a control being destroyed above zero
// again; its handlers must still stay silent for the messages its own teardown sends. The
// form's destruction begins first, so it hears nothing; the button may hear the form's
// hide until its own turn comes.
TEST_F(ControlLifetime, NoAttachedHandlerRunsOnceTheDestructionHasBegun) {
    struct Heard {
        TControl* control;
        UINT message;
        bool destructionBegun;
    };
    static std::vector<Heard> heard;
    heard.clear();
    const TMessageHandler listen = [](TControl* control, MSG& msg, LRESULT&) {
        heard.push_back(Heard{control, msg.message, control->DestructionBegun()});
        return false;
    };
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Bir");
    AttachHandler(form, listen);
    AttachHandler(button, listen);
    Show(form);
    Pump();
    auto heardBy = [](TControl* control) {
        return std::any_of(heard.begin(), heard.end(), [&](const Heard& entry) { return entry.control == control; });
    };
    ASSERT_TRUE(heardBy(form) && heardBy(button));
    heard.clear();
    Free(form);
    EXPECT_FALSE(heardBy(form));
    for (const Heard& entry : heard) {
        EXPECT_FALSE(entry.destructionBegun) << "message " << entry.message;
    }
}

TEST_F(ControlLifetime, FormWindowIsHiddenBeforeItsChildrenGo) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Bir");
    Show(form);
    Pump();
    struct Seen {
        HWND form;
        bool formVisibleWhenButtonWent = true;
    } seen{form->Handle};
    button->OnDestroy = TOnEvent{[](void* data, TRefObject*) {
                                     auto* s = static_cast<Seen*>(data);
                                     s->formVisibleWhenButtonWent = IsWindowVisible(s->form) != FALSE;
                                 },
                                 &seen};
    Free(form);
    EXPECT_FALSE(seen.formVisibleWhenButtonWent);
}

TEST_F(ControlLifetime, DestroyingTheFocusedControlClearsItsFormsFocusedControl) {
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Bir");
    ASSERT_EQ(form->FocusedControl, button);
    struct Seen {
        TControl* form;
        TControl* focusedAfterButton = nullptr;
    } seen{form};
    // Runs while the form is still being torn down, right after the button went.
    TControl* after = CreateLabel(form, u"Son");
    after->OnDestroy = TOnEvent{[](void* data, TRefObject*) {
                                    auto* s = static_cast<Seen*>(data);
                                    s->focusedAfterButton = s->form->FocusedControl;
                                },
                                &seen};
    seen.focusedAfterButton = button;
    Free(form);
    EXPECT_EQ(seen.focusedAfterButton, nullptr);
}

TEST_F(ControlLifetime, AButtonWhoseClickFreesItsFormGoesOnceTheClickIsOver) {
    DestroyLog log;
    TControl* form = CreateForm(nullptr, u"Form");
    TControl* button = CreateButton(form, u"Bir");
    log.Watch(form, "form");
    log.Watch(button, "button");
    Show(form);
    Pump();
    struct Click {
        TControl* form;
        DestroyLog* log;
        bool buttonAliveInClick = false;
    } click{form, &log};
    button->OnClick = TOnEvent{[](void* data, TRefObject*) {
                                   auto* c = static_cast<Click*>(data);
                                   Free(c->form);
                                   c->buttonAliveInClick = c->log->Count("button") == 0;
                               },
                               &click};
    HWND buttonWindow = button->Handle;
    SendMessageW(buttonWindow, CM_COMMAND, MAKEWPARAM(button->ControlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(buttonWindow));
    EXPECT_TRUE(click.buttonAliveInClick); // the handler chain holds it
    EXPECT_EQ(log.Order(), (std::vector<std::string>{"form", "button"}));
    EXPECT_FALSE(IsWindow(buttonWindow));
}

} // namespace
