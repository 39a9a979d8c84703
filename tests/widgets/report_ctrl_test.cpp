// The editable list: in-place editing and how it ends, the 255-character
// cut, the cell focus kept off the first column, the parent's notifications
// and answers, the empty text, keyboard and wheel.

#include "tests/common/qt_test_registry.h"
#include "widgets/code_page.h"
#include "widgets/report_ctrl.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>
#include <map>
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
            const char *keys[] = {"Enter", "Tab", "Escape"};
            ends << QStringLiteral("%1 %2 %3").arg(row).arg(text, keys[int(key)]);
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

    // One step of a script (see keysClicksAndEdits); false when unknown.
    bool Do(const QString &step)
    {
        static const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifier>> keys = {
            {"Return", {Qt::Key_Return, Qt::NoModifier}},
            {"Tab", {Qt::Key_Tab, Qt::NoModifier}},
            {"Backtab", {Qt::Key_Backtab, Qt::ShiftModifier}},
            {"Escape", {Qt::Key_Escape, Qt::NoModifier}},
            {"F2", {Qt::Key_F2, Qt::NoModifier}},
            {"Left", {Qt::Key_Left, Qt::NoModifier}},
            {"Up", {Qt::Key_Up, Qt::NoModifier}},
            {"Down", {Qt::Key_Down, Qt::NoModifier}},
            {"Backspace", {Qt::Key_Backspace, Qt::NoModifier}},
            {"Delete", {Qt::Key_Delete, Qt::NoModifier}}};
        const QString argument = step.mid(2);
        if (step == QLatin1String("digits"))
            return true;
        if (step == QLatin1String("f"))
            list->setFocus();
        else if (step == QLatin1String("out"))
            QTest::mouseClick(after, Qt::LeftButton);
        else if (step == QLatin1String("fin"))
            list->FinishEdit();
        else if (step.startsWith(QLatin1String("t:")))
            QTest::keyClicks(QApplication::focusWidget(), argument);
        else if (step.startsWith(QLatin1String("k:")) && keys.count(argument))
            QTest::keyClick(QApplication::focusWidget(), keys.at(argument).first,
                            keys.at(argument).second);
        else if (step.startsWith('s'))
            list->SelectRow(step.mid(1).toInt());
        else if (step.startsWith('v'))
            list->setCurrentIndex(list->model()->index(step.mid(1).toInt(), 0));
        else if (step.startsWith('c'))
            Click(step.mid(1).section('.', 0, 0).toInt(), step.section('.', 1).toInt());
        else
            return false;
        return true;
    }

    // "FOCUS ROW,COLUMN EDITOR CHANGES": the focused widget (before, list,
    // editor or after), the current cell, the editor's text ("-" without
    // one, "*" after it when wholly selected), then each cell that changed
    // ("3=text" in the second column, "3.0=text" in the first), and the rows
    // selected when they are not the current one.
    QString Seen() const
    {
        const QWidget *focus = QApplication::focusWidget();
        const QLineEdit *editor = list->InPlaceEditor();
        QString seen = focus == before            ? "before"
                       : focus == list            ? "list"
                       : focus == after           ? "after"
                       : focus && focus == editor ? "editor"
                                                  : "other";
        seen += QStringLiteral(" %1,%2 ")
                    .arg(list->currentIndex().row())
                    .arg(list->currentIndex().column());
        seen += !editor ? QStringLiteral("-")
                        : editor->text() +
                              (!editor->text().isEmpty() && editor->selectedText() == editor->text()
                                   ? "*"
                                   : "");
        for (int r = 0; r < list->RowCount(); ++r) {
            if (list->CellText(r, 0) != QStringLiteral("%1").arg(811 + r, 4, 10, QLatin1Char('0')))
                seen += QStringLiteral(" %1.0=%2").arg(r).arg(list->CellText(r, 0));
            if (list->CellText(r, 1) != QLatin1String("old"))
                seen += QStringLiteral(" %1=%2").arg(r).arg(list->CellText(r, 1));
        }
        const QModelIndexList selected = list->selectionModel()->selectedRows();
        if (selected.size() != 1 || selected.front().row() != list->currentIndex().row())
            seen += QStringLiteral(" selected:%1").arg(selected.size());
        return seen;
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
    // A script of steps on the list between two fields, with "?" noting
    // what the user sees at that point (ListWindow::Seen); the edits ended
    // follow "/". Steps: "f" focus the list, "sN" select row N, "cN.C" click
    // a cell, "vN" the item view makes (N, 0) current, "k:KEY" a key, "t:TEXT"
    // typed, "out" a click on the next field, "fin" the page ends the edit,
    // "digits" the editor takes digits only.
    void keysClicksAndEdits_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("seen");
        const char *first = "s3 ? c3.1 ? "; // a first click focuses the list, no editor
        const char *atFirst = "before 3,1 - | list 3,1 - | ";
        const struct
        {
            const char *name, *script, *seen;
        } rows[] = {
            {"second click, Enter", "c3.1 ? t:123 k:Return ?",
             "editor 3,1 old* | list 3,1 - 3=123 / 3 123 Enter"},
            {"second click, Tab", "c3.1 t:123 k:Tab ?", "list 3,1 - 3=123 / 3 123 Tab"},
            {"second click, Shift+Tab", "c3.1 t:123 k:Backtab ?", "list 3,1 - 3=123 / 3 123 Tab"},
            {"second click, Escape keeps the old text", "c3.1 t:123 k:Escape ?",
             "list 3,1 - / 3 123 Escape"},
            {"second click, click elsewhere", "c3.1 t:123 out ?",
             "after 3,1 - 3=123 / 3 123 Enter"},
            {"second click, finished by the page", "c3.1 t:123 fin ?",
             "list 3,1 - 3=123 / 3 123 Enter"},
            {"typed digit, Enter", "t:7 ? t:8 k:Return ?",
             "editor 3,1 7 | list 3,1 - 3=78 / 3 78 Enter"},
            {"typed digit, Escape", "t:7 t:8 k:Escape ?", "list 3,1 - / 3 78 Escape"},
            {"Backspace, Enter", "k:Backspace ? k:Return ?",
             "editor 3,1  | list 3,1 - 3= / 3  Enter"},
            {"F2 keeps the text", "k:F2 ? k:Return ?",
             "editor 3,1 old* | list 3,1 - / 3 old Enter"},
            // As an edit to "" would, without an editor.
            {"Delete empties the cell", "k:Delete ?", "list 3,1 - 3= / 3  Enter"},
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << QString::fromLatin1(first) + QString::fromLatin1(row.script)
                                    << QString::fromLatin1(atFirst) + QString::fromLatin1(row.seen);
        const auto add = [](const char *name, const char *script, const char *seen) {
            QTest::newRow(name) << QString::fromLatin1(script) << QString::fromLatin1(seen);
        };
        // The cell focus is kept off the first column.
        add("two clicks on the position", "f c5.0 c5.0 ?", "list 5,1 - /");
        add("select row", "f s5 ?", "list 5,1 - /");
        add("current index set by the item view", "f v5 ?", "list 5,1 - /");
        add("left arrow", "f s5 k:Left ?", "list 5,1 - /");
        add("arrows move between rows", "f s2 k:Down k:Down k:Up ?", "list 3,1 - /");
        add("Tab leaves the list", "f s2 k:Tab ?", "after 2,1 - /");
        add("Shift+Tab leaves the list", "f s2 k:Backtab ?", "before 2,1 - /");
        add("Tab while editing, then Tab", "f s2 k:F2 k:Tab ? k:Tab ?",
            "list 2,1 - | after 2,1 - / 2 old Tab");
        add("the editor refuses what its validator refuses", "digits f s0 t:1 t:a2b k:Return ?",
            "list 0,1 - 0=12 / 0 12 Enter");
    }

    void keysClicksAndEdits()
    {
        QFETCH(QString, script);
        QFETCH(QString, seen);
        ListWindow w;
        if (script.startsWith(QLatin1String("digits")))
            w.list->SetEditorValidator([](QLineEdit *editor) {
                return FieldValidator::Attach(editor, FieldValidator::Accepts::Digits);
            });
        QVERIFY(w.Show());
        QStringList seenSteps;
        for (const QString &step : script.split(' ')) {
            if (step == QLatin1String("?"))
                seenSteps << w.Seen();
            else
                QVERIFY2(w.Do(step), qPrintable(step));
            if (QLineEdit *editor = w.list->InPlaceEditor()) { // in its cell, cut at 255
                const QModelIndex cell = w.list->currentIndex();
                QCOMPARE(editor->geometry(), w.list->visualRect(cell).adjusted(2, 0, -2, 0));
                QCOMPARE(editor->maxLength(), 255);
            }
        }
        QCOMPARE(seenSteps.join(QLatin1String(" | ")) + QLatin1String(" /") +
                     (w.ends.isEmpty() ? QString() : ' ' + w.ends.join(';')),
                 seen);
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

    // The in-place editor's cut is checked with every script above.
    void textsAreCutTo255Characters()
    {
        const QString text(300, QLatin1Char('7'));
        ListWindow w(1);
        QVERIFY(w.list->SetCellText(0, 1, text));
        QCOMPARE(w.list->CellText(0, 1), text.left(255));
        QCOMPARE(w.list->CellText(w.list->InsertRow(1, text), 0), text.left(255));
    }

    void deleteAllRowsTellsOfEachRow()
    {
        for (int rows : {20, 0}) {
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
    }

    // The list is focused on row 0; then row 3 is clicked twice, "5" typed
    // and Enter pressed.
    void parentAnswersStopTheList_data()
    {
        QTest::addColumn<QString>("answering");
        QTest::addColumn<QString>("row0");
        QTest::addColumn<QString>("row3");
        // clang-format off
        QTest::newRow("none: row 3 edited") << "" << "old" << "5";
        QTest::newRow("click: row 0 stays current and is edited") << "click" << "5" << "old";
        QTest::newRow("begin edit: no editor") << "begin" << "old" << "old";
        QTest::newRow("end edit: text dropped") << "end" << "old" << "old";
        // clang-format on
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
            .onEndEdit =
                [&](int row, int, const QString &text, EditEnd) {
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
        // clang-format off
        QTest::newRow("no rows") << 0 << "Vazio" << true;
        QTest::newRow("no rows, no text") << 0 << "" << false;
        QTest::newRow("one row") << 1 << "Vazio" << false;
        // clang-format on
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
        const QRect centre = w.list->fontMetrics()
                                 .boundingRect(viewport, Qt::AlignCenter, QStringLiteral("Vazio"))
                                 .adjusted(-2, -2, 2, 2);
        QCOMPARE(DarkPixels(image, centre) > 0, textShown);
        if (rows == 0)
            QCOMPARE(DarkPixels(image, image.rect()), DarkPixels(image, centre));
        else
            QVERIFY(DarkPixels(image, image.rect()) > 0); // the row's own text
    }

    void wheelScrollsTheDesktopsLines()
    {
        const int saved = QApplication::wheelScrollLines();
        for (int lines : {1, 3}) {
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
    }

    void formatsAndWidthsOfColumns()
    {
        const std::pair<unsigned, unsigned> formats[] = {
            {0, 0x4000}, {1, 0x4001}, {2, 0x4002}, {3, 3}};
        for (const auto &[format, stored] : formats) {
            CReportCtrl list;
            QCOMPARE(list.InsertRow(0, QStringLiteral("x")), -1); // no column yet
            QCOMPARE(list.InsertColumn(0, QStringLiteral("A"), format, 77), 0);
            QCOMPARE(list.ColumnFormat(0), stored);
            QCOMPARE(list.columnWidth(0), 77);
        }
    }
};

KESTREL_QT_TEST(ReportCtrlTest)
#include "report_ctrl_test.moc"
