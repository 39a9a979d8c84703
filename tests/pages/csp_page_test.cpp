// The CSP page: the none flag, the two boxes that exclude each other, the
// load order, and the three rules on the number.

#include "page_test_support.h"
#include "pages/csp_page.h"

#include <QCheckBox>
#include <QLabel>
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
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("allCalls"); // else call back
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("message"); // empty: the page passes
        struct Case
        {
            const char *name, *number;
            const char *messages[3];
        };
        const char *const kNumber[3] = {"Error: The CSP Number must be number!",
                                        "Erro: O CSP deve ser numérico!",
                                        "Error: El CSP debe ser numérico!"};
        const char *const kLength[3] = {"Error: The CSP Number must be 2 characteres!",
                                        "Erro: O CSP deve ter 2 caracteres!",
                                        "Error: El CSP debe tener 2 caracteres!"};
        const char *const kRange[3] = {"Error: The CSP Number must be between 11 and 99!",
                                       "Erro: O CSP deve ser um número entre 11 e 99!",
                                       "Error: El CSP debe ser un número entre 11 y 99!"};
        const Case cases[] = {
            {"1 letter", "1a", {kNumber[0], kNumber[1], kNumber[2]}},
            {"1 empty", "", {kNumber[0], kNumber[1], kNumber[2]}},
            {"2 one digit", "5", {kLength[0], kLength[1], kLength[2]}},
            {"2 three digits", "011", {kLength[0], kLength[1], kLength[2]}},
            {"3 ten", "10", {kRange[0], kRange[1], kRange[2]}},
            {"3 zero", "00", {kRange[0], kRange[1], kRange[2]}},
            {"passes: 11", "11", {"", "", ""}},
            {"passes: 99", "99", {"", "", ""}},
        };
        bool allCalls = false;
        for (const Case &c : cases) {
            for (const LanguageRow &language : kLanguages) {
                QTest::addRow("%s, %s", c.name, language.name)
                    << language.code << allCalls << QString::fromUtf8(c.number)
                    << QString::fromUtf8(c.messages[language.code - 1]);
                allCalls = !allCalls;
            }
        }
    }

    void rulesInOrder()
    {
        QFETCH(int, language);
        QFETCH(bool, allCalls);
        QFETCH(QString, number);
        QFETCH(QString, message);
        LanguageScope scope(language);
        TestPageHost host;
        BoxRecorder recorder(host);
        CCspPage page;
        QVERIFY(ShowActive(page, host));
        Click(allCalls ? page.AllCallsBox() : page.CallBackBox());
        page.NumberField()->setText(number);
        if (message.isEmpty()) {
            QVERIFY(page.ValidatePage());
            QVERIFY(host.events.isEmpty());
            return;
        }

        QVERIFY(!page.ValidatePage());
        QCOMPARE(host.events, (QStringList{"box " + message, "show 187"}));
        QTRY_VERIFY(page.NumberField()->hasFocus());
        QCOMPARE(page.NumberField()->selectedText(), number);

        // With the CSP off the number is not looked at.
        Click(allCalls ? page.AllCallsBox() : page.CallBackBox());
        QVERIFY(page.NoneFlag());
        QVERIFY(page.ValidatePage());
        QCOMPARE(recorder.boxes.size(), 1);
    }

    void theBoxesExcludeEachOther()
    {
        TestPageHost host;
        CCspPage page;
        QVERIFY(ShowActive(page, host));
        QCOMPARE(Shown(page), QStringLiteral("-- ()"));
        QVERIFY(page.NoneFlag());
        Click(page.CallBackBox());
        QCOMPARE(Shown(page), QStringLiteral("B- "));
        QVERIFY(!page.NoneFlag());
        page.NumberField()->setText(QStringLiteral("21"));
        Click(page.AllCallsBox());
        QCOMPARE(Shown(page), QStringLiteral("-A 21"));
        QVERIFY(!page.NoneFlag());
        Click(page.AllCallsBox());
        QCOMPARE(Shown(page), QStringLiteral("-- (21)"));
        QVERIFY(page.NoneFlag());
    }

    void storeAndLoad_data()
    {
        // The store's three mode slots and number, what the page shows, and
        // the four slots stored back.
        QTest::addColumn<QStringList>("values"); // none, all calls, call back, number
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("none");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("none") << QStringList{"1", "0", "0", "21"} << "-- (21)" << true
                              << QStringList{"1", "0", "0", "21"};
        // As a read of 16541 = "2" and 16542 = "21" leaves the store.
        QTest::newRow("all calls") << QStringList{"0", "1", "0", "21"} << "-A 21" << false
                                   << QStringList{"0", "1", "0", "21"};
        QTest::newRow("call back, number below 11 emptied")
            << QStringList{"0", "0", "1", "5"} << "B- " << false << QStringList{"0", "0", "1", ""};
        QTest::newRow("both on: all calls wins, above 99 emptied")
            << QStringList{"0", "1", "1", "100"} << "-A " << false
            << QStringList{"0", "1", "0", ""};
        QTest::newRow("none wins over the boxes") << QStringList{"1", "1", "1", "99"} << "-- (99)"
                                                  << true << QStringList{"1", "0", "0", "99"};
        // Nothing on: the CSP is not off, and the number it asks for can be typed.
        QTest::newRow("all off") << QStringList{"", "", "", "11"} << "-- 11" << false
                                 << QStringList{"0", "0", "0", "11"};
    }

    void storeAndLoad()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, shown);
        QFETCH(bool, none);
        QFETCH(QStringList, stored);
        TestPageHost host;
        CCspPage page;
        page.InitPage(host);
        const Slot kSlots[] = {Slot::CspNone, Slot::CspAllCalls, Slot::CspCallBack,
                               Slot::CspNumber};
        for (int i = 0; i < 4; ++i)
            host.store[kSlots[i]] = values[i].toStdString();
        page.LoadFromStore();
        QCOMPARE(Shown(page), shown);
        QCOMPARE(page.NoneFlag(), none);

        host.store = {};
        page.SaveToStore();
        QStringList saved;
        for (Slot slot : kSlots)
            saved << QString::fromStdString(host.store[slot]);
        QCOMPARE(saved, stored);
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

    void textsAndAccessibleNames_data()
    {
        QTest::addColumn<int>("language");
        // call back box, all calls box, number label, hint
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("English") << 1
                                 << QStringList{"Enable CSP for Call Back",
                                                "Enable CSP for All Calls",
                                                "CSP Number:", "[11 ~ 99]"};
        QTest::newRow("Portuguese")
            << 2
            << QStringList{"Habilitar CSP para call back", "Habilitar CSP para todas as chamadas",
                           "CSP:", "[11 ~ 99]"};
        QTest::newRow("Spanish") << 3
                                 << QStringList{"Habilitar CSP para call back",
                                                "Habilitar CSP para toda llamada originada",
                                                "CSP:", "[11 ~ 99]"};
    }

    void textsAndAccessibleNames()
    {
        QFETCH(int, language);
        QFETCH(QStringList, texts);
        LanguageScope scope(language);
        TestPageHost host;
        CCspPage page;
        page.InitPage(host);
        QStringList shown{page.CallBackBox()->text(), page.AllCallsBox()->text()};
        shown << LabelTexts(page);
        QCOMPARE(shown, texts);
        const QStringList names{AccessibleName(page.CallBackBox()),
                                AccessibleName(page.AllCallsBox()),
                                AccessibleName(page.NumberField())};
        QCOMPARE(names, texts.mid(0, 3));
    }
};

KESTREL_PAGE_TEST_MAIN(CspPageTest)
#include "csp_page_test.moc"
