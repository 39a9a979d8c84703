// The Call back page: the timing rules, the list box rule (a message only)
// and the row rules in their order, checked only while call back is on;
// the list box's positions; store and load, with call back off keeping
// what the store holds.

#include "list_page_support.h"
#include "pages/call_back_page.h"

#include <QCheckBox>
#include <QLineEdit>

using params::Slot;

namespace {

// A page as the user sets it up: the switch and each box clicked on when
// its text is given (null: box off).
struct Setup
{
    const char *time = nullptr;
    const char *attempts = nullptr;
    const char *answer = nullptr;
    bool listBox = true;
    QStringList rows = {"5551234"};
    bool thenSwitchOff = false;
};

void Apply(CCallBackPage &page, const Setup &setup)
{
    page.SwitchBox()->click();
    const std::tuple<QCheckBox *, QLineEdit *, const char *> timings[] = {
        {page.TimeBox(), page.TimeField(), setup.time},
        {page.AttemptsBox(), page.AttemptsField(), setup.attempts},
        {page.AnswerBox(), page.AnswerField(), setup.answer}};
    for (const auto &[box, field, text] : timings) {
        if (!text)
            continue;
        box->click();
        field->setText(QString::fromUtf8(text));
    }
    if (setup.listBox) {
        page.ListBox()->click();
        SetNumbers(page.List(), setup.rows);
    }
    if (setup.thenSwitchOff)
        page.SwitchBox()->click();
}

// What the page shows: "on T[10] A(-) R(5) L:300", a disabled edit in
// brackets with "-" for an unchecked box, L the number of rows ("-" when
// the list box is off).
QString Shown(const CCallBackPage &page)
{
    auto timing = [](const QCheckBox *box, const QLineEdit *field) {
        const QString text = (box->isChecked() ? QString() : QStringLiteral("-")) + field->text();
        return field->isEnabled() ? "[" + text + "]" : "(" + text + ")";
    };
    return QStringLiteral("%1 T%2 A%3 R%4 L:%5%6")
        .arg(QString::fromLatin1(page.SwitchBox()->isChecked() ? "on" : "off"),
             timing(page.TimeBox(), page.TimeField()),
             timing(page.AttemptsBox(), page.AttemptsField()),
             timing(page.AnswerBox(), page.AnswerField()),
             page.ListBox()->isChecked() ? QString() : QStringLiteral("-"))
        .arg(page.List()->RowCount());
}

} // namespace

class CallBackPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rulesInOrder_data()
    {
        QTest::addColumn<int>("setup");       // index into the setups of rulesInOrder
        QTest::addColumn<QString>("message"); // empty: passes
        QTest::addColumn<QString>("focus");   // "time", "attempts", "answer", "row N", "none"
        const QString time =
            QStringLiteral("Error: The Call Back Time must be between 1 and 99 seconds!");
        const QString attempts =
            QStringLiteral("Error: The Call Back Nun Cout must be between 1 and 10!");
        const QString digits =
            QStringLiteral("Error: Only numbers (0,1,...,9) are allowed in the position  :%1!");
        const QString length =
            QStringLiteral("Error: Number of over 20 characters in the position %1!");
        const QString listBox = QStringLiteral("Please select the Call Back Number List box.");
        QTest::newRow("1 empty time") << 0 << time << "time";
        QTest::newRow("1 time 100, attempts 11 wait") << 1 << time << "time";
        QTest::newRow("2 attempts 0") << 2 << attempts << "attempts";
        QTest::newRow("2 attempts 11") << 3 << attempts << "attempts";
        QTest::newRow("3 answer 100")
            << 4 << "Error: The Time to Answer Call Back must be between 1 and 99 seconds!"
            << "answer";
        QTest::newRow("4 list box off") << 5 << listBox << "none";
        QTest::newRow("4 list box off, rows bad") << 6 << listBox << "none";
        QTest::newRow("5 row 0 with a letter names 1507") << 7 << digits.arg(1507) << "row 0";
        QTest::newRow("6 in an earlier row before 5") << 8 << length.arg(1508) << "row 1";
        QTest::newRow("5 before 6 in one row") << 9 << digits.arg(1509) << "row 2";
        QTest::newRow("6 21 digits in row 3") << 10 << length.arg(1510) << "row 3";
        QTest::newRow("6 the last row") << 11 << length.arg(1806) << "row 299";
        QTest::newRow("7 no number") << 12 << "Please input a number in the Call Back Number List."
                                     << "row 0";
        QTest::newRow("passes at the edges") << 13 << QString() << "";
        QTest::newRow("passes without timings") << 14 << QString() << "";
        QTest::newRow("passes: switch off, all bad") << 15 << QString() << "";
    }

    void rulesInOrder()
    {
        QFETCH(int, setup);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        const QString k21 = QStringLiteral("123456789012345678901");
        QStringList lastRowLong;
        for (int row = 0; row < 299; ++row)
            lastRowLong << QString();
        lastRowLong << k21;
        const Setup setups[] = {
            {.time = "", .rows = {"12a"}},
            {.time = "100", .attempts = "11", .rows = {"12a"}},
            {.time = "99", .attempts = "0"},
            {.attempts = "11", .answer = "0"},
            {.time = "1", .attempts = "10", .answer = "100"},
            {.listBox = false},
            {.time = "5", .listBox = false, .rows = {"12a"}},
            {.rows = {"12a"}},
            {.rows = {"", k21, "1a", "2"}},
            {.rows = {"", "", k21 + "a"}},
            {.rows = {"", "", "", k21}},
            {.rows = lastRowLong},
            {.rows = {}},
            {.time = "1",
             .attempts = "1",
             .answer = "99",
             .rows = {"", "", "12345678901234567890"}},
            {},
            {.time = "", .attempts = "", .answer = "", .listBox = false, .thenSwitchOff = true},
        };
        TestPageHost host;
        BoxRecorder recorder(host);
        CCallBackPage page;
        QVERIFY(ShowActive(page, host));
        Apply(page, setups[setup]);
        page.SwitchBox()->setFocus();
        QTRY_VERIFY(page.SwitchBox()->hasFocus());

        QWidget *offender = page.List();
        if (focus == QLatin1String("none"))
            offender = nullptr; // the message alone: the page is not brought forward
        else if (!focus.startsWith(QLatin1String("row")))
            offender = focus == QLatin1String("time")       ? page.TimeField()
                       : focus == QLatin1String("attempts") ? page.AttemptsField()
                                                            : page.AnswerField();
        VerifyRule(page, host, message, offender,
                   offender ? Told::MessageFirst : Told::MessageOnly);
        if (message.isEmpty() || QTest::currentTestFailed())
            return;
        if (!offender)
            QVERIFY(page.SwitchBox()->hasFocus());
        else if (offender == page.List())
            QCOMPARE(SelectedRows(page.List()), QList<int>{focus.mid(4).toInt()});
    }

    void theListBoxFillsThePositionsOnce()
    {
        TestPageHost host;
        CCallBackPage page;
        page.InitPage(host);
        page.SwitchBox()->click();
        page.ListBox()->click();
        QCOMPARE(page.List()->CellText(0, 0), QStringLiteral("  1507"));
        QCOMPARE(page.List()->CellText(299, 0), QStringLiteral("  1806"));
        // Rows that exist are left alone by the list box.
        page.List()->SetCellText(4, 1, QStringLiteral("123"));
        page.ListBox()->click();
        page.ListBox()->click();
        QCOMPARE(page.List()->CellText(4, 1), QStringLiteral("123"));
    }

    void storeAndLoad_data()
    {
        QTest::addColumn<QStringList>("loaded"); // 16517, 16539, 16540, 16545
        QTest::addColumn<bool>("numbers");       // 16214 and 16511 hold numbers
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("stored"); // "?": left as it was
        QTest::newRow("on, all timings, 05 as 5")
            << QStringList{"01", "10", "3", "05"} << true << "on T[10] A[3] R[5] L:300"
            << QStringList{"01", "10", "3", "5"};
        QTest::newRow("on, no numbers: the list box is on anyway")
            << QStringList{"01", "", "07", ""} << false << "on T(-) A[07] R(-) L:300"
            << QStringList{"01", "", "07", ""};
        QTest::newRow("off with numbers: shown, timings left in the store")
            << QStringList{"00", "10", "", "05"} << true << "off T(10) A(-) R(5) L:300"
            << QStringList{"00", "?", "?", "?"};
        QTest::newRow("off without numbers: no rows")
            << QStringList{"0", "", "", "9"} << false << "off T(-) A(-) R(9) L:-0"
            << QStringList{"00", "?", "?", "?"};
    }

    void storeAndLoad()
    {
        QFETCH(QStringList, loaded);
        QFETCH(bool, numbers);
        QFETCH(QString, shown);
        QFETCH(QStringList, stored);
        TestPageHost host;
        if (numbers) {
            host.store.callBack[2] = "0211";
            host.store.callBack[299] = "5550299";
        }
        CCallBackPage page;
        page.InitPage(host);
        const bool on = loaded[0] == QLatin1String("01");
        VerifyLoadAndStore(
            page, host,
            {Slot::CallBack, Slot::CallBackTime, Slot::CallBackAttempts, Slot::AnswerCallBackTime},
            loaded,
            [&] {
                const CReportCtrl *list = page.List();
                return Shown(page) +
                       (numbers ? " " + list->CellText(2, 1) + " " + list->CellText(299, 1)
                                : QString());
            },
            numbers ? shown + " 0211 5550299" : shown, stored);
        // On or off, the numbers are stored without a hole; the rows, stored
        // only with call back on, then show what was stored.
        decltype(host.store.callBack) closedUp{};
        if (numbers) {
            closedUp[0] = "0211";
            closedUp[1] = "5550299";
            const QStringList rows =
                on ? QStringList{"0211", "5550299", ""} : QStringList{"", "", "0211"};
            QCOMPARE(Numbers(page.List()).mid(0, 3), rows);
        }
        QCOMPARE(host.store.callBack, closedUp);
    }

    // Call back off stores the switch alone: timings and numbers stay in the
    // store (and are exported) as they were, whatever the page shows.
    void callBackOffKeepsWhatTheStoreHolds()
    {
        TestPageHost host;
        host.store[Slot::CallBack] = "01";
        host.store[Slot::CallBackTime] = "10";
        host.store[Slot::CallBackAttempts] = "3";
        host.store[Slot::AnswerCallBackTime] = "05";
        host.store.callBack[0] = "5551234";
        CCallBackPage page;
        page.InitPage(host);
        page.LoadFromStore();
        page.TimeBox()->click(); // unchecked: emptied
        page.AttemptsField()->setText(QStringLiteral("9"));
        page.List()->SetCellText(0, 1, QStringLiteral("777"));
        page.SwitchBox()->click();
        QVERIFY(page.ValidatePage());
        page.SaveToStore();
        QCOMPARE(host.store[Slot::CallBack], std::string("00"));
        QCOMPARE(host.store[Slot::CallBackTime], std::string("10"));
        QCOMPARE(host.store[Slot::CallBackAttempts], std::string("3"));
        QCOMPARE(host.store[Slot::AnswerCallBackTime], std::string("05"));
        QCOMPARE(host.store.callBack[0], std::string("5551234"));

        // On again: what the page holds is stored.
        page.SwitchBox()->click();
        page.SaveToStore();
        QCOMPARE(host.store[Slot::CallBackTime], std::string());
        QCOMPARE(host.store[Slot::CallBackAttempts], std::string("9"));
        QCOMPARE(host.store[Slot::AnswerCallBackTime], std::string("5"));
        QCOMPARE(host.store.callBack[0], std::string("777"));
    }

    void blankRecordsLoadAsEmptyRows_data() { BlankRecordRows(); }
    void blankRecordsLoadAsEmptyRows()
    {
        QFETCH(QString, entry);
        QFETCH(bool, blank);
        for (const char *callBack : {"01", "00"}) {
            TestPageHost host;
            BoxRecorder recorder(host);
            host.store[Slot::CallBack] = callBack;
            host.store.callBack[0] = "5551234";
            host.store.callBack[1] = entry.toStdString();
            CCallBackPage page;
            page.InitPage(host);
            page.LoadFromStore();
            QCOMPARE(page.List()->CellText(1, 1), blank ? QString() : entry);
            page.SaveToStore();
            // Also with call back off: a blank record is no number to send back.
            QCOMPARE(QString::fromStdString(host.store.callBack[1]), blank ? QString() : entry);
            QCOMPARE(host.store.callBack[0], std::string("5551234"));
        }
    }

    void onlyBlankRecordsLeaveTheListBoxOffWhileCallBackIsOff()
    {
        TestPageHost host;
        host.store.callBack[0] = "0*0*0*0";
        CCallBackPage page;
        page.InitPage(host);
        page.LoadFromStore();
        QCOMPARE(Shown(page), QStringLiteral("off T(-) A(-) R(-) L:-0"));
    }
};

KESTREL_QT_TEST(CallBackPageTest)
#include "call_back_page_test.moc"
