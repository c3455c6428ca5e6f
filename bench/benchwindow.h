#pragma once

// What the editor benchmarks share beside the generated texts: the built-in
// Java parser and an editor shown on screen with the keyboard focus, as a
// user's window would be.

#include "builtinschemes.h"
#include "dcmemo.h"

#include <QTest>

#include <cstdio>

namespace bench {

// The built-in Java scheme's parser; null, with the reason printed, when it
// cannot be made.
inline TSyntaxParser* JavaParser()
{
    QString error;
    TSyntaxParser* parser = CreateBuiltInParser(TBuiltInScheme::Java, nullptr, &error);
    if (!parser)
        std::fprintf(stderr, "%s\n", qPrintable(error));
    return parser;
}

// Shows memo at 1200 x 900 with the application's editor settings and gives
// it the keyboard focus; false when no window appeared.
inline bool ShowEditor(TDCMemo& memo)
{
    memo.ApplyApplicationDefaults();
    memo.resize(1200, 900);
    memo.show();
    if (!QTest::qWaitForWindowExposed(&memo))
        return false;
    memo.activateWindow();
    memo.setFocus();
    return true;
}

} // namespace bench
