// The login dialog against the simulated terminal on "SIM0": the port list,
// the labels' fit in three languages, the input checks, the exchange with the
// terminal (accepted, refused, unanswered, garbled, cancelled) and Find.

#include "app/login_dialog.h"
#include "app/port_list.h"
#include "engine/login.h"
#include "link/serial_port.h"
#include "link/shared_settings.h"
#include "params/language.h"
#include "shell_test_support.h"
#include "tests/common/file_permissions.h"
#include "widgets/code_page.h"
#include "window_checks.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <optional>
#include <sys/stat.h>

using namespace shell_test;

namespace {

constexpr int kReplyWaitMs = 10000;

// One dialog on its own port, shown and active, with its controls at hand
// and its message boxes recorded.
class LoginFixture
{
public:
    explicit LoginFixture(const StartupSettings &initial,
                          const QStringList &names = PresentPortNames())
        : LoginFixture(initial, CLoginDlg::PortLister([names] { return names; }))
    {}
    LoginFixture(const StartupSettings &initial, CLoginDlg::PortLister lister)
        : dialog(port, initial, std::move(lister))
    {
        dialog.show();
        active = QTest::qWaitForWindowActive(&dialog);
    }

    // Which controls take input: the four fields, OK, Cancel, Find.
    QString Enabled() const
    {
        QString state;
        for (const QWidget *control : std::initializer_list<const QWidget *>{
                 portList, baudList, password, languageList, ok, cancel, find})
            state += control->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return state;
    }
    MessageRecorder messages;
    CSerialPort port;
    CLoginDlg dialog;
    bool active = false;
    QComboBox *portList = dialog.findChild<QComboBox *>("portList");
    QComboBox *baudList = dialog.findChild<QComboBox *>("baudList");
    QComboBox *languageList = dialog.findChild<QComboBox *>("languageList");
    QLineEdit *password = dialog.findChild<QLineEdit *>("passwordEdit");
    QPushButton *ok = dialog.findChild<QPushButton *>("okButton");
    QPushButton *cancel = dialog.findChild<QPushButton *>("cancelButton");
    QPushButton *find = dialog.findChild<QPushButton *>("findButton");
    QLabel *outcome = dialog.findChild<QLabel *>("findOutcome");
};

constexpr auto kIdle = "1111111";

StartupSettings Initial()
{
    return {QString::fromLatin1(SimulatedPort::kName), QStringLiteral("115200"),
            QStringLiteral("1")};
}

// One scenario of golden/login_dialog.txt. Before the dialog opens:
// "terminal OPTIONS" (kestrel-sim's), "saved PORT BAUD LANGUAGE",
// "timeout MS" (the login's), "unlisted" (no port lister); "ports A | B"
// (listed, none when empty; SIM0 alone unless given) before and while it is
// open. Steps on the dialog: "language N", "no port", "no baud", "choose N"
// (a port), "type TEXT" (the password), "paste TEXT" (into it), "tab N" (the
// focus moved N times, where it went), "enter" (in the password field),
// "press" (Enter on OK), "click" (OK), "find", "find disabled" (as if its
// button were enabled), "cancel", "escape", "close", "drop" (the port list
// opened or closed), "tick" (until the port list's next refresh), "wait" (for the
// login's outcome), "wait find" (until Find has ended), "wait AT" (until the
// terminal heard a line), "list" (the ports listed)
// and "?" (what the user sees, as at the scenario's end).
class LoginScenario
{
public:
    std::vector<std::string> Take(const std::string &line)
    {
        const auto [verb, rest] = VerbAndRest(line);
        if (verb == "terminal") {
            const std::optional<sim::SimOptions> options = TerminalOptions(rest);
            if (options)
                m_sim.emplace(*options);
            return m_sim && m_sim->Started() ? std::vector<std::string>{}
                                             : std::vector<std::string>{"no terminal"};
        }
        if (verb == "saved") {
            const QStringList words = rest.split(' ');
            m_initial = {words.value(0), words.value(1), words.value(2)};
        } else if (verb == "ports") {
            *m_names = rest.isEmpty() ? QStringList() : rest.split(QStringLiteral(" | "));
        } else if (verb == "timeout") {
            login::g_nLoginTimeout = rest.toInt();
        } else if (verb == "unlisted") {
            m_names.reset();
        } else if (!verb.empty() && verb != "#" && verb != "==") {
            return Step(verb, rest);
        }
        return {};
    }

