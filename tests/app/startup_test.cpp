// The start-up of the program: settings read and written back at every end,
// the operating-system check, the login run modally, and what the main
// window is handed after a successful login. The main window is a callback.

#include "app/about_dialog.h"
#include "app/login_dialog.h"
#include "app/tool_app.h"
#include "engine/engine_globals.h"
#include "link/shared_settings.h"
#include "params/language.h"
#include "shell_test_support.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>

using namespace shell_test;

namespace {

constexpr int kLoginGiveUpMs = 20000;

void SetStored(const QString &port, const QString &baud, const QString &language)
{
    QSettings store(QStringLiteral("Quillenbrook"), QStringLiteral("Kestrel Manager"));
    store.clear();
    store.setValue(QStringLiteral("Settings/port"), port);
    store.setValue(QStringLiteral("Settings/baut"), baud);
    store.setValue(QStringLiteral("Settings/language"), language);
    store.sync();
}

QStringList Stored()
{
    QSettings store(QStringLiteral("Quillenbrook"), QStringLiteral("Kestrel Manager"));
    QStringList values;
    for (const char *key : {"Settings/port", "Settings/baut", "Settings/language"})
        values << (store.contains(QLatin1String(key)) ? store.value(QLatin1String(key)).toString()
                                                      : QStringLiteral("<missing>"));
    return values;
}

// What the login showed when it came up.
struct LoginSeen
{
    bool shown = false;
    QString port, baud, title;
    int language = -1;
    QStringList ports;
};

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
            auto *ports = dialog->findChild<QComboBox *>("portList");
            seen.shown = true;
            seen.port = ports->currentText();
            for (int i = 0; i < ports->count(); ++i)
                seen.ports << ports->itemText(i);
            seen.baud = dialog->findChild<QComboBox *>("baudList")->currentText();
            seen.language = dialog->findChild<QComboBox *>("languageList")->currentIndex();
            seen.title = dialog->windowTitle();
            QTimer::singleShot(kLoginGiveUpMs, dialog, &QDialog::reject);
            m_action(*dialog);
        });
        m_poll.start();
    }

    LoginSeen seen;

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

ToolAppSeams Seams(MainWindowSeen &main)
{
    ToolAppSeams seams;
    seams.runMainWindow = [&main](CSerialPort &port) {
        main.ran = true;
        main.language = lang::Code();
        main.password = g_strSoftwarePassword;
        main.portName = g_strPortName;
        main.baud = g_strBaudRate;
        main.portOpen = port.IsOpen();
        main.portOwned = port.Owner() != nullptr;
        return 0;
    };
    return seams;
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void emptyStoreGivesDefaults();
    void com1PreselectedWhenPresent();
    void storedPortugueseOpensPortuguese();
    void cancelledLoginLeavesSettingsUnchanged();
    void spanishLoginIsStoredAndHandedOn();
    void failedLoginEndsWithoutMainWindow();
    void portOverrideIsForThisRunOnly();
    void garbageSettingsDoNotHurt();
    void operatingSystemCheck_data();
    void operatingSystemCheck();
    void aboutBox();
};

void StartupTest::init()
{
    lang::SetCode(lang::kEnglish);
    g_strSoftwarePassword.clear();
    QSettings store(QStringLiteral("Quillenbrook"), QStringLiteral("Kestrel Manager"));
    store.clear();
    store.sync();
}

void StartupTest::emptyStoreGivesDefaults()
{
    SimulatedPort sim;
    QVERIFY(sim.Started());
    MainWindowSeen main;
    CToolApp app(Seams(main));
    LoginDriver driver(Cancel);
    QCOMPARE(app.Run(), 0);

    QVERIFY(driver.seen.shown);
    // The system's own ports come first, then the advertised virtual ones.
    QCOMPARE(driver.seen.ports.last(), QStringLiteral("SIM0"));
    QCOMPARE(driver.seen.baud, QStringLiteral("115200"));
    QCOMPARE(driver.seen.language, 0);
    QCOMPARE(driver.seen.title, QStringLiteral("Login"));
    QVERIFY(!main.ran);
    // Written back at the end, though nothing was stored before.
    QCOMPARE(Stored(), (QStringList{"COM1", "115200", "1"}));
    QVERIFY(g_strPortName.empty());
}

