// main() of a program of several QtTest classes (qt_test_registry.h) on
// the offscreen platform unless one is set.

#include "qt_test_registry.h"

#include <QApplication>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RunQtTests(argc, argv);
}
