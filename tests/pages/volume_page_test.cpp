// The Volume page: an unchecked level left out of the store, store and load,
// and the focus a load moves.

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
