// A technician's day with Kestrel Manager, end to end: the login, the main
// window and kestrel-cli against simulated terminals on ptys. The steps run
// in order and build on each other, as the day does. Controls are found by
// their accessible names, as a screen reader finds them.

#include "app/login_dialog.h"
#include "app/page_table.h"
#include "app/port_list.h"
#include "engine/engine_globals.h"
#include "engine/job_reports.h"
#include "engine/temp_parameter_file.h"
#include "params/ini_document.h"
#include "tests/app/main_window_harness.h"
#include "tests/common/child_process.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <map>

using main_texts::BottomButton;
using params::Page;

namespace {

// ---- the edits of the day --------------------------------------------------
// One row per page: the control as a screen reader names it, what the
// technician types into it or sets it to, and the parameter the terminal
// holds afterwards. Call Waiting and Forward (AT+CCWA/AT+CCFC lines),
// Security Code (the SIM's PIN) and Call Back (switched on only with a
// number in its list) are followed to the terminal by their own end-to-end
// tests.
constexpr const char *kChecked = "[x]";
constexpr const char *kUnchecked = "[ ]";

struct PageEdit
{
    Page page;
    const char *control; // accessible name
    int occurrence;      // 1 for the first control of that name on the page
    const char *input;   // typed text, or kChecked / kUnchecked for a check box
    const char *shown;   // the control's text after a later Receive (nullptr: the input)
    int number;          // the parameter the edit changes
    const char *written; // its value on the terminal
};

// clang-format off
constexpr PageEdit kEdits[] = {
    {Page::Prefix,       "Enable Add Prefix",         1, kChecked,   nullptr, 1001,  "01"},
    {Page::Prefix,       "Pre Number:",               1, "57",       "5;7;",  34,    "57"},
    {Page::Prefix,       "Prefix:",                   1, "0044",     nullptr, 1000,  "0044"},
    {Page::Csp,          "Enable CSP for Call Back",  1, kChecked,   nullptr, 16541, "1"},
    {Page::Csp,          "CSP Number:",               1, "42",       nullptr, 16542, "42"},
    {Page::RestrictedId, "Enable Restricted ID",      1, kChecked,   nullptr, 16546, "1"},
    {Page::Polarity,     "Enable Polarity Inversion", 1, kUnchecked, nullptr, 16001, "00"},
    {Page::Volume,       "Change Tx Volume",          1, kChecked,   nullptr, 16544, "09"},
    {Page::Volume,       "Level:",                    1, "09",       nullptr, 16544, "09"},
    {Page::Volume,       "Level:",                    2, "5",        nullptr, 16543, "5"},
    {Page::Forbids,      "Enable International Call Block", 1, kChecked, nullptr, 35, "01"},
    {Page::Forbids,      "Enable Incoming Call Block", 1, kChecked,  nullptr, 5000,  "01"},
    {Page::Times,        "Enable Timeout",            1, kChecked,   nullptr, 2,     "7"},
    {Page::Times,        "Timeout:",                  1, "7",        nullptr, 2,     "7"},
};
// clang-format on

// The customer's terminal as it comes in: every edit above changes it.
const std::pair<int, const char *> kAsItComesIn[] = {
    {35, "00"},    {5000, "00"}, {1001, "00"},  {34, ""},    {1000, ""},   {16541, "2"},
    {16542, "21"}, {16546, "0"}, {16001, "01"}, {16544, ""}, {16543, "3"}, {2, ""}};

constexpr const char *kPassword = "1234";
constexpr const char *kNewPassword = "5678";
constexpr const char *kGeneralPassword = "583916";
constexpr const char *kBlankRecord = "0*0*0*0";

QString Describe(const PageEdit &edit, const std::string &found)
{
    return QStringLiteral("\"%1\" (%2) for parameter %3: \"%4\", wanted \"%5\"")
        .arg(QString::fromUtf8(edit.control))
        .arg(edit.occurrence)
        .arg(edit.number)
        .arg(QString::fromStdString(found), QString::fromUtf8(edit.written));
}

// ---- finding controls as a screen reader does ----------------------------

// The control's own name, and on Linux, where a field's name may be its
// content, the name of the label that labels it.
QStringList AccessibleNames(QWidget *widget)
{
    QStringList names;
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    if (!accessible)
        return names;
    names << accessible->text(QAccessible::Name).trimmed();
    for (const auto &[other, relation] : accessible->relations(QAccessible::Label))
        names << other->text(QAccessible::Name).trimmed();
    return names;
}

// The `occurrence`-th control named `name` under `parent`, in creation
// order; nullptr with the names there are in `seen`.
QWidget *ControlNamed(QWidget *parent, const QString &name, int occurrence, QStringList &seen)
{
    for (QWidget *widget : parent->findChildren<QWidget *>()) {
        if (!qobject_cast<QLineEdit *>(widget) && !qobject_cast<QAbstractButton *>(widget) &&
            !qobject_cast<QComboBox *>(widget))
            continue;
        const QStringList names = AccessibleNames(widget);
        seen << names.join(QLatin1Char('/'));
        if (names.contains(name) && --occurrence == 0)
            return widget;
    }
    return nullptr;
}

// ---- kestrel-cli as the technician runs it ------------------------------

struct CliRun
{
    int status = -1;
    std::string errors; // what it printed to standard error
};

CliRun RunCli(const QString &folder, const std::string &arguments)
{
    const std::string errFile = folder.toStdString() + "/cli.err";
    ChildProcess cli({"/bin/sh", "-c",
                      std::string(KESTREL_CLI) + " " + arguments + " --dir " +
                          folder.toStdString() + " 2>" + errFile});
    CliRun run;
    run.status = cli.Wait();
    QFile errors(QString::fromStdString(errFile));
    if (errors.open(QIODevice::ReadOnly))
        run.errors = errors.readAll().toStdString();
    return run;
}

// The PARA section of a parameter file, by number.
std::map<int, std::string> ParameterValues(const std::string &path)
{
    params::IniDocument file;
    file.Load(path);
    std::vector<std::string> keys;
    file.GetKeys("PARA", keys);
    std::map<int, std::string> values;
    for (const std::string &key : keys)
        values[std::stoi(key)] = file.GetString("PARA", key, "");
    return values;
}

// Every value a read stored (or another terminal holds) matches the
// terminal's; the blank record that ended a list is its empty entry.
QString Mismatches(const std::map<int, std::string> &read, const sim::TerminalSimulator &terminal)
{
    QStringList differences;
    for (const auto &[number, value] : read) {
        const std::string held = terminal.Value(number).value_or("<none>");
        if (value != held && !(value == kBlankRecord && held.empty()))
            differences << QStringLiteral("%1: read \"%2\", terminal \"%3\"")
                               .arg(number)
                               .arg(QString::fromStdString(value), QString::fromStdString(held));
    }
    return differences.join(QLatin1Char('\n'));
}

} // namespace

