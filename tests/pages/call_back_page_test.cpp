// The Call back page: the list box's positions; store and load, with call
// back off keeping what the store holds.

#include "list_page_support.h"
#include "pages/call_back_page.h"

#include <QCheckBox>
#include <QLineEdit>

using params::Slot;

namespace {

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
