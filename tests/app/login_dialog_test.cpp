// The login dialog against the simulated terminal on "SIM0": preselection,
// labels in three languages, the input checks, and the exchange with the
// terminal (accepted, refused, unanswered, garbled).

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

// Title, the four labels, the buttons and the language list's entries.
const QStringList kEnglishLabels{"Login",      "COM Port:", "Baud Rate(bps):", "Software Password:",
                                 "Language:",  "OK",        "Cancel",          "English",
                                 "Portuguese", "Spanish"};
const QStringList kPortugueseLabels{"Iniciar", "Porta COM:", "Taxa(bps):", "Senha:",    "Idioma:",
                                    "OK",      "Cancelar",   "Inglês",     "Português", "Espanhol"};
const QStringList kSpanishLabels{"Iniciar sesión", "Puerto COM:", "Velocidad de transmisión(bps):",
                                 "Password:",      "Idioma:",     "OK",
                                 "Cancelar",       "Inglés",      "Portugués ",
                                 "Español"};
const char *const kLabelNames[] = {"portLabel", "baudLabel", "passwordLabel", "languageLabel"};

QStringList Items(const QComboBox *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

// One dialog on its own port, shown and active, with its controls at hand
// and its message boxes recorded.
class LoginFixture
{
public:
    explicit LoginFixture(const StartupSettings &initial, QStringList names = PresentPortNames())
        : dialog(port, initial, names)
    {
        dialog.show();
        active = QTest::qWaitForWindowActive(&dialog);
    }

    template <typename Control> Control *Find(const char *name) const
    {
        return dialog.findChild<Control *>(QLatin1String(name));
    }
    bool Complete() const
    {
        for (const char *name : kLabelNames)
            if (!Find<QLabel>(name))
                return false;
        return portList && baudList && languageList && password && ok && cancel;
    }
    QStringList Labels() const
    {
        QStringList labels{dialog.windowTitle()};
        for (const char *name : kLabelNames)
            labels << Find<QLabel>(name)->text();
        return labels << ok->text() << cancel->text() << Items(languageList);
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
};

StartupSettings Initial(const QString &language = QStringLiteral("1"))
{
    return {QString::fromLatin1(SimulatedPort::kName), QStringLiteral("115200"), language};
}

const SimSetUp kSilent = [](sim::SimOptions &o) { o.faults.silentAfter = 0; };

} // namespace

class LoginDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void opensWithChoicesPreselectedAndFocusInPassword();
    void labelsForStoredLanguage_data();
    void labelsForStoredLanguage();
    void spanishRelabelsAtOnceAndSpeaksSpanish();
    void garbageSettingsFallBackToEnglish();
    void inputChecks_data();
    void inputChecks();
    void passwordLengthBounds_data();
    void passwordLengthBounds();
    void controlCharactersStayOutOfThePassword();
    void lowerCaseOkSucceedsPastUnsolicitedLines();
    void mouseClickOnOkConfirmsLikeEnter();
    void cmeErrorIsAnInvalidPassword();
    void lineNoiseIsClearedAwayBeforeTheLogin();
    void noAnswerTimesOutAndSecondTryWorks();
    void overlongLineIsReportedOnceAndTheLoginGoesOn();
    void portThatCannotOpen();
    void portWithoutPermissionTellsHowToJoinDialout_data();
    void portWithoutPermissionTellsHowToJoinDialout();
    void savedCom1SelectsLaterCom10();
    void cancelDuringExchangeClosesPort();
    void labelsFitInEachLanguage();
    void tabGoesDownTheFieldsThenToOkAndCancel();

private:
    int m_savedLoginTimeout = 0;
};

void LoginDialogTest::init()
{
    lang::SetCode(lang::kEnglish);
    m_savedLoginTimeout = login::g_nLoginTimeout;
    g_strPortName.clear();
    g_strBaudRate.clear();
}

void LoginDialogTest::cleanup()
{
    login::g_nLoginTimeout = m_savedLoginTimeout;
}

