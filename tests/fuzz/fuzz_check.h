#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant must stop the run loudly in the fuzzer and in the corpus replay alike, whatever the
// build type (assert would vanish under NDEBUG).
#define LQ_FUZZ_CHECK(cond)                                                                                  \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond);                \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)
