// The message spy: records every delivery to a window procedure while switched on, for
// message-sequence tests and tracing. Not part of the Win32 API.
#pragma once

#include "windows.h"

#include <string>
#include <vector>

namespace device::spy {

struct Record {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool posted = false;           // taken from the queue and dispatched, rather than sent
    int depth = 0;                 // window procedures already running when it was delivered
    bool fromDefWindowProc = false; // sent by DefWindowProcW on the window's behalf
};

void Start();
void Stop();
bool IsRecording();
void Clear();
const std::vector<Record>& Records();
void Append(const Record& record);

// Names a window in printed sequences ("main form", "save button").
void SetRole(HWND hwnd, const std::string& role);
std::string RoleOf(HWND hwnd);
void ClearRoles();

// One line per record: role, message name, parameters, sent/posted, depth.
std::string Describe(const Record& record);

} // namespace device::spy
