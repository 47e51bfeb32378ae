// The desktop window's mapping without a display: where the scaled screen sits, which
// device pixel a desktop pixel is, which virtual key a desktop key is, and text decoding.
#include "display/sdl_keys.h"
#include "display/sdl_view.h"
#include "windows.h"

#include <gtest/gtest.h>

namespace {

using device::sdl::ControlCharacterFor;
using device::sdl::DevicePointFor;
using device::sdl::FitScreen;
using device::sdl::ScreenView;
using device::sdl::ShortcutCharacterFor;
using device::sdl::Utf16FromUtf8;
using device::sdl::Utf8FromUtf16;
using device::sdl::VirtualKeyFor;

TEST(DesktopScreenView, TakesTheLargestWholeScaleThatFitsAndCentresTheScreen) {
    ScreenView exact = FitScreen(480, 640, 240, 320);
    EXPECT_EQ(exact.scale, 2);
    EXPECT_EQ(exact.left, 0);
    EXPECT_EQ(exact.top, 0);

    // Wide enough for 3, tall enough only for 2.
    ScreenView wide = FitScreen(800, 700, 240, 320);
    EXPECT_EQ(wide.scale, 2);
    EXPECT_EQ(wide.left, 160);
    EXPECT_EQ(wide.top, 30);
    EXPECT_EQ(wide.width, 480);
    EXPECT_EQ(wide.height, 640);

    EXPECT_EQ(FitScreen(2000, 2000, 240, 320).scale, 6);

    // Smaller than the screen: scale 1 from the corner, never 0.
    ScreenView small = FitScreen(200, 300, 240, 320);
    EXPECT_EQ(small.scale, 1);
    EXPECT_EQ(small.left, 0);
    EXPECT_EQ(small.top, 0);
}

TEST(DesktopScreenView, MapsEveryDesktopPixelOfADevicePixelToIt) {
    ScreenView view = FitScreen(800, 700, 240, 320); // scale 2 at (160, 30)
    POINT point{-5, -5};
    ASSERT_TRUE(DevicePointFor(view, 160, 30, false, &point));
    EXPECT_EQ(point.x, 0);
    EXPECT_EQ(point.y, 0);
    ASSERT_TRUE(DevicePointFor(view, 161, 31, false, &point));
    EXPECT_EQ(point.x, 0);
    EXPECT_EQ(point.y, 0);
    ASSERT_TRUE(DevicePointFor(view, 162, 33, false, &point));
    EXPECT_EQ(point.x, 1);
    EXPECT_EQ(point.y, 1);
    ASSERT_TRUE(DevicePointFor(view, 639, 669, false, &point));
    EXPECT_EQ(point.x, 239);
    EXPECT_EQ(point.y, 319);
}

TEST(DesktopScreenView, OutsideTheScreenNothingIsTouchedUnlessADragIsClampedToTheEdge) {
    ScreenView view = FitScreen(800, 700, 240, 320);
    POINT point{7, 7};
    // The desktop pixel just left of the screen must not round to device column 0.
    EXPECT_FALSE(DevicePointFor(view, 159, 100, false, &point));
    EXPECT_FALSE(DevicePointFor(view, 640, 100, false, &point));
    EXPECT_FALSE(DevicePointFor(view, 300, 670, false, &point));
    EXPECT_EQ(point.x, 7);

    ASSERT_TRUE(DevicePointFor(view, 159, 100, true, &point));
    EXPECT_EQ(point.x, 0);
    ASSERT_TRUE(DevicePointFor(view, -50, -50, true, &point));
    EXPECT_EQ(point.x, 0);
    EXPECT_EQ(point.y, 0);
    ASSERT_TRUE(DevicePointFor(view, 5000, 5000, true, &point));
    EXPECT_EQ(point.x, 239);
    EXPECT_EQ(point.y, 319);
}

TEST(DesktopKeys, LettersFollowTheLayoutAndOtherCharactersTheirPlaceOnAUsKeyboard) {
    // On an AZERTY keyboard the key that types 'a' sits where US has Q.
    EXPECT_EQ(VirtualKeyFor(SDLK_a, SDL_SCANCODE_Q), UINT{'A'});
    EXPECT_EQ(VirtualKeyFor(SDLK_z, SDL_SCANCODE_Z), UINT{'Z'});
    EXPECT_EQ(VirtualKeyFor(SDLK_0, SDL_SCANCODE_0), UINT{'0'});
    EXPECT_EQ(VirtualKeyFor(SDLK_9, SDL_SCANCODE_9), UINT{'9'});
    // Turkish Q: ç on the US period key, ı on the US I key, ş on the US semicolon key.
    EXPECT_EQ(VirtualKeyFor(0xE7, SDL_SCANCODE_PERIOD), UINT(VK_OEM_PERIOD));
    EXPECT_EQ(VirtualKeyFor(0x131, SDL_SCANCODE_I), UINT{'I'});
    EXPECT_EQ(VirtualKeyFor(0x15F, SDL_SCANCODE_SEMICOLON), UINT(VK_OEM_1));
    // A layout with digits on shifted keys still has the digit row.
    EXPECT_EQ(VirtualKeyFor(0x26, SDL_SCANCODE_1), UINT{'1'});
    EXPECT_EQ(VirtualKeyFor(0xE0, SDL_SCANCODE_0), UINT{'0'});
}

TEST(DesktopKeys, NamedKeysHaveTheirVirtualKeysWhateverTheLayout) {
    EXPECT_EQ(VirtualKeyFor(SDLK_RETURN, SDL_SCANCODE_RETURN), UINT(VK_RETURN));
    EXPECT_EQ(VirtualKeyFor(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), UINT(VK_RETURN));
    EXPECT_EQ(VirtualKeyFor(SDLK_PAGEUP, SDL_SCANCODE_PAGEUP), UINT(VK_PRIOR));
    EXPECT_EQ(VirtualKeyFor(SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN), UINT(VK_NEXT));
    EXPECT_EQ(VirtualKeyFor(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT), UINT(VK_SHIFT));
    EXPECT_EQ(VirtualKeyFor(SDLK_RCTRL, SDL_SCANCODE_RCTRL), UINT(VK_CONTROL));
    EXPECT_EQ(VirtualKeyFor(SDLK_RALT, SDL_SCANCODE_RALT), UINT(VK_MENU));
    EXPECT_EQ(VirtualKeyFor(SDLK_F1, SDL_SCANCODE_F1), UINT(VK_F1));
    EXPECT_EQ(VirtualKeyFor(SDLK_F12, SDL_SCANCODE_F12), UINT{0x7B});
    EXPECT_EQ(VirtualKeyFor(SDLK_F13, SDL_SCANCODE_F13), UINT{0x7C});
    EXPECT_EQ(VirtualKeyFor(SDLK_F24, SDL_SCANCODE_F24), UINT(VK_F24));
    EXPECT_EQ(VirtualKeyFor(SDLK_KP_7, SDL_SCANCODE_KP_7), UINT(VK_NUMPAD0 + 7));
    EXPECT_EQ(VirtualKeyFor(SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP), 0u);
}

TEST(DesktopKeys, OnlyControlCharactersRideOnTheKeyDown) {
    EXPECT_EQ(ControlCharacterFor(VK_RETURN, false, false), u'\r');
    EXPECT_EQ(ControlCharacterFor(VK_RETURN, true, false), u'\n');
    EXPECT_EQ(ControlCharacterFor(VK_BACK, false, false), u'\b');
    EXPECT_EQ(ControlCharacterFor(VK_BACK, true, false), char16_t{0x7F});
    EXPECT_EQ(ControlCharacterFor(VK_TAB, false, false), u'\t');
    EXPECT_EQ(ControlCharacterFor(VK_ESCAPE, false, false), char16_t{0x1B});
    EXPECT_EQ(ControlCharacterFor('A', true, false), char16_t{1});
    EXPECT_EQ(ControlCharacterFor('Z', true, false), char16_t{26});
    // Printable keys type through text input; AltGr (CTRL+ALT) types, it does not control.
    EXPECT_EQ(ControlCharacterFor('A', false, false), 0);
    EXPECT_EQ(ControlCharacterFor(VK_SPACE, false, false), 0);
    EXPECT_EQ(ControlCharacterFor('Q', true, true), 0);
    EXPECT_EQ(ControlCharacterFor(VK_DELETE, false, false), 0);
}

TEST(DesktopKeys, AltShortcutsTranslateToTheKeysOwnCharacter) {
    EXPECT_EQ(ShortcutCharacterFor(SDLK_x, false), u'x');
    EXPECT_EQ(ShortcutCharacterFor(SDLK_x, true), u'X');
    EXPECT_EQ(ShortcutCharacterFor(0xE7, false), u'ç');
    EXPECT_EQ(ShortcutCharacterFor(SDLK_TAB, false), 0);
    EXPECT_EQ(ShortcutCharacterFor(SDLK_LEFT, false), 0);
}

TEST(DesktopText, Utf8BecomesUtf16UnitsAndMalformedBytesBecomeReplacements) {
    EXPECT_EQ(Utf16FromUtf8("çğıİöşü ÇĞÖŞÜ"), u"çğıİöşü ÇĞÖŞÜ");
    EXPECT_EQ(Utf16FromUtf8("\xF0\x9F\x98\x80"), std::u16string({0xD83D, 0xDE00}));
    EXPECT_EQ(Utf16FromUtf8(""), u"");
    // A lone continuation byte, a sequence cut short, an overlong NUL, an encoded surrogate.
    EXPECT_EQ(Utf16FromUtf8("a\x80\x62"), u"a\uFFFDb");
    EXPECT_EQ(Utf16FromUtf8("a\xC3"), u"a\uFFFD");
    // 0xC0 never starts a sequence, so both bytes are replaced (Unicode's recommended
    // handling of maximal subparts).
    EXPECT_EQ(Utf16FromUtf8("\xC0\x80"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf16FromUtf8("\xED\xA0\x80\x78"), u"\uFFFD\uFFFD\uFFFDx");
    EXPECT_EQ(Utf8FromUtf16(u"Şık \U0001F600"), "Şık \xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8FromUtf16(std::u16string({0xD800, u'a'})), "\xEF\xBF\xBD\x61");
}

} // namespace
