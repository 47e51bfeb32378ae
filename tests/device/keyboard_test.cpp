// The keyboard as a program sees it: the bits of a key message's lParam, the key state
// during each message (held modifiers, CAPS LOCK's toggle) and the characters that
// TranslateMessage makes from them.
#include "support/device_fixture.h"

#include <vector>

namespace {

// One keyboard message as the focus window heard it, with the key state at that moment.
struct Heard {
    UINT message = 0;
    WPARAM key = 0;
    LPARAM lParam = 0;
    bool shift = false;
    bool control = false;
};

std::vector<Heard>& HeardLog() {
    static std::vector<Heard> log;
    return log;
}

LRESULT CALLBACK ListeningProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR) {
        HeardLog().push_back({message, wParam, lParam, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0});
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class KeyboardTest : public test::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        HWND form = MakeWindow("form", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
        HWND listener = MakeWindow("listener", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, form, 1);
        SetWindowLongPtrW(listener, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListeningProc));
        SetFocus(listener);
        Pump();
        HeardLog().clear();
    }
    static std::u16string Typed() {
        std::u16string typed;
        for (const Heard& heard : HeardLog()) {
            if (heard.message == WM_CHAR) {
                typed += static_cast<char16_t>(heard.key);
            }
        }
        return typed;
    }
};

TEST_F(KeyboardTest, ARepeatedKeyDownSaysTheKeyWasAlreadyDown) {
    device::input::KeyDown('A');
    device::input::KeyDown('A');
    device::input::KeyUp('A');
    Pump();
    struct Expected {
        UINT message;
        WPARAM key;
        bool wasDown; // lParam bit 30
        bool goingUp; // lParam bit 31
    };
    const Expected expected[] = {
        {WM_KEYDOWN, 'A', false, false}, {WM_CHAR, 'a', false, false}, // the character carries its key's lParam
        {WM_KEYDOWN, 'A', true, false},  {WM_CHAR, 'a', true, false},
        {WM_KEYUP, 'A', true, true},
    };
    ASSERT_EQ(HeardLog().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const Heard& heard = HeardLog()[i];
        EXPECT_EQ(heard.message, expected[i].message) << i;
        EXPECT_EQ(heard.key, expected[i].key) << i;
        EXPECT_EQ(LOWORD(heard.lParam), 1) << i << ": each message is one stroke";
        EXPECT_EQ((heard.lParam >> 30 & 1) != 0, expected[i].wasDown) << i;
        EXPECT_EQ((heard.lParam >> 31 & 1) != 0, expected[i].goingUp) << i;
    }
}

TEST_F(KeyboardTest, CapsLockTogglesOnItsPressOnlyAndTurnsLettersAround) {
    const auto toggled = [] { return (GetKeyState(VK_CAPITAL) & 1) != 0; };
    device::input::PressKey(VK_CAPITAL);
    Pump();
    EXPECT_TRUE(toggled());
    EXPECT_GE(GetKeyState(VK_CAPITAL), 0); // toggled, but no longer held
    // Holding it down repeats the key-down, but only the press toggles.
    device::input::KeyDown(VK_CAPITAL);
    device::input::KeyDown(VK_CAPITAL);
    Pump();
    EXPECT_FALSE(toggled());
    device::input::KeyUp(VK_CAPITAL);
    Pump();
    EXPECT_FALSE(toggled());
    // The keys pressed after it, queued together with it, are translated with the new state.
    HeardLog().clear();
    device::input::PressKey(VK_CAPITAL);
    device::input::PressKey('K');
    device::input::PressKey('K', true);
    Pump();
    EXPECT_EQ(Typed(), u"Kk");
}

TEST_F(KeyboardTest, HeldModifiersAreDownDuringTheKeysOwnMessages) {
    device::input::KeyDown(VK_SHIFT);
    device::input::KeyDown('1');
    device::input::KeyUp('1');
    device::input::KeyUp(VK_SHIFT);
    device::input::KeyDown(VK_CONTROL);
    device::input::KeyDown('C');
    device::input::KeyUp('C');
    device::input::KeyUp(VK_CONTROL);
    Pump();
    struct Expected {
        UINT message;
        WPARAM key;
        bool shift;
        bool control;
    };
    const Expected expected[] = {
        {WM_KEYDOWN, VK_SHIFT, true, false}, // the state already counts the key being pressed
        {WM_KEYDOWN, '1', true, false},
        {WM_CHAR, '!', true, false},
        {WM_KEYUP, '1', true, false},
        {WM_KEYUP, VK_SHIFT, false, false},
        {WM_KEYDOWN, VK_CONTROL, false, true},
        {WM_KEYDOWN, 'C', false, true},
        {WM_CHAR, 0x03, false, true}, // CTRL+C
        {WM_KEYUP, 'C', false, true},
        {WM_KEYUP, VK_CONTROL, false, false},
    };
    ASSERT_EQ(HeardLog().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const Heard& heard = HeardLog()[i];
        EXPECT_EQ(heard.message, expected[i].message) << i;
        EXPECT_EQ(heard.key, expected[i].key) << i;
        EXPECT_EQ(heard.shift, expected[i].shift) << i;
        EXPECT_EQ(heard.control, expected[i].control) << i;
    }
}

} // namespace
