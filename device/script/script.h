// Device scripts: the steps a headless run replays, one per line.
//
//   tap X Y            stylus down and up at a screen pixel
//   tap "Caption"      tap the centre of the topmost visible window with that text
//   drag X1 Y1 X2 Y2   stylus down, moved and lifted
//   hold X Y MS        stylus down at a screen pixel, held MS milliseconds, lifted
//   type "text"        type each character into the focus window
//   key [SHIFT+][CTRL+]NAME   RETURN TAB BACK DELETE ESCAPE LEFT RIGHT UP DOWN HOME END
//                      SPACE, or a letter or digit
//   screenshot "file.png"
//   dump "file.json"
//   wait MS            let MS milliseconds of the device's clock pass (timers run)
//
// Lines are UTF-8 (a byte-order mark at the start is allowed); '#' starts a comment;
// strings take \" and \\ escapes.
#pragma once

#include "windef.h"

#include <string>
#include <string_view>
#include <vector>

namespace device::script {

enum class StepKind { TapAt, TapCaption, Drag, Hold, Type, Key, Screenshot, Dump, Wait };

struct Step {
    StepKind kind = StepKind::TapAt;
    int line = 0;
    POINT from{};
    POINT to{};
    std::u16string text; // caption or typed text
    std::string path;    // screenshot or dump file
    UINT virtualKey = 0;
    bool shift = false;
    bool control = false;
    int milliseconds = 0; // how long a hold or a wait lasts
};

// The longest hold or wait a step may ask for: ten minutes of the device's clock.
inline constexpr int kLongestWaitMs = 600000;

// Parses a whole script for a screen of the given size; points off the screen are
// refused. On the first bad line fills `error` with what is wrong and `errorLine` with
// the line's number.
bool ParseScript(std::string_view source, SIZE screen, std::vector<Step>* steps, std::string* error,
                 int* errorLine);

// The script line that parses back into `step` (its line number aside). Typed text and
// captions are written as UTF-8, so an unpaired surrogate becomes U+FFFD.
std::string FormatStep(const Step& step);

// Text from a script or the screen as an error line shows it: in double quotes, at most
// its first 80 characters, control characters written as \xHH.
std::string QuoteForError(std::string_view utf8);

} // namespace device::script