    std::vector<std::string> Finish()
    {
        std::vector<std::string> seen = m_login ? Seen() : std::vector<std::string>{};
        m_login.reset();
        m_sim.reset();
        m_initial = Initial();
        m_names = std::make_shared<QStringList>(kOnlySim0);
        login::g_nLoginTimeout = m_savedTimeout;
        return seen;
    }

private:
    std::vector<std::string> Step(const std::string &verb, const QString &rest)
    {
        if (!m_login) {
            lang::SetCode(lang::kEnglish);
            g_strPortName.clear();
            g_strBaudRate.clear();
            m_login = std::make_unique<LoginFixture>(
                m_initial, m_names ? CLoginDlg::PortLister([names = m_names] { return *names; })
                                   : CLoginDlg::PortLister());
        }
        LoginFixture &login = *m_login;
        if (verb == "language") {
            login.languageList->setCurrentIndex(rest.toInt());
        } else if (verb == "no") {
            (rest == QLatin1String("port") ? login.portList : login.baudList)->setCurrentIndex(-1);
        } else if (verb == "type") {
            login.password->setText(rest);
        } else if (verb == "paste") {
            QGuiApplication::clipboard()->setText(
                QString::fromStdString(Unescape(rest.toStdString())));
            login.password->paste();
        } else if (verb == "tab") {
            QStringList visited{QApplication::focusWidget()->objectName()};
            for (int press = rest.toInt(); press > 0; --press) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                visited << QApplication::focusWidget()->objectName();
            }
            return {visited.join(' ').toStdString()};
        } else if (verb == "enter" || verb == "press") {
            QWidget *where = verb == "enter" ? static_cast<QWidget *>(login.password) : login.ok;
            where->setFocus();
            QTest::keyClick(where, Qt::Key_Return);
        } else if (verb == "click") {
            QTest::mouseClick(login.ok, Qt::LeftButton);
        } else if (verb == "find" && rest == QLatin1String("disabled")) {
            login.dialog.OnFind();
        } else if (verb == "find" || verb == "cancel") {
            (verb == "find" ? login.find : login.cancel)->click();
        } else if (verb == "drop") {
            const bool open = login.portList->view()->isVisible();
            open ? login.portList->hidePopup() : login.portList->showPopup();
            if (!QTest::qWaitFor([&] { return login.portList->view()->isVisible() != open; }))
                return {"still the same"};
        } else if (verb == "tick") {
            QSignalSpy refreshed(login.dialog.findChild<QTimer *>("portRefresh"), &QTimer::timeout);
            if (!refreshed.wait(kReplyWaitMs))
                return {"not refreshed"};
        } else if (verb == "escape") {
            QTest::keyClick(&login.dialog, Qt::Key_Escape);
        } else if (verb == "close") {
            login.dialog.close();
        } else if (verb == "wait") {
            const bool ended = QTest::qWaitFor(
                [&] {
                    if (rest == QLatin1String("AT"))
                        return m_sim && m_sim->Terminal().CommandCount() > 0;
                    if (login.dialog.LoginSucceeded())
                        return !login.dialog.isVisible();
                    return (!rest.isEmpty() || login.messages.Count() > 0) &&
                           login.Enabled() == QLatin1String(kIdle);
                },
                kReplyWaitMs);
            if (!ended)
                return {"still waiting"};
        } else if (verb == "choose") {
            login.portList->setCurrentIndex(rest.toInt());
        } else if (verb == "list") {
            std::vector<std::string> listed;
            for (int i = 0; i < login.portList->count(); ++i)
                listed.push_back((login.portList->itemText(i) + " = " +
                                  login.portList->itemData(i).toString() +
                                  (i == login.portList->currentIndex() ? " (chosen)" : ""))
                                     .toStdString());
            return listed;
        } else if (verb == "?") {
            return Seen(false);
        } else {
            return {"unknown step"};
        }
        return {};
    }

