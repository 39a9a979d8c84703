// The Times page: its nine rules in order, each only while its box is
// checked; the clock filled from the local date and time; the load that
// rewrites the timeout and never shows a clock; store.

#include "page_test_support.h"
#include "pages/times_page.h"

#include <QCheckBox>
#include <QLineEdit>

using params::Slot;

namespace {

struct Gated
{
    QCheckBox *box;
    QLineEdit *field;
};

// The six fields in rule order with their boxes.
std::vector<Gated> FieldsInRuleOrder(const CTimesPage &page)
{
    return {{page.TimeoutBox(), page.TimeoutField()},   {page.ClockBox(), page.DateField()},
            {page.ClockBox(), page.TimeField()},        {page.FlashBox(), page.FlashField()},
            {page.OutgoingBox(), page.OutgoingField()}, {page.IncomingBox(), page.IncomingField()}};
}

const char *const kMessages[9] = {
    "Please input a Timeout.",
    "Error: The Timeout must be between 1 and 9 seconds!",
    "Please input a correct Date format (DDMMYY).",
    "Error: The Date must be a valid calendar date (DDMMYY)!",
    "Please input a correct Time format (HHMM).",
    "Error: The Time must be between 0000 and 2359 (HHMM)!",
    "Error: The Flash Time must be between 80 and 2000 ms!",
    "Error: The Outgoing Time must be between 1 and 180 minutes!",
    "Error: The Incoming Time must be between 1 and 180 minutes!",
};

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
    void rulesInOrder_data()
    {
        // Timeout, date, time, flash, outgoing, incoming; null: box unchecked
        // (the field then holds a value every rule refuses).
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<int>("rule");  // 0: the page passes
        QTest::addColumn<int>("field"); // index in FieldsInRuleOrder
        struct Case
        {
            const char *name;
            const char *values[6];
            int rule, field;
        };
        const Case cases[] = {
            // Every later field is bad too: the first failure alone is told.
            {"1 timeout empty", {"", "1", "1", "1", "0", "0"}, 1, 0},
            {"2 timeout 0", {"0", nullptr, nullptr, nullptr, nullptr, nullptr}, 2, 0},
            {"2 timeout 10", {"10", "1", "1", "1", "0", "0"}, 2, 0},
            {"3 date of 5", {"9", "05041", "093", "79", "0", "0"}, 3, 1},
            {"3 date of 7", {nullptr, "0504110", "0930", nullptr, nullptr, nullptr}, 3, 1},
            {"4 month 13 before the time", {"1", "991399", "2599", "79", "0", "0"}, 4, 1},
            {"4 day 0", {nullptr, "000411", "0930", nullptr, nullptr, nullptr}, 4, 1},
            {"4 month 0", {nullptr, "010011", "0930", nullptr, nullptr, nullptr}, 4, 1},
            {"4 31 April", {nullptr, "310499", "0930", nullptr, nullptr, nullptr}, 4, 1},
            {"4 29 February 2023", {nullptr, "290223", "0930", nullptr, nullptr, nullptr}, 4, 1},
            {"4 30 February 2024", {nullptr, "300224", "0930", nullptr, nullptr, nullptr}, 4, 1},
            {"5 time of 3", {"1", "050411", "093", "79", "0", "0"}, 5, 2},
            {"6 hour 24", {"1", "050411", "2400", "79", "0", "0"}, 6, 2},
            {"6 minute 60", {nullptr, "050411", "1260", nullptr, nullptr, nullptr}, 6, 2},
            {"7 flash 79 before the outgoing time", {"1", nullptr, nullptr, "79", "0", "0"}, 7, 3},
            {"7 flash 2001", {nullptr, nullptr, nullptr, "2001", nullptr, nullptr}, 7, 3},
            {"7 flash empty", {nullptr, nullptr, nullptr, "", nullptr, nullptr}, 7, 3},
            {"8 outgoing 0", {nullptr, nullptr, nullptr, "80", "0", "0"}, 8, 4},
            {"8 outgoing 181", {nullptr, nullptr, nullptr, nullptr, "181", nullptr}, 8, 4},
            {"9 incoming 181", {nullptr, nullptr, nullptr, nullptr, "180", "181"}, 9, 5},
            {"9 incoming empty", {nullptr, nullptr, nullptr, nullptr, nullptr, ""}, 9, 5},
            {"passes: lowest", {"1", "010100", "0000", "80", "1", "1"}, 0, 0},
            {"passes: highest", {"9", "311299", "2359", "2000", "180", "180"}, 0, 0},
            {"passes: 29 February 2024",
             {nullptr, "290224", "0930", nullptr, nullptr, nullptr},
             0,
             0},
            {"passes: 29 February 2000",
             {nullptr, "290200", "0930", nullptr, nullptr, nullptr},
             0,
             0},
            {"passes: 30 April", {nullptr, "300411", "0930", nullptr, nullptr, nullptr}, 0, 0},
            {"passes: leading zeros", {"05", nullptr, nullptr, "0080", "010", "001"}, 0, 0},
            {"passes: every box off", {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}, 0, 0},
        };
        for (const Case &c : cases) {
            QStringList values;
            for (const char *value : c.values)
                values << (value ? QString::fromUtf8(value) : QString());
            QTest::newRow(c.name) << values << c.rule << c.field;
        }
    }

    void rulesInOrder()
    {
        QFETCH(QStringList, values);
        QFETCH(int, rule);
        QFETCH(int, field);
        TestPageHost host;
        BoxRecorder recorder(host);
        CTimesPage page;
        QVERIFY(ShowActive(page, host));
        const std::vector<Gated> fields = FieldsInRuleOrder(page);
        for (size_t i = 0; i < fields.size(); ++i) {
            const Gated &gated = fields[i];
            if (!values[int(i)].isNull() && !gated.box->isChecked())
                gated.box->click();
            gated.field->setText(values[int(i)].isNull() ? QStringLiteral("0") : values[int(i)]);
        }
        VerifyRule(page, host, rule ? QString::fromUtf8(kMessages[rule - 1]) : QString(),
                   fields[size_t(field)].field);
    }

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
