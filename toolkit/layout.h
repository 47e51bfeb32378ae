// Arranging controls inside their parents: alignment to the edges of the parent's remaining
// client area, anchors that follow the parent's right and bottom edges, and labels that
// take the size of their text. Everything acts through BoundsRect, so the platform sees
// ordinary SetWindowPos calls.
#pragma once

#include "control.h"

#include "windows.h"

// Values of TControl::Align.
enum : BYTE { alNone = 0, alLeft = 1, alTop = 2, alRight = 3, alBottom = 4, alClient = 5 };

// Bits of TControl::AlignState.
inline constexpr BYTE kRealignPending = 0x01;   // its children's realignment waits for a showing
inline constexpr BYTE kBeingPlaced = 0x02;      // its parent's alignment is placing it right now
inline constexpr BYTE kAligningChildren = 0x04; // it is placing its own children right now

// The Align write: installs RealignHook for good (on every call), then realigns when the
// value changes. Returns the control.
TControl* SetAlign(TControl* control, BYTE align);
// Realigns the control's parent (for an aligned child) or the control itself; a hidden
// tree only records that the work is pending.
void RequestRealign(TControl* control);
// Whether the control and every level up to its form are shown (or about to be); each
// level that is not marks its realignment pending.
bool IsLaidOut(TControl* control);
// Places the aligned children: top and bottom first, then left and right, then client.
void RealignChildren(TControl* container);

// Turns label auto-sizing on (and runs it at once) or off. Returns the control.
TControl* AutoSize(TControl* control, bool on);
// Sizes the control to its text plus its kind's extra width and height, in the dimensions
// that alignment does not set.
void LabelAutoSize(TControl* control);

// Sets the four anchor flags; the parent starts watching its client size. Returns the
// control.
TControl* Anchor(TControl* control, bool left, bool top, bool right, bool bottom);
// Attached to a parent: moves or stretches right- and bottom-anchored children when the
// parent's client size changes. Never handles the message.
bool AnchorHandler(TControl* parent, MSG& msg, LRESULT& result);
