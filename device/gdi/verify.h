// Always-on invariant checks of the GDI: a broken invariant is a bug, so it stops the program
// with file and line, in release builds too.
#pragma once

#include <cstdio>
#include <cstdlib>

#define GDI_VERIFY(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: GDI invariant failed: %s\n", __FILE__, __LINE__,          \
                         #condition);                                                              \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
