// The login's port list: entries from friendly names and the preselection
// by the saved port name.

#include "app/port_list.h"
#include "platform/virtual_ports.h"
#include "sim/terminal_simulator.h"
#include "tests/common/qt_test_registry.h"
#include "tests/common/scoped_env.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class PortListTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildsEntriesAndSelection_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("selected");

        const QString com1 = QStringLiteral("Communications Port (COM1)");
        const QString com10 = QStringLiteral("Communications Port (COM10)");
        const QStringList sims{"Virtual port (SIM0)", "Virtual port (SIM1)"};
        // clang-format off
        QTest::newRow("no port: the one entry COM1") << QStringList() << "COM1" << QStringList{"COM1"} << 0;
        QTest::newRow("saved COM1, COM10 enumerated later wins") << QStringList{com1, com10} << "COM1" << QStringList{"COM1", "COM10"} << 1;
        QTest::newRow("saved COM1, COM10 enumerated first") << QStringList{com10, com1} << "COM1" << QStringList{"COM10", "COM1"} << 1;
        QTest::newRow("saved COM10 does not match COM1") << QStringList{com10, com1} << "COM10" << QStringList{"COM10", "COM1"} << 0;
        QTest::newRow("case is ignored")
            << QStringList{"USB serial (ttyUSB0)", "Virtual port (SIM0)"} << "sim0" << QStringList{"ttyUSB0", "SIM0"} << 1;
        QTest::newRow("nothing matches: position 0") << sims << "ttyS0" << QStringList{"SIM0", "SIM1"} << 0;
        QTest::newRow("a name without a port in parentheses is kept whole and not compared")
            << QStringList{"Virtual port (SIM0)", "COM1 modem", "Odd (", "Empty ()"} << "COM1"
            << QStringList{"SIM0", "COM1 modem", "Odd (", "Empty ()"} << 0;
        QTest::newRow("the last parentheses hold the port")
            << QStringList{"USB-Serial (CH340) (ttyUSB1)"} << "ttyUSB1" << QStringList{"ttyUSB1"} << 0;
        QTest::newRow("nothing saved selects position 0") << sims << "" << QStringList{"SIM0", "SIM1"} << 0;
        // clang-format on
    }

    void buildsEntriesAndSelection()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, saved);
        QFETCH(QStringList, entries);
        QFETCH(int, selected);

        const PortListing listing = BuildPortList(names, saved);
        QCOMPARE(listing.entries, entries);
        QCOMPARE(listing.selected, selected);
    }

    void overlongFriendlyNameIsLeftOut()
    {
        const QString overlong =
            QString(kFriendlyNameBufferSize, QLatin1Char('x')) + QStringLiteral(" (COM7)");
        const PortListing listing =
            BuildPortList({overlong, QStringLiteral("Port (COM2)")}, QStringLiteral("COM7"));
        QCOMPARE(listing.entries, QStringList{QStringLiteral("COM2")});
        QCOMPARE(listing.selected, 0);
    }

    // `kestrel-cli ports` and the login take the ports from the same listing:
    // the names (each line's first word) are the login's entries, in its order.
    void theCommandLineListsThePortsTheLoginOffers()
    {
        QTemporaryDir runtime;
        const ScopedEnv ownPorts("XDG_RUNTIME_DIR", runtime.path().toUtf8().constData());
        sim::TerminalSimulator terminal;
        platform::AdvertisedPort advertised;
        std::string error;
        QVERIFY2(terminal.Start(error) &&
                     advertised.Advertise("KPORT1", terminal.SlavePath(), error),
                 error.c_str());

        QProcess cli;
        cli.start(QString::fromUtf8(KESTREL_CLI), {QStringLiteral("ports")});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput())
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QStringList names;
        for (const QString &line : lines)
            names << line.section(QLatin1Char(' '), 0, 0);
        QCOMPARE(names, BuildPortList(PresentPortNames(), QString()).entries);
        QCOMPARE(lines.last().simplified(), QStringLiteral("KPORT1 Virtual port (KPORT1)"));
    }
};

KESTREL_QT_TEST(PortListTest)
#include "port_list_test.moc"