void StartupTest::com1PreselectedWhenPresent()
{
    MainWindowSeen main;
    ToolAppSeams seams = Seams(main);
    seams.presentPortNames = [] {
        return QStringList{QStringLiteral("Communications Port (COM3)"),
                           QStringLiteral("Communications Port (COM1)")};
    };
    CToolApp app(std::move(seams));
    LoginDriver driver(Cancel);
    app.Run();
    QCOMPARE(driver.seen.port, QStringLiteral("COM1"));
}

void StartupTest::storedPortugueseOpensPortuguese()
{
    SetStored(QStringLiteral("SIM0"), QStringLiteral("9600"), QStringLiteral("2"));
    MainWindowSeen main;
    CToolApp app(Seams(main));
    LoginDriver driver(Cancel);
    app.Run();
    QCOMPARE(driver.seen.title, QStringLiteral("Iniciar"));
    QCOMPARE(driver.seen.language, 1);
    QCOMPARE(driver.seen.baud, QStringLiteral("9600"));
}

void StartupTest::cancelledLoginLeavesSettingsUnchanged()
{
    SimulatedPort sim;
    QVERIFY(sim.Started());
    SetStored(QStringLiteral("SIM0"), QStringLiteral("9600"), QStringLiteral("1"));
    MainWindowSeen main;
    CToolApp app(Seams(main));
    LoginDriver driver([](CLoginDlg &dialog) {
        dialog.findChild<QComboBox *>("baudList")->setCurrentIndex(0);
        dialog.findChild<QComboBox *>("languageList")->setCurrentIndex(2);
        // A refused try sets the language code; the stored choice stays.
        dialog.findChild<QComboBox *>("portList")->setCurrentIndex(-1);
        EnterPassword(dialog, QStringLiteral("1234"));
        dialog.reject();
    });
    MessageRecorder messages;
    app.Run();
    QVERIFY(driver.seen.shown);
    QCOMPARE(messages.LastText(), QStringLiteral("Por favor seleccione el puerto COM."));
    QVERIFY(!main.ran);
    QCOMPARE(Stored(), (QStringList{"SIM0", "9600", "1"}));
}

void StartupTest::spanishLoginIsStoredAndHandedOn()
{
    SimulatedPort sim;
    QVERIFY(sim.Started());
    SetStored(QStringLiteral("SIM0"), QStringLiteral("57600"), QStringLiteral("1"));
    MainWindowSeen main;
    CToolApp app(Seams(main));
    LoginDriver driver([](CLoginDlg &dialog) {
        dialog.findChild<QComboBox *>("languageList")->setCurrentIndex(2);
        EnterPassword(dialog, QStringLiteral("1234"));
    });
    QCOMPARE(app.Run(), 0);

    QVERIFY(main.ran);
    QCOMPARE(main.language, lang::kSpanish);
    QCOMPARE(main.password, std::string("1234"));
    QCOMPARE(main.portName, std::string("SIM0"));
    QCOMPARE(main.baud, std::string("57600"));
    QVERIFY(!main.portOpen);
    QVERIFY(!main.portOwned);
    QCOMPARE(app.Fields().language, QStringLiteral("3"));
    QCOMPARE(Stored(), (QStringList{"SIM0", "57600", "3"}));
    QCOMPARE(sim.Terminal().Commands(), std::vector<std::string>{"AT+WPAR=9996,\"1234\""});
}

void StartupTest::failedLoginEndsWithoutMainWindow()
{
    SimulatedPort sim;
    QVERIFY(sim.Started());
    SetStored(QStringLiteral("SIM0"), QStringLiteral("115200"), QStringLiteral("1"));
    MainWindowSeen main;
    CToolApp app(Seams(main));
    MessageRecorder messages;
    LoginDriver driver([&messages](CLoginDlg &dialog) {
        EnterPassword(dialog, QStringLiteral("4321"));
        // The refusal leaves the dialog open; the user gives up.
        QTRY_COMPARE_WITH_TIMEOUT(messages.Count(), 1, kLoginGiveUpMs);
        dialog.reject();
    });
    app.Run();
    QCOMPARE(messages.LastText(), QStringLiteral("ERROR:Software Password invalid!"));
    QVERIFY(!main.ran);
    QVERIFY(g_strSoftwarePassword.empty());
    QCOMPARE(Stored(), (QStringList{"SIM0", "115200", "1"}));
}

