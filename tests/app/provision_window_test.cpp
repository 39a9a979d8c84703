// The provisioning window against simulated terminals, through the
// kestrel-cli built beside the tests: every port's state as it moves on, a
// refusal by its reason, Find, the report, Stop, and the password kept off
// the command line.

#include "app/provision_window.h"
#include "params/language.h"
#include "shell_test_support.h"
#include "tests/common/sim_set_up.h"
#include "window_checks.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <deque>
#include <map>

using namespace shell_test;

namespace {

constexpr int kRunMs = 120000;

// Simulated terminals, each advertised under its name.
class Terminals
{
public:
    Terminals(const QStringList &names, const SimSetUp &setUp, const QString &refusing = {})
    {
        for (const QString &name : names) {
            PluggedTerminal &terminal = m_terminals.emplace_back(
                name.toStdString(), SimOptionsWith([&](sim::SimOptions &o) {
                    if (setUp)
                        setUp(o);
                    if (name == refusing)
                        o.password = "9999";
                }));
            std::string error;
            if (!terminal.PlugIn(error))
                qWarning("simulated terminal: %s", error.c_str());
        }
    }

private:
    std::deque<PluggedTerminal> m_terminals;
};

QStringList FriendlyNames(const QStringList &names)
{
    QStringList friendly;
    for (const QString &name : names)
        friendly << QStringLiteral("Virtual port (%1)").arg(name);
    return friendly;
}

template <typename Control> Control *Named(const QWidget &window, const QString &name)
{
    for (Control *control : window.findChildren<Control *>())
        if (control->accessibleName() == name)
            return control;
    return nullptr;
}

QStringList Column(const QTableWidget &table, int column)
{
    QStringList cells;
    for (int row = 0; row < table.rowCount(); ++row)
        cells << table.item(row, column)->text();
    return cells;
}

QByteArray ProcFile(qint64 pid, const char *name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ProvisionWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        lang::SetCode(lang::kEnglish);
        // The tests live apart from the programs: kestrel-cli is found on PATH.
        const QByteArray bin = QFileInfo(QStringLiteral(KESTREL_CLI)).absolutePath().toLocal8Bit();
        qputenv("PATH", bin + ':' + qgetenv("PATH"));
        QFile config(m_dir.filePath(QStringLiteral("config.ini")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("[PARA]\r\n16543=\"6\"\r\n16210=\"100\"\r\n");
    }

    // Find checks the ports that answer; Enter in the password starts;
    // each port's state is followed line by line.
    void provisionsTheCheckedPortsAndNamesTheRefusal()
    {
        const QStringList names{"PWA", "PWB", "PWC", "PWD"};
        Terminals terminals(
            names, [](sim::SimOptions &o) { o.blankListRecord = "0*0*0*0"; },
            QStringLiteral("PWD"));
        MessageRecorder messages;
        ProvisionDialog window(FriendlyNames(names) << QStringLiteral("Virtual port (PWGONE)"),
                               QStringLiteral("115200"));
        window.show();
        QString saved = m_dir.filePath(QStringLiteral("box.csv"));
        window.SetFileChooser([&](const FileRequest &) { return saved; });

        Named<QPushButton>(window, "Find")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Finding(), kRunMs);
        const QLabel *summary = window.findChild<QLabel *>(QStringLiteral("summary"));
        QCOMPARE(summary->text(), QStringLiteral("Answered \"OK\": PWA, PWB, PWC, PWD."));
        const QListWidget *ports = Named<QListWidget>(window, "Ports:");
        QCOMPARE(ports->item(4)->checkState(), Qt::Unchecked);

        Named<QLineEdit>(window, "File to write:")
            ->setText(m_dir.filePath(QStringLiteral("config.ini")));
        Named<QCheckBox>(window, "Verify after writing")->setChecked(true);
        QTableWidget *table = Named<QTableWidget>(window, "Provision several terminals");
        std::map<int, QStringList> states;
        connect(table, &QTableWidget::itemChanged, this, [&](QTableWidgetItem *item) {
            QStringList &seen = states[item->row()];
            if (item->column() == 1 && (seen.isEmpty() || seen.last() != item->text()))
                seen << item->text();
        });
        QLineEdit *password = Named<QLineEdit>(window, "Software Password:");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        password->setText(QStringLiteral("1234"));
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(window.Running());
        QTRY_VERIFY_WITH_TIMEOUT(!window.Running(), kRunMs);

        QCOMPARE(Column(*table, 0), names);
        QCOMPARE(Column(*table, 1), (QStringList{"done", "done", "done", "failed"}));
        QCOMPARE(Column(*table, 3), (QStringList{"", "", "", "ERROR:Software Password invalid!"}));
        QCOMPARE(states[0].mid(0, 7),
                 (QStringList{"waiting", "logging in", "writing 0 of 2", "writing 1 of 2",
                              "writing 2 of 2", "saving", "verifying 0 of 354"}));
        QCOMPARE(states[0].last(), QStringLiteral("done"));
        QCOMPARE(states[3], (QStringList{"waiting", "logging in", "failed"}));
        QCOMPARE(summary->text(), QStringLiteral("Provisioned: 3 of 4 terminals."));

        // Nothing cut short or overlapping, every control named apart; with
        // KESTREL_SCREENSHOT_DIR set, the window after the run is saved there.
        const QStringList faults =
            window_checks::LayoutFaults(&window) + window_checks::NameFaults(&window);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
        if (const QString folder = qEnvironmentVariable("KESTREL_SCREENSHOT_DIR");
            !folder.isEmpty())
            QVERIFY(window.grab().save(folder + QStringLiteral("/provision.png")));

        Named<QPushButton>(window, "Save report...")->click();
        QFile report(saved);
        QVERIFY(report.open(QIODevice::ReadOnly));
        QVERIFY(report.readAll().startsWith(
            "port,outcome,exit_status,duration_s,reason\r\nPWA,done,0,"));
        QCOMPARE(messages.Count(), 0);
    }

    // Stop ends every run on its way; Escape waits for that. The password
    // is in the provisioning's environment, never on its command line.
    void stopEndsTheRunsAndKeepsThePasswordOffTheCommandLine()
    {
        const QStringList names{"PWS", "PWT"};
        const QString secret = QStringLiteral("Kq7vZ2x");
        Terminals terminals(names, [&](sim::SimOptions &o) {
            o.password = secret.toStdString();
            o.faults.silentAfter = 2; // the login and the transaction's opening, then nothing
        });
        ProvisionDialog window(FriendlyNames(names), QStringLiteral("115200"));
        window.show();
        for (int row = 0; row < 2; ++row)
            Named<QListWidget>(window, "Ports:")->item(row)->setCheckState(Qt::Checked);
        Named<QLineEdit>(window, "File to write:")
            ->setText(m_dir.filePath(QStringLiteral("config.ini")));
        Named<QLineEdit>(window, "Software Password:")->setText(secret);
        Named<QPushButton>(window, "Start")->click();
        const QTableWidget *table = Named<QTableWidget>(window, "Provision several terminals");
        QTRY_VERIFY_WITH_TIMEOUT(
            Column(*table, 1) == QStringList({"writing 1 of 2", "writing 1 of 2"}), kRunMs);

        QVERIFY(!ProcFile(window.ProcessId(), "cmdline").contains(secret.toUtf8()));
        QVERIFY(ProcFile(window.ProcessId(), "environ")
                    .contains("KESTREL_PASSWORD=" + secret.toUtf8() + '\0'));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(window.isVisible());
        QVERIFY(!Named<QPushButton>(window, "Close")->isEnabled());

        Named<QPushButton>(window, "Stop")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Running(), kRunMs);
        QCOMPARE(Column(*table, 1), (QStringList{"failed", "failed"}));
        const QString stopped =
            "Error: The operation was stopped before its end! Nothing was written on "
            "the terminal. Sent without an answer: parameter 1. Not sent: parameter 2.";
        QCOMPARE(Column(*table, 3), (QStringList{stopped, stopped}));
        QVERIFY(Named<QPushButton>(window, "Start")->isEnabled());
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    // A kestrel-cli that ends without its result (after a line about a port
    // it does not run, which is passed over, and a state of a newer kestrel-cli,
    // shown by its name), or cannot start at all, is named in the summary; an
    // empty line is passed over, and a last line cut short of its line end
    // still counts.
    void aRunWithoutItsResultIsNamed()
    {
        QTemporaryDir bin;
        const QByteArray path = qgetenv("PATH");
        const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
        qputenv("PATH", bin.path().toLocal8Bit() + ':' + path);
        const std::tuple<QByteArray, QString, QString> programs[] = {
            {"#!/bin/sh\necho '{\"event\":\"state\",\"port\":\"ttyNONE\",\"state\":\"done\"}' >&2\n"
             "echo '{\"event\":\"state\",\"port\":\"PWX\",\"state\":\"teleporting\"}' >&2\n"
             "exit 3\n",
             "kestrel-cli ended without a result (exit status 3).", "teleporting"},
            {"#!/nonexistent/sh\n", "Cannot start kestrel-cli: ", "waiting"},
            {"#!/bin/sh\necho >&2\necho '{\"event\":\"state\",\"state\":\"done\"}' >&2\n"
             "printf '{\"event\":\"message\",\"text\":\"Told.\"}' >&2\n",
             "Told.", "waiting"}};
        for (const auto &[program, said, state] : programs) {
            QFile cli(bin.filePath(QStringLiteral("kestrel-cli")));
            QVERIFY(cli.open(QIODevice::WriteOnly | QIODevice::Truncate));
            cli.write(program);
            cli.close();
            cli.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            ProvisionDialog window({QStringLiteral("Virtual port (PWX)")},
                                   QStringLiteral("115200"));
            Named<QListWidget>(window, "Ports:")->item(0)->setCheckState(Qt::Checked);
            Named<QLineEdit>(window, "File to write:")
                ->setText(m_dir.filePath(QStringLiteral("config.ini")));
            Named<QLineEdit>(window, "Software Password:")->setText(QStringLiteral("1234"));
            Named<QPushButton>(window, "Start")->click();
            QTRY_VERIFY_WITH_TIMEOUT(!window.Running(), kRunMs);
            const QString summary = window.findChild<QLabel *>(QStringLiteral("summary"))->text();
            QVERIFY2(summary.startsWith(said), qPrintable(summary));
            QCOMPARE(Column(*Named<QTableWidget>(window, "Provision several terminals"), 1),
                     QStringList{state});
        }
    }

private:
    QTemporaryDir m_dir;
};

KESTREL_QT_TEST(ProvisionWindowTest)
#include "provision_window_test.moc"
