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
#include <sys/stat.h>

using namespace shell_test;

namespace {

constexpr int kReplyWaitMs = 10000;

// The entries as shown, or the values they stand for.
QStringList Items(const QComboBox *list, int role = Qt::DisplayRole)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemData(i, role).toString();
    return items;
}

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

    template <typename Control> Control *Find(const char *name) const
    {
        return dialog.findChild<Control *>(QLatin1String(name));
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
    // Types the password and presses Enter in the password field.
    void ConfirmWithEnter(const QString &text)
    {
        password->setText(text);
        password->setFocus();
        QTest::keyClick(password, Qt::Key_Return);
    }

    MessageRecorder messages;
    CSerialPort port;
    CLoginDlg dialog;
    bool active = false;
    QComboBox *portList = Find<QComboBox>("portList");
    QComboBox *baudList = Find<QComboBox>("baudList");
    QComboBox *languageList = Find<QComboBox>("languageList");
    QLineEdit *password = Find<QLineEdit>("passwordEdit");
    QPushButton *ok = Find<QPushButton>("okButton");
    QPushButton *cancel = Find<QPushButton>("cancelButton");
    QPushButton *find = Find<QPushButton>("findButton");
    QLabel *outcome = Find<QLabel>("findOutcome");
};

constexpr auto kIdle = "1111111";

