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
#include <QRegularExpression>
#include <QSettings>

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

// What the main window was handed.
struct MainWindowSeen
{
    bool ran = false;
    int language = 0;
    std::string password, portName, baud;
    bool portOpen = true;
    bool portOwned = true;
};

// One run of the program with the login handled by `action`.
struct ProgramRun
{
    explicit ProgramRun(const std::function<void(CLoginDlg &)> &action,
                        const QStringList &presentNames = {}, const QString &portOverride = {},
                        const std::function<OsVersion()> &osVersion = {})
    {
        ToolAppSeams seams;
        seams.runMainWindow = [this](CSerialPort &port) {
            main = {true,          lang::Code(),  g_strSoftwarePassword,  g_strPortName,
                    g_strBaudRate, port.IsOpen(), port.Owner() != nullptr};
            return 0;
        };
        if (!presentNames.isEmpty())
            seams.presentPortNames = [presentNames] { return presentNames; };
        if (osVersion)
            seams.queryOsVersion = osVersion;
        CToolApp app(std::move(seams));
        if (!portOverride.isEmpty())
            app.SetPortOverride(portOverride);
        LoginDriver driver(action);
        status = app.Run();
        login = driver.seen;
        languageField = app.Fields().language;
    }

    int status = -1;
    QStringList login;
    MainWindowSeen main;
    QString languageField;
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

    void loginOpensWithTheStoredChoices_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("portOverride");
        QTest::addColumn<QStringList>("seen"); // port, baud rate, language index, title