    // What the dialog shows; while a search is under way, without what the
    // terminal heard, which comes when it comes (it follows at the next step),
    // and a search's "AT" once however many rates it tried before a cancel.
    std::vector<std::string> Seen(bool settled = true)
    {
        const LoginFixture &login = *m_login;
        const QWidget *focus = QApplication::focusWidget();
        QStringList seen{
            QStringLiteral("%1, result %2, enabled %3, cursor %4, focus %5")
                .arg(login.dialog.isVisible() ? "shown" : "hidden")
                .arg(login.dialog.result())
                .arg(login.Enabled(),
                     login.dialog.cursor().shape() == Qt::BusyCursor ? "busy" : "arrow",
                     focus ? focus->objectName() : QStringLiteral("none")),
            QStringLiteral("password \"%1\" %2, selected \"%3\"")
                .arg(login.password->text(),
                     login.password->echoMode() == QLineEdit::Password ? "masked" : "plain",
                     login.password->selectedText()),
            QStringLiteral("login %1: %2 %3 \"%4\" %5, shared %6 %7, list %8 %9")
                .arg(login.dialog.LoginSucceeded() ? "succeeded" : "not done",
                     login.dialog.PortText(), login.dialog.BaudText(), login.dialog.PasswordText(),
                     login.dialog.LanguageCodeText(), QString::fromStdString(g_strPortName),
                     QString::fromStdString(g_strBaudRate),
                     login.portList->currentData().toString(), login.baudList->currentText()),
            QStringLiteral("button \"%1\", outcome \"%2\"")
                .arg(login.find->text(), login.outcome->isVisible() ? login.outcome->text()
                                                                    : QStringLiteral("hidden"))};
        std::vector<std::string> lines =
            ResultLines(seen, login.messages, m_sim && settled ? &m_sim->Terminal() : nullptr);
        lines.erase(std::unique(lines.begin(), lines.end(),
                                [](const std::string &one, const std::string &next) {
                                    return one == "sent AT" && next == one;
                                }),
                    lines.end());
        lines.push_back(login.port.IsOpen() ? "port open" : "port closed");
        return lines;
    }

    StartupSettings m_initial = Initial();
    const QStringList kOnlySim0{QStringLiteral("Virtual port (SIM0)")};
    std::shared_ptr<QStringList> m_names = std::make_shared<QStringList>(kOnlySim0);
    const int m_savedTimeout = login::g_nLoginTimeout;
    std::optional<SimulatedPort> m_sim;
    std::unique_ptr<LoginFixture> m_login;
};

} // namespace

class LoginDialogTest : public QObject
{
    Q_OBJECT

    int m_savedLoginTimeout = 0;

private Q_SLOTS:
    void init()
    {
        lang::SetCode(lang::kEnglish);
        m_savedLoginTimeout = login::g_nLoginTimeout;
        g_strPortName.clear();
        g_strBaudRate.clear();
    }

    void cleanup() { login::g_nLoginTimeout = m_savedLoginTimeout; }

    // Input checks, the terminal's answers, Cancel and Find, against the
    // reviewed transcript.
    void asTheTranscriptSays()
    {
        LoginScenario scenario;
        ExpectScenarios("login_dialog.txt", scenario);
    }

    // The advertised port's pty is closed to everybody (mode 000), as a serial
    // device is to a user outside its group; the dialog tells why in the
    // engine's words.
    void portWithoutPermissionTellsHowToJoinDialout()
    {
        SimulatedPort sim;
        QVERIFY(sim.Started());
        QCOMPARE(::chmod(sim.Terminal().SlavePath().c_str(), 0), 0);
        const FilePermissionsEnforced permissions;
        if (!permissions.Holds())
            QSKIP("file permissions cannot be made to hold for root here");
        LoginFixture login(Initial());
        login.password->setText(QStringLiteral("1234"));
        QTest::keyClick(login.password, Qt::Key_Return);
        QCOMPARE(login.messages.Summary(),
                 "[16] " + QString::fromStdString(login::CannotOpenPortText(
                               "SIM0", platform::PortErrorKind::PermissionDenied)));
        QVERIFY(!login.port.IsOpen());
    }

    // Nothing cut short or overlapping, every field named apart, and one
    // width in every language, with the
    // outcome of a Find shown. With KESTREL_SCREENSHOT_DIR set, the dialog is
    // saved there as a picture.
    void labelsFitInEachLanguage()
    {
        const QString folder = qEnvironmentVariable("KESTREL_SCREENSHOT_DIR");
        SimulatedPort sim;
        QVERIFY(sim.Started());
        LoginFixture login(Initial(), {QStringLiteral("Virtual port (SIM0)"),
                                       QStringLiteral("Communications Port (COM1)")});
        const int width = login.dialog.width();
        login.find->click();
        QTRY_COMPARE(login.Enabled(), QString::fromLatin1(kIdle));
        const char *names[] = {"english", "portuguese", "spanish"};
        for (int language = 0; language < 3; ++language) {
            login.languageList->setCurrentIndex(language);
            login.dialog.adjustSize();
            QCoreApplication::processEvents();
            const QStringList faults = window_checks::LayoutFaults(&login.dialog) +
                                       window_checks::NameFaults(&login.dialog);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
            QCOMPARE(login.dialog.width(), width);
            if (!folder.isEmpty())
                QVERIFY(login.dialog.grab().save(
                    folder + QStringLiteral("/login_%1.png").arg(QLatin1String(names[language]))));
        }
        // The labels change at once; the language code only when confirmed.
        QCOMPARE(lang::Code(), lang::kEnglish);
    }
};

KESTREL_QT_TEST(LoginDialogTest)
#include "login_dialog_test.moc"
