// The sequence matcher.
#include "support/message_log.h"

#include "windows.h"

#include <algorithm>
#include <sstream>

namespace test {

void StartLog() {
    device::spy::Clear();
    device::spy::Start();
}

Records Log() { return device::spy::Records(); }

Records Only(const Records& records, std::initializer_list<UINT> messages) {
    Records out;
    for (const auto& record : records) {
        if (std::find(messages.begin(), messages.end(), record.message) != messages.end()) {
            out.push_back(record);
        }
    }
    return out;
}

Records Without(const Records& records, std::initializer_list<UINT> messages) {
    Records out;
    for (const auto& record : records) {
        if (std::find(messages.begin(), messages.end(), record.message) == messages.end()) {
            out.push_back(record);
        }
    }
    return out;
}

Records ForRole(const Records& records, const std::string& role) {
    Records out;
    for (const auto& record : records) {
        if (device::spy::RoleOf(record.hwnd) == role) {
            out.push_back(record);
        }
    }
    return out;
}

Records WithoutNoise(const Records& records) {
    // Painting comes whenever the queue is drained and cursor shape queries come with
    // every stylus event; sequences about other things leave both out.
    return Without(records, {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC,
                             WM_CTLCOLOREDIT, WM_SETCURSOR, WM_NCHITTEST, WM_GETTEXT, WM_GETTEXTLENGTH,
                             WM_GETFONT});
}

namespace {

bool Matches(const device::spy::Record& record, const ExpectedMsg& expected) {
    if (device::spy::RoleOf(record.hwnd) != expected.role || record.message != expected.message) {
        return false;
    }
    if ((expected.flags & Sent) != 0 && record.posted) {
        return false;
    }
    if ((expected.flags & Posted) != 0 && !record.posted) {
        return false;
    }
    if ((expected.flags & WParam) != 0 && record.wParam != expected.wParam) {
        return false;
    }
    if ((expected.flags & LParam) != 0 && record.lParam != expected.lParam) {
        return false;
    }
    if ((expected.flags & Defwnd) != 0 && !record.fromDefWindowProc) {
        return false;
    }
    return true;
}

std::string DescribeExpected(const ExpectedMsg& expected) {
    device::spy::Record record;
    record.message = expected.message;
    record.wParam = expected.wParam;
    record.lParam = expected.lParam;
    record.posted = (expected.flags & Posted) != 0;
    std::string text = device::spy::Describe(record);
    // Replace the window column with the expected role.
    std::ostringstream out;
    out << expected.role << " | " << text.substr(text.find(' ') == std::string::npos ? 0 : 17);
    if ((expected.flags & Optional) != 0) {
        out << " (optional)";
    }
    return out.str();
}

} // namespace

::testing::AssertionResult MatchesSequence(const Records& actual, const std::vector<ExpectedMsg>& expected,
                                           const std::string& context) {
    size_t a = 0;
    size_t e = 0;
    bool ok = true;
    while (e < expected.size()) {
        if (a < actual.size() && Matches(actual[a], expected[e])) {
            ++a;
            ++e;
        } else if ((expected[e].flags & Optional) != 0) {
            ++e;
        } else {
            ok = false;
            break;
        }
    }
    if (ok && a == actual.size()) {
        return ::testing::AssertionSuccess();
    }
    std::ostringstream out;
    out << context << ": the message sequence differs";
    if (e < expected.size()) {
        out << " at expected entry " << e;
    } else {
        out << ": extra messages after the expected ones";
    }
    out << "\n  expected:\n";
    for (size_t i = 0; i < expected.size(); ++i) {
        out << (i == e ? "  > " : "    ") << DescribeExpected(expected[i]) << "\n";
    }
    out << "  actual:\n";
    for (size_t i = 0; i < actual.size(); ++i) {
        out << (i == a ? "  > " : "    ") << device::spy::Describe(actual[i]) << "\n";
    }
    return ::testing::AssertionFailure() << out.str();
}

} // namespace test
