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

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace shell_test;

namespace {

constexpr int kReplyWaitMs = 10000;

const QStringList kEnglishLabels{"Login",      "COM Port:", "Baud Rate(bps):", "Software Password:",
                                 "Language:",  "OK",        "Cancel",          "English",
                                 "Portuguese", "Spanish"};
const QStringList kPortugueseLabels{"Iniciar", "Porta COM:", "Taxa(bps):", "Senha:",    "Idioma:",
                                    "OK",      "Cancelar",   "Inglês",     "Português", "Espanhol"};
const QStringList kSpanishLabels{"Iniciar sesión", "Puerto COM:", "Velocidad de transmisión(bps):",
                                 "Password:",      "Idioma:",     "OK",
                                 "Cancelar",       "Inglés",      "Portugués ",
                                 "Español"};

struct Controls
{
    explicit Controls(const CLoginDlg &dialog)
        : portLabel(dialog.findChild<QLabel *>("portLabel")),
          baudLabel(dialog.findChild<QLabel *>("baudLabel")),
          passwordLabel(dialog.findChild<QLabel *>("passwordLabel")),
          languageLabel(dialog.findChild<QLabel *>("languageLabel")),
          portList(dialog.findChild<QComboBox *>("portList")),
          baudList(dialog.findChild<QComboBox *>("baudList")),
          password(dialog.findChild<QLineEdit *>("passwordEdit")),
          languageList(dialog.findChild<QComboBox *>("languageList")),
          ok(dialog.findChild<QPushButton *>("okButton")),
          cancel(dialog.findChild<QPushButton *>("cancelButton"))
    {}
    bool Complete() const
    {
        return portLabel && baudLabel && passwordLabel && languageLabel && portList && baudList &&
               password && languageList && ok && cancel;
    }
    // Title, the four labels, the buttons and the language list's entries.
    QStringList Labels() const
    {
        QStringList labels{portLabel->window()->windowTitle(),
                           portLabel->text(),
                           baudLabel->text(),
                           passwordLabel->text(),
                           languageLabel->text(),
                           ok->text(),
                           cancel->text()};
        for (int i = 0; i < languageList->count(); ++i)
            labels << languageList->itemText(i);
        return labels;
    }

    QLabel *portLabel, *baudLabel, *passwordLabel, *languageLabel;
    QComboBox *portList, *baudList;
    QLineEdit *password;
    QComboBox *languageList;
    QPushButton *ok, *cancel;
};

// One dialog on its own port, shown and active.
class LoginFixture
{
public:
    explicit LoginFixture(const StartupSettings &initial, QStringList names = PresentPortNames())
        : dialog(port, initial, names), controls(dialog)
    {
        dialog.show();
        active = QTest::qWaitForWindowActive(&dialog);
    }

    // Types the password and presses Enter in the password field.
    void ConfirmWithEnter(const QString &password)
    {
        controls.password->setText(password);
        controls.password->setFocus();
        QTest::keyClick(controls.password, Qt::Key_Return);
    }

    CSerialPort port;
    CLoginDlg dialog;
    Controls controls;
    bool active = false;
};

StartupSettings Initial(const QString &language = QStringLiteral("1"))
{
    return {QString::fromLatin1(SimulatedPort::kName), QStringLiteral("115200"), language};
}

sim::SimOptions SilentTerminal()
{
    sim::SimOptions options;
    options.faults.silentAfter = 0;
    return options;
}

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
    void noAnswerTimesOutAndSecondTryWorks();
    void overlongLineIsAReceiveError();
    void portThatCannotOpen();
    void savedCom1SelectsLaterCom10();
    void cancelDuringExchangeClosesPort();
    void labelsFitInEachLanguage();

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
    QVERIFY(login.controls.Complete());
    QVERIFY(login.active);
    const Controls &c = login.controls;

    QCOMPARE(c.portList->currentText(), QStringLiteral("SIM0"));
    QCOMPARE(c.baudList->currentText(), QStringLiteral("115200"));
    QCOMPARE(c.baudList->count(), 7);
    QCOMPARE(c.baudList->itemText(0), QStringLiteral("2400"));
    QCOMPARE(c.password->echoMode(), QLineEdit::Password);
    QTRY_COMPARE(QApplication::focusWidget(), c.password);
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
    QCOMPARE(login.controls.languageList->currentIndex(), selected);
    QCOMPARE(login.controls.Labels(), labels);
}

