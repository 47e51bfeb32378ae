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
// Lines are UTF-8; '#' starts a comment; strings take \" and \\ escapes.
#pragma once

#include "windef.h"

#include <string>
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

// Parses a whole script; on the first bad line fills `error` with "line N: what" and
// `errorLine` with N.
bool ParseScript(const std::string& source, std::vector<Step>* steps, std::string* error, int* errorLine);

// UTF-8 to UTF-16; false on malformed input.
bool Utf8ToUtf16(const std::string& utf8, std::u16string* out);

} // namespace device::script
