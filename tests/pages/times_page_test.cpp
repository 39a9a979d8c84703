// The Times page: the clock filled from the local date and time; the load
// that rewrites the timeout and never shows a clock; store.

#include "page_test_support.h"
#include "pages/times_page.h"

#include <QCheckBox>
#include <QLineEdit>

using params::Slot;

namespace {

// The slots of the page: 2, date, time, 16208, 16209, 16210, 16515, 16516.
constexpr std::initializer_list<Slot> kSlots = {
    Slot::DialTimeout,      Slot::Date,          Slot::Time,
    Slot::RestrictOutgoing, Slot::OutgoingLimit, Slot::FlashTime,
    Slot::RestrictIncoming, Slot::IncomingLimit};

} // namespace

class TimesPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checkingTheClockFillsTheLocalDateAndTime_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("5 April 2011, 09:30")
            << QDateTime(QDate(2011, 4, 5), QTime(9, 30, 59)) << "050411"
            << "0930";
        QTest::newRow("31 December 2099, 23:59")
            << QDateTime(QDate(2099, 12, 31), QTime(23, 59)) << "311299"
            << "2359";
        QTest::newRow("1 January 2000, midnight")
            << QDateTime(QDate(2000, 1, 1), QTime(0, 0)) << "010100"
            << "0000";
    }

    void checkingTheClockFillsTheLocalDateAndTime()
    {
        QFETCH(QDateTime, now);
        QFETCH(QString, date);
        QFETCH(QString, time);
        TestPageHost host;
        CTimesPage page;
        page.SetClock([now] { return now; });
        QVERIFY(ShowActive(page, host));
        QVERIFY(!page.DateField()->isEnabled() && !page.TimeField()->isEnabled());
        page.ClockBox()->click();
        QCOMPARE(page.DateField()->text(), date);
        QCOMPARE(page.TimeField()->text(), time);
        QVERIFY(page.DateField()->isEnabled() && page.TimeField()->isEnabled());
        QTRY_VERIFY(page.DateField()->hasFocus());
        QVERIFY(page.ValidatePage());

        // Unchecked, the fields keep the clock but nothing of it is stored.
        page.ClockBox()->click();
        QCOMPARE(page.DateField()->text(), date);
        QVERIFY(!page.DateField()->isEnabled());
        page.SaveToStore();
        QCOMPARE(host.store[Slot::Date], std::string());
        QCOMPARE(host.store[Slot::Time], std::string());
    }

    void store_data()
    {
        // The boxes checked ("T" timeout, "C" clock, "O" outgoing, "I"
        // incoming, "F" flash) with every field "7"; the slots stored.
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QStringList>("stored"); // 2, date, time, 16208, 16209, 16210, 16515, 16516
        QTest::newRow("all") << "TCOIF" << QStringList{"7", "7", "7", "1", "7", "7", "1", "7"};
        // The limits stay as typed with their switches off.
        QTest::newRow("none") << "" << QStringList{"", "", "", "0", "7", "", "0", "7"};
        QTest::newRow("outgoing only") << "O" << QStringList{"", "", "", "1", "7", "", "0", "7"};
        QTest::newRow("clock only") << "C" << QStringList{"", "7", "7", "0", "7", "", "0", "7"};
    }

    void store()
    {
        QFETCH(QString, checked);
        QFETCH(QStringList, stored);
        TestPageHost host;
        CTimesPage page;
        page.InitPage(host);
        const std::pair<QChar, QCheckBox *> boxes[] = {{'T', page.TimeoutBox()},
                                                       {'C', page.ClockBox()},
                                                       {'O', page.OutgoingBox()},
                                                       {'I', page.IncomingBox()},
                                                       {'F', page.FlashBox()}};
        for (const auto &[letter, box] : boxes) {
            if (checked.contains(letter))
                box->click();
        }
        for (QLineEdit *field : page.findChildren<QLineEdit *>())
            field->setText(QStringLiteral("7"));
        page.SaveToStore();
        QCOMPARE(SlotTexts(host.store, kSlots), stored);
    }

    void load_data()
    {
        // Slots 2, date, time, 16208, 16209, 16210, 16515, 16516.
        QTest::addColumn<QStringList>("values");
        // Timeout, date, time, outgoing, incoming, flash as the user sees
        // them: "-" for an unchecked box, a disabled field in brackets.
        QTest::addColumn<QString>("shown");
        QTest::newRow("everything on")
            << QStringList{"5", "050411", "0930", "1", "45", "300", "01", "90"}
            << "5 -() -() 45 90 300";
        QTest::newRow("timeout 05 rewritten")
            << QStringList{"05", "", "", "0", "45", "", "0", ""} << "5 -() -() -(45) -() -()";
        QTest::newRow("timeout 0 emptied")
            << QStringList{"0", "", "", "0", "", "", "0", ""} << "-() -() -() -() -() -()";
        QTest::newRow("timeout 10 emptied")
            << QStringList{"10", "", "", "0", "", "", "0", ""} << "-() -() -() -() -() -()";
        QTest::newRow("timeout 9 kept")
            << QStringList{"9", "", "", "0", "", "", "0", ""} << "9 -() -() -() -() -()";
        QTest::newRow("timeout 1 kept")
            << QStringList{"1", "", "", "0", "", "", "0", ""} << "1 -() -() -() -() -()";
        QTest::newRow("timeout not a number")
            << QStringList{"x", "", "", "0", "", "", "0", ""} << "-() -() -() -() -() -()";
    }

    void load()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, shown);
        TestPageHost host;
        CTimesPage page;
        page.InitPage(host);
        // A clock box checked before the load is unchecked by it.
        page.ClockBox()->click();
        SetSlots(host.store, kSlots, values);
        page.LoadFromStore();
        const QStringList parts{GatedText(page.TimeoutBox(), page.TimeoutField()),
                                GatedText(page.ClockBox(), page.DateField()),
                                GatedText(page.ClockBox(), page.TimeField()),
                                GatedText(page.OutgoingBox(), page.OutgoingField()),
                                GatedText(page.IncomingBox(), page.IncomingField()),
                                GatedText(page.FlashBox(), page.FlashField())};
        QCOMPARE(parts.join(' '), shown);
    }
};

KESTREL_QT_TEST(TimesPageTest)
#include "times_page_test.moc"
