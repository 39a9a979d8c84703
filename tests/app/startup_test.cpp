// The start-up of the program: settings read and written back at every end,
// the operating-system check, the login run modally, and what the main
// window is handed after a successful login. The main window is a callback.

#include "app/login_dialog.h"
#include "app/tool_app.h"
#include "engine/engine_globals.h"
#include "link/shared_settings.h"
#include "params/language.h"
#include "shell_test_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <map>
#include <optional>

using namespace shell_test;

namespace {

constexpr int kLoginGiveUpMs = 20000;
const char *const kKeys[] = {"Settings/port", "Settings/baut", "Settings/language"};

// Port, baud rate and language as stored; nothing for an empty list.
void SetStored(const QStringList &values)
{
    QSettings store(QStringLiteral("Quillenbrook"), QStringLiteral("Kestrel Manager"));
    store.clear();
    for (int i = 0; i < values.size(); ++i)
        store.setValue(QLatin1String(kKeys[i]), values[i]);
    store.sync();
}

QStringList Stored()
{
    QSettings store(QStringLiteral("Quillenbrook"), QStringLiteral("Kestrel Manager"));
    QStringList values;
    for (const char *key : kKeys)
        values << store.value(QLatin1String(key), QStringLiteral("<missing>")).toString();
    return values;
}

// Acts on the login dialog once it is the modal window; a login left
// standing is cancelled after a generous bound, so a fault cannot hang.
class LoginDriver : public QObject
{
public:
    explicit LoginDriver(std::function<void(CLoginDlg &)> action) : m_action(std::move(action))
    {
        m_poll.setInterval(10);
        connect(&m_poll, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<CLoginDlg *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            m_poll.stop();
            seen = QStringList{
                dialog->findChild<QComboBox *>("portList")->currentData().toString(),
                dialog->findChild<QComboBox *>("baudList")->currentText(),
                QString::number(dialog->findChild<QComboBox *>("languageList")->currentIndex()),
                dialog->windowTitle()};
            QTimer::singleShot(kLoginGiveUpMs, dialog, &QWidget::close);
            m_action(*dialog);
        });
        m_poll.start();
    }

    // What the login showed when it came up: port, baud rate, language
    // position, title; empty while it never came.
    QStringList seen;

private:
    std::function<void(CLoginDlg &)> m_action;
    QTimer m_poll;
};

void Cancel(CLoginDlg &dialog)
{
    dialog.reject();
}

void EnterPassword(CLoginDlg &dialog, const QString &password)
{
    auto *edit = dialog.findChild<QLineEdit *>("passwordEdit");
    edit->setText(password);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
}

// One run of the program with the login handled by `action`.
struct ProgramRun
{
    explicit ProgramRun(const std::function<void(CLoginDlg &)> &action,
                        const QStringList &presentNames = {}, const QStringList &arguments = {},
                        const std::function<OsVersion()> &osVersion = {})
    {
        ToolAppSeams seams;
        seams.runMainWindow = [this](CSerialPort &port) {
            main =
                QStringLiteral("main window: language %1, password \"%2\", port %3 at %4, %5, %6")
                    .arg(lang::Code())
                    .arg(QString::fromStdString(g_strSoftwarePassword),
                         QString::fromStdString(g_strPortName),
                         QString::fromStdString(g_strBaudRate), port.IsOpen() ? "open" : "closed",
                         port.Owner() ? "owned" : "not owned");
            return 0;
        };
        if (!presentNames.isEmpty())
            seams.presentPortNames = [presentNames] { return presentNames; };
        if (osVersion)
            seams.queryOsVersion = osVersion;
        CToolApp app(std::move(seams));
        app.TakeCommandLine(QStringList{QStringLiteral("kestrel-manager")} + arguments);
        LoginDriver driver(action);
        status = app.Run();
        login = driver.seen;
        languageField = app.Fields().language;
    }

    int status = -1;
    QStringList login;
    QString main; // what the main window was handed; empty when it never ran
    QString languageField;
};

// The program's own warnings while a scenario runs.
std::vector<std::string> g_warnings;

// One scenario of golden/startup.txt. Before the run: "stored PORT | BAUD |
// LANGUAGE" and "gap TEXT" in the settings, "ports A | B" listed (SIM0
// alone unless given), "args ARGUMENTS" on the command line, "os PLATFORM
// MAJOR", "terminal" on SIM0.
// Then "cancel" or "login LANGUAGE PASSWORD" runs the program with the
// login handled so, and tells what the program did.
class StartupScenario
{
public:
    std::vector<std::string> Take(const std::string &line)
    {
        const QString text = QString::fromStdString(line);
        const QString verb = text.section(' ', 0, 0), rest = text.section(' ', 1);
        if (verb == QLatin1String("stored")) {
            SetStored(rest.split(QStringLiteral(" | ")));
        } else if (verb == QLatin1String("gap")) {
            QSettings(QStringLiteral("Quillenbrook"), QStringLiteral("Kestrel Manager"))
                .setValue(QStringLiteral("Settings/gap"), rest);
        } else if (verb == QLatin1String("ports")) {
            m_present = rest.split(QStringLiteral(" | "));
        } else if (verb == QLatin1String("args")) {
            m_arguments = rest.split(' ');
        } else if (verb == QLatin1String("os")) {
            static const std::map<QString, OsPlatform> kPlatforms = {
                {"Win95Family", OsPlatform::Win95Family},
                {"NtFamily", OsPlatform::NtFamily},
                {"Posix", OsPlatform::Posix},
                {"Other", OsPlatform::Other}};
            m_os = {kPlatforms.at(rest.section(' ', 0, 0)), rest.section(' ', 1).toInt()};
        } else if (verb == QLatin1String("terminal")) {
            m_sim.emplace();
        } else if (verb == QLatin1String("cancel") || verb == QLatin1String("login")) {
            return Run(rest);
        }
        return {};
    }

