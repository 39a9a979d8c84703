// kestrel-manager: the configuration program for the desk terminal.
//
//   kestrel-manager [--port NAME]
//
// --port preselects that port in the login for this run (the stored choice
// changes only when a login with it succeeds).

#include "app/about_dialog.h"
#include "app/tool_app.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// ---------------------------------------------------------------------------
// STAND-IN for the main window (CMainDlg, app/main_dialog.h), which is not
// here yet: a plain dialog so that the program builds and runs through the
// login. To be replaced by `CMainDlg dialog(port); return dialog.exec();`.
// ---------------------------------------------------------------------------
int RunMainWindowStandIn(CSerialPort &)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Kestrel Manager  ") + QLatin1String(kVersionText));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Logged in."), &dialog));
    auto *about = new QPushButton(QStringLiteral("About(&A)..."), &dialog);
    QObject::connect(about, &QPushButton::clicked, &dialog, [&dialog] { ShowAboutBox(&dialog); });
    layout->addWidget(about);
    auto *exit = new QPushButton(QStringLiteral("Exit"), &dialog);
    QObject::connect(exit, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(exit);
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
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Preselects the port NAME in the login."),
                                        QStringLiteral("NAME"));
    parser.addOption(portOption);
    parser.process(application);

    ToolAppSeams seams;
    seams.runMainWindow = RunMainWindowStandIn;
    CToolApp tool(std::move(seams));
    if (parser.isSet(portOption))
        tool.SetPortOverride(parser.value(portOption));
    return tool.Run();
}