StartupSettings Initial()
{
    return {QString::fromLatin1(SimulatedPort::kName), QStringLiteral("115200"),
            QStringLiteral("1")};
}

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

    // Each port shows its description, and the name is what the login uses.
    // The saved COM1 also matches COM10, and the later match wins.
    void portListShowsDescriptionsLastUsedFirst()
    {
        LoginFixture login({QStringLiteral("COM1"), QStringLiteral("9600"), QStringLiteral("1")},
                           {QStringLiteral("Communications Port (COM1)"),
                            QStringLiteral(" (ttyS0)"),
                            QStringLiteral("Communications Port (COM10)")});
        QCOMPARE(Items(login.portList), (QStringList{"Communications Port (COM10)",
                                                     "Communications Port (COM1)", "ttyS0"}));
        QCOMPARE(Items(login.portList, Qt::UserRole), (QStringList{"COM10", "COM1", "ttyS0"}));
        QCOMPARE(login.portList->currentIndex(), 0);
        login.ConfirmWithEnter(QStringLiteral("1234"));
        QCOMPARE(login.messages.Summary(), QStringLiteral("[16] Error: Can`t open Port:  COM10 !"));
        QCOMPARE(login.dialog.PortText(), QStringLiteral("COM10"));
        QCOMPARE(login.dialog.isVisible(), true);
        QCOMPARE(login.Enabled(), QString::fromLatin1(kIdle));
        QCOMPARE(g_strBaudRate, std::string("9600"));
    }

    // A port that comes is listed and the choice stays; when the chosen port
    // goes, the one used last is chosen again.
    void portListFollowsThePorts()
    {
        auto present = std::make_shared<QStringList>(QStringList{"Virtual port (SIM0)"});
        LoginFixture login(Initial(), [present] { return *present; });
        present->append(QStringLiteral("USB UART, serial A5 (ttyUSB0)"));
        QTRY_COMPARE(login.portList->count(), 2);
        QCOMPARE(login.portList->itemText(1), QStringLiteral("USB UART, serial A5 (ttyUSB0)"));
        QCOMPARE(login.portList->currentData().toString(), QStringLiteral("SIM0"));

        login.portList->setCurrentIndex(1);
        present->prepend(QStringLiteral("Virtual port (SIM1)"));
        QTRY_COMPARE(login.portList->count(), 3);
        QCOMPARE(login.portList->currentData().toString(), QStringLiteral("ttyUSB0"));
        present->removeLast();
        QTRY_COMPARE(login.portList->count(), 2);
        QCOMPARE(Items(login.portList, Qt::UserRole), (QStringList{"SIM0", "SIM1"}));
        QCOMPARE(login.portList->currentIndex(), 0);
    }

    void inputChecks_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("clearPort");
        QTest::addColumn<bool>("clearBaud");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");

        const QString length =
            QStringLiteral("Error: The Software Password must be between 4 and 12 characters!");
        // clang-format off
        QTest::newRow("no port comes first") << 0 << true << true << "" << "Please you must select a COM Port.";
        QTest::newRow("no baud rate") << 0 << false << true << "" << "Please you must select a Baut Rate.";
        QTest::newRow("no password") << 0 << false << false << "" << "Please input the Software Password.";
        QTest::newRow("a double quote, Portuguese") << 1 << false << false << "12\"45"
            << "Erro: A senha não pode conter caracteres de controle nem aspas duplas!";
        QTest::newRow("13 characters") << 0 << false << false << "1234567890123" << length;
        // Counted in characters, sent as one Windows-1252 byte each.
        QTest::newRow("3 characters, 4 bytes in UTF-8") << 0 << false << false << "se\u00f1" << length;
        // clang-format on
    }

    void inputChecks()
    {
        QFETCH(int, language);
        QFETCH(bool, clearPort);
        QFETCH(bool, clearBaud);
        QFETCH(QString, password);
        QFETCH(QString, message);

        LoginFixture login(Initial(), {QStringLiteral("Virtual port (SIM0)")});
        login.languageList->setCurrentIndex(language);
        if (clearPort)
            login.portList->setCurrentIndex(-1);
        if (clearBaud)
            login.baudList->setCurrentIndex(-1);
        login.ok->setFocus();
        login.password->setText(password);
        QTest::keyClick(login.ok, Qt::Key_Return);

        QCOMPARE(login.messages.Summary(), "[16] " + message);
        QCOMPARE(login.messages.Messages().last().caption, QStringLiteral("Kestrel Manager"));
        QVERIFY(login.dialog.isVisible());
        QVERIFY(!login.port.IsOpen());
        if (!clearBaud) { // the password's fault: the field is selected
            QCOMPARE(QApplication::focusWidget(), login.password);
            QCOMPARE(login.password->selectedText(), password);
        }
    }

    // Line noise, unsolicited lines and a lower-case "ok" around the login
    // are the login exchange's (engine LoginExchange, kestrel-cli over the simulator).
    void terminalAnswers_data()
    {
        QTest::addColumn<SimSetUp>("setUp");
        QTest::addColumn<QString>("password"); // the terminal's is 1234
        QTest::addColumn<bool>("click");       // OK clicked with the mouse, else Enter
        QTest::addColumn<QString>("messages");
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<int>("timeoutMs"); // the login's, when shortened

        const SimSetUp plain = [](sim::SimOptions &) {};
        // clang-format off
        QTest::newRow("a click on OK confirms like Enter") << plain << "1234" << true << "" << true << 0;
        QTest::newRow("12 characters, 15 bytes in UTF-8")
            << SimSetUp([](sim::SimOptions &o) { o.password = "se\xf1" "ase\xf1" "ase\xf1" "a"; })
            << QString::fromUtf8("se\u00f1ase\u00f1ase\u00f1a") << false << "" << true << 0;
        QTest::newRow("an over-long line is reported once and the login goes on")
            << SimSetUp([](sim::SimOptions &o) { o.faults.overlongAt = 1; }) << "1234" << false
            << "[32] Error: Receive buffer overflow!" << true << 0;
        QTest::newRow("+CME ERROR is an invalid password")
            << SimSetUp([](sim::SimOptions &o) { o.password = "4321"; o.faults.cmeError = 16; })
            << "1234" << false << "[16] ERROR:Software Password invalid!" << false << 0;
        QTest::newRow("an error without the login line's echo is not taken as a refusal")
            << SimSetUp([](sim::SimOptions &o) { o.echo = false; o.password = "4321"; }) << "1234" << false
            << "[16] Error: The terminal did not take the password line as sent (noise on the line?). "
               "Check the cable and try again!" << false << 0;
        QTest::newRow("no answer times out") << kSilent << "1234" << false
            << "[16] Error: Timeout, check the COM Port!" << false << 300;
        // clang-format on
    }

    void terminalAnswers()
    {
        QFETCH(SimSetUp, setUp);
        QFETCH(QString, password);
        QFETCH(bool, click);
        QFETCH(QString, messages);
        QFETCH(bool, succeeded);
        QFETCH(int, timeoutMs);
        if (timeoutMs > 0)
            login::g_nLoginTimeout = timeoutMs;
        SimulatedPort sim(SimOptionsWith(setUp));
        QVERIFY(sim.Started());
        LoginFixture login(Initial());
        if (click) {
            login.password->setText(password);
            QTest::mouseClick(login.ok, Qt::LeftButton);
        } else {
            login.ConfirmWithEnter(password);
        }
        QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded() || login.messages.Count() > 0,
                                 kReplyWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(login.dialog.isVisible(), !succeeded, kReplyWaitMs);
        QCOMPARE(login.dialog.LoginSucceeded(), succeeded);
        QCOMPARE(login.messages.Summary(), messages);
        QVERIFY(!login.port.IsOpen());
        QCOMPARE(sim.Terminal().Commands().back(),
                 "AT+WPAR=9996,\"" + codepage::ToBytes(password) + "\"");
        if (succeeded) {
            QCOMPARE(login.dialog.result(), int(QDialog::Accepted));
            QCOMPARE((QStringList{login.dialog.PortText(), login.dialog.BaudText(),
                                  login.dialog.PasswordText(), login.dialog.LanguageCodeText()}),
                     (QStringList{"SIM0", "115200", password, "1"}));
        } else {
            // Retyping replaces a refused password; a time-out selects nothing.
            QCOMPARE(login.Enabled(), QString::fromLatin1(kIdle));
            QCOMPARE(login.password->selectedText(), timeoutMs > 0 ? QString() : password);
        }
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
        login.ConfirmWithEnter(QStringLiteral("1234"));
        QCOMPARE(login.messages.Summary(),
                 "[16] " + QString::fromStdString(login::CannotOpenPortText(
                               "SIM0", platform::PortErrorKind::PermissionDenied)));
        QVERIFY(!login.port.IsOpen());
    }

    void cancelEndsTheWait_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Escape") << true;
    }

    // While the login waits for the answer the fields are disabled and the
    // cursor is busy; Cancel closes the port and the dialog stays for another
    // try. Closing the window ends it.
    void cancelEndsTheWait()
    {
        QFETCH(bool, escape);
        SimulatedPort sim(SimOptionsWith(kSilent));
        QVERIFY(sim.Started());
        LoginFixture login(Initial());
        login.ConfirmWithEnter(QStringLiteral("1234"));
        QVERIFY(login.port.IsOpen());
        QCOMPARE(login.Enabled(), QStringLiteral("0000010"));
        QCOMPARE(login.dialog.cursor().shape(), Qt::BusyCursor);
        if (escape)
            QTest::keyClick(&login.dialog, Qt::Key_Escape);
        else
            login.cancel->click();
        QVERIFY(!login.port.IsOpen());
        QVERIFY(login.dialog.isVisible());
        QCOMPARE(login.Enabled(), QString::fromLatin1(kIdle));
        QCOMPARE(login.dialog.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(QApplication::focusWidget(), login.password);
        QVERIFY(!login.dialog.LoginSucceeded());
        QCOMPARE(login.messages.Count(), 0);

        login.ConfirmWithEnter(QStringLiteral("1234"));
        QVERIFY(login.port.IsOpen());
        login.dialog.close();
        QCOMPARE(login.dialog.result(), int(QDialog::Rejected));
        QVERIFY(!login.dialog.isVisible());
        QVERIFY(!login.port.IsOpen());
    }

    void findSelectsThePortThatAnswers_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("language"); // the list's position: the outcome follows it
        QTest::addColumn<QString>("find"); // the button's label after the search
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("port"); // chosen after the search
        QTest::addColumn<QString>("baud");

        const QStringList both{"Ghost (ttyNOPE)", "Virtual port (SIM0)"};
        // clang-format off
        QTest::newRow("the terminal answers at the usual rate, Spanish") << both << false << 2 << "&Buscar"
            << "Respondieron \"OK\": SIM0 a 115200 bps." << "SIM0" << "115200";
        QTest::newRow("none answers") << QStringList{"Ghost (ttyNOPE)"} << false << 0 << "&Find"
            << "No port answered \"OK\"." << "ttyNOPE" << "9600";
        QTest::newRow("cancelled") << both << true << 0 << "&Find" << "" << "ttyNOPE" << "9600";
        // clang-format on
    }

    // Find sends a bare "AT" to every listed port and picks the first port and
    // rate that answered; Cancel stops it and keeps the choice.
    void findSelectsThePortThatAnswers()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, silent);
        QFETCH(int, language);
        QFETCH(QString, find);
        QFETCH(QString, outcome);
        QFETCH(QString, port);
        QFETCH(QString, baud);
        SimulatedPort sim(SimOptionsWith(silent ? kSilent : SimSetUp()));
        QVERIFY(sim.Started());
        LoginFixture login({QStringLiteral("ttyNOPE"), QStringLiteral("9600"), QStringLiteral("1")},
                           names);
        login.languageList->setCurrentIndex(language);
        login.find->click();
        QCOMPARE(login.Enabled(), QStringLiteral("0000011"));
        QCOMPARE(login.dialog.cursor().shape(), Qt::BusyCursor);
        if (silent) {
            QTRY_VERIFY(sim.Terminal().CommandCount() >= 1);
            QCOMPARE(login.find->text(), QStringLiteral("Cancel search"));
            QCOMPARE(login.outcome->text(), QStringLiteral("Sending \"AT\" to the ports..."));
            login.cancel->click();
        }
        QTRY_COMPARE(login.Enabled(), QString::fromLatin1(kIdle));
        QCOMPARE(login.outcome->text(), outcome);
        QCOMPARE(login.outcome->isVisible(), !outcome.isEmpty());
        QCOMPARE(login.find->text(), find);
        QCOMPARE(login.portList->currentData().toString() + " " + login.baudList->currentText(),
                 port + " " + baud);
        // SIM0, listed second, hears one bare "AT" and nothing else.
        QCOMPARE(sim.Terminal().Commands(),
                 std::vector<std::string>(size_t(names.size() - 1), "AT"));
        QVERIFY(login.dialog.isVisible());
        QCOMPARE(login.messages.Count(), 0);
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

    void opensForThePasswordAndTabsDownTheFields()
    {
        LoginFixture login(Initial());
        QVERIFY(login.active);
        QCOMPARE(login.baudList->currentText(), QStringLiteral("115200"));
        QCOMPARE(login.password->echoMode(), QLineEdit::Password);
        // A CR would split the login line in two.
        QGuiApplication::clipboard()->setText(QStringLiteral("12\r34"));
        login.password->paste();
        QCOMPARE(login.password->text(), QString());
        QVERIFY(login.outcome->isHidden());
        QTRY_COMPARE(QApplication::focusWidget(), login.password);
        login.portList->setFocus(Qt::OtherFocusReason);
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int press = 0; press < 7; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, (QStringList{"portList", "baudList", "passwordEdit", "languageList",
                                       "findButton", "okButton", "cancelButton", "portList"}));
    }
};

KESTREL_QT_TEST(LoginDialogTest)
#include "login_dialog_test.moc"
