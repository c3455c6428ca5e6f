#pragma once

// What every fuzz target shares: a core application object (the component
// stream and the parsers use Qt's meta-object system and may post events),
// and a failure that libFuzzer reports as a crash with the input that
// caused it.

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

inline void FuzzSetUp()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// text with its tabs made blanks: a tab's display columns differ from the
// byte it is, which the targets that follow columns byte by byte leave out.
inline std::string WithoutTabs(std::string text)
{
    std::replace(text.begin(), text.end(), '\t', ' ');
    return text;
}

// A broken promise of the code under test: reported and aborted, so that the
// fuzzer keeps the input as a reproducer.
#define FUZZ_CHECK(condition)                                                                        \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);       \
            std::abort();                                                                            \
        }                                                                                            \
    } while (false)
