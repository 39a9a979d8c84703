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
#include <optional>
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

// The command line; --help and --version print their text and end the
// process here. The port to preselect, when one was given.
std::optional<QString> ParseCommandLine(const QCoreApplication &application)
{
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
    if (!parser.isSet(portOption))
        return std::nullopt;
    return parser.value(portOption);
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
        ParseCommandLine(textOnly);
    }

    QApplication application(argc, argv);
    SetIdentity();
    const std::optional<QString> port = ParseCommandLine(application);

    ToolAppSeams seams;
    seams.runMainWindow = RunMainWindow;
    CToolApp tool(std::move(seams));
    if (port)
        tool.SetPortOverride(*port);
    return tool.Run();
}
