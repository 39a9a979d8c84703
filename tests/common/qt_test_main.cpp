// main() of a program of several QtTest classes (qt_test_registry.h):
// "PROGRAM CLASS [QtTest options]" runs one class, "PROGRAM" all of them.
// The offscreen platform unless one is set.

#include "qt_test_registry.h"

#include <QApplication>
#include <QtTest>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc > 1 && argv[1][0] != '-') {
        const auto found = QtTestClasses().find(QString::fromLocal8Bit(argv[1]));
        if (found == QtTestClasses().end()) {
            std::fprintf(stderr, "No test class %s\n", argv[1]);
            return 2;
        }
        argv[1] = argv[0];
        const std::unique_ptr<QObject> test = found->second();
        return QTest::qExec(test.get(), argc - 1, argv + 1);
    }
    int failed = 0;
    for (const auto &[name, make] : QtTestClasses()) {
        const std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv) != 0;
    }
    return failed ? 1 : 0;
}