        const QString com1 = QStringLiteral("Communications Port (COM1)");
        const QString sim0 = QStringLiteral("Virtual port (SIM0)");
        const QStringList com3AndCom1{QStringLiteral("Communications Port (COM3)"), com1};
        // clang-format off
        QTest::newRow("nothing stored, COM1 present")
            << QStringList() << com3AndCom1 << QString() << QStringList{"COM1", "115200", "0", "Login"};
        QTest::newRow("stored Portuguese")
            << QStringList{"SIM0", "9600", "2"} << QStringList{sim0} << QString() << QStringList{"SIM0", "9600", "1", "Iniciar"};
        QTest::newRow("a port given for this run only")
            << QStringList{"COM1", "115200", "1"} << QStringList{com1, sim0} << "SIM0" << QStringList{"SIM0", "115200", "0", "Login"};
        QTest::newRow("stored Spanish")
            << QStringList{"SIM0", "2400", "3"} << QStringList{sim0} << QString() << QStringList{"SIM0", "2400", "2", "Iniciar sesión"};
        QTest::newRow("garbage") << QStringList{"no such port", "abc", "9"} << QStringList{QStringLiteral("Port (ttyS4)")}
            << QString() << QStringList{"ttyS4", "", "0", "Login"};
        // clang-format on
    }

    void loginOpensWithTheStoredChoices()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, present);
        QFETCH(QString, portOverride);
        QFETCH(QStringList, seen);
        SetStored(stored);
        const ProgramRun run(Cancel, present, portOverride);
        QCOMPARE(run.login, seen);
        QVERIFY(!run.main.ran);
        // A cancelled login stores nothing new.
        QCOMPARE(Stored(), (stored.isEmpty() ? QStringList{"COM1", "115200", "1"} : stored));
    }

    void spanishLoginIsStoredAndHandedOn()
    {
        SimulatedPort sim;
        QVERIFY(sim.Started());
        SetStored({"SIM0", "57600", "1"});
        const ProgramRun run([](CLoginDlg &dialog) {
            dialog.findChild<QComboBox *>("languageList")->setCurrentIndex(2);
            EnterPassword(dialog, QStringLiteral("1234"));
        });
        QCOMPARE(run.status, 0);
        QVERIFY(run.main.ran);
        QCOMPARE(run.main.language, lang::kSpanish);
        QCOMPARE(run.main.password + " " + run.main.portName + " " + run.main.baud,
                 std::string("1234 SIM0 57600"));
        QVERIFY(!run.main.portOpen);
        QVERIFY(!run.main.portOwned);
        QCOMPARE(run.languageField, QStringLiteral("3"));
        QCOMPARE(Stored(), (QStringList{"SIM0", "57600", "3"}));
        QCOMPARE(sim.Terminal().Commands(), std::vector<std::string>{"AT+WPAR=9996,\"1234\""});
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
        QVERIFY(!run.main.ran);
        QVERIFY(g_strSoftwarePassword.empty());
        QCOMPARE(Stored(), (QStringList{"SIM0", "9600", "1"}));
    }

    void operatingSystemCheck_data()
    {
        QTest::addColumn<int>("platform");
        QTest::addColumn<int>("major");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<int>("isNT");

        const QString tooOld =
            QStringLiteral("this application will only run on Windows95 or WinNT 4.0 or greater");
        const QString unsupported = QStringLiteral("there is an Error,the system is not supported");
        QTest::newRow("NT family 3") << int(OsPlatform::NtFamily) << 3 << tooOld << 0;
        QTest::newRow("Windows 95 family 3") << int(OsPlatform::Win95Family) << 3 << tooOld << 0;
        QTest::newRow("other platform 3") << int(OsPlatform::Other) << 3 << tooOld << 0;
        QTest::newRow("other platform 10") << int(OsPlatform::Other) << 10 << unsupported << 0;
        QTest::newRow("NT family 4") << int(OsPlatform::NtFamily) << 4 << QString() << 1;
        QTest::newRow("Windows 95 family 4") << int(OsPlatform::Win95Family) << 4 << QString() << 0;
        QTest::newRow("Linux, any kernel") << int(OsPlatform::Posix) << 2 << QString() << 1;
    }

    void operatingSystemCheck()
    {
        QFETCH(int, platform);
        QFETCH(int, major);
        QFETCH(QString, refusal);
        QFETCH(int, isNT);

        const OsVersion version{static_cast<OsPlatform>(platform), major};
        MessageRecorder messages;
        const ProgramRun run(Cancel, {}, {}, [version] { return version; });
        if (refusal.isEmpty()) {
            QCOMPARE(run.status, 0);
            QVERIFY(!run.login.isEmpty());
            QCOMPARE(g_bIsNT, isNT);
            QCOMPARE(messages.Count(), 0);
        } else {
            QCOMPARE(run.status, 1);
            QVERIFY(run.login.isEmpty());
            QCOMPARE(messages.Summary(), "[32] " + refusal);
            QCOMPARE(messages.Messages().last().caption, QStringLiteral("Error"));
        }
        QCOMPARE(Stored(), (QStringList{"COM1", "115200", "1"}));
        g_bIsNT = 1;
    }

    void storedGapIsUsedAndWrittenBack_data()
    {
        QTest::addColumn<QVariant>("stored"); // invalid: no key
        QTest::addColumn<int>("gap");
        QTest::addColumn<bool>("warned");

        QTest::newRow("missing") << QVariant() << 20 << false;
        QTest::newRow("none") << QVariant(QStringLiteral("0")) << 0 << false;
        QTest::newRow("largest") << QVariant(QStringLiteral("1000")) << 1000 << false;
        QTest::newRow("too large") << QVariant(QStringLiteral("1001")) << 20 << true;
        QTest::newRow("negative") << QVariant(QStringLiteral("-5")) << 20 << true;
        QTest::newRow("with a unit") << QVariant(QStringLiteral("20ms")) << 20 << true;
        QTest::newRow("empty") << QVariant(QString()) << 20 << true;
    }

    void storedGapIsUsedAndWrittenBack()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, gap);
        QFETCH(bool, warned);
        if (stored.isValid()) {
            QSettings store(QStringLiteral("Quillenbrook"), QStringLiteral("Kestrel Manager"));
            store.setValue(QStringLiteral("Settings/gap"), stored);
            store.sync();
        }
        const QRegularExpression warning(
            QStringLiteral("^Kestrel Manager: the stored gap \".*\" is not a "
                           "whole number of milliseconds from 0 to 1000; using 20 ms$"));
        if (warned)
            QTest::ignoreMessage(QtWarningMsg, warning);
        else
            QTest::failOnWarning(warning);
        g_nDeviceGap = -1;
        const ProgramRun run(Cancel);
        QCOMPARE(g_nDeviceGap.load(), gap);
        QSettings store(QStringLiteral("Quillenbrook"), QStringLiteral("Kestrel Manager"));
        QCOMPARE(store.value(QStringLiteral("Settings/gap")).toString(), QString::number(gap));
    }
};

KESTREL_QT_TEST(StartupTest)
#include "startup_test.moc"