void LoginDialogTest::spanishRelabelsAtOnceAndSpeaksSpanish()
{
    MessageRecorder messages;
    LoginFixture login(Initial(), {});
    const Controls &c = login.controls;

    c.languageList->setCurrentIndex(2);
    QCOMPARE(c.languageList->currentIndex(), 2);
    QCOMPARE(c.Labels(), kSpanishLabels);
    // The labels change at once; the language code only when confirmed.
    QCOMPARE(lang::Code(), lang::kEnglish);

    c.portList->setCurrentIndex(-1);
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QCOMPARE(lang::Code(), lang::kSpanish);
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.LastText(), QStringLiteral("Por favor seleccione el puerto COM."));
    QCOMPARE(messages.LastStyle(), 16);
    QCOMPARE(messages.Messages().last().caption, QStringLiteral("Kestrel Manager"));
    QVERIFY(!login.port.IsOpen());

    c.languageList->setCurrentIndex(1);
    QCOMPARE(c.Labels(), kPortugueseLabels);
    c.languageList->setCurrentIndex(0);
    QCOMPARE(c.Labels(), kEnglishLabels);
    QCOMPARE(c.languageList->currentIndex(), 0);
}

void LoginDialogTest::garbageSettingsFallBackToEnglish()
{
    MessageRecorder messages;
    LoginFixture login({QStringLiteral("nowhere"), QStringLiteral("abc"), QStringLiteral("9")},
                       {QStringLiteral("Port (ttyS4)"), QStringLiteral("Port (ttyS5)")});
    const Controls &c = login.controls;
    QCOMPARE(c.languageList->currentIndex(), 0);
    QCOMPARE(c.portList->currentIndex(), 0);
    // An unknown rate leaves the choice to the user, who is asked for it.
    QCOMPARE(c.baudList->currentIndex(), -1);
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QCOMPARE(messages.LastText(), QStringLiteral("Please you must select a Baut Rate."));
    QCOMPARE(login.dialog.LanguageCodeText(), QStringLiteral("1"));
}

void LoginDialogTest::inputChecks_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("clearPort");
    QTest::addColumn<bool>("clearBaud");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("passwordSelected");

    QTest::newRow("no port comes first") << 0 << true << true << ""
                                         << "Please you must select a COM Port." << false;
    QTest::newRow("no baud rate") << 0 << false << true << ""
                                  << "Please you must select a Baut Rate." << false;
    QTest::newRow("no password") << 0 << false << false << ""
                                 << "Please input the Software Password." << true;
    QTest::newRow("no password, Portuguese") << 1 << false << false << ""
                                             << "Por favor, insira a senha." << true;
    QTest::newRow("short password, Spanish")
        << 2 << false << false << "123"
        << "Error: La contraseña debe tener entre 4 y 12 caracteres!" << true;
}

void LoginDialogTest::inputChecks()
{
    QFETCH(int, language);
    QFETCH(bool, clearPort);
    QFETCH(bool, clearBaud);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(bool, passwordSelected);

    MessageRecorder messages;
    LoginFixture login(Initial(), {QStringLiteral("Virtual port (SIM0)")});
    const Controls &c = login.controls;
    c.languageList->setCurrentIndex(language);
    if (clearPort)
        c.portList->setCurrentIndex(-1);
    if (clearBaud)
        c.baudList->setCurrentIndex(-1);
    c.ok->setFocus();
    c.password->setText(password.isEmpty() ? QString() : password);
    QTest::keyClick(c.ok, Qt::Key_Return);

    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.LastText(), message);
    QCOMPARE(messages.LastStyle(), 16);
    QVERIFY(login.dialog.isVisible());
    QVERIFY(!login.port.IsOpen());
    if (passwordSelected) {
        QCOMPARE(QApplication::focusWidget(), c.password);
        QCOMPARE(c.password->selectedText(), password);
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
}

void LoginDialogTest::passwordLengthBounds()
{
    QFETCH(QString, password);
    QFETCH(bool, sent);

    sim::SimOptions options;
    options.password = "123456789012";
    SimulatedPort sim(options);
    QVERIFY(sim.Started());
    MessageRecorder messages;
    LoginFixture login(Initial());
    login.ConfirmWithEnter(password);

    if (!sent) {
        QCOMPARE(
            messages.LastText(),
            QStringLiteral("Error: The Software Password must be between 4 and 12 characters!"));
        QVERIFY(!login.port.IsOpen());
        QCOMPARE(login.controls.password->selectedText(), password);
        QCOMPARE(sim.Terminal().CommandCount(), size_t(0));
        return;
    }
    QVERIFY(sim.Terminal().WaitForCommands(1, platform::Millis(kReplyWaitMs)));
    QCOMPARE(QString::fromStdString(sim.Terminal().Commands().front()),
             QStringLiteral("AT+WPAR=9996,\"%1\"").arg(password));
    QCOMPARE(g_strPortName, std::string("SIM0"));
    QCOMPARE(g_strBaudRate, std::string("115200"));
    // 4 characters is the wrong password here, 12 the right one.
    if (password.size() == 12) {
        QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
        QCOMPARE(login.dialog.result(), int(QDialog::Accepted));
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(messages.LastText(),
                                  QStringLiteral("ERROR:Software Password invalid!"), kReplyWaitMs);
    }
    QVERIFY(!login.port.IsOpen());
}

