#pragma once
// Several QtTest classes in one program, to spare a build and a link per
// class: each class registers itself with KESTREL_QT_TEST, and the main of
// qt_test_main.cpp runs the class named as the first argument (CTest runs
// one class per test), or every class without one.

#include <QObject>
#include <QString>
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
