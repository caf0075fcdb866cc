#pragma once
// Runs a check once with each SIMD step width the processor offers, so that
// the narrower kernels are tested on machines that would pick a wider one.
#include <gtest/gtest.h>

#include "engine/ByteKernels.h"

template <class Check> void ForEachStepWidth(Check&& check)
{
    const std::size_t widest = kernels::StepWidth();
    bool ran = false;
    for (const std::size_t width : {std::size_t{16}, std::size_t{32}, std::size_t{64}}) {
        kernels::UseStepWidth(width);
        if (kernels::StepWidth() != width)
            continue;
        SCOPED_TRACE(std::to_string(width) + "-byte steps");
        check();
        ran = true;
    }
    kernels::UseStepWidth(widest);
    if (!ran)  // byte by byte
        check();
}