class TechniciansDay : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowHarness> m_desk;  // the main window and the first terminal
    std::map<int, std::string> m_firstTerminal; // its parameters after the day's Transmit
    QString m_savedFile;
    QTemporaryDir m_briefcase; // what the technician carries from one window to the next

    // The login as the technician does it: port, password, Enter.
    bool LogIn(const QString &port, const QString &password, QString &boxes)
    {
        shell_test::MessageRecorder &recorder = m_desk->Boxes();
        recorder.Clear();
        CSerialPort loginPort;
        CLoginDlg login(loginPort, {port, QStringLiteral("115200"), QStringLiteral("1")},
                        PresentPortNames());
        login.show();
        if (!QTest::qWaitForWindowActive(&login))
            qWarning("the login did not become the active window");
        QStringList seen;
        auto *ports = qobject_cast<QComboBox *>(ControlNamed(&login, "COM Port:", 1, seen));
        auto *field =
            qobject_cast<QLineEdit *>(ControlNamed(&login, "Software Password:", 1, seen));
        if (!ports || !field) {
            boxes = QStringLiteral("login controls not found among: ") + seen.join(", ");
            return false;
        }
        ports->setCurrentIndex(ports->findData(port));
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, password);
        QTest::keyClick(field, Qt::Key_Return);
        // Either outcome is looked at below; the wait's own answer adds nothing.
        (void)QTest::qWaitFor([&] { return login.LoginSucceeded() || recorder.Count() > 0; },
                              20000);
        boxes = recorder.Summary();
        recorder.Clear();
        if (login.LoginSucceeded())
            g_strSoftwarePassword = login.PasswordBytes();
        return login.LoginSucceeded();
    }

    void ShowPage(Page page)
    {
        const int index = PageIndexByTemplate(params::PageTemplate(page));
        QTest::mousePress(m_desk->Window().NavButtonAt(index), Qt::LeftButton);
    }

    QWidget *Control(const PageEdit &edit)
    {
        ShowPage(edit.page);
        QStringList seen;
        QWidget *page = m_desk->Window().FindPage(params::PageTemplate(edit.page));
        QWidget *control =
            ControlNamed(page, QString::fromUtf8(edit.control), edit.occurrence, seen);
        if (!control)
            qWarning("no control \"%s\" on the page; there are: %s", edit.control,
                     qPrintable(seen.join(QStringLiteral(", "))));
        return control;
    }

    QString Status() const { return m_desk->Window().WaitDialog()->StatusText(); }

    // Sets a check box from the keyboard or types over a field's text.
    void Apply(const PageEdit &edit)
    {
        QWidget *control = Control(edit);
        QVERIFY2(control, edit.control);
        if (auto *box = qobject_cast<QAbstractButton *>(control)) {
            const bool wanted = edit.input == kChecked;
            if (box->isChecked() != wanted) {
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Space);
            }
            QVERIFY2(box->isChecked() == wanted, edit.control);
        } else if (auto *field = qobject_cast<QLineEdit *>(control)) {
            QVERIFY2(field->isEnabled(), edit.control);
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, QString::fromUtf8(edit.input));
        }
    }

    void SetGeneralPassword()
    {
        QLineEdit *field =
            qobject_cast<QLineEdit *>(Control({Page::Passwords, "General Password", 1,
                                               kGeneralPassword, nullptr, 32, kGeneralPassword}));
        QVERIFY(field);
        field->setText(QString::fromLatin1(kGeneralPassword));
    }

