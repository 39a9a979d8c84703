// The main window's frame: navigation at the mouse press, the page title,
// keys, the enabling of the buttons, status and message display.

#include "app/page_table.h"
#include "app/provision_window.h"
#include "main_window_harness.h"
#include "platform/messages.h"

#include <QAccessible>

using main_texts::BottomButton;
using params::Page;

namespace {

int TemplateOf(int pageIndex)
{
    return PageEntry(pageIndex)->nTemplateId;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsOnPasswordsPageWithAllPagesCreated()
    {
        MainWindowHarness harness;
        CMainDlg &window = harness.Window();
        QCOMPARE(window.PageCount(), size_t(11));
        QCOMPARE(window.size(), window.sizeHint()); // no place kept yet
        QCOMPARE(window.VisibleTemplate(), 193);
        QCOMPARE(window.PageTitleText(), QStringLiteral("Passwords"));
        QVERIFY(window.NavButtonAt(0)->IsSelected());
        QVERIFY(!window.WaitDialog()->isVisible());
        // The window's actions (About among them) are its context menu.
        QCOMPARE(window.contextMenuPolicy(), Qt::ActionsContextMenu);
        // Ctrl+P opens the provisioning window, the same one every time.
        const QList<QAction *> actions = window.actions();
        const auto provision = std::find_if(actions.begin(), actions.end(), [](QAction *action) {
            return action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_P);
        });
        QVERIFY(provision != actions.end());
        (*provision)->trigger();
        (*provision)->trigger();
        QCOMPARE(window.findChildren<ProvisionDialog *>().size(), 1);
        QVERIFY(window.findChild<ProvisionDialog *>()->isVisible());
    }

    // However a page comes to the front (a press on its button, before the
    // release; a sent or posted request, as the jobs' reports make), its
    // title shows and its button alone is checked, as assistive technology
    // is told too.
    void theTitleAndHighlightFollowThePageInFront()
    {
        MainWindowHarness harness;
        CMainDlg &window = harness.Window();
        enum How { Press, Send, Post };
        struct Step
        {
            How how;
            uintptr_t target; // a button's index, or a template
            int index;
            const char *title;
        };
        const Step steps[] = {
            {Press, 3, 3, "CSP"},
            {Press, 4, 4, "Call Waiting and Forward"},
            {Press, 10, 10, "Call Back"},
            {Press, 0, 0, "Passwords"},
            {Press, 9, 9, "Volume"},
            {Send, 133, 1, "Forbids"},
            {Send, 4242, 0, "Passwords"},
            {Post, 185, 10, "Call Back"},
            {Send, (uintptr_t(1) << 32) + 133, 0, "Passwords"}}; // no page's template
        for (const Step &step : steps) {
            if (step.how == Press)
                QTest::mousePress(window.NavButtonAt(int(step.target)), Qt::LeftButton);
            else if (step.how == Send)
                window.MessageTarget().SendMessage(platform::WM_SHOW_PAGE, step.target);
            else
                window.ShowPage(uint32_t(step.target));
            QTRY_COMPARE(window.VisibleTemplate(), TemplateOf(step.index));
            QCOMPARE(window.PageTitleText(), QString::fromUtf8(step.title));
            QCOMPARE(window.SelectedNavIndex(), step.index);
            for (int other = 0; other < 11; ++other) {
                QCOMPARE(window.NavButtonAt(other)->IsSelected(), other == step.index);
                QAccessibleInterface *button =
                    QAccessible::queryAccessibleInterface(window.NavButtonAt(other));
                QCOMPARE(bool(button->state().checked), other == step.index);
            }
            if (step.how == Press) {
                QTest::mouseRelease(window.NavButtonAt(int(step.target)), Qt::LeftButton);
                QCOMPARE(window.VisibleTemplate(), TemplateOf(step.index));
            }
        }
    }

    // What the window gains goes to the page area, its height to the lists;
    // the window's place and size are kept for the next run.
    void theWindowGrowsKeysAndKeepsItsPlace()
    {
        MainWindowHarness harness;
        CMainDlg &window = harness.Window();
        window.resize(window.minimumSize());
        QTest::mousePress(window.NavButtonAt(10), Qt::LeftButton);
        QTRY_COMPARE(window.size(), window.minimumSize());
        const QSize area = window.PageArea()->size();
        const int rows = harness.CallBack()->List()->height();
        const QSize gained(200, 150);
        window.resize(window.size() + gained);
        QTRY_COMPARE(window.PageArea()->size(), area + gained);
        QCOMPARE(harness.CallBack()->List()->height(), rows + gained.height());

        window.move(40, 30);
        const QRect kept = window.geometry();
        // Enter does nothing; Enter and Escape inside a page stay in the
        // page; Escape ends the idle window.
        harness.AnswerFileDialog({});
        QTest::keyClick(harness.Button(BottomButton::Open), Qt::Key_Return);
        QTest::keyClick(&window, Qt::Key_Enter);
        QVERIFY(harness.FileRequests().empty());
        QTest::keyClick(harness.GeneralPassword(), Qt::Key_Return);
        QTest::keyClick(harness.GeneralPassword(), Qt::Key_Escape);
        QVERIFY(window.isVisible());
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        harness.DestroyWindow();
        const CMainDlg again(harness.Serial());
        QCOMPARE(again.geometry(), kept);
    }

    // The status goes to the wait box, errors also to a box; the navigation
    // and operation buttons are switched off and on together.
    void statusWaitBoxAndControls()
    {
        MainWindowHarness harness;
        CMainDlg &window = harness.Window();
        window.ShowStatus("Reading parameter 3 ...", true);
        QCOMPARE(window.WaitDialog()->StatusText(), QStringLiteral("Reading parameter 3 ..."));
        QCOMPARE(harness.Boxes().Count(), 0);

        window.ShowStatus("Fail to save parameter!", false);
        QCOMPARE(window.WaitDialog()->StatusText(), QStringLiteral("Fail to save parameter!"));
        QVERIFY(harness.HasBox(QStringLiteral("Fail to save parameter!"), 16));

        window.ShowWaitBox("Please wait!");
        QVERIFY(window.WaitDialog()->isVisible());
        QCOMPARE(window.WaitDialog()->StatusText(), QStringLiteral("Please wait!"));
        // The user cannot close it.
        window.WaitDialog()->close();
        QVERIFY(window.WaitDialog()->isVisible());
        window.HideWaitBox();
        QVERIFY(!window.WaitDialog()->isVisible());

        window.EnableControls(false);
        for (int index = 0; index < 11; ++index)
            QVERIFY(!window.NavButtonAt(index)->isEnabled());
        for (const auto &info : main_texts::kBottomButtons)
            QVERIFY(!harness.Button(info.button)->isEnabled());
        window.EnableControls(true);
        QVERIFY(harness.ControlsEnabled());
    }
};

KESTREL_QT_TEST(MainWindowTest)
#include "main_window_test.moc"
