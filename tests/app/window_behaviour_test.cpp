// How the main window behaves around its operations against the simulated
// terminal: a Receive that counts its steps and can be cancelled, the
// window closed or going
// away mid-job, and the keys of the operation buttons.

#include "app/status_texts.h"
#include "main_window_harness.h"
#include "widgets/qt_text.h"
#include "widgets/status_line.h"

#include <QCheckBox>
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
        QCOMPARE(window.StatusLineWidget()->FullText(),
                 QStringLiteral("Receive cancelled: the pages keep what they held before."));
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
    }

    // Closing during a write asks first: No lets it go on, Yes stops it and
    // the window goes once it has ended.
    void closingDuringATransmitAsksFirst()
    {
        sim::SimOptions options;
        options.faults.silentAfter = 2;
        MainWindowHarness harness(options);
        QVERIFY(harness.TerminalReady());
        CMainDlg &window = harness.Window();
        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Terminal().CommandCount() >= 2, kJobWaitMs);

        harness.Boxes().AnswerQuestions(false);
        window.close();
        QCOMPARE(harness.Boxes().LastText(), lang::QtText(status_texts::kCloseDuringWrite));
        QVERIFY(window.isVisible());
        QVERIFY(window.Engine().JobRunning());

        harness.Boxes().AnswerQuestions(true);
        window.close();
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), kJobWaitMs);
        QVERIFY(!window.Engine().JobRunning());
        QVERIFY(!harness.Serial().IsOpen());
    }

    void theKeyboardReachesTheOperationsAndTheLists()
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
        } rows[] = {
            {BottomButton::Transmit, QKeySequence(Qt::CTRL | Qt::Key_T)},
            {BottomButton::Receive, QKeySequence(Qt::Key_F5)},
            {BottomButton::Open, QKeySequence(Qt::CTRL | Qt::Key_O)},
            {BottomButton::Save, QKeySequence(Qt::CTRL | Qt::Key_S)},
        };
        for (const auto &row : rows) {
            QPushButton *button = harness.Button(row.button);
            QSignalSpy clicked(button, &QPushButton::clicked);
            // As the desktop does once the wait box has gone.
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QTest::keySequence(QApplication::focusWidget(), row.keys);
            QTRY_COMPARE(clicked.count(), 1); // the button shows itself pressed first
            QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        }
        // On the Forbids page Tab reaches the list after the check boxes above it.
        QVERIFY(qobject_cast<QCheckBox *>(harness.Forbids()->List()->previousInFocusChain()));
    }

    // Whatever the worker is doing, the window's end stops both threads and
    // lets the port go, and nothing the job still reports reaches the user.
    void theWindowGoingAwayMidJobStopsTheThreads_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("commandsFirst"); // the job is under way when the terminal has these
        QTest::addColumn<int>("pausePercent");  // a pause as long as the test may run
        QTest::addColumn<bool>("closed");       // first closed: it goes once the job has ended
        QTest::newRow("terminal silent") << true << 1 << 1 << false;
        QTest::newRow("closed, terminal silent") << true << 1 << 1 << true;
        QTest::newRow("job reporting") << false << 6 << 1 << false;
        QTest::newRow("worker in a pause") << false << 0 << 10000000 << false;
    }

    void theWindowGoingAwayMidJobStopsTheThreads()
    {
        QFETCH(bool, silent);
        QFETCH(int, commandsFirst);
        QFETCH(int, pausePercent);
        QFETCH(bool, closed);
        MainWindowHarness harness(silent ? SimOptionsWith(kSilent) : sim::SimOptions{});
        QVERIFY(harness.TerminalReady());
        CCommThread &worker = harness.Window().Engine().Comm();
        worker.ScalePauses(pausePercent);
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Terminal().CommandCount() >= size_t(commandsFirst) &&
                                     (pausePercent == 1 || worker.PausedTime().count() > 0),
                                 10000);
        QVERIFY(harness.Window().Engine().JobRunning());
        QVERIFY(harness.Serial().IsOpen());
        if (closed) {
            harness.Window().close();
            QTRY_VERIFY_WITH_TIMEOUT(!harness.Window().isVisible(), 20000);
            QVERIFY(!harness.Window().Engine().JobRunning());
            QVERIFY(!harness.Serial().IsOpen());
        }
        harness.DestroyWindow();
        QVERIFY(!harness.Serial().IsOpen());
        QVERIFY(!harness.Serial().Owner());
        QCOMPARE(harness.BoxTexts(), QString());
    }
};

KESTREL_QT_TEST(WindowBehaviourTest)
#include "window_behaviour_test.moc"
