// Xvfb, the child program, xdotool and the few Xlib calls the desktop window's tests make.
#include "x_session.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace desktop_test {
namespace {

constexpr int kServerStartMs = 15000;
constexpr int kXdotoolSeconds = 10;

// Waits for `pid` to end within timeoutMs; its raw wait status, or -1.
int WaitWithDeadline(pid_t pid, int timeoutMs) {
    long long deadline = MonotonicMs() + timeoutMs;
    for (;;) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return status;
        }
        if (done < 0 || MonotonicMs() > deadline) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void StopProcess(pid_t pid) {
    kill(pid, SIGTERM);
    if (WaitWithDeadline(pid, 3000) == -1) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

// Xlib's default error handler ends the process; a test wants a failed call instead.
int g_lastXError = 0;
int RecordXError(::Display*, XErrorEvent* event) {
    g_lastXError = event->error_code;
    return 0;
}

::Display* OpenDisplay(const std::string& name, std::string* error) {
    XSetErrorHandler(RecordXError);
    ::Display* display = XOpenDisplay(name.c_str());
    if (display == nullptr) {
        *error = "cannot open X display " + name;
    }
    return display;
}

} // namespace

long long MonotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

XvfbServer::~XvfbServer() {
    if (m_pid > 0) {
        StopProcess(m_pid);
    }
}

bool XvfbServer::Start(std::string* error) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        *error = "pipe failed";
        return false;
    }
    pid_t pid = fork();
    if (pid < 0) {
        *error = "fork failed";
        return false;
    }
    if (pid == 0) {
        // A test process that is killed must not leave its server behind.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(pipeFds[0]);
        int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        std::string fd = std::to_string(pipeFds[1]);
        // Large enough for the device's screen at scale 3 with room around it. Without
        // -noreset the server would forget a keyboard mapping set while no client is there.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x1200x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    m_pid = pid;
    close(pipeFds[1]);
    // Xvfb writes its display number to the descriptor once it accepts clients.
    std::string number;
    long long deadline = MonotonicMs() + kServerStartMs;
    while (number.find('\n') == std::string::npos) {
        long long left = deadline - MonotonicMs();
        pollfd wait{pipeFds[0], POLLIN, 0};
        if (left <= 0 || poll(&wait, 1, static_cast<int>(left)) <= 0) {
            *error = "Xvfb did not report a display within " +
                     std::to_string(kServerStartMs / 1000) + " s";
            break;
        }
        char buffer[32];
        ssize_t got = read(pipeFds[0], buffer, sizeof(buffer));
        if (got <= 0) {
            int status = WaitWithDeadline(m_pid, 1000);
            *error = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 127
                         ? "Xvfb is not installed"
                         : "Xvfb ended before it reported a display";
            if (status != -1) {
                m_pid = -1;
            }
            break;
        }
        number.append(buffer, static_cast<size_t>(got));
    }
    close(pipeFds[0]);
    if (number.find('\n') == std::string::npos) {
        return false;
    }
    m_display = ":" + number.substr(0, number.find('\n'));
    return true;
}

ChildProgram::~ChildProgram() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

bool ChildProgram::Start(const std::string& path, const std::string& directory,
                         const std::map<std::string, std::string>& environment,
                         const std::string& errorPath) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string variable = *entry;
        std::string name = variable.substr(0, variable.find('='));
        if (environment.count(name) == 0) {
            variables.push_back(variable);
        }
    }
    for (const auto& [name, value] : environment) {
        if (!value.empty()) {
            variables.push_back(name + "=" + value);
        }
    }
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    pid_t pid = fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        int errors = open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (errors >= 0) {
            dup2(errors, STDERR_FILENO);
        }
        if (chdir(directory.c_str()) != 0) {
            _exit(126);
        }
        char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
        execve(path.c_str(), argv, envp.data());
        _exit(127);
    }
    m_pid = pid;
    return true;
}

int ChildProgram::WaitForExit(int timeoutMs) {
    if (m_pid <= 0) {
        return -1;
    }
    int status = WaitWithDeadline(m_pid, timeoutMs);
    if (status == -1) {
        return -1; // the destructor kills it
    }
    m_pid = -1;
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

std::string Xdotool(const std::string& arguments, bool* ok) {
    std::string command =
        "timeout " + std::to_string(kXdotoolSeconds) + " xdotool " + arguments + " 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        *ok = false;
        return output;
    }
    char buffer[256];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        output.append(buffer, got);
    }
    int status = pclose(pipe);
    *ok = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return output;
}

bool GrabWindow(const std::string& displayName, unsigned long window, WindowPicture* picture,
                std::string* error) {
    ::Display* display = OpenDisplay(displayName, error);
    if (display == nullptr) {
        return false;
    }
    g_lastXError = 0;
    XWindowAttributes attributes{};
    bool ok = XGetWindowAttributes(display, window, &attributes) != 0;
    XImage* image = ok ? XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                                   static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap)
                       : nullptr;
    if (image == nullptr) {
        *error = "cannot read the window's pixels (X error " + std::to_string(g_lastXError) + ")";
        XCloseDisplay(display);
        return false;
    }
    picture->width = attributes.width;
    picture->height = attributes.height;
    picture->pixels.resize(static_cast<size_t>(picture->width) *
                           static_cast<size_t>(picture->height));
    for (int y = 0; y < picture->height; ++y) {
        for (int x = 0; x < picture->width; ++x) {
            picture->pixels[static_cast<size_t>(y) * picture->width + x] =
                static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    return true;
}

bool UseTurkishLetterKeys(const std::string& displayName, std::string* error) {
    struct LetterKey {
        KeySym usKey; // names the key by what a US keyboard has on it
        KeySym lower;
        KeySym upper;
    };
    const LetterKey keys[] = {
        {XK_bracketleft, XK_gbreve, XK_Gbreve},
        {XK_bracketright, XK_udiaeresis, XK_Udiaeresis},
        {XK_semicolon, XK_scedilla, XK_Scedilla},
        {XK_apostrophe, XK_i, XK_Iabovedot},
        {XK_comma, XK_odiaeresis, XK_Odiaeresis},
        {XK_period, XK_ccedilla, XK_Ccedilla},
        {XK_i, XK_idotless, XK_I},
        {XK_slash, XK_period, XK_colon},
    };
    ::Display* display = OpenDisplay(displayName, error);
    if (display == nullptr) {
        return false;
    }
    g_lastXError = 0;
    for (const LetterKey& key : keys) {
        KeyCode code = XKeysymToKeycode(display, key.usKey);
        if (code == 0) {
            *error = "the X keyboard has no US key " + std::string(XKeysymToString(key.usKey));
            XCloseDisplay(display);
            return false;
        }
        KeySym symbols[] = {key.lower, key.upper};
        XChangeKeyboardMapping(display, code, 2, symbols, 1);
    }
    XSync(display, False);
    XCloseDisplay(display);
    if (g_lastXError != 0) {
        *error =
            "changing the keyboard mapping failed (X error " + std::to_string(g_lastXError) + ")";
        return false;
    }
    return true;
}

bool RequestClose(const std::string& displayName, unsigned long window, std::string* error) {
    ::Display* display = OpenDisplay(displayName, error);
    if (display == nullptr) {
        return false;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    g_lastXError = 0;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    if (g_lastXError != 0) {
        *error = "the close request failed (X error " + std::to_string(g_lastXError) + ")";
        return false;
    }
    return true;
}

} // namespace desktop_test