void LoginDialogTest::controlCharactersStayOutOfThePassword()
{
    LoginFixture login(Initial(), {});
    QLineEdit *password = login.controls.password;
    for (const char *pasted : {"12\r34", "12\n34", "12\x7f"}) {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(pasted));
        password->paste();
        QCOMPARE(password->text(), QString());
    }
    QGuiApplication::clipboard()->setText(QStringLiteral("12 34"));
    password->paste();
    QCOMPARE(password->text(), QStringLiteral("12 34"));
}

void LoginDialogTest::lowerCaseOkSucceedsPastUnsolicitedLines()
{
    SimulatedPort sim(SilentTerminal());
    QVERIFY(sim.Started());
    MessageRecorder messages;
    LoginFixture login(Initial());
    login.ConfirmWithEnter(QStringLiteral("0000"));
    QVERIFY(sim.Terminal().WaitForCommands(1, platform::Millis(kReplyWaitMs)));

    for (const char *line : {"+CPIN: READY", "+cmti: \"SM\",3", "+CPIN: NOT READY", "ok"})
        sim.Terminal().SendUnsolicited(line);
    QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
    QCOMPARE(login.dialog.result(), int(QDialog::Accepted));
    QVERIFY(!login.dialog.isVisible());
    QVERIFY(!login.port.IsOpen());
    QCOMPARE(messages.Count(), 0);
    QCOMPARE(login.dialog.PortText(), QStringLiteral("SIM0"));
    QCOMPARE(login.dialog.BaudText(), QStringLiteral("115200"));
    QCOMPARE(login.dialog.PasswordText(), QStringLiteral("0000"));
    QCOMPARE(login.dialog.LanguageCodeText(), QStringLiteral("1"));
}

