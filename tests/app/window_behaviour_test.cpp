// How the main window behaves around its operations: a Receive that counts
// its steps and can be cancelled, the keys of the operation buttons, and the
// question about edits not yet saved when the window closes.

#include "app/status_texts.h"
#include "main_window_harness.h"
#include "widgets/qt_text.h"
#include "widgets/status_line.h"

#include <QFile>
#include <QSignalSpy>

using main_texts::BottomButton;

class WindowBehaviourTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The terminal falls silent in the middle of the read; Cancel ends it at
    // once, and the pages keep what they showed.
    void cancelOfAReceiveKeepsThePages()
    {
        sim::SimOptions options;
        options.faults.silentAfter = 6;
        MainWindowHarness harness(options);
        QVERIFY(harness.TerminalReady());
        CMainDlg &window = harness.Window();
        harness.GeneralPassword()->setText(QStringLiteral("909090"));

        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        CWaitDlg *wait = window.WaitDialog();
        QTRY_VERIFY_WITH_TIMEOUT(harness.Terminal().CommandCount() >= 6, kJobWaitMs);
        QVERIFY(wait->CancelButton()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(wait->ProgressValue() > 0, kJobWaitMs);
        QVERIFY2(wait->ProgressValue() < wait->ProgressTotal(), "counted of the whole read");
        QTest::mouseClick(wait->CancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);

        QCOMPARE(harness.GeneralPassword()->text(), QStringLiteral("909090"));
        QVERIFY(!window.PagesFilled());
        QCOMPARE(window.StatusLine()->FullText(),
                 QStringLiteral("Receive cancelled: the pages keep what they held before."));
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
    }

    void theOperationButtonsHaveKeys()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        CMainDlg &window = harness.Window();
        harness.AnswerFileDialog({});
        harness.Boxes().AnswerQuestions(false);
        const struct
        {
            BottomButton button;
            QKeySequence keys;
            const char *toolTip;
        } rows[] = {
            {BottomButton::Transmit, QKeySequence(Qt::CTRL | Qt::Key_T), "Transmit (Ctrl+T)"},
            {BottomButton::Receive, QKeySequence(Qt::Key_F5), "Receive (F5)"},
            {BottomButton::Open, QKeySequence(Qt::CTRL | Qt::Key_O), "Open (Ctrl+O)"},
            {BottomButton::Save, QKeySequence(Qt::CTRL | Qt::Key_S), "Save (Ctrl+S)"},
        };
        for (const auto &row : rows) {
            QPushButton *button = harness.Button(row.button);
            QCOMPARE(button->toolTip(), QString::fromLatin1(row.toolTip));
            QSignalSpy clicked(button, &QPushButton::clicked);
            // As the desktop does once the wait box has gone.
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QTest::keySequence(QApplication::focusWidget(), row.keys);
            QTRY_COMPARE(clicked.count(), 1); // the button shows itself pressed first
            QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        }
    }

    // Exit after an edit asks; each answer does what it says.
    void exitAsksAboutUnsavedEdits()
    {
        enum class Edit { None, Typed };
        const struct
        {
            Edit edit;
            SaveAnswer answer;
            bool fileChosen;
            bool closed;
        } rows[] = {
            {Edit::None, SaveAnswer::Cancel, false, true},
            {Edit::Typed, SaveAnswer::Discard, false, true},
            {Edit::Typed, SaveAnswer::Cancel, false, false},
            {Edit::Typed, SaveAnswer::Save, true, true},
            {Edit::Typed, SaveAnswer::Save, false, false},
        };
        const QString question = lang::QtText(status_texts::kUnsavedEdits);
        for (const auto &row : rows) {
            MainWindowHarness harness;
            CMainDlg &window = harness.Window();
            const QString file = harness.AppDir() + QStringLiteral("/kept.ini");
            harness.AnswerFileDialog(row.fileChosen ? file : QString());
            if (row.edit == Edit::Typed)
                QTest::keyClicks(harness.GeneralPassword(), QStringLiteral("7"));
            SetSaveAnswer(row.answer);
            QTest::mouseClick(harness.Button(BottomButton::Exit), Qt::LeftButton);
            SetSaveAnswer(SaveAnswer::Discard);
            QCOMPARE(harness.Boxes().LastText(), row.edit == Edit::None ? QString() : question);
            QCOMPARE(window.isVisible(), !row.closed);
            QCOMPARE(QFile::exists(file), row.fileChosen);
        }
    }
};

KESTREL_SHELL_TEST_MAIN(WindowBehaviourTest)
#include "window_behaviour_test.moc"
