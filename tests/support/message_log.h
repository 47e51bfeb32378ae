// Message-sequence checking in the style of a platform conformance suite: the device's
// spy records every delivery, tests compare what a window heard with a table.
#pragma once

#include "device_spy.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace test {

enum MsgFlags : unsigned {
    Sent = 1u << 0,     // must have been sent (not posted)
    Posted = 1u << 1,   // must have been taken from the queue and dispatched
    WParam = 1u << 2,   // wParam must match
    LParam = 1u << 3,   // lParam must match
    Defwnd = 1u << 4,   // must have been sent by DefWindowProcW
    Optional = 1u << 5, // may be missing
};

struct ExpectedMsg {
    const char* role; // the window, by the role the test gave it
    UINT message;
    unsigned flags = Sent;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

using Records = std::vector<device::spy::Record>;

// Starts recording from a clean log.
void StartLog();
Records Log();

// Only the records of these messages / without these messages / of one window.
Records Only(const Records& records, std::initializer_list<UINT> messages);
Records Without(const Records& records, std::initializer_list<UINT> messages);
Records ForRole(const Records& records, const std::string& role);
// Drops painting and cursor traffic, which most sequences do not care about.
Records WithoutNoise(const Records& records);

// Compares the records with the expected table; on a mismatch the message shows both
// sides with decoded names.
::testing::AssertionResult MatchesSequence(const Records& actual, const std::vector<ExpectedMsg>& expected,
                                           const std::string& context);

} // namespace test