void LoginDialogTest::opensWithChoicesPreselectedAndFocusInPassword()
{
    SimulatedPort sim;
    QVERIFY(sim.Started());
    LoginFixture login(Initial());
    QVERIFY(login.Complete());
    QVERIFY(login.active);
    QCOMPARE(login.portList->currentText(), QStringLiteral("SIM0"));
    QCOMPARE(login.baudList->currentText(), QStringLiteral("115200"));
    QCOMPARE(Items(login.baudList),
             (QStringList{"2400", "4800", "9600", "19200", "38400", "57600", "115200"}));
    QCOMPARE(login.password->echoMode(), QLineEdit::Password);
    QTRY_COMPARE(QApplication::focusWidget(), login.password);
}

void LoginDialogTest::labelsForStoredLanguage_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("1") << "1" << 0 << kEnglishLabels;
    QTest::newRow("2") << "2" << 1 << kPortugueseLabels;
    QTest::newRow("3") << "3" << 2 << kSpanishLabels;
    QTest::newRow("9: English") << "9" << 0 << kEnglishLabels;
    QTest::newRow("empty: English") << "" << 0 << kEnglishLabels;
}

void LoginDialogTest::labelsForStoredLanguage()
{
    QFETCH(QString, stored);
    QFETCH(int, selected);
    QFETCH(QStringList, labels);
    LoginFixture login(Initial(stored), {});
    QCOMPARE(login.languageList->currentIndex(), selected);
    QCOMPARE(login.Labels(), labels);
}

void LoginDialogTest::spanishRelabelsAtOnceAndSpeaksSpanish()
{
    LoginFixture login(Initial(), {});
    login.languageList->setCurrentIndex(2);
    QCOMPARE(login.Labels(), kSpanishLabels);
    // The labels change at once; the language code only when confirmed.
    QCOMPARE(lang::Code(), lang::kEnglish);

    login.portList->setCurrentIndex(-1);
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QCOMPARE(lang::Code(), lang::kSpanish);
    QCOMPARE(login.messages.Summary(), QStringLiteral("[16] Por favor seleccione el puerto COM."));
    QCOMPARE(login.messages.Messages().last().caption, QStringLiteral("Kestrel Manager"));
    QVERIFY(!login.port.IsOpen());

    login.languageList->setCurrentIndex(1);
    QCOMPARE(login.Labels(), kPortugueseLabels);
    login.languageList->setCurrentIndex(0);
    QCOMPARE(login.Labels(), kEnglishLabels);
}

void LoginDialogTest::garbageSettingsFallBackToEnglish()
{
    LoginFixture login({QStringLiteral("nowhere"), QStringLiteral("abc"), QStringLiteral("9")},
                       {QStringLiteral("Port (ttyS4)"), QStringLiteral("Port (ttyS5)")});
    QCOMPARE(login.languageList->currentIndex(), 0);
    QCOMPARE(login.portList->currentIndex(), 0);
    // An unknown rate leaves the choice to the user, who is asked for it.
    QCOMPARE(login.baudList->currentIndex(), -1);
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QCOMPARE(login.messages.LastText(), QStringLiteral("Please you must select a Baut Rate."));
    QCOMPARE(login.dialog.LanguageCodeText(), QStringLiteral("1"));
}

void LoginDialogTest::inputChecks_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("clearPort");
    QTest::addColumn<bool>("clearBaud");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");

    QTest::newRow("no port comes first") << 0 << true << true << ""
                                         << "Please you must select a COM Port.";
    QTest::newRow("no baud rate") << 0 << false << true << ""
                                  << "Please you must select a Baut Rate.";
    QTest::newRow("no password") << 0 << false << false << ""
                                 << "Please input the Software Password.";
    QTest::newRow("no password, Portuguese") << 1 << false << false << ""
                                             << "Por favor, insira a senha.";
    QTest::newRow("short password, Spanish")
        << 2 << false << false << "123"
        << "Error: La contraseña debe tener entre 4 y 12 caracteres!";
}

void LoginDialogTest::inputChecks()
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
    QVERIFY(login.dialog.isVisible());
    QVERIFY(!login.port.IsOpen());
    if (!clearBaud) { // the password's fault: the field is selected
        QCOMPARE(QApplication::focusWidget(), login.password);
        QCOMPARE(login.password->selectedText(), password);
    }
}

