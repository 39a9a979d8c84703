// main() of the shell's test program: a private environment first (runtime
// folder for the virtual ports, settings and data folders), then the
// application, then the test classes registered with KESTREL_QT_TEST.

#include "shell_test_support.h"

int main(int argc, char **argv)
{
    shell_test::TestEnvironment environment;
    QApplication application(argc, argv);
    return RunQtTests(argc, argv);
}
