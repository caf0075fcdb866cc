#pragma once
// Runs a check once with each SIMD step width the processor offers, so that
// the 16-byte kernels are tested on machines that would pick the 32-byte ones.
#include <gtest/gtest.h>

#include "engine/ByteKernels.h"

template <class Check> void ForEachStepWidth(Check&& check)
{
    const bool wide = kernels::WideSteps();
    for (const bool on : {false, true}) {
        kernels::UseWideSteps(on);
        if (kernels::WideSteps() != on)
            continue;
        SCOPED_TRACE(on ? "32-byte steps" : "16-byte steps");
        check();
    }
    kernels::UseWideSteps(wide);
}
