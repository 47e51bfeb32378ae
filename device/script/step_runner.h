// Carrying out one script step on the device: the input it stands for is queued, or the
// screenshot or dump it asks for is written.
#pragma once

#include "script/script.h"

#include <string>

namespace device::script {

enum class StepOutcome {
    Queued, // input is waiting for the program
    Done,   // nothing for the program to take (a file was written, nothing to type)
    Failed, // the step cannot run; the reason is in `failure`
};

StepOutcome RunStep(const Step& step, std::string* failure);

} // namespace device::script
