#pragma once
// Reads an NC program line by line with the modal state of an ISO-style controller and
// yields its moves. Words it cannot follow never stop it: they are reported.

#include "toolpath/Toolpath.h"

#include <atomic>
#include <functional>
#include <string_view>

namespace tarmel::toolpath {

struct InterpretOptions {
    double arcTolerance = 0.01;                // mm between start and end radius
    const std::atomic<bool> *cancel = nullptr; // set: stop soon, the result is marked incomplete
    // Called now and then with the share of the text read so far (0..1000).
    std::function<void(int permille)> progress;
};

Toolpath interpretProgram(std::string_view text, const InterpretOptions &options = {});

} // namespace tarmel::toolpath
