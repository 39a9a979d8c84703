#include "app/tool_app.h"

#include "app/login_dialog.h"
#include "engine/engine_globals.h"
#include "link/shared_settings.h"
#include "params/language.h"
#include "platform/app_dir.h"
#include "widgets/app_message_box.h"

#include <QCommandLineParser>

namespace {

// Writes the application's fields back when the run ends, however it ends.
class SettingsWriteBack
{
public:
    explicit SettingsWriteBack(const StartupSettings &fields) : m_fields(fields) {}
    ~SettingsWriteBack() { SaveStartupSettings(m_fields); }
    SettingsWriteBack(const SettingsWriteBack &) = delete;
    SettingsWriteBack &operator=(const SettingsWriteBack &) = delete;

private:
    const StartupSettings &m_fields;
};

} // namespace

std::optional<QString> ParseCommandLine(const QStringList &arguments)
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
    parser.process(arguments);
    if (!parser.isSet(portOption))
        return std::nullopt;
    return parser.value(portOption);
}

CToolApp::CToolApp(ToolAppSeams seams) : m_seams(std::move(seams)) {}

int CToolApp::Run()
{
    g_strPortName.clear();
    g_strBaudRate.clear();
    g_strAppDir = platform::AppDir();

    m_fields = LoadStartupSettings();
    m_qtTranslations.Apply(m_fields.language.toInt());
    g_nDeviceGap = m_fields.gap.toInt();
    const SettingsWriteBack writeBack(m_fields);

    const OsVerdict verdict = CheckOsVersion(m_seams.queryOsVersion());
    if (verdict.refusal) {
        AppMessageBox(nullptr, QString::fromLatin1(verdict.refusal), platform::kStyleInformation,
                      QString::fromLatin1(kOsRefusalCaption));
        return 1;
    }
    g_bIsNT = verdict.isNT;

    if (!login())
        return 0;
    if (m_seams.runMainWindow)
        m_seams.runMainWindow(m_port);
    return 0;
}

bool CToolApp::login()
{
    StartupSettings initial = m_fields;
    if (m_portOverride)
        initial.port = *m_portOverride;
    CLoginDlg dialog(m_port, initial, CLoginDlg::PortLister(m_seams.presentPortNames));
    if (dialog.exec() != QDialog::Accepted || !dialog.LoginSucceeded())
        return false;

    g_strSoftwarePassword = dialog.PasswordBytes();
    // The login used the port with its own line builder; the main window
    // starts on fresh synchronisation objects and empty line buffers.
    m_port.ResetHandles();
    m_fields.port = dialog.PortText();
    m_fields.language = dialog.LanguageCodeText();
    m_fields.baud = dialog.BaudText();
    lang::SetCode(m_fields.language.toInt());
    m_qtTranslations.Apply(m_fields.language.toInt());
    return true;
}
