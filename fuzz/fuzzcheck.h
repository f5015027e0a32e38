// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A property that does not hold stops the fuzzer with a message; libFuzzer then saves the
// input that broke it.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property broken: %s: ", #condition);                             \
            std::fprintf(stderr, __VA_ARGS__);                                                     \
            std::fprintf(stderr, "\n");                                                            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
