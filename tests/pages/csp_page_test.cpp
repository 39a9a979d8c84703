// The CSP page: the none flag and the load order.

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

} // namespace

class CspPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
