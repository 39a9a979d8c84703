// The editable list: in-place editing and how it ends, the 255-character
// cut, the cell focus kept off the first column, the parent's notifications
// and answers, the empty text, keyboard and wheel.

#include "tests/common/qt_golden.h"
#include "tests/common/qt_test_registry.h"
#include "widgets/code_page.h"
#include "widgets/report_ctrl.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
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
        // A dialog's default button, which the keys that end an edit must not reach.
        auto *ok = new QPushButton(QStringLiteral("OK"), &window);
        ok->setDefault(true);
        layout->addWidget(ok);
        QObject::connect(ok, &QPushButton::clicked, [this] { heard << QStringLiteral("OK"); });
        list->setFixedSize(250, 240);
        list->ModifyStyle(0, kPagesStyle);
        list->InsertColumn(0, QStringLiteral("Position"), kFirstColumnFormat, 50);
        list->InsertColumn(1, QStringLiteral("Prefix/Number"), kSecondColumnFormat, 150);
        for (int r = 0; r < rows; ++r) {
            list->InsertRow(r, QStringLiteral("%1").arg(811 + r, 4, 10, QLatin1Char('0')));
            list->SetCellText(r, 1, QStringLiteral("old"));
        }
        list->SetNotifyHooks({
            .onRowClick =
                [this](int row, int) {
                    heard << QStringLiteral("click %1").arg(row);
                    return int(refuse == QLatin1String("click"));
                },
            .onRowDelete = [this](int row) { heard << QStringLiteral("delete %1").arg(row); },
            .onBeginEdit =
                [this](int row, int) {
                    heard << QStringLiteral("begin %1").arg(row);
                    return int(refuse == QLatin1String("begin"));
                },
            .onEndEdit =
                [this](int row, int, const QString &text, EditEnd key) {
                    const char *keys[] = {"Enter", "Tab", "Escape"};
                    heard << QStringLiteral("end %1 %2 %3").arg(row).arg(text, keys[int(key)]);
                    return int(refuse == QLatin1String("end"));
                },
        });
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

    // One step of a script (see scriptsAsTheTranscriptSays); false when unknown.
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
            {"Delete", {Qt::Key_Delete, Qt::NoModifier}},
            {"Alt+7", {Qt::Key_7, Qt::AltModifier}},
            {"Ctrl+7", {Qt::Key_7, Qt::ControlModifier}}};
        const QString argument = step.mid(2);
        if (step == QLatin1String("digits"))
            list->SetEditorValidator([](QLineEdit *editor) {
                return FieldValidator::Attach(editor, FieldValidator::Accepts::Digits);
            });
        else if (step.startsWith(QLatin1String("refuse:")))
            refuse = step.mid(7);
        else if (step == QLatin1String("f"))
            list->setFocus();
        else if (step == QLatin1String("out"))
            QTest::mouseClick(after, Qt::LeftButton);
        else if (step == QLatin1String("fin"))
            list->FinishEdit();
        else if (step == QLatin1String("clear"))
            list->DeleteAllRows();
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
    // one, "*" after it when wholly selected, "misplaced" when not in its
    // cell, "max N" unless cut at 255), then each cell that changed
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
        if (editor &&
            editor->geometry() != list->visualRect(list->currentIndex()).adjusted(2, 0, -2, 0))
            seen += QStringLiteral(" misplaced");
        if (editor && editor->maxLength() != 255)
            seen += QStringLiteral(" max %1").arg(editor->maxLength());
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

    // What the parent heard: "click ROW", "begin ROW", "end ROW TEXT KEY",
    // "delete ROW";
    // it answers 1 (stop) to the one named by the step "refuse:click",
    // "refuse:begin" or "refuse:end".
    QStringList heard;
    QString refuse;
    QDialog window;
    QLineEdit *before;
    CReportCtrl *list;
    QLineEdit *after;
};

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
    // Scripts of steps on the list between two fields, against the reviewed
    // transcript golden/list_edits.txt (transcript.h tells how to rewrite
    // it): "f" focus the list, "sN" select row N, "cN.C" click a cell, "vN"
    // the item view makes (N, 0) current, "k:KEY" a key, "t:TEXT" typed,
    // "out" a click on the next field, "fin" the page ends the edit, "clear"
    // every row deleted,
    // "digits" the editor takes digits only, "refuse:HOOK" the parent
    // answers so; "?" what the user sees then (ListWindow::Seen). A
    // scenario ends with what the parent heard.
    void scriptsAsTheTranscriptSays()
    {
        std::unique_ptr<ListWindow> w;
        const auto take = [&](const std::string &line) {
            std::vector<std::string> seen;
            if (line.empty() || line.starts_with('#') || line.starts_with("== "))
                return seen;
            if (!w) {
                w = std::make_unique<ListWindow>();
                if (!w->Show())
                    seen.push_back("not shown");
            }
            for (const QString &step : QString::fromStdString(line).split(' ')) {
                if (step == QLatin1String("?"))
                    seen.push_back(w->Seen().toStdString());
                else if (!w->Do(step))
                    seen.push_back("unknown step " + step.toStdString());
            }
            return seen;
        };
        ExpectTranscript(KESTREL_WIDGETS_GOLDEN_DIR "/list_edits.txt", take, [&] {
            std::vector<std::string> heard;
            if (w)
                heard.push_back("heard " + (w->heard.isEmpty() ? QStringLiteral("nothing")
                                                               : w->heard.join(QLatin1String("; ")))
                                               .toStdString());
            w.reset();
            return heard;
        });
    }

    void deletingTheListWhileEditingEndsQuietly()
    {
        ListWindow w;
        QVERIFY(w.Show());
        w.list->setFocus();
        w.list->SelectRow(1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
        QVERIFY(w.list->InPlaceEditor());
        delete w.list; // no end of the edit reaches a list that is gone
        QCOMPARE(w.heard, QStringList{QStringLiteral("begin 1")});
    }

    // The in-place editor's cut is checked with every script.
    void textsAreCutTo255Characters()
    {
        const QString text(300, QLatin1Char('7'));
        ListWindow w(1);
        QVERIFY(w.list->SetCellText(0, 1, text));
        QCOMPARE(w.list->CellText(0, 1), text.left(255));
        QCOMPARE(w.list->CellText(w.list->InsertRow(1, text), 0), text.left(255));
    }

    // A new row goes before the row named, else at the end; cells, columns
    // and headers outside the list are refused or empty.
    void placesAndBoundsOfRowsAndCells()
    {
        ListWindow w(2);
        CReportCtrl &list = *w.list;
        QCOMPARE(list.InsertRow(0, QStringLiteral("a")), 0);
        QCOMPARE(list.InsertRow(-1, QStringLiteral("z")), 3);
        QCOMPARE(list.InsertRow(9, QStringLiteral("y")), 4);
        QCOMPARE(list.CellText(0, 0), QStringLiteral("a"));
        QCOMPARE(list.CellText(1, 1), QStringLiteral("old"));
        const std::pair<int, int> outside[] = {{-1, 0}, {5, 0}, {0, -1}, {0, 2}};
        for (const auto &[row, column] : outside) {
            QVERIFY(!list.SetCellText(row, column, QStringLiteral("n")));
            QCOMPARE(list.CellText(row, column), QString());
        }
        QCOMPARE(list.ColumnFormat(1), kSecondColumnFormat);
        QCOMPARE(list.ColumnFormat(2), 0u);
        QCOMPARE(list.ColumnFormat(-1), 0u);
        const QAbstractItemModel &model = *list.model();
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Prefix/Number"));
        QVERIFY(!model.headerData(2, Qt::Horizontal).isValid());
        QVERIFY(!model.headerData(-1, Qt::Horizontal).isValid());
        QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
        QCOMPARE(model.flags(model.index(0, 1)),
                 Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        QCOMPARE(model.flags(QModelIndex()), Qt::NoItemFlags);
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
        QCOMPARE(w.list->EmptyText(), QStringLiteral("Empty")); // until the page names it
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
