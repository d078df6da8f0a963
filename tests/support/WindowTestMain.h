#pragma once
// main() for window tests: a QApplication in the program's own style, so that captions are
// measured and drawn exactly as the program shows them, offscreen unless told otherwise.

#include "windows/ProgramLook.h"

#include <QApplication>
#include <QTest>

#define SANIVEX_WINDOW_TEST_MAIN(TestClass)                                                        \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QApplication app(argc, argv);                                                              \
        windows::useProgramStyle();                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
