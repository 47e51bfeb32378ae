// The message spy's log and the printing of its records.
#include "device_spy.h"

#include "diag/message_names.h"

#include <cstdio>
#include <map>

namespace device::spy {
namespace {

bool g_recording = false;
std::vector<Record> g_records;
std::map<HWND, std::string> g_roles;

} // namespace

void Start() { g_recording = true; }
void Stop() { g_recording = false; }
bool IsRecording() { return g_recording; }
void Clear() { g_records.clear(); }
const std::vector<Record>& Records() { return g_records; }

void Append(const Record& record) {
    if (g_recording) {
        g_records.push_back(record);
    }
}

void SetRole(HWND hwnd, const std::string& role) { g_roles[hwnd] = role; }

std::string RoleOf(HWND hwnd) {
    auto it = g_roles.find(hwnd);
    if (it != g_roles.end()) {
        return it->second;
    }
    char text[32];
    std::snprintf(text, sizeof text, "hwnd %#lx",
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hwnd)));
    return text;
}

void ClearRoles() { g_roles.clear(); }

std::string Describe(const Record& record) {
    char text[160];
    std::snprintf(text, sizeof text, "%-16s %-24s wp=%#llx lp=%#llx %s depth=%d%s",
                  RoleOf(record.hwnd).c_str(), diag::MessageName(record.message).c_str(),
                  static_cast<unsigned long long>(record.wParam),
                  static_cast<unsigned long long>(record.lParam),
                  record.posted ? "posted" : "sent", record.depth,
                  record.fromDefWindowProc ? " (DefWindowProc)" : "");
    return text;
}

} // namespace device::spy
