#pragma once
// Several QtTest classes in one program, to spare a build and a link per
// class: each class registers itself with KESTREL_QT_TEST, and the main of
// qt_test_main.cpp runs the class named as the first argument (CTest runs
// one class per test), or every class without one.

#include <QObject>
#include <QString>
#include <QtTest>
#include <cstdio>
#include <map>
#include <memory>

using QtTestFactory = std::unique_ptr<QObject> (*)();

inline std::map<QString, QtTestFactory> &QtTestClasses()
{
    static std::map<QString, QtTestFactory> classes;
    return classes;
}

inline bool RegisterQtTest(const char *name, QtTestFactory make)
{
    QtTestClasses()[QString::fromLatin1(name)] = make;
    return true;
}

#define KESTREL_QT_TEST(TestClass)                                                                 \
    static const bool kRegistered##TestClass = RegisterQtTest(                                     \
        #TestClass, [] { return std::unique_ptr<QObject>(std::make_unique<TestClass>()); });

// "PROGRAM CLASS [QtTest options]" runs one class, "PROGRAM" all of them;
// the QApplication exists already.
inline int RunQtTests(int argc, char **argv)
{
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
