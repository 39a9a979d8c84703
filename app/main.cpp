// kestrel-manager: the configuration program for the desk terminal.
//
//   kestrel-manager [--port NAME] [--version] [--help]
//
// --port preselects that port in the login for this run (the stored choice
// changes only when a login with it succeeds).

#include "app/about_dialog.h"
#include "app/main_dialog.h"
#include "app/tool_app.h"

#include <QApplication>
#include <string_view>

namespace {

int RunMainWindow(CSerialPort &port)
{
    CMainDlg dialog(port);
    return dialog.exec();
}

bool AsksForHelpOrVersion(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version")
            return true;
    }
    return false;
}

void SetIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quillenbrook"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrel Manager"));
    QCoreApplication::setApplicationVersion(QLatin1String(kVersionText));
}

} // namespace

int main(int argc, char *argv[])
{
    // The GUI application needs a display; help and version are answered
    // without one (in a terminal over ssh, by help2man at build time).
    if (AsksForHelpOrVersion(argc, argv)) {
        QCoreApplication textOnly(argc, argv);
        SetIdentity();
        ParseCommandLine(QCoreApplication::arguments());
    }

    QApplication application(argc, argv);
    SetIdentity();

    ToolAppSeams seams;
    seams.runMainWindow = RunMainWindow;
    CToolApp tool(std::move(seams));
    tool.TakeCommandLine(QCoreApplication::arguments());
    return tool.Run();
}
