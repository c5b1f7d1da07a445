#pragma once

#include <cstdio>
#include <cstdlib>

// A property check that stays on in release builds: prints and aborts, so both libFuzzer and
// the corpus replay report it.
#define FUZZ_CHECK(cond)                                                                     \
    do {                                                                                     \
        if (!(cond)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)
