// A monkey: random taps, drags, holds, keys and texts (Turkish letters, characters outside
// the code page, quotes, long texts), waits, dumps and screenshots, on whatever windows are
// on the screen, scheduled on the device's clock as a script's steps are. Every step is written to a script
// before it runs, so that a run that fails can be replayed with DEVICE_SCRIPT.
#pragma once

#include "script/script.h"
#include "script/script_driver.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace device::script {

class MonkeyDriver final : public StepDriver {
public:
    // Windows whose text is one of `spared` are never tapped (a program's "close" button
    // would end most runs after a few steps).
    MonkeyDriver(std::string scriptPath, std::FILE* script, unsigned seed, int events,
                 int timeoutMs, std::vector<std::u16string> spared);
    ~MonkeyDriver() override;
    MonkeyDriver(const MonkeyDriver&) = delete;
    MonkeyDriver& operator=(const MonkeyDriver&) = delete;

    // Opens the script it writes; prints a line and returns nullptr when it cannot.
    static std::unique_ptr<MonkeyDriver> Start(const std::string& scriptPath, unsigned seed,
                                               int events, int timeoutMs,
                                               std::vector<std::u16string> spared);

private:
    const Step* Upcoming() override;
    void Taken() override;

    Step Next();
    POINT PointIn(const RECT& rect);
    bool Spared(POINT point) const;
    std::u16string Text();
    int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }

    std::FILE* m_script;
    std::mt19937 m_random;
    int m_left;
    std::vector<std::u16string> m_spared;
    std::optional<Step> m_upcoming;
    int m_line = 0;
};

} // namespace device::script
