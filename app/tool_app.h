#pragma once
// The application object: runs the program from start to end. It reads the
// stored start-up choices, checks the operating system, runs the login,
// re-arms the serial port, runs the main window, and writes the choices
// back at every end.

#include "app/platform_check.h"
#include "app/port_list.h"
#include "app/qt_translations.h"
#include "app/settings_store.h"
#include "link/serial_port.h"

#include <QStringList>
#include <functional>
#include <optional>

// What the start-up uses from outside; tests replace parts of it.
struct ToolAppSeams
{
    // Runs the main window modally on the port after a successful login.
    std::function<int(CSerialPort &)> runMainWindow;
    std::function<OsVersion()> queryOsVersion = QueryOsVersion;
    // Friendly names of the ports for the login's port list, asked again
    // while the login is open to follow ports that come and go.
    std::function<QStringList()> presentPortNames = PresentPortNames;
};

// The command line, "kestrel-manager [--port NAME] [--version] [--help]":
// --help and --version print their text and end the process here. The port
// to preselect, when one was given.
std::optional<QString> ParseCommandLine(const QStringList &arguments);

class CToolApp
{
public:
    explicit CToolApp(ToolAppSeams seams);

    // Takes the program's command line (see ParseCommandLine): a port given
    // there is preselected in the login for this run instead of the stored
    // one (the stored one changes only through a successful login).
    void TakeCommandLine(const QStringList &arguments)
    {
        m_portOverride = ParseCommandLine(arguments);
    }

    // Start-up to end; the exit status: 1 when the operating system was
    // refused, else 0.
    int Run();

    // The application's fields: the stored choices, replaced by the login's
    // after a successful login.
    const StartupSettings &Fields() const { return m_fields; }
    CSerialPort &Port() { return m_port; }

private:
    bool login();

    ToolAppSeams m_seams;
    std::optional<QString> m_portOverride;
    StartupSettings m_fields;
    // The one serial port of the run.
    CSerialPort m_port;
    // Qt's standard dialogs in the stored language, then in the login's.
    QtTranslations m_qtTranslations;
};
