#pragma once

// Programs for the runner's tests, assembled from lines of source.

#include "Brenvik.h"
#include "HeadlessTextArea.h"
#include "Program.h"
#include "Runner.h"

#include <stdexcept>

#include <string>
#include <vector>

inline Program assembled(std::vector<std::string> lines) {
    HeadlessTextArea text(std::move(lines));
    TBrenvikEngine engine(text);
    return Program(engine.run());
}

// A runner with `lines` loaded, or a failed test.
inline void loadInto(Runner& runner, std::vector<std::string> lines) {
    std::string reason;
    if (!runner.load(assembled(std::move(lines)), reason))
        throw std::runtime_error(reason);
}
