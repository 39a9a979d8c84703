// The CSP page: the none flag, the load order, and the three rules on the
// number.

#include "page_test_support.h"
#include "pages/csp_page.h"

#include <QCheckBox>
#include <QLineEdit>

using params::Slot;

namespace {

// Boxes and field as the user sees them: "B" call back, "A" all calls,
// then the number, in brackets while disabled.
QString Shown(const CCspPage &page)
{
    const QString number = page.NumberField()->text();
    return QStringLiteral("%1%2 %3").arg(
        page.CallBackBox()->isChecked() ? "B" : "-", page.AllCallsBox()->isChecked() ? "A" : "-",
        page.NumberField()->isEnabled() ? number : "(" + number + ")");
}

void Click(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

} // namespace

class CspPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rulesInOrder_data()
    {
        QTest::addColumn<bool>("allCalls"); // else call back
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("message"); // empty: the page passes
        const QString number = QStringLiteral("Error: The CSP Number must be number!");
        const QString length = QStringLiteral("Error: The CSP Number must be 2 characteres!");
        const QString range = QStringLiteral("Error: The CSP Number must be between 11 and 99!");
        QTest::newRow("1 letter") << false << "1a" << number;
        QTest::newRow("1 empty") << true << "" << number;
        QTest::newRow("2 one digit") << false << "5" << length;
        QTest::newRow("2 three digits") << true << "011" << length;
        QTest::newRow("3 ten") << false << "10" << range;
        QTest::newRow("3 zero") << true << "00" << range;
        QTest::newRow("passes: 11") << false << "11" << QString();
        QTest::newRow("passes: 99") << true << "99" << QString();
    }

    void rulesInOrder()
    {
        QFETCH(bool, allCalls);
        QFETCH(QString, number);
        QFETCH(QString, message);
        TestPageHost host;
        BoxRecorder recorder(host);
        CCspPage page;
        QVERIFY(ShowActive(page, host));
        Click(allCalls ? page.AllCallsBox() : page.CallBackBox());
        page.NumberField()->setText(number);
        VerifyRule(page, host, message, page.NumberField());
        if (message.isEmpty() || QTest::currentTestFailed())
            return;
        const qsizetype told = host.events.size();

        // With the CSP off the number is not looked at.
        Click(allCalls ? page.AllCallsBox() : page.CallBackBox());
        QVERIFY(page.NoneFlag());
        QVERIFY(page.ValidatePage());
        QCOMPARE(host.events.size(), told);
    }

    void storeAndLoad_data()
    {
        // The store's three mode slots and number, what the page shows, and
        // the four slots stored back.
        QTest::addColumn<QStringList>("values"); // none, all calls, call back, number
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("none") << QStringList{"1", "0", "0", "21"} << "-- (21) none"
                              << QStringList{"1", "0", "0", "21"};
        // As a read of 16541 = "2" and 16542 = "21" leaves the store.
        QTest::newRow("all calls")
            << QStringList{"0", "1", "0", "21"} << "-A 21" << QStringList{"0", "1", "0", "21"};
        QTest::newRow("call back, number below 11 emptied")
            << QStringList{"0", "0", "1", "5"} << "B- " << QStringList{"0", "0", "1", ""};
        QTest::newRow("both on: all calls wins, above 99 emptied")
            << QStringList{"0", "1", "1", "100"} << "-A " << QStringList{"0", "1", "0", ""};
        QTest::newRow("none wins over the boxes")
            << QStringList{"1", "1", "1", "99"} << "-- (99) none"
            << QStringList{"1", "0", "0", "99"};
        // Nothing on: the CSP is not off, and the number it asks for can be typed.
        QTest::newRow("all off") << QStringList{"", "", "", "11"} << "-- 11"
                                 << QStringList{"0", "0", "0", "11"};
    }

    void storeAndLoad()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, shown);
        QFETCH(QStringList, stored);
        TestPageHost host;
        CCspPage page;
        page.InitPage(host);
        VerifyLoadAndStore(
            page, host, {Slot::CspNone, Slot::CspAllCalls, Slot::CspCallBack, Slot::CspNumber},
            values, [&page] { return Shown(page) + (page.NoneFlag() ? " none" : ""); }, shown,
            stored);
    }

    void afterAnAllOffLoadANumberIsDemanded()
    {
        TestPageHost host;
        BoxRecorder recorder(host);
        CCspPage page;
        QVERIFY(ShowActive(page, host));
        page.LoadFromStore(); // every slot empty, as before any read
        QVERIFY(!page.ValidatePage());
        QCOMPARE(host.events,
                 (QStringList{"box Error: The CSP Number must be number!", "show 187"}));
        QTRY_VERIFY(page.NumberField()->hasFocus());
        QTest::keyClicks(page.NumberField(), QStringLiteral("33"));
        QVERIFY(page.ValidatePage());
    }
};

KESTREL_QT_TEST(CspPageTest)
#include "csp_page_test.moc"