    std::vector<std::string> Finish()
    {
        m_sim.reset();
        m_present = kOnlySim0;
        m_arguments.clear();
        m_os.reset();
        SetStored({});
        g_bIsNT = 1;
        lang::SetCode(lang::kEnglish);
        g_strSoftwarePassword.clear();
        return {};
    }

private:
    std::vector<std::string> Run(const QString &login)
    {
        const auto action = [login](CLoginDlg &dialog) {
            if (login.isEmpty())
                return Cancel(dialog);
            dialog.findChild<QComboBox *>("languageList")
                ->setCurrentIndex(login.section(' ', 0, 0).toInt());
            EnterPassword(dialog, login.section(' ', 1));
        };
        MessageRecorder messages;
        g_warnings.clear();
        const QtMessageHandler before = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &, const QString &text) {
                if (type == QtWarningMsg && text.startsWith(QLatin1String("Kestrel Manager")))
                    g_warnings.push_back("warning " + text.toStdString());
            });
        g_nDeviceGap = -1;
        const std::optional<OsVersion> os = m_os;
        const ProgramRun run(action, m_present, m_arguments,
                             os ? std::function<OsVersion()>([os] { return *os; })
                                : std::function<OsVersion()>());
        qInstallMessageHandler(before);
        QStringList seen{
            QStringLiteral("status %1, login %2")
                .arg(run.status)
                .arg(run.login.isEmpty()
                         ? QStringLiteral("never shown")
                         : QStringLiteral("port %1, baud \"%2\", language %3, title \"%4\"")
                               .arg(run.login[0], run.login[1], run.login[2], run.login[3])),
            run.main.isEmpty() ? QStringLiteral("no main window")
                               : run.main + ", language field " + run.languageField,
            QStringLiteral("stored %1, gap %2; device gap %3, NT %4")
                .arg(Stored().join(' '),
                     QSettings(QStringLiteral("Quillenbrook"), QStringLiteral("Kestrel Manager"))
                         .value(QStringLiteral("Settings/gap"), QStringLiteral("<missing>"))
                         .toString())
                .arg(g_nDeviceGap.load())
                .arg(g_bIsNT)};
        std::vector<std::string> lines =
            ResultLines(seen, messages, m_sim ? &m_sim->Terminal() : nullptr);
        lines.insert(lines.end(), g_warnings.begin(), g_warnings.end());
        return lines;
    }

    std::optional<SimulatedPort> m_sim;
    const QStringList kOnlySim0{QStringLiteral("Virtual port (SIM0)")};
    QStringList m_present = kOnlySim0;
    QStringList m_arguments;
    std::optional<OsVersion> m_os;
};

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        g_nDeviceGap = kDefaultDeviceGap;
        lang::SetCode(lang::kEnglish);
        g_strSoftwarePassword.clear();
        SetStored({});
    }

    // What the login comes up with, what the program hands on and stores,
    // the operating-system check and the stored gap, against the reviewed
    // transcript.
    void asTheTranscriptSays()
    {
        StartupScenario scenario;
        ExpectScenarios("startup.txt", scenario);
    }

    // A try refused by the dialog (in Spanish) and one refused by the terminal,
    // then Cancel: nothing is stored, no main window.
    void refusedLoginsLeaveSettingsUnchanged()
    {
        SimulatedPort sim;
        QVERIFY(sim.Started());
        SetStored({"SIM0", "9600", "1"});
        MessageRecorder messages;
        const ProgramRun run([&messages](CLoginDlg &dialog) {
            dialog.findChild<QComboBox *>("baudList")->setCurrentIndex(6);
            dialog.findChild<QComboBox *>("languageList")->setCurrentIndex(2);
            auto *ports = dialog.findChild<QComboBox *>("portList");
            const int port = ports->currentIndex();
            ports->setCurrentIndex(-1);
            EnterPassword(dialog, QStringLiteral("1234"));
            ports->setCurrentIndex(port);
            EnterPassword(dialog, QStringLiteral("4321"));
            QTRY_COMPARE_WITH_TIMEOUT(messages.Count(), 2, kLoginGiveUpMs);
            dialog.reject();
        });
        QCOMPARE(messages.Summary(), QStringLiteral("[16] Por favor seleccione el puerto COM.\n"
                                                    "[16] Error: Contraseña no válida!"));
        QVERIFY(run.main.isEmpty());
        QVERIFY(g_strSoftwarePassword.empty());
        QCOMPARE(Stored(), (QStringList{"SIM0", "9600", "1"}));
    }
};

KESTREL_QT_TEST(StartupTest)
#include "startup_test.moc"
