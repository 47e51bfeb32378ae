// A private X server (Xvfb) for the desktop window's tests, the program under test as a
// child process, and the X-side views the tests need: xdotool commands, window pictures
// and the window manager's close request. Every wait has a deadline.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace desktop_test {

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts Xvfb on a free display number; false with `error` filled when it cannot.
    bool Start(std::string* error);
    const std::string& Display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

class ChildProgram {
public:
    ChildProgram() = default;
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    // Runs `path` in `directory` with the environment changed by `environment` (an empty
    // value removes the variable); stderr goes to `errorPath`.
    bool Start(const std::string& path, const std::string& directory,
               const std::map<std::string, std::string>& environment, const std::string& errorPath);
    pid_t Pid() const { return m_pid; }
    // The exit status once the program has ended within `timeoutMs`, else -1 (and the
    // program is killed). A program killed by a signal gives 128 + the signal.
    int WaitForExit(int timeoutMs);

private:
    pid_t m_pid = -1;
};

// Runs xdotool with `arguments` (shell words) under a time limit; returns its output, and
// false in `ok` when it failed or timed out.
std::string Xdotool(const std::string& arguments, bool* ok);

// A window's pixels as 0x00RRGGBB, grabbed from the X server.
struct WindowPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

bool GrabWindow(const std::string& display, unsigned long window, WindowPicture* picture,
                std::string* error);

// Puts the Turkish Q letters on the keys where a Turkish keyboard has them (ğ ü ş i ö ç on
// US [ ] ; ' , . and ı on I), each with its capital on SHIFT, as the X keyboard of a
// Turkish desktop has them.
bool UseTurkishLetterKeys(const std::string& display, std::string* error);

// Asks the window to close the way a window manager does (WM_DELETE_WINDOW).
bool RequestClose(const std::string& display, unsigned long window, std::string* error);

std::string ReadFile(const std::string& path);
long long MonotonicMs();

} // namespace desktop_test
