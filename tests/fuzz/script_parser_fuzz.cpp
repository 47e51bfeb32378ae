// The script parser on any bytes: it accepts or names one line, and every step it gives,
// written back as a script line, parses into the same step.
#include "fuzz_check.h"
#include "script/script.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using device::script::Step;

constexpr SIZE kScreen{240, 320};

bool Same(const Step& a, const Step& b) {
    return a.kind == b.kind && a.from.x == b.from.x && a.from.y == b.from.y && a.to.x == b.to.x &&
           a.to.y == b.to.y && a.text == b.text && a.path == b.path &&
           a.virtualKey == b.virtualKey && a.shift == b.shift && a.control == b.control &&
           a.milliseconds == b.milliseconds;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string source(reinterpret_cast<const char*>(data), size);
    std::vector<Step> steps;
    std::string error;
    int line = 0;
    if (!device::script::ParseScript(source, kScreen, &steps, &error, &line)) {
        FUZZ_CHECK(!error.empty() && line >= 1);
        FUZZ_CHECK(device::script::QuoteForError(source).size() <= 2 + 4 * 80 + 3);
        return 0;
    }
    for (const Step& step : steps) {
        FUZZ_CHECK(step.line >= 1);
        const std::string written = device::script::FormatStep(step);
        std::vector<Step> again;
        FUZZ_CHECK(device::script::ParseScript(written, kScreen, &again, &error, &line));
        FUZZ_CHECK(again.size() == 1 && Same(again[0], step));
    }
    return 0;
}
