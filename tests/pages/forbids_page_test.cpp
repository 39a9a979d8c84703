// The Forbids page: the row rules in row order with the position of the
// offending row, checked only while the prefixes and numbers box is on;
// the list filled on load and on the box's first click; blank records
// shown and stored empty; store and load; texts and accessible names.

#include "list_page_support.h"
#include "pages/forbids_page.h"
#include "params/text_value.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

using params::Slot;

namespace {

const QString k21Digits = QStringLiteral("123456789012345678901");

} // namespace

class ForbidsPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rulesInRowOrder_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("rows"); // row r's number; missing rows empty
        QTest::addColumn<QString>("message");  // empty: the page passes
        QTest::addColumn<int>("row");
        struct Case
        {
            const char *name;
            QStringList rows;
            int rule; // 0 digits, 1 length, 2 none, -1 passes
            int row;
        };
        const char *const kRules[3][3] = {
            {"Error: Only numbers (0,1,2,...,9) are allowed in the position  %1!",
             "Erro: Somente são permitidos números (0,1,2,...,9) na posição %1!",
             "Error: Sólo se permiten números (0,1,2,...,9) en la posición %1!"},
            {"Error: Number of over 20 characters in the position %1!",
             "Erro: Número com mais de 20 caracteres na posição %1!",
             "Error: Número de más de 20 caracteres en la posición %1!"},
            {"Please input a number in the position %1!",
             "Por favor, insira um número na posição %1!",
             "Por favor introduzca un número en la posición %1!"},
        };
        const Case cases[] = {
            {"row 2 12a names 0813", {"", "", "12a"}, 0, 2},
            {"21 digits in row 3", {"0800", "", "", k21Digits}, 1, 3},
            {"the first bad row counts", {k21Digits, "1a"}, 1, 0},
            {"digits before length in one row", {"", "", "", "", "", k21Digits + "a"}, 0, 5},
            {"the last row is checked",
             {"", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "+55"},
             0,
             19},
            {"no number at all", {}, 2, 0},
            {"passes: row 4 only", {"", "", "", "", "0800"}, -1, 0},
            {"passes: 20 digits", {"12345678901234567890"}, -1, 0},
        };
        for (const Case &c : cases) {
            for (const LanguageRow &language : kLanguages) {
                const QString message = c.rule < 0
                                            ? QString()
                                            : QString::fromUtf8(kRules[c.rule][language.code - 1])
                                                  .arg(811 + c.row, 4, 10, QLatin1Char('0'));
                QTest::addRow("%s, %s", c.name, language.name)
                    << language.code << c.rows << message << c.row;
            }
        }
    }

    void rulesInRowOrder()
    {
        QFETCH(int, language);
        QFETCH(QStringList, rows);
        QFETCH(QString, message);
        QFETCH(int, row);
        LanguageScope scope(language);
        TestPageHost host;
        BoxRecorder recorder(host);
        CForbidsPage page;
        QVERIFY(ShowActive(page, host));
        page.ListBox()->click();
        QCOMPARE(page.List()->RowCount(), 20);
        SetNumbers(page.List(), rows);
        page.ListBox()->setFocus();
        if (message.isEmpty()) {
            QVERIFY(page.ValidatePage());
            QVERIFY(host.events.isEmpty());
            return;
        }
        QVERIFY(!page.ValidatePage());
        // The message first, then the page comes to the front.
        QCOMPARE(host.events, (QStringList{"box " + message, "show 133"}));
        QCOMPARE(recorder.boxes.front().style, 16);
        QTRY_VERIFY(page.List()->hasFocus());
        QCOMPARE(SelectedRows(page.List()), QList<int>{row});
        QCOMPARE(page.List()->currentIndex().row(), row);
    }

    void rowsAreNeitherCheckedNorStoredWhileTheBoxIsOff()
    {
        TestPageHost host;
        host.store.forbidden[2] = "0800";
        host.store.forbidden[7] = "x";
        CForbidsPage page;
        page.InitPage(host);
        page.LoadFromStore();
        QVERIFY(!page.ListBox()->isChecked());
        QCOMPARE(page.List()->CellText(7, 1), QStringLiteral("x"));
        QVERIFY(page.ValidatePage());
        page.SaveToStore();
        QCOMPARE(host.store.forbidden, (std::array<std::string, 20>{}));
        QCOMPARE(host.store[Slot::PrefixNumberBlock], std::string("00"));
    }

    void aListNeverLoadedFailsAtTheFirstPosition()
    {
        TestPageHost host;
        BoxRecorder recorder(host);
        CForbidsPage page;
        page.InitPage(host);
        page.ListBox()->setChecked(true); // not clicked: nothing fills the list
        QCOMPARE(page.List()->RowCount(), 0);
        QVERIFY(!page.ValidatePage());
        QCOMPARE(host.events,
                 (QStringList{"box Please input a number in the position 0811!", "show 133"}));
    }

    void theBoxsFirstClickFillsTheListFromTheStore()
    {
        TestPageHost host;
        host.store.forbidden[3] = "555";
        host.store.forbidden[4] = "0*0*0*0";
        CForbidsPage page;
        page.InitPage(host);
        page.ListBox()->click();
        QCOMPARE(Numbers(page.List()).mid(2, 4), (QStringList{"", "555", "", ""}));
        QCOMPARE(page.List()->CellText(0, 0), QStringLiteral("0811"));
        QCOMPARE(page.List()->CellText(19, 0), QStringLiteral("0830"));
        // Rows that exist are left as they are.
        page.List()->SetCellText(3, 1, QStringLiteral("777"));
        page.ListBox()->click();
        page.ListBox()->click();
        QCOMPARE(page.List()->CellText(3, 1), QStringLiteral("777"));
    }

    void storeAndLoad_data()
    {
        QTest::addColumn<QStringList>("flags"); // 5, 35, 5000, 3000 as loaded
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("all on") << QStringList{"01", "1", "01", "01"}
                                << QStringList{"01", "01", "01", "01"};
        QTest::newRow("some on") << QStringList{"00", "01", "", "5"}
                                 << QStringList{"00", "01", "00", "01"};
        QTest::newRow("all off") << QStringList{"0", "", "x", "00"}
                                 << QStringList{"00", "00", "00", "00"};
    }

    void storeAndLoad()
    {
        QFETCH(QStringList, flags);
        QFETCH(QStringList, stored);
        const Slot order[] = {Slot::LongDistanceBlock, Slot::InternationalBlock,
                              Slot::IncomingBlock, Slot::PrefixNumberBlock};
        TestPageHost host;
        for (size_t i = 0; i < 4; ++i)
            host.store[order[i]] = flags[int(i)].toStdString();
        host.store.forbidden[0] = "0800";
        host.store.forbidden[19] = "12345";
        CForbidsPage page;
        page.InitPage(host);
        page.LoadFromStore();
        const QList<QCheckBox *> boxes{page.LongDistanceBox(), page.InternationalBox(),
                                       page.IncomingBox(), page.ListBox()};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(boxes[i]->isChecked(), stored[i] == QLatin1String("01"));

        host.store = {};
        page.SaveToStore();
        for (size_t i = 0; i < 4; ++i)
            QCOMPARE(QString::fromStdString(host.store[order[i]]), stored[int(i)]);
        const bool listOn = stored[3] == QLatin1String("01");
        QCOMPARE(host.store.forbidden[0], listOn ? std::string("0800") : std::string());
        QCOMPARE(host.store.forbidden[1], listOn ? std::string("12345") : std::string());
        QCOMPARE(host.store.forbidden[19], std::string());
    }

    // A read ends the list at its first empty entry: the numbers are stored
    // from the first position on, and the list shows what was stored.
    void filledRowsAreStoredWithoutAHole()
    {
        TestPageHost host;
        host.store.forbidden.fill("999");
        CForbidsPage page;
        page.InitPage(host);
        page.ListBox()->click();
        SetNumbers(page.List(), {"", "0800", "", "", "12"});
        QVERIFY(page.ValidatePage());
        page.SaveToStore();
        std::array<std::string, 20> expected{};
        expected[0] = "0800";
        expected[1] = "12";
        QCOMPARE(host.store.forbidden, expected);
        QCOMPARE(Numbers(page.List()).mid(0, 3), (QStringList{"0800", "12", ""}));
    }

    // The terminal answers an unused entry with a blank record, which the
    // read stores as it came: the row shows nothing and stores nothing, so
    // a Receive followed by a Transmit is not refused at a row never typed in.
    void blankRecordsLoadAsEmptyRows_data() { BlankRecordRows(); }
    void blankRecordsLoadAsEmptyRows()
    {
        QFETCH(QString, entry);
        QFETCH(bool, blank);
        TestPageHost host;
        BoxRecorder recorder(host);
        host.store[Slot::PrefixNumberBlock] = "01";
        host.store.forbidden[0] = "0800";
        host.store.forbidden[1] = entry.toStdString();
        CForbidsPage page;
        page.InitPage(host);
        page.LoadFromStore();
        QCOMPARE(page.List()->CellText(1, 1), blank ? QString() : entry);
        QCOMPARE(page.ValidatePage(), blank || params::IsAllDigits(entry.toStdString()));
        page.SaveToStore();
        QCOMPARE(QString::fromStdString(host.store.forbidden[1]), blank ? QString() : entry);
    }

    void aNumberBeingTypedIsCheckedAndStored()
    {
        TestPageHost host;
        BoxRecorder recorder(host);
        CForbidsPage page;
        QVERIFY(ShowActive(page, host));
        page.ListBox()->click();
        page.List()->SelectRow(6);
        page.List()->setFocus();
        QTest::keyClick(page.List(), '0'); // opens the editor
        QVERIFY(page.List()->InPlaceEditor());
        QTest::keyClicks(page.List()->InPlaceEditor(), QStringLiteral("8a"));
        QVERIFY(!page.ValidatePage());
        QCOMPARE(recorder.boxes.size(), 1);
        QVERIFY(recorder.boxes.front().text.endsWith(QStringLiteral("0817!")));
        page.List()->SetCellText(6, 1, QString());
        page.List()->SelectRow(6);
        page.List()->setFocus();
        QTest::keyClick(page.List(), '0');
        QTest::keyClicks(page.List()->InPlaceEditor(), QStringLiteral("800"));
        page.SaveToStore();
        QCOMPARE(host.store.forbidden[0], std::string("0800"));
    }

    void textsAndAccessibleNames_data()
    {
        QTest::addColumn<int>("language");
        // four boxes, hint, position header, number header, empty text
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("English") << 1
                                 << QStringList{"Enable Long Distance Call Block",
                                                "Enable International Call Block",
                                                "Enable Incoming Call Block",
                                                "Enable Prefixes and Numbers Block",
                                                "[at most 20 characters]",
                                                "Position",
                                                "Prefix/Number",
                                                "Empty"};
        QTest::newRow("Portuguese")
            << 2
            << QStringList{"Habilitar bloqueio DDD",
                           "Habilitar bloqueio DDI",
                           QString::fromUtf8("Habilitar bloqueio de ligações entrantes"),
                           QString::fromUtf8("Habilitar bloqueio de prefixos e números"),
                           QString::fromUtf8("[no máximo 20 caracteres]"),
                           QString::fromUtf8("Posição"),
                           QString::fromUtf8("Prefixo/Número"),
                           "Vazio"};
        QTest::newRow("Spanish") << 3
                                 << QStringList{"Habilitar el bloqueo de LDN",
                                                "Habilitar el bloqueo de LDI",
                                                "Habilitar el bloqueo de llamadas entrantes",
                                                QString::fromUtf8(
                                                    "Habilitar el bloqueo de Prefijos y números"),
                                                QString::fromUtf8("[máximo 20 caracteres]"),
                                                QString::fromUtf8("Posición"),
                                                QString::fromUtf8("Prefijo/Número"),
                                                QString::fromUtf8("Vacío")};
    }

    void textsAndAccessibleNames()
    {
        QFETCH(int, language);
        QFETCH(QStringList, texts);
        LanguageScope scope(language);
        TestPageHost host;
        host.store.forbidden[4] = "0800";
        CForbidsPage page;
        page.InitPage(host);
        const QList<QCheckBox *> boxes{page.LongDistanceBox(), page.InternationalBox(),
                                       page.IncomingBox(), page.ListBox()};
        QStringList shown = ShownTexts(boxes);
        shown << page.findChild<QLabel *>()->text() << HeaderText(page.List(), 0)
              << HeaderText(page.List(), 1) << page.List()->EmptyText();
        QCOMPARE(shown, texts);
        QCOMPARE(AccessibleNames(boxes), texts.mid(0, 4));
        QCOMPARE(AccessibleName(page.List()), texts[6]);

        page.LoadFromStore();
        QCOMPARE(CellsReadAloud(page.List(), 4), (QStringList{"0815", "0800"}));
        QCOMPARE(CellsReadAloud(page.List(), 19), (QStringList{"0830", ""}));
    }

    void factoryAndReadItems() { VerifyFactoryAndReadItems<CForbidsPage>(params::Page::Forbids); }
};

KESTREL_PAGE_TEST_MAIN(ForbidsPageTest)
#include "forbids_page_test.moc"
