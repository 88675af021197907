#pragma once

// The tests' one main. A test of the core or of a tool runs on a plain core
// application; every other test on the program's own application object,
// made as the program makes it, after what the test needs done before any
// application object exists (a static beforeApplication(), if it has one).
#include "support/Hang.h"

#include <QTest>

#ifdef PELLIWICK_TEST_WITHOUT_APP
#define PELLIWICK_TEST_MAIN(Test) QTEST_GUILESS_MAIN(Test)
#else
#include "app/Application.h"
#include "players/TShockwaveFlash.h"

template <typename Test> int runTest(int argc, char** argv) {
    TShockwaveFlash::prepare();
    if constexpr (requires { Test::beforeApplication(); })
        Test::beforeApplication();
    Application app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

#define PELLIWICK_TEST_MAIN(Test)                                                                  \
    int main(int argc, char** argv) {                                                              \
        return runTest<Test>(argc, argv);                                                          \
    }
#endif