void StartupTest::portOverrideIsForThisRunOnly()
{
    SimulatedPort sim;
    QVERIFY(sim.Started());
    SetStored(QStringLiteral("COM1"), QStringLiteral("115200"), QStringLiteral("1"));
    MainWindowSeen main;
    ToolAppSeams seams = Seams(main);
    seams.presentPortNames = [] {
        return QStringList{QStringLiteral("Communications Port (COM1)"),
                           QStringLiteral("Virtual port (SIM0)")};
    };
    CToolApp app(std::move(seams));
    app.SetPortOverride(QStringLiteral("SIM0"));
    LoginDriver driver(Cancel);
    app.Run();
    QCOMPARE(driver.seen.port, QStringLiteral("SIM0"));
    QCOMPARE(Stored(), (QStringList{"COM1", "115200", "1"}));
}

void StartupTest::garbageSettingsDoNotHurt()
{
    SetStored(QStringLiteral("no such port"), QStringLiteral("abc"), QStringLiteral("9"));
    MainWindowSeen main;
    CToolApp app(Seams(main));
    LoginDriver driver(Cancel);
    app.Run();
    QVERIFY(driver.seen.shown);
    QCOMPARE(driver.seen.language, 0);
    QCOMPARE(driver.seen.title, QStringLiteral("Login"));
    QCOMPARE(driver.seen.baud, QString());
    QCOMPARE(Stored(), (QStringList{"no such port", "abc", "9"}));
}

void StartupTest::operatingSystemCheck_data()
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

void StartupTest::operatingSystemCheck()
{
    QFETCH(int, platform);
    QFETCH(int, major);
    QFETCH(QString, refusal);
    QFETCH(int, isNT);

    const OsVersion version{static_cast<OsPlatform>(platform), major};
    const OsVerdict verdict = CheckOsVersion(version);
    QCOMPARE(QString::fromLatin1(verdict.refusal), refusal);
    QCOMPARE(verdict.isNT, isNT);

    MainWindowSeen main;
    ToolAppSeams seams = Seams(main);
    seams.queryOsVersion = [version] { return version; };
    CToolApp app(std::move(seams));
    MessageRecorder messages;
    LoginDriver driver(Cancel);
    const int status = app.Run();
    if (refusal.isEmpty()) {
        QCOMPARE(status, 0);
        QVERIFY(driver.seen.shown);
        QCOMPARE(g_bIsNT, isNT);
        QCOMPARE(messages.Count(), 0);
    } else {
        QCOMPARE(status, 1);
        QVERIFY(!driver.seen.shown);
        QCOMPARE(messages.Count(), 1);
        QCOMPARE(messages.LastText(), refusal);
        QCOMPARE(messages.Messages().last().caption, QStringLiteral("Error"));
        QCOMPARE(messages.LastStyle(), 32);
    }
    QCOMPARE(Stored(), (QStringList{"COM1", "115200", "1"}));
    g_bIsNT = 1;
}

void StartupTest::aboutBox()
{
    const std::unique_ptr<QDialog> box = CreateAboutBox(nullptr);
    QCOMPARE(box->windowTitle(), QStringLiteral("Kestrel Programming"));
    QCOMPARE(box->findChild<QLabel *>("versionLine")->text(), QStringLiteral("V1.2.0"));
    const QString buildLine = box->findChild<QLabel *>("buildLine")->text();
    QVERIFY2(QRegularExpression(QStringLiteral("^Build On: [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}$"))
                 .match(buildLine)
                 .hasMatch(),
             qPrintable(buildLine));
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    const QPixmap picture = box->grab();
    QVERIFY(!picture.isNull());
    const QString folder = qEnvironmentVariable("KESTREL_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QVERIFY(picture.save(folder + QStringLiteral("/about.png")));
}

KESTREL_SHELL_TEST_MAIN(StartupTest)
#include "startup_test.moc"