private Q_SLOTS:
    void logIn()
    {
        m_desk = std::make_unique<MainWindowHarness>();
        QVERIFY(m_desk->TerminalReady());
        for (const auto &[number, value] : kAsItComesIn)
            QVERIFY(m_desk->Terminal().SetValue(number, value));
        QString boxes;
        QVERIFY2(LogIn(QStringLiteral("SIM0"), QString::fromLatin1(kPassword), boxes),
                 qPrintable(boxes));
        QCOMPARE(QString::fromStdString(g_strPortName), QStringLiteral("SIM0"));
    }

    void receive()
    {
        QVERIFY(m_desk);
        QCOMPARE(m_desk->Run(BottomButton::Receive), QString());
        QCOMPARE(Status(), QStringLiteral("Read parameter success!"));
        QCOMPARE(Mismatches(ParameterValues(TempParameterFilePath()), m_desk->Terminal()),
                 QString());
    }

    void changeAValueOnEveryPage()
    {
        QVERIFY(m_desk);
        for (const PageEdit &edit : kEdits) {
            Apply(edit);
            if (QTest::currentTestFailed())
                return;
        }
        SetGeneralPassword();
    }

    void saveAFile()
    {
        QVERIFY(m_desk);
        m_savedFile = m_desk->AppDir() + QStringLiteral("/config.ini");
        m_desk->AnswerFileDialog(m_savedFile);
        QCOMPARE(m_desk->Run(BottomButton::Save), QString());
        const std::map<int, std::string> saved = ParameterValues(m_savedFile.toStdString());
        for (const PageEdit &edit : kEdits) {
            const std::string value = saved.count(edit.number) ? saved.at(edit.number) : "<none>";
            QVERIFY2(value == edit.written, qPrintable(Describe(edit, value)));
        }
    }

    void transmit()
    {
        QVERIFY(m_desk);
        QCOMPARE(m_desk->Run(BottomButton::Transmit), QString());
        QCOMPARE(Status(), QStringLiteral("Save AT command success!"));
        for (const PageEdit &edit : kEdits) {
            const std::string value = m_desk->Terminal().Value(edit.number).value_or("<none>");
            QVERIFY2(value == edit.written, qPrintable(Describe(edit, value)));
        }
        QCOMPARE(m_desk->Terminal().Value(32).value_or("<none>"), std::string(kGeneralPassword));
        m_firstTerminal = m_desk->Terminal().State().parameters;
    }

    void receiveAgainMatchesTheTerminal()
    {
        QVERIFY(m_desk);
        // Typed over meanwhile, and replaced by what the terminal holds.
        QLineEdit *prefix = qobject_cast<QLineEdit *>(Control(kEdits[2]));
        QVERIFY(prefix);
        prefix->setText(QStringLiteral("999"));

        QCOMPARE(m_desk->Run(BottomButton::Receive), QString());
        QCOMPARE(Mismatches(ParameterValues(TempParameterFilePath()), m_desk->Terminal()),
                 QString());
        for (const PageEdit &edit : kEdits) {
            QWidget *control = Control(edit);
            QVERIFY2(control, edit.control);
            if (auto *box = qobject_cast<QAbstractButton *>(control))
                QVERIFY2(box->isChecked() == (edit.input == kChecked), edit.control);
            else if (auto *field = qobject_cast<QLineEdit *>(control))
                QVERIFY2(field->text() == QString::fromUtf8(edit.shown ? edit.shown : edit.input),
                         qPrintable(Describe(edit, field->text().toStdString())));
        }
    }

    // Start afresh: a new window on a second, factory-fresh terminal.
    void openTheSavedFileOnASecondTerminal()
    {
        QVERIFY(!m_savedFile.isEmpty() && !m_firstTerminal.empty());
        // The first window's folder goes with it.
        const QString kept = m_briefcase.filePath(QStringLiteral("config.ini"));
        QVERIFY(QFile::copy(m_savedFile, kept));
        m_desk.reset();
        m_desk = std::make_unique<MainWindowHarness>();
        QVERIFY(m_desk->TerminalReady());
        QVERIFY(m_desk->Terminal().State().parameters != m_firstTerminal);
        QString boxes;
        QVERIFY2(LogIn(QStringLiteral("SIM0"), QString::fromLatin1(kPassword), boxes),
                 qPrintable(boxes));

        m_desk->AnswerFileDialog(kept);
        QCOMPARE(m_desk->Run(BottomButton::Open), QString());
        QCOMPARE(m_desk->Run(BottomButton::Transmit), QString());

        QCOMPARE(Mismatches(m_firstTerminal, m_desk->Terminal()), QString());
        QCOMPARE(m_desk->Terminal().State().parameters.size(), m_firstTerminal.size());
        // kestrel-cli finds nothing that differs from the file either.
        const CliRun verify =
            RunCli(m_desk->AppDir(), "verify --port SIM0 --password " + std::string(kPassword) +
                                         " " + kept.toStdString() + " >/dev/null");
        QVERIFY2(verify.status == 0, verify.errors.c_str());
    }

    void changeTheSoftwarePassword()
    {
        QVERIFY(m_desk);
        // On the Passwords page, as the technician does it.
        const PageEdit change[] = {
            {Page::Passwords, "Change Software Password", 1, kChecked, nullptr, 0, ""},
            {Page::Passwords, "Old Password:", 1, kPassword, nullptr, 0, ""},
            {Page::Passwords, "New Password:", 1, kNewPassword, nullptr, 0, ""},
            {Page::Passwords, "Confirm Password:", 1, kNewPassword, nullptr, 0, ""},
        };
        for (const PageEdit &edit : change) {
            Apply(edit);
            if (QTest::currentTestFailed())
                return;
        }
        auto *confirm = qobject_cast<QAbstractButton *>(
            Control({Page::Passwords, "Confirm", 1, "", nullptr, 0, ""}));
        QVERIFY(confirm);
        m_desk->Boxes().Clear();
        QTest::mouseClick(confirm, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(m_desk->Boxes().Count() > 0 && m_desk->Idle(), kJobWaitMs);
        QVERIFY2(m_desk->HasBox(QStringLiteral("Successfully changed password!"),
                                platform::kStyleInformation),
                 qPrintable(m_desk->BoxTexts()));
        QCOMPARE(m_desk->Terminal().Password(), std::string(kNewPassword));
        Apply({Page::Passwords, "Change Software Password", 1, kUnchecked, nullptr, 0, ""});
        // The command-line tool knows only the new one from now on.
        const CliRun read = RunCli(
            m_desk->AppDir(), std::string("read --port SIM0 --password ") + kNewPassword +
                                  " --out " + m_desk->AppDir().toStdString() + "/after-change.ini");
        QVERIFY2(read.status == 0, read.errors.c_str());
        QString boxes;
        QVERIFY2(LogIn(QStringLiteral("SIM0"), QString::fromLatin1(kNewPassword), boxes),
                 qPrintable(boxes));
        SetGeneralPassword();
        QCOMPARE(m_desk->Run(BottomButton::Transmit), QString());
    }

    void aWrongPasswordIsRefused()
    {
        QVERIFY(m_desk);
        QString boxes;
        QVERIFY(!LogIn(QStringLiteral("SIM0"), QString::fromLatin1(kPassword), boxes));
        QCOMPARE(boxes, QStringLiteral("[16] ERROR:Software Password invalid!"));

        const CliRun read =
            RunCli(m_desk->AppDir(), std::string("read --port SIM0 --password ") + kPassword +
                                         " --out " + m_desk->AppDir().toStdString() + "/read.ini");
        QCOMPARE(read.status, 1);
        QVERIFY2(read.errors.find("Password invalid") != std::string::npos, read.errors.c_str());
        QCOMPARE(m_desk->Terminal().Password(), std::string(kNewPassword));
    }

    void cleanupTestCase() { m_desk.reset(); }
};

KESTREL_QT_TEST(TechniciansDay)
#include "technicians_day_test.moc"