void LoginDialogTest::mouseClickOnOkConfirmsLikeEnter()
{
    SimulatedPort sim;
    QVERIFY(sim.Started());
    MessageRecorder messages;
    LoginFixture login(Initial());
    login.controls.password->setText(QStringLiteral("1234"));
    QTest::mouseClick(login.controls.ok, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
    QCOMPARE(sim.Terminal().Commands(), std::vector<std::string>{"AT+WPAR=9996,\"1234\""});
    QCOMPARE(messages.Count(), 0);
}

void LoginDialogTest::cmeErrorIsAnInvalidPassword()
{
    sim::SimOptions options;
    options.faults.cmeError = 16;
    SimulatedPort sim(options);
    QVERIFY(sim.Started());
    MessageRecorder messages;
    LoginFixture login(Initial(QStringLiteral("2")));
    login.ConfirmWithEnter(QStringLiteral("9999"));
    QTRY_COMPARE_WITH_TIMEOUT(messages.Count(), 1, kReplyWaitMs);
    QCOMPARE(messages.LastText(), QStringLiteral("Erro: Senha inválida!"));
    QCOMPARE(messages.LastStyle(), 16);
    QVERIFY(!login.dialog.LoginSucceeded());
    QVERIFY(login.dialog.isVisible());
    QVERIFY(!login.port.IsOpen());

    // The right password then gets in.
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
    QCOMPARE(messages.Count(), 1);
}

void LoginDialogTest::noAnswerTimesOutAndSecondTryWorks()
{
    login::g_nLoginTimeout = 300;
    SimulatedPort sim(SilentTerminal());
    QVERIFY(sim.Started());
    MessageRecorder messages;
    LoginFixture login(Initial());
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QVERIFY(login.port.IsOpen());
    QTRY_COMPARE_WITH_TIMEOUT(messages.Count(), 1, kReplyWaitMs);
    QCOMPARE(messages.LastText(), QStringLiteral("Error: Timeout, check the COM Port!"));
    QCOMPARE(messages.LastStyle(), 16);
    QVERIFY(!login.port.IsOpen());
    QVERIFY(login.dialog.isVisible());

    sim.Terminal().SetFaults({});
    login::g_nLoginTimeout = 8000;
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QTRY_VERIFY_WITH_TIMEOUT(login.dialog.LoginSucceeded(), kReplyWaitMs);
    QCOMPARE(messages.Count(), 1);
}

void LoginDialogTest::overlongLineIsAReceiveError()
{
    login::g_nLoginTimeout = 300;
    sim::SimOptions options;
    options.faults.overlongAt = 1;
    SimulatedPort sim(options);
    QVERIFY(sim.Started());
    MessageRecorder messages;
    LoginFixture login(Initial(QStringLiteral("3")));
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QTRY_COMPARE_WITH_TIMEOUT(messages.Count(), 1, kReplyWaitMs);
    QCOMPARE(messages.LastText(), QStringLiteral("Error: La capacidad de memoria se ha superado!"));
    QCOMPARE(messages.LastStyle(), 32);
    // Reception stays stopped, so the answer never comes: the time-out ends it.
    QTRY_COMPARE_WITH_TIMEOUT(messages.Count(), 2, kReplyWaitMs);
    QCOMPARE(messages.LastText(),
             QStringLiteral("Error: Tiempo de espera excedido, comprobar el puerto COM!"));
    QVERIFY(!login.port.IsOpen());
    QVERIFY(!login.dialog.LoginSucceeded());
}

void LoginDialogTest::portThatCannotOpen()
{
    MessageRecorder messages;
    LoginFixture login({QStringLiteral("ttyNOPE"), QStringLiteral("9600"), QStringLiteral("1")},
                       {QStringLiteral("Ghost port (ttyNOPE)")});
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QCOMPARE(messages.Count(), 1);
    QCOMPARE(messages.LastText(), QStringLiteral("Error: Can`t open Port:  ttyNOPE !"));
    QCOMPARE(messages.LastStyle(), 16);
    QVERIFY(login.dialog.isVisible());
    QCOMPARE(g_strBaudRate, std::string("9600"));
}

void LoginDialogTest::savedCom1SelectsLaterCom10()
{
    LoginFixture login({QStringLiteral("COM1"), QStringLiteral("115200"), QStringLiteral("1")},
                       {QStringLiteral("Communications Port (COM1)"),
                        QStringLiteral("Communications Port (COM10)")});
    QCOMPARE(login.controls.portList->count(), 2);
    QCOMPARE(login.controls.portList->currentText(), QStringLiteral("COM10"));
}

void LoginDialogTest::cancelDuringExchangeClosesPort()
{
    SimulatedPort sim(SilentTerminal());
    QVERIFY(sim.Started());
    MessageRecorder messages;
    LoginFixture login(Initial());
    login.ConfirmWithEnter(QStringLiteral("1234"));
    QVERIFY(login.port.IsOpen());
    QTest::keyClick(&login.dialog, Qt::Key_Escape);
    QCOMPARE(login.dialog.result(), int(QDialog::Rejected));
    QVERIFY(!login.port.IsOpen());
    QVERIFY(!login.dialog.LoginSucceeded());
    QCOMPARE(messages.Count(), 0);
}

// No label is cut short or runs into its field, in any language; with
// KESTREL_SCREENSHOT_DIR set, the dialog is saved there as a picture.
void LoginDialogTest::labelsFitInEachLanguage()
{
    const QString folder = qEnvironmentVariable("KESTREL_SCREENSHOT_DIR");
    LoginFixture login(Initial(), PresentPortNames()
                                      << QStringLiteral("Communications Port (COM1)"));
    const Controls &c = login.controls;
    const char *names[] = {"english", "portuguese", "spanish"};
    for (int language = 0; language < 3; ++language) {
        c.languageList->setCurrentIndex(language);
        login.dialog.adjustSize();
        QCoreApplication::processEvents();
        for (QLabel *label : {c.portLabel, c.baudLabel, c.passwordLabel, c.languageLabel}) {
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            QVERIFY2(!label->geometry().intersects(label->buddy()->geometry()),
                     qPrintable(label->text()));
            QVERIFY(login.dialog.rect().contains(label->geometry()));
        }
        for (QPushButton *button : {c.ok, c.cancel})
            QVERIFY(button->width() >= button->sizeHint().width());
        const QPixmap picture = login.dialog.grab();
        QCOMPARE(picture.toImage().pixelColor(2, 2), QColor(234, 234, 234));
        if (!folder.isEmpty())
            QVERIFY(picture.save(
                folder + QStringLiteral("/login_%1.png").arg(QLatin1String(names[language]))));
    }
}

KESTREL_SHELL_TEST_MAIN(LoginDialogTest)
#include "login_dialog_test.moc"