void LoginDialogTest::passwordLengthBounds_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("sent");
    QTest::newRow("3 characters") << "123" << false;
    QTest::newRow("4 characters") << "1234" << true;
    QTest::newRow("12 characters") << "123456789012" << true;
    QTest::newRow("13 characters") << "1234567890123" << false;
    // Counted in characters, sent as one Windows-1252 byte each.
    QTest::newRow("3 characters, 4 bytes in UTF-8") << QString::fromUtf8("se\u00f1") << false;
    QTest::newRow("12 characters, 15 bytes in UTF-8")
        << QString::fromUtf8("se\u00f1ase\u00f1ase\u00f1a") << true;
}

void LoginDialogTest::passwordLengthBounds()
{
    QFETCH(QString, password);
    QFETCH(bool, sent);

    SimulatedPort sim(SimOptionsWith([](sim::SimOptions &o) { o.password = "123456789012"; }));
    QVERIFY(sim.Started());
    LoginFixture login(Initial());
    login.ConfirmWithEnter(password);

    if (!sent) {
        QCOMPARE(
            login.messages.LastText(),
            QStringLiteral("Error: The Software Password must be between 4 and 12 characters!"));
        QVERIFY(!login.port.IsOpen());
        QCOMPARE(login.password->selectedText(), password);
        QCOMPARE(sim.Terminal().CommandCount(), size_t(0));
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(sim.Terminal().CommandCount() >= 1, kReplyWaitMs);
    QCOMPARE(sim.Terminal().Commands().front(),
             "AT+WPAR=9996,\"" + codepage::ToBytes(password) + "\"");
    QCOMPARE(g_strPortName + " " + g_strBaudRate, std::string("SIM0 115200"));
    if (password == QLatin1String("123456789012")) {
        QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
        QCOMPARE(login.dialog.result(), int(QDialog::Accepted));
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(login.messages.LastText(),
                                  QStringLiteral("ERROR:Software Password invalid!"), kReplyWaitMs);
    }
    QVERIFY(!login.port.IsOpen());
}

void LoginDialogTest::controlCharactersStayOutOfThePassword()
{
    LoginFixture login(Initial(), {});
    // Nor a character the terminal's code page has no byte for.
    for (const char *pasted : {"12\r34", "12\n34", "12\x7f", "12\u03a934"}) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(pasted));
        login.password->paste();
        QCOMPARE(login.password->text(), QString());
    }
    QGuiApplication::clipboard()->setText(QStringLiteral("12 34"));
    login.password->paste();
    QCOMPARE(login.password->text(), QStringLiteral("12 34"));
}

void LoginDialogTest::lowerCaseOkSucceedsPastUnsolicitedLines()
{
    SimulatedPort sim(SimOptionsWith(kSilent));
    QVERIFY(sim.Started());
    LoginFixture login(Initial());
    login.ConfirmWithEnter(QStringLiteral("0000"));
    QTRY_VERIFY_WITH_TIMEOUT(sim.Terminal().CommandCount() >= 1, kReplyWaitMs);

    for (const char *line : {"+CPIN: READY", "+cmti: \"SM\",3", "+CPIN: NOT READY", "ok"})
        sim.Terminal().SendUnsolicited(line);
    QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
    QCOMPARE(login.dialog.result(), int(QDialog::Accepted));
    QVERIFY(!login.dialog.isVisible());
    QVERIFY(!login.port.IsOpen());
    QCOMPARE(login.messages.Count(), 0);
    QCOMPARE((QStringList{login.dialog.PortText(), login.dialog.BaudText(),
                          login.dialog.PasswordText(), login.dialog.LanguageCodeText()}),
             (QStringList{"SIM0", "115200", "0000", "1"}));
}

