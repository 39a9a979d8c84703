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
#include <QCommandLineParser>

namespace {

int RunMainWindow(CSerialPort &port)
{
    CMainDlg dialog(port);
    return dialog.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quillenbrook"));
    QApplication::setApplicationName(QStringLiteral("Kestrel Manager"));
    QApplication::setApplicationVersion(QLatin1String(kVersionText));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configures the desk terminal over a serial line."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Preselects the port NAME in the login."),
                                        QStringLiteral("NAME"));
    parser.addOption(portOption);
    parser.process(application);

    ToolAppSeams seams;
    seams.runMainWindow = RunMainWindow;
    CToolApp tool(std::move(seams));
    if (parser.isSet(portOption))
        tool.SetPortOverride(parser.value(portOption));
    return tool.Run();
}
