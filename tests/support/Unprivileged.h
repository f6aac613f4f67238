#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

// For tests that mean something only without the superuser's rights. As root they skip, except
// in the run that scripts/test makes as an unprivileged user for them
// (VANTARO_TESTS_UNPRIVILEGED=1): there a superuser means the step is broken, and they fail.
#define VANTARO_SKIP_AS_SUPERUSER(why)                                                \
    do {                                                                              \
        if (::geteuid() == 0) {                                                       \
            if (std::getenv("VANTARO_TESTS_UNPRIVILEGED") != nullptr) {               \
                FAIL() << "meant to run as an unprivileged user, runs as root: " why; \
            }                                                                         \
            GTEST_SKIP() << why;                                                      \
        }                                                                             \
    } while (false)
