// The Volume page: TX rules before RX rules, each only while its box is
// checked, the page shown and the field selected before the message box;
// an unchecked level left out of the store, store and load.

#include "page_test_support.h"
#include "pages/volume_page.h"

#include <QCheckBox>
#include <QLineEdit>

using params::Slot;

namespace {

// Boxes and levels as the user sees them: "TX:12 RX:(3)", a disabled
// level in brackets, an unchecked box as "-".
QString Shown(const CVolumePage &page)
{
    return QStringLiteral("TX:%1 RX:%2")
        .arg(GatedText(page.TxBox(), page.TxField()), GatedText(page.RxBox(), page.RxField()));
}

} // namespace

class VolumePageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rulesInOrder_data()
    {
        QTest::addColumn<QString>("tx"); // null: box unchecked
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("message"); // empty: the page passes
        QTest::addColumn<bool>("onRx");
        const QString txLength = QStringLiteral("Error: The TX level must be 2 characteres!");
        const QString txRange = QStringLiteral("Error: The TX level must be between 00 and 15!");
        // A bad RX level waits while the TX level fails.
        QTest::newRow("1 TX empty") << ""
                                    << "9"
                                    << "Please input the TX level." << false;
        QTest::newRow("2 TX 7") << "7"
                                << "9" << txLength << false;
        QTest::newRow("2 TX 123") << "123"
                                  << "" << txLength << false;
        QTest::newRow("3 TX 16") << "16"
                                 << "9" << txRange << false;
        QTest::newRow("3 TX loaded with a letter") << "1a" << QString() << txRange << false;
        QTest::newRow("4 RX empty") << "07"
                                    << ""
                                    << "Please input the RX level." << true;
        QTest::newRow("5 RX 07") << QString() << "07"
                                 << "Error: The RX level must be 1 character!" << true;
        QTest::newRow("6 RX 8") << "15"
                                << "8"
                                << "Error: The RX level must be between 0 and 7!" << true;
        QTest::newRow("passes: 07 and 0") << "07"
                                          << "0" << QString() << false;
        QTest::newRow("passes: 00 and 7") << "00"
                                          << "7" << QString() << false;
        QTest::newRow("passes: both off, whatever they hold")
            << QString() << QString() << QString() << false;
    }

    void rulesInOrder()
    {
        QFETCH(QString, tx);
        QFETCH(QString, rx);
        QFETCH(QString, message);
        QFETCH(bool, onRx);
        TestPageHost host;
        BoxRecorder recorder(host);
        CVolumePage page;
        QVERIFY(ShowActive(page, host));
        if (!tx.isNull())
            page.TxBox()->click();
        if (!rx.isNull())
            page.RxBox()->click();
        page.TxField()->setText(tx.isNull() ? QStringLiteral("99") : tx);
        page.RxField()->setText(rx.isNull() ? QStringLiteral("99") : rx);
        // This page comes to the front first, then tells.
        VerifyRule(page, host, message, onRx ? page.RxField() : page.TxField(), Told::PageFirst);
    }

    void anUncheckedLevelIsNotStored()
    {
        TestPageHost host;
        CVolumePage page;
        page.InitPage(host);
        page.RxBox()->click();
        page.RxField()->setText(QStringLiteral("5"));
        // Unchecked, the level stays but is not stored.
        page.RxBox()->click();
        page.SaveToStore();
        QCOMPARE(host.store[Slot::RxVolume], std::string());
        page.RxBox()->click();
        page.SaveToStore();
        QCOMPARE(host.store[Slot::RxVolume], std::string("5"));
    }

    void storeAndLoad_data()
    {
        QTest::addColumn<QString>("tx");
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("focused"); // "TX", "RX" or "" (where it was)
        QTest::newRow("both") << "12"
                              << "3"
                              << "TX:12 RX:3"
                              << "RX";
        QTest::newRow("TX only") << "07"
                                 << ""
                                 << "TX:07 RX:-()"
                                 << "TX";
        // An empty TX level leaves its box unchecked; nothing to export.
        QTest::newRow("RX only") << ""
                                 << "0"
                                 << "TX:-() RX:0"
                                 << "RX";
        QTest::newRow("none") << ""
                              << ""
                              << "TX:-() RX:-()"
                              << "";
    }

    void storeAndLoad()
    {
        QFETCH(QString, tx);
        QFETCH(QString, rx);
        QFETCH(QString, shown);
        QFETCH(QString, focused);
        TestPageHost host;
        CVolumePage page;
        QVERIFY(ShowActive(page, host));
        page.TxBox()->setFocus();
        QWidget *expected = page.TxBox();
        if (focused == QLatin1String("TX"))
            expected = page.TxField();
        else if (focused == QLatin1String("RX"))
            expected = page.RxField();
        VerifyLoadAndStore(page, host, {Slot::TxVolume, Slot::RxVolume}, {tx, rx},
                           [&page] { return Shown(page); }, shown, {tx, rx});
        QTRY_VERIFY(expected->hasFocus());
    }

    void aLoadBehindAnotherPageLeavesTheFocusAlone()
    {
        TestPageHost host;
        QWidget window;
        auto *visible = new QLineEdit(&window);
        auto *page = new CVolumePage(&window);
        page->InitPage(host);
        page->hide();
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        visible->setFocus();
        QTRY_VERIFY(visible->hasFocus());
        host.store[Slot::TxVolume] = "12";
        host.store[Slot::RxVolume] = "3";
        page->LoadFromStore();
        QVERIFY(visible->hasFocus());
        QCOMPARE(Shown(*page), QStringLiteral("TX:12 RX:3"));
    }
};

KESTREL_QT_TEST(VolumePageTest)
#include "volume_page_test.moc"
