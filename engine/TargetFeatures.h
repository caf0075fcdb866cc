#pragma once
// Internal: code between LINKRAKE_TARGET_BEGIN("avx2") and
// LINKRAKE_TARGET_END is compiled for those processor features whatever the
// build targets, so that one program carries every width of steps; callers
// ask the processor before they run it.
#define LINKRAKE_PRAGMA(...) _Pragma(#__VA_ARGS__)
#if defined(__clang__)
#define LINKRAKE_TARGET_BEGIN(features)                                                                      \
    LINKRAKE_PRAGMA(clang attribute push(__attribute__((target(features))), apply_to = function))
#define LINKRAKE_TARGET_END LINKRAKE_PRAGMA(clang attribute pop)
#else
#define LINKRAKE_TARGET_BEGIN(features)                                                                      \
    LINKRAKE_PRAGMA(GCC push_options) LINKRAKE_PRAGMA(GCC target(features))
#define LINKRAKE_TARGET_END LINKRAKE_PRAGMA(GCC pop_options)
#endif
