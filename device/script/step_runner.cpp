// The steps of a script as input and files.
#include "script/step_runner.h"

#include "device_diag.h"
#include "device_input.h"
#include "diag/json_writer.h"
#include "diag/replace_file.h"
#include "window/geometry.h"
#include "window/window_registry.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace device::script {
namespace {

// The part of a window that is on the screen; a tap lands in its centre.
bool CentreOnScreen(const RECT& window, POINT* centre) {
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT shown{};
    if (!IntersectRect(&shown, &window, &screen)) {
        return false;
    }
    *centre = POINT{(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2};
    return true;
}

StepOutcome TapCaption(const Step& step, std::string* failure) {
    Window* window = LookUp(diag::FindWindowByText(step.text));
    if (window == nullptr) {
        *failure = "no visible window has the text " + QuoteForError(diag::ToUtf8(step.text));
        return StepOutcome::Failed;
    }
    POINT centre{};
    if (!CentreOnScreen(WindowRectOnScreen(window), &centre)) {
        *failure = "the window with the text " + QuoteForError(diag::ToUtf8(step.text)) +
                   " is not on the screen";
        return StepOutcome::Failed;
    }
    input::Tap(centre.x, centre.y);
    return StepOutcome::Queued;
}

void Drag(const Step& step) {
    input::PointerDown(step.from.x, step.from.y);
    // In a wider type: the difference of two coordinates times the step may not fit.
    constexpr long long kMoves = 4;
    const long long dx = static_cast<long long>(step.to.x) - step.from.x;
    const long long dy = static_cast<long long>(step.to.y) - step.from.y;
    for (long long i = 1; i <= kMoves; ++i) {
        input::PointerMove(static_cast<int>(step.from.x + dx * i / kMoves),
                           static_cast<int>(step.from.y + dy * i / kMoves));
    }
    input::PointerUp(step.to.x, step.to.y);
}

bool WriteDump(const std::string& path, std::string* failure) {
    const std::string dump = diag::DumpWindowTree();
    auto write = [&dump](const std::string& temporary, std::string* error) {
        std::ofstream file(temporary, std::ios::binary);
        file << dump;
        file.close();
        if (!file) {
            *error = temporary + ": " + std::strerror(errno);
        }
        return static_cast<bool>(file);
    };
    return diag::ReplaceFile(path, write, failure);
}

} // namespace

StepOutcome RunStep(const Step& step, std::string* failure) {
    switch (step.kind) {
    case StepKind::TapAt:
        input::Tap(step.from.x, step.from.y);
        return StepOutcome::Queued;
    case StepKind::TapCaption:
        return TapCaption(step, failure);
    case StepKind::Drag:
        Drag(step);
        return StepOutcome::Queued;
    case StepKind::Hold:
        // The driver lifts the stylus once the hold's time has passed.
        input::PointerDown(step.from.x, step.from.y);
        return StepOutcome::Queued;
    case StepKind::Wait:
        return StepOutcome::Done; // the driver let its time pass before it
    case StepKind::Type:
        input::TypeText(step.text);
        return step.text.empty() ? StepOutcome::Done : StepOutcome::Queued;
    case StepKind::Key:
        input::PressKey(step.virtualKey, step.shift, step.control);
        return StepOutcome::Queued;
    case StepKind::Screenshot: {
        std::string error;
        if (!diag::WriteScreenshot(step.path, &error)) {
            *failure = "cannot write the screenshot: " + error;
            return StepOutcome::Failed;
        }
        return StepOutcome::Done;
    }
    case StepKind::Dump: {
        std::string error;
        if (!WriteDump(step.path, &error)) {
            *failure = "cannot write the dump: " + error;
            return StepOutcome::Failed;
        }
        return StepOutcome::Done;
    }
    }
    return StepOutcome::Done;
}

} // namespace device::script