void LoginDialogTest::mouseClickOnOkConfirmsLikeEnter()
{
    SimulatedPort sim;
    QVERIFY(sim.Started());
    LoginFixture login(Initial());
    login.password->setText(QStringLiteral("1234"));
    QTest::mouseClick(login.ok, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
    QCOMPARE(sim.Terminal().Commands(), std::vector<std::string>{"AT+WPAR=9996,\"1234\""});
    QCOMPARE(login.messages.Count(), 0);
}

void LoginDialogTest::cmeErrorIsAnInvalidPassword()
{
    SimulatedPort sim(SimOptionsWith([](sim::SimOptions &o) { o.faults.cmeError = 16; }));
    QVERIFY(sim.Started());
    LoginFixture login(Initial(QStringLiteral("2")));
    login.ConfirmWithEnter(QStringLiteral("9999"));
    QTRY_COMPARE_WITH_TIMEOUT(login.messages.Count(), 1, kReplyWaitMs);
    QCOMPARE(login.messages.Summary(), QStringLiteral("[16] Erro: Senha inválida!"));
    QVERIFY(!login.dialog.LoginSucceeded());
    QVERIFY(login.dialog.isVisible());
    QVERIFY(!login.port.IsOpen());

    // The refused password is selected in its field, so the right one typed
    // over it gets in.
    QCOMPARE(QApplication::focusWidget(), login.password);
    QCOMPARE(login.password->selectedText(), QStringLiteral("9999"));
    QTest::keyClicks(login.password, QStringLiteral("1234"));
    QCOMPARE(login.password->text(), QStringLiteral("1234"));
    QTest::keyClick(login.password, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
    QCOMPARE(login.messages.Count(), 1);
}

void LoginDialogTest::lineNoiseIsClearedAwayBeforeTheLogin()
{
    SimulatedPort sim(SimOptionsWith([](sim::SimOptions &o) { o.faults.lineNoise = "~x"; }));
    QVERIFY(sim.Started());
    LoginFixture login(Initial());
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
    QCOMPARE(sim.Terminal().Commands(), (std::vector<std::string>{"~x", "AT+WPAR=9996,\"1234\""}));
    QCOMPARE(login.messages.Count(), 0);
}

void LoginDialogTest::noAnswerTimesOutAndSecondTryWorks()
{
    login::g_nLoginTimeout = 300;
    SimulatedPort sim(SimOptionsWith(kSilent));
    QVERIFY(sim.Started());
    LoginFixture login(Initial());
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QVERIFY(login.port.IsOpen());
    QTRY_COMPARE_WITH_TIMEOUT(login.messages.Count(), 1, kReplyWaitMs);
    QCOMPARE(login.messages.Summary(), QStringLiteral("[16] Error: Timeout, check the COM Port!"));
    QVERIFY(!login.port.IsOpen());
    QVERIFY(login.dialog.isVisible());

    sim.Terminal().SetFaults({});
    login::g_nLoginTimeout = 8000;
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
    QCOMPARE(login.messages.Count(), 1);
}

void LoginDialogTest::overlongLineIsReportedOnceAndTheLoginGoesOn()
{
    SimulatedPort sim(SimOptionsWith([](sim::SimOptions &o) { o.faults.overlongAt = 1; }));
    QVERIFY(sim.Started());
    LoginFixture login(Initial(QStringLiteral("3")));
    login.ConfirmWithEnter(QStringLiteral("1234"));
    // The over-long line is dropped and reported once; the answer after it
    // still comes through.
    QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
    QCOMPARE(login.messages.Summary(),
             QStringLiteral("[32] Error: La capacidad de memoria se ha superado!"));
    QVERIFY(!login.port.IsOpen());
}

void LoginDialogTest::portThatCannotOpen()
{
    LoginFixture login({QStringLiteral("ttyNOPE"), QStringLiteral("9600"), QStringLiteral("1")},
                       {QStringLiteral("Ghost port (ttyNOPE)")});
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QCOMPARE(login.messages.Summary(), QStringLiteral("[16] Error: Can`t open Port:  ttyNOPE !"));
    QVERIFY(login.dialog.isVisible());
    QCOMPARE(g_strBaudRate, std::string("9600"));
}

void LoginDialogTest::portWithoutPermissionTellsHowToJoinDialout_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("expected");
    QTest::newRow("English") << "1"
                             << "[16] Error: Can`t open Port:  SIM0 !\n\nPermission denied: you "
                                "may not use the serial port SIM0, because your user is not in the "
                                "group \"dialout\".\nTo join it, run\n    sudo usermod -aG "
                                "dialout $USER\nthen log out and log in again.";
    QTest::newRow("Portuguese") << "2"
                                << "[16] Erro: Impossível abrir porta :  SIM0 !\n\nPermissão "
                                   "negada: você não pode usar a porta serial SIM0, porque o seu "
                                   "usuário não está no grupo \"dialout\".\nPara entrar nele, "
                                   "execute\n    sudo usermod -aG dialout $USER\ne depois saia da "
                                   "sessão e entre novamente.";
    QTest::newRow("Spanish") << "3"
                             << "[16] Error: No se puede abrir puerto :  SIM0 !\n\nPermiso "
                                "denegado: no puede usar el puerto serie SIM0, porque su usuario "
                                "no está en el grupo \"dialout\".\nPara unirse a él, ejecute\n "
                                "   sudo usermod -aG dialout $USER\ny después cierre la sesión y "
                                "vuelva a iniciarla.";
}

// The advertised port's pty is closed to everybody (mode 000), as a serial
// device is to a user outside its group.
void LoginDialogTest::portWithoutPermissionTellsHowToJoinDialout()
{
    QFETCH(QString, language);
    QFETCH(QString, expected);
    SimulatedPort sim;
    QVERIFY(sim.Started());
    QCOMPARE(::chmod(sim.Terminal().SlavePath().c_str(), 0), 0);
    const FilePermissionsEnforced permissions;
    if (!permissions.Holds())
        QSKIP("file permissions cannot be made to hold for root here");
    LoginFixture login(Initial(language));
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QCOMPARE(login.messages.Summary(), expected);
    QVERIFY(login.dialog.isVisible());
    QVERIFY(!login.port.IsOpen());
}

void LoginDialogTest::savedCom1SelectsLaterCom10()
{
    LoginFixture login({QStringLiteral("COM1"), QStringLiteral("115200"), QStringLiteral("1")},
                       {QStringLiteral("Communications Port (COM1)"),
                        QStringLiteral("Communications Port (COM10)")});
    QCOMPARE(Items(login.portList), (QStringList{"COM1", "COM10"}));
    QCOMPARE(login.portList->currentText(), QStringLiteral("COM10"));
}

void LoginDialogTest::cancelDuringExchangeClosesPort()
{
    SimulatedPort sim(SimOptionsWith(kSilent));
    QVERIFY(sim.Started());
    LoginFixture login(Initial());
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QVERIFY(login.port.IsOpen());
    QTest::keyClick(&login.dialog, Qt::Key_Escape);
    QCOMPARE(login.dialog.result(), int(QDialog::Rejected));
    QVERIFY(!login.port.IsOpen());
    QVERIFY(!login.dialog.LoginSucceeded());
    QCOMPARE(login.messages.Count(), 0);
}

// No label is cut short or runs into its field, in any language; with
// KESTREL_SCREENSHOT_DIR set, the dialog is saved there as a picture.
// Nothing cut short or overlapping, every field named by its label, and
// one width in every language.
void LoginDialogTest::labelsFitInEachLanguage()
{
    const QString folder = qEnvironmentVariable("KESTREL_SCREENSHOT_DIR");
    LoginFixture login(Initial(), PresentPortNames()
                                      << QStringLiteral("Communications Port (COM1)"));
    const int width = login.dialog.width();
    const char *names[] = {"english", "portuguese", "spanish"};
    for (int language = 0; language < 3; ++language) {
        login.languageList->setCurrentIndex(language);
        login.dialog.adjustSize();
        QCoreApplication::processEvents();
        const QStringList faults =
            window_checks::LayoutFaults(&login.dialog) + window_checks::NameFaults(&login.dialog);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
        QCOMPARE(login.dialog.width(), width);
        const QPixmap picture = login.dialog.grab();
        QCOMPARE(picture.toImage().pixelColor(2, 2), QColor(234, 234, 234));
        if (!folder.isEmpty())
            QVERIFY(picture.save(
                folder + QStringLiteral("/login_%1.png").arg(QLatin1String(names[language]))));
    }
}

void LoginDialogTest::tabGoesDownTheFieldsThenToOkAndCancel()
{
    LoginFixture login(Initial());
    QVERIFY(login.active);
    login.portList->setFocus(Qt::OtherFocusReason);
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int press = 0; press < 6; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{"portList", "baudList", "passwordEdit", "languageList",
                                   "okButton", "cancelButton", "portList"}));
}

KESTREL_QT_TEST(LoginDialogTest)
#include "login_dialog_test.moc"
