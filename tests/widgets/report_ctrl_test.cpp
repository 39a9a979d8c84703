// The editable list: in-place editing and how it ends, the 255-character
// cut, the cell focus kept off the first column, the parent's notifications
// and answers, the empty text, keyboard and wheel, and what a screen reader
// reads.

#include "widgets/code_page.h"
#include "widgets/report_ctrl.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {

using EditEnd = CReportCtrl::EditEnd;

constexpr unsigned kPagesStyle = 0x10B1;
constexpr unsigned kFirstColumnFormat = 0x04044002;
constexpr unsigned kSecondColumnFormat = 0x00044002;

// The Forbids page's list between two other controls: 20 rows "0811" to
// "0830", each holding "old" in the second column.
struct ListWindow
{
    explicit ListWindow(int rows = 20)
    {
        auto *layout = new QVBoxLayout(&window);
        before = new QLineEdit(&window);
        list = new CReportCtrl(&window);
        after = new QLineEdit(&window);
        layout->addWidget(before);
        layout->addWidget(list);
        layout->addWidget(after);
        list->setFixedSize(250, 240);
        list->ModifyStyle(0, kPagesStyle);
        list->InsertColumn(0, QStringLiteral("Position"), kFirstColumnFormat, 50);
        list->InsertColumn(1, QStringLiteral("Prefix/Number"), kSecondColumnFormat, 150);
        for (int r = 0; r < rows; ++r) {
            list->InsertRow(r, QStringLiteral("%1").arg(811 + r, 4, 10, QLatin1Char('0')));
            list->SetCellText(r, 1, QStringLiteral("old"));
        }
        list->SetNotifyHooks({.onEndEdit = [this](int row, int, const QString &text, EditEnd key) {
            ends << QStringLiteral("%1 %2 %3").arg(row).arg(text).arg(int(key));
            return 0;
        }});
    }

    bool Show()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        return QTest::qWaitForWindowActive(&window);
    }

    void Click(int row, int column)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, column)).center());
    }

    QStringList ends; // "row text key" of every ended edit; outlives the window
    QWidget window;
    QLineEdit *before;
    CReportCtrl *list;
    QLineEdit *after;
};

QWidget *Focused()
{
    return QApplication::focusWidget();
}

QString Text300()
{
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QChar(u'0' + i % 10);
    return text;
}

// Pixels darker than mid grey: text on the list's light background.
int DarkPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 128;
    }
    return count;
}

} // namespace

class ReportCtrlTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editsInPlaceAndEnds_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("editorAtStart");
        QTest::addColumn<QString>("edited"); // the editor's text at the end
        QTest::addColumn<int>("endKey");
        const auto row = [](const char *name, const char *start, const char *input,
                            const char *end, const char *atStart, const char *edited,
                            EditEnd key) {
            QTest::newRow(name) << QString(start) << QString(input) << QString(end)
                                << QString(atStart) << QString(edited) << int(key);
        };
        row("second click, Enter", "click", "123", "Enter", "old", "123", EditEnd::Enter);
        row("second click, Tab", "click", "123", "Tab", "old", "123", EditEnd::Tab);
        row("second click, Shift+Tab", "click", "123", "Backtab", "old", "123", EditEnd::Tab);
        row("second click, Escape", "click", "123", "Escape", "old", "123", EditEnd::Escape);
        row("second click, click elsewhere", "click", "123", "elsewhere", "old", "123",
            EditEnd::Enter);
        row("second click, finished by the page", "click", "123", "finish", "old", "123",
            EditEnd::Enter);
        row("typed digit, Enter", "7", "8", "Enter", "7", "78", EditEnd::Enter);
        row("typed digit, Escape", "7", "8", "Escape", "7", "78", EditEnd::Escape);
        row("Backspace, Enter", "Backspace", "", "Enter", "", "", EditEnd::Enter);
        row("F2 keeps the text", "F2", "", "Enter", "old", "old", EditEnd::Enter);
    }

    void editsInPlaceAndEnds()
    {
        QFETCH(QString, start);
        QFETCH(QString, input);
        QFETCH(QString, end);
        QFETCH(QString, editorAtStart);
        QFETCH(QString, edited);
        QFETCH(int, endKey);
        ListWindow w;
        QVERIFY(w.Show());
        w.list->SelectRow(3);
        QCOMPARE(Focused(), w.before);
        w.Click(3, 1); // focuses the list: a first click, no editor
        QVERIFY(w.list->hasFocus());
        QVERIFY(!w.list->InPlaceEditor());

        if (start == QLatin1String("click"))
            w.Click(3, 1);
        else if (start == QLatin1String("Backspace"))
            QTest::keyClick(Focused(), Qt::Key_Backspace);
        else if (start == QLatin1String("F2"))
            QTest::keyClick(Focused(), Qt::Key_F2);
        else
            QTest::keyClicks(Focused(), start);

        QLineEdit *editor = w.list->InPlaceEditor();
        QVERIFY(editor);
        QCOMPARE(Focused(), editor);
        QCOMPARE(editor->text(), editorAtStart);
        QCOMPARE(editor->geometry(),
                 w.list->visualRect(w.list->model()->index(3, 1)).adjusted(2, 0, -2, 0));
        QCOMPARE(editor->maxLength(), 255);
        if (start == QLatin1String("click") || start == QLatin1String("F2"))
            QCOMPARE(editor->selectedText(), editorAtStart);

        QTest::keyClicks(editor, input);
        if (end == QLatin1String("elsewhere"))
            QTest::mouseClick(w.after, Qt::LeftButton);
        else if (end == QLatin1String("finish"))
            w.list->FinishEdit();
        else if (end == QLatin1String("Backtab"))
            QTest::keyClick(editor, Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::keyClick(editor, end == QLatin1String("Enter")    ? Qt::Key_Return
                                    : end == QLatin1String("Tab")    ? Qt::Key_Tab
                                                                     : Qt::Key_Escape);

        QVERIFY(!w.list->InPlaceEditor());
        // Escape keeps the old text.
        const QString stored = endKey == int(EditEnd::Escape) ? QStringLiteral("old") : edited;
        QCOMPARE(w.list->CellText(3, 1), stored);
        QCOMPARE(w.list->CellText(2, 1), QStringLiteral("old"));
        QCOMPARE(w.ends, QStringList{QStringLiteral("3 %1 %2").arg(edited).arg(endKey)});
        QCOMPARE(Focused(), end == QLatin1String("elsewhere") ? static_cast<QWidget *>(w.after)
                                                              : w.list);
    }

    // Delete empties the current cell as an edit to "" would, without an editor.
    void deleteEmptiesTheCurrentCell()
    {
        ListWindow w;
        QVERIFY(w.Show());
        w.list->SelectRow(3);
        w.Click(3, 1);
        QTest::keyClick(Focused(), Qt::Key_Delete);
        QVERIFY(!w.list->InPlaceEditor());
        QCOMPARE(w.list->CellText(3, 1), QString());
        QCOMPARE(w.list->CellText(2, 1), QStringLiteral("old"));
        QCOMPARE(w.ends, QStringList{QStringLiteral("3  %1").arg(int(EditEnd::Enter))});
    }

    void deletingTheListWhileEditingEndsQuietly()
    {
        ListWindow w;
        QVERIFY(w.Show());
        w.list->setFocus();
        w.list->SelectRow(1);
        QTest::keyClick(Focused(), Qt::Key_F2);
        QVERIFY(w.list->InPlaceEditor());
        delete w.list; // no end of the edit reaches a list that is gone
        QCOMPARE(w.ends, QStringList());
    }

    void validatorRefusesTypedCharacters()
    {
        ListWindow w;
        w.list->SetEditorValidator([](QLineEdit *editor) {
            return FieldValidator::Attach(editor, FieldValidator::Accepts::Digits);
        });
        w.list->SetCellText(0, 1, {});
        QVERIFY(w.Show());
        w.list->setFocus();
        w.list->SelectRow(0);
        QTest::keyClick(Focused(), Qt::Key_1); // opens the editor, which takes the rest
        QTest::keyClicks(Focused(), QStringLiteral("a2b"));
        QTest::keyClick(Focused(), Qt::Key_Return);
        QCOMPARE(w.list->CellText(0, 1), QStringLiteral("12"));
    }

    void textsAreCutTo255Characters_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("set cell text") << "set";
        QTest::newRow("insert row") << "insert";
        QTest::newRow("in-place editor") << "edit";
    }

    void textsAreCutTo255Characters()
    {
        QFETCH(QString, how);
        ListWindow w(1);
        int row = 0, column = 1;
        if (how == QLatin1String("set")) {
            QVERIFY(w.list->SetCellText(0, 1, Text300()));
        } else if (how == QLatin1String("insert")) {
            row = w.list->InsertRow(1, Text300());
            column = 0;
        } else {
            QVERIFY(w.Show());
            w.list->setFocus();
            w.list->SelectRow(0);
            QTest::keyClick(Focused(), Qt::Key_F2);
            QVERIFY(w.list->InPlaceEditor());
            w.list->InPlaceEditor()->setText(Text300());
            QTest::keyClick(Focused(), Qt::Key_Return);
        }
        QCOMPARE(w.list->CellText(row, column), Text300().left(255));
    }

    void firstColumnNeverTakesTheFocus_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("two clicks on the position") << "clicks";
        QTest::newRow("select row") << "select";
        QTest::newRow("current index set by the item view") << "view";
        QTest::newRow("left arrow") << "left";
    }

    void firstColumnNeverTakesTheFocus()
    {
        QFETCH(QString, how);
        ListWindow w;
        QVERIFY(w.Show());
        w.list->setFocus();
        if (how == QLatin1String("clicks")) {
            w.Click(5, 0);
            w.Click(5, 0);
        } else if (how == QLatin1String("select")) {
            w.list->SelectRow(5);
        } else if (how == QLatin1String("view")) {
            w.list->setCurrentIndex(w.list->model()->index(5, 0));
        } else {
            w.list->SelectRow(5);
            QTest::keyClick(Focused(), Qt::Key_Left);
        }
        QCOMPARE(w.list->currentIndex(), w.list->model()->index(5, 1));
        QVERIFY(!w.list->InPlaceEditor());
        QCOMPARE(w.list->CellText(5, 0), QStringLiteral("0816"));
    }

    void deleteAllRowsTellsOfEachRow_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("twenty rows") << 20;
        QTest::newRow("no rows") << 0;
    }

    void deleteAllRowsTellsOfEachRow()
    {
        QFETCH(int, rows);
        ListWindow w(rows);
        QList<int> deleted;
        w.list->SetNotifyHooks({.onRowDelete = [&deleted](int row) { deleted << row; }});
        w.list->DeleteAllRows();
        QList<int> expected;
        for (int r = 0; r < rows; ++r)
            expected << r;
        QCOMPARE(deleted, expected);
        QCOMPARE(w.list->RowCount(), 0);
    }

    // The list is focused on row 0; then row 3 is clicked twice, "5" typed
    // and Enter pressed.
    void parentAnswersStopTheList_data()
    {
        QTest::addColumn<QString>("answering");
        QTest::addColumn<QString>("row0");
        QTest::addColumn<QString>("row3");
        QTest::newRow("none: row 3 edited") << "" << "old" << "5";
        QTest::newRow("click: row 0 stays current and is edited") << "click" << "5" << "old";
        QTest::newRow("begin edit: no editor") << "begin" << "old" << "old";
        QTest::newRow("end edit: text dropped") << "end" << "old" << "old";
    }

    void parentAnswersStopTheList()
    {
        QFETCH(QString, answering);
        QFETCH(QString, row0);
        QFETCH(QString, row3);
        ListWindow w;
        const auto answer = [answering](const char *hook) { return answering == hook ? 1 : 0; };
        QStringList heard;
        w.list->SetNotifyHooks({
            .onRowClick =
                [&](int row, int) {
                    heard << QStringLiteral("click %1").arg(row);
                    return answer("click");
                },
            .onBeginEdit =
                [&](int row, int) {
                    heard << QStringLiteral("begin %1").arg(row);
                    return answer("begin");
                },
            .onEndEdit = [&](int row, int, const QString &text, EditEnd) {
                heard << QStringLiteral("end %1 %2").arg(row).arg(text);
                return answer("end");
            },
        });
        QVERIFY(w.Show());
        w.list->setFocus();
        w.list->SelectRow(0);
        w.Click(3, 1);
        w.Click(3, 1);
        QTest::keyClicks(Focused(), QStringLiteral("5"));
        QTest::keyClick(Focused(), Qt::Key_Return);

        QCOMPARE(w.list->CellText(0, 1), row0);
        QCOMPARE(w.list->CellText(3, 1), row3);
        QVERIFY(!w.list->InPlaceEditor());
        QCOMPARE(heard.mid(0, 2), QStringList(2, QStringLiteral("click 3")));
        const int edited = answering == QLatin1String("click") ? 0 : 3;
        QVERIFY(heard.contains(QStringLiteral("begin %1").arg(edited)));
        QCOMPARE(heard.contains(QStringLiteral("end %1 5").arg(edited)),
                 answering != QLatin1String("begin"));
    }

    void emptyTextIsPaintedOnlyWithoutRows_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("emptyText");
        QTest::addColumn<bool>("textShown");
        QTest::newRow("no rows") << 0 << "Vazio" << true;
        QTest::newRow("no rows, no text") << 0 << "" << false;
        QTest::newRow("one row") << 1 << "Vazio" << false;
    }

    void emptyTextIsPaintedOnlyWithoutRows()
    {
        QFETCH(int, rows);
        QFETCH(QString, emptyText);
        QFETCH(bool, textShown);
        ListWindow w(rows);
        w.list->SetEmptyText(emptyText);
        const QImage image = w.list->viewport()->grab().toImage();
        const QRect viewport = w.list->viewport()->rect();
        const QRect centre =
            w.list->fontMetrics()
                .boundingRect(viewport, Qt::AlignCenter, QStringLiteral("Vazio"))
                .adjusted(-2, -2, 2, 2);
        QCOMPARE(DarkPixels(image, centre) > 0, textShown);
        if (rows == 0)
            QCOMPARE(DarkPixels(image, image.rect()), DarkPixels(image, centre));
        else
            QVERIFY(DarkPixels(image, image.rect()) > 0); // the row's own text
    }

    void tabLeavesTheList_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::addColumn<bool>("backwards");
        QTest::newRow("Tab") << false << false;
        QTest::newRow("Shift+Tab") << false << true;
        QTest::newRow("Tab while editing, then Tab") << true << false;
    }

    void tabLeavesTheList()
    {
        QFETCH(bool, editing);
        QFETCH(bool, backwards);
        ListWindow w;
        QVERIFY(w.Show());
        w.list->setFocus();
        w.list->SelectRow(2);
        const auto tab = [backwards] {
            if (backwards)
                QTest::keyClick(Focused(), Qt::Key_Backtab, Qt::ShiftModifier);
            else
                QTest::keyClick(Focused(), Qt::Key_Tab);
        };
        if (editing) {
            QTest::keyClick(Focused(), Qt::Key_F2);
            QVERIFY(w.list->InPlaceEditor());
            tab();
            QCOMPARE(Focused(), w.list);
        }
        tab();
        QCOMPARE(Focused(), backwards ? w.before : w.after);
    }

    void arrowKeysMoveBetweenRows()
    {
        ListWindow w;
        QVERIFY(w.Show());
        w.list->setFocus();
        w.list->SelectRow(2);
        QTest::keyClick(Focused(), Qt::Key_Down);
        QTest::keyClick(Focused(), Qt::Key_Down);
        QTest::keyClick(Focused(), Qt::Key_Up);
        QCOMPARE(w.list->currentIndex(), w.list->model()->index(3, 1));
        QCOMPARE(w.list->selectionModel()->selectedRows(),
                 QModelIndexList{w.list->model()->index(3, 0)});
    }

    void wheelScrollsTheDesktopsLines_data()
    {
        QTest::addColumn<int>("lines");
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
        QTest::newRow("five") << 5;
    }

    void wheelScrollsTheDesktopsLines()
    {
        QFETCH(int, lines);
        const int saved = QApplication::wheelScrollLines();
        QApplication::setWheelScrollLines(lines);
        ListWindow w(300);
        QVERIFY(w.Show());
        const QPointF at = w.list->viewport()->rect().center();
        QWheelEvent notch(at, w.list->viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.list->viewport(), &notch);
        QApplication::setWheelScrollLines(saved);
        QCOMPARE(w.list->verticalScrollBar()->value(), lines);
    }

    void formatsAndWidthsOfColumns_data()
    {
        QTest::addColumn<unsigned>("format");
        QTest::addColumn<unsigned>("stored");
        QTest::newRow("left") << 0u << 0x4000u;
        QTest::newRow("right") << 1u << 0x4001u;
        QTest::newRow("centre") << 2u << 0x4002u;
        QTest::newRow("other word kept") << 3u << 3u;
        QTest::newRow("first column of the pages") << kFirstColumnFormat << kFirstColumnFormat;
        QTest::newRow("second column of the pages") << kSecondColumnFormat << kSecondColumnFormat;
    }

    void formatsAndWidthsOfColumns()
    {
        QFETCH(unsigned, format);
        QFETCH(unsigned, stored);
        CReportCtrl list;
        QCOMPARE(list.InsertRow(0, QStringLiteral("x")), -1); // no column yet
        QCOMPARE(list.InsertColumn(0, QStringLiteral("A"), format, 77), 0);
        QCOMPARE(list.ColumnFormat(0), stored);
        QCOMPARE(list.columnWidth(0), 77);
    }

    void screenReadersReadTheCells()
    {
        ListWindow w;
        w.list->setAccessibleName(QStringLiteral("[at most 20 characters]"));
        w.list->SetCellText(4, 1, QStringLiteral("0800"));
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(w.list);
        QVERIFY(table);
        QCOMPARE(table->role(), QAccessible::Table);
        QCOMPARE(table->text(QAccessible::Name), QStringLiteral("[at most 20 characters]"));
        QAccessibleTableInterface *cells = table->tableInterface();
        QVERIFY(cells);
        QCOMPARE(cells->rowCount(), 20);
        QCOMPARE(cells->columnCount(), 2);
        QCOMPARE(cells->columnDescription(1), QStringLiteral("Prefix/Number"));
        QCOMPARE(cells->cellAt(4, 0)->text(QAccessible::Name), QStringLiteral("0815"));
        QCOMPARE(cells->cellAt(4, 1)->text(QAccessible::Name), QStringLiteral("0800"));
    }
};

// ctest runs it on the offscreen platform.
QTEST_MAIN(ReportCtrlTest)
#include "report_ctrl_test.moc"
