// The scrolling container: a control (here, a form) whose children may not fit its client
// area gets scroll bars sized to their extent, moves them when the user scrolls, and
// scrolls a child into view when that child takes the focus.
#pragma once

#include "control.h"

#include "windows.h"

// Turns the container into a scrolling container, covering every control below it now
// and every one added later.
void MakeScrolling(TControl* container);
// The ChildrenChangedHook of a scrolling container and of everything below it: the new
// child scrolls into view when it takes the focus, and so will its own children.
void ScrollChildAdded(TControl* parent, TControl* child);

// Scrolls the container so that the control lies inside its client area, vertically first;
// false when no scrolling was needed.
bool ScrollIntoView(TControl* control, TControl* container);
// Recomputes both scroll bars from the children's extent.
void UpdateScrollRanges(TControl* container);
// Moves the children to match the scroll positions.
void ScrollChildren(TControl* container);

// The extent of the shown children, widened by the container's Margin.
RECT ContentBounds(TControl* container);
// Whether the control and its ancestors are shown (or about to be).
bool IsShown(TControl* control);
// Sets one scroll bar (SB_HORZ or SB_VERT) of the container from a page and the content's
// low and high edges.
void SetScrollBar(TControl* container, int bar, int page, int lo, int hi);
// Moves the bar's position just enough to bring lo..hi inside 0..extent (less the Margin);
// false when it already is. The platform keeps the position within the range.
bool ScrollBarToInclude(TControl* container, int bar, int lo, int hi, int extent);

// Attached handlers; only ScrollContainerHandler ever handles a message (CM_UPDATESCROLL).
bool ScrollBarHandler(TControl* container, MSG& msg, LRESULT& result);
bool ScrollContainerHandler(TControl* container, MSG& msg, LRESULT& result);
bool ScrollFocusHandler(TControl* control, MSG& msg, LRESULT& result);
