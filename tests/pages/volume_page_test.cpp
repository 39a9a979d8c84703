// The Volume page: TX rules before RX rules, each only while its box is
// checked, the page shown and the field selected before the message box;
// the boxes that gate the levels, store and load, texts.

#include "page_test_support.h"
#include "pages/volume_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

using params::Slot;

namespace {

// Boxes and levels as the user sees them: "TX:12 RX:(3)", a disabled
// level in brackets, an unchecked box as "-".
QString Shown(const CVolumePage &page)
{
    auto part = [](const QCheckBox *box, const QLineEdit *field) {
        const QString text = field->isEnabled() ? field->text() : "(" + field->text() + ")";
        return (box->isChecked() ? QString() : QStringLiteral("-")) + text;
    };
    return QStringLiteral("TX:%1 RX:%2")
        .arg(part(page.TxBox(), page.TxField()), part(page.RxBox(), page.RxField()));
}

} // namespace

class VolumePageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rulesInOrder_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("tx"); // null: box unchecked
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("message"); // empty: the page passes
        QTest::addColumn<bool>("onRx");
        struct Case
        {
            const char *name, *tx, *rx;
            const char *messages[3];
        };
        const char *const kTxLength[3] = {
            "Error: The TX level must be 2 characteres!",
            "Erro: O Volume de transmissão deve ter 2 caracteres!",
            "Error: El volumen de transmisión debe tener 2 caracteres!"};
        const char *const kTxRange[3] = {
            "Error: The TX level must be between 00 and 15!",
            "Erro: O nível de volume de transmissão deve ser entre 00 e 15!",
            "Error: El volumen de transmisión debe ser entre 00 y 15!"};
        const char *const kRxLength[3] = {"Error: The RX level must be 1 character!",
                                          "Erro: O Volume de recepção deve ter 1 carácter!",
                                          "Error: El volumen de recepción debe tener 1 carácter!"};
        const char *const kRxRange[3] = {
            "Error: The RX level must be between 0 and 7!",
            "Erro: O nível de volume de recepção deve ser entre 0 e 7!",
            "Error: El volumen de recepción debe ser entre 0 y 7!"};
        // A bad RX level waits while the TX level fails.
        const Case cases[] = {
            {"1 TX empty",
             "",
             "9",
             {"Please input the TX level.", "Por favor, insira o nível de volume de transmissão.  ",
              "Por favor introduzca el volumen de transmisión."}},
            {"2 TX 7", "7", "9", {kTxLength[0], kTxLength[1], kTxLength[2]}},
            {"2 TX 123", "123", "", {kTxLength[0], kTxLength[1], kTxLength[2]}},
            {"3 TX 16", "16", "9", {kTxRange[0], kTxRange[1], kTxRange[2]}},
            {"3 TX loaded with a letter", "1a", nullptr, {kTxRange[0], kTxRange[1], kTxRange[2]}},
            {"4 RX empty",
             "07",
             "",
             {"Please input the RX level.", "Por favor, insira o nível de volume de recepção.  ",
              "Por favor introduzca el volumen de recepción."}},
            {"5 RX 07", nullptr, "07", {kRxLength[0], kRxLength[1], kRxLength[2]}},
            {"6 RX 8", "15", "8", {kRxRange[0], kRxRange[1], kRxRange[2]}},
            {"passes: 07 and 0", "07", "0", {"", "", ""}},
            {"passes: 00 and 7", "00", "7", {"", "", ""}},
            {"passes: both off, whatever they hold", nullptr, nullptr, {"", "", ""}},
        };
        for (const Case &c : cases) {
            for (const LanguageRow &language : kLanguages) {
                QTest::addRow("%s, %s", c.name, language.name)
                    << language.code << (c.tx ? QString::fromUtf8(c.tx) : QString())
                    << (c.rx ? QString::fromUtf8(c.rx) : QString())
                    << QString::fromUtf8(c.messages[language.code - 1]) << (c.name[0] >= '4');
            }
        }
    }

    void rulesInOrder()
    {
        QFETCH(int, language);
        QFETCH(QString, tx);
        QFETCH(QString, rx);
        QFETCH(QString, message);
        QFETCH(bool, onRx);
        LanguageScope scope(language);
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
        if (message.isEmpty()) {
            QVERIFY(page.ValidatePage());
            QVERIFY(host.events.isEmpty());
            return;
        }

        QVERIFY(!page.ValidatePage());
        // This page comes to the front first, then tells.
        QCOMPARE(host.events, (QStringList{"show 184", "box " + message}));
        QLineEdit *field = onRx ? page.RxField() : page.TxField();
        QTRY_VERIFY(field->hasFocus());
        QCOMPARE(field->selectedText(), field->text());
    }

    void boxesGateTheirLevels()
    {
        TestPageHost host;
        CVolumePage page;
        QVERIFY(ShowActive(page, host));
        QCOMPARE(Shown(page), QStringLiteral("TX:-() RX:-()"));
        QTest::mouseClick(page.RxBox(), Qt::LeftButton, {}, QPoint(4, page.RxBox()->height() / 2));
        QCOMPARE(Shown(page), QStringLiteral("TX:-() RX:"));
        QTRY_VERIFY(page.RxField()->hasFocus());
        QTest::keyClicks(page.RxField(), QStringLiteral("5"));
        // Unchecked, the level stays but is not stored.
        page.RxBox()->click();
        QCOMPARE(Shown(page), QStringLiteral("TX:-() RX:-(5)"));
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
        host.store[Slot::TxVolume] = tx.toStdString();
        host.store[Slot::RxVolume] = rx.toStdString();
        page.LoadFromStore();
        QCOMPARE(Shown(page), shown);
        QWidget *expected = page.TxBox();
        if (focused == QLatin1String("TX"))
            expected = page.TxField();
        else if (focused == QLatin1String("RX"))
            expected = page.RxField();
        QTRY_VERIFY(expected->hasFocus());

        host.store = {};
        page.SaveToStore();
        QCOMPARE(QString::fromStdString(host.store[Slot::TxVolume]), tx);
        QCOMPARE(QString::fromStdString(host.store[Slot::RxVolume]), rx);
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

    void textsAndAccessibleNames_data()
    {
        QTest::addColumn<int>("language");
        // TX box, RX box, level label, TX hint, RX hint
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("English") << 1
                                 << QStringList{" Change Tx Volume", " Change Rx Volume",
                                                "Level:", "[00 ~ 15]", "[0 ~ 7]"};
        QTest::newRow("Portuguese")
            << 2
            << QStringList{QString::fromUtf8("Volume de transmissão"),
                           QString::fromUtf8("Volume de recepção"), QString::fromUtf8("Nível:"),
                           "[00 ~ 15]", "[0 ~ 7]"};
        QTest::newRow("Spanish") << 3
                                 << QStringList{QString::fromUtf8("Transmisión"),
                                                QString::fromUtf8("Recepción"),
                                                "Nivel:", "[00 ~ 15]", "[0 ~ 7]"};
    }

    void textsAndAccessibleNames()
    {
        QFETCH(int, language);
        QFETCH(QStringList, texts);
        LanguageScope scope(language);
        TestPageHost host;
        CVolumePage page;
        page.InitPage(host);
        QStringList shown{page.TxBox()->text(), page.RxBox()->text()};
        QCOMPARE(LabelTexts(page), (QStringList{texts[2], texts[3], texts[2], texts[4]}));
        QCOMPARE(shown, texts.mid(0, 2));
        const QStringList names{AccessibleName(page.TxBox()), AccessibleName(page.TxField()),
                                AccessibleName(page.RxBox()), AccessibleName(page.RxField())};
        QCOMPARE(names, (QStringList{texts[0].trimmed(), InGroup(texts[0], texts[2]),
                                     texts[1].trimmed(), InGroup(texts[1], texts[2])}));
    }
};

KESTREL_PAGE_TEST_MAIN(VolumePageTest)
#include "volume_page_test.moc"
