// The main window's frame: navigation at the mouse press, the page title,
// keys, the enabling of the buttons, status and message display, labels in
// three languages that fit their buttons.

#include "app/page_table.h"
#include "main_window_harness.h"
#include "platform/messages.h"

#include <QAccessible>
#include <QAction>

using main_texts::BottomButton;
using params::Page;

namespace {

int TemplateOf(int pageIndex)
{
    return PageEntry(pageIndex)->nTemplateId;
}

QString NavText(CMainDlg &window, int index)
{
    return window.NavButtonAt(index)->text();
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
        QCOMPARE(window.VisibleTemplate(), 193);
        QCOMPARE(window.PageTitleText(), QStringLiteral("Passwords"));
        QVERIFY(window.NavButtonAt(0)->IsSelected());
        QCOMPARE(window.windowTitle(), QStringLiteral("Kestrel Manager  V1.2.0"));
        CWaitDlg *wait = window.WaitDialog();
        QVERIFY(!wait->isVisible());
        QCOMPARE((QStringList{wait->windowTitle(), wait->HeadlineText(), wait->StatusText()}),
                 (QStringList{"Kestrel Manager", "It is working, Please wait!", "Info!"}));
        // The About entry is offered in the context menu.
        QAction *about = window.AboutAction();
        QVERIFY(about && window.actions().contains(about));
        QCOMPARE(about->text(), QStringLiteral("About(&A)..."));
        QCOMPARE(window.contextMenuPolicy(), Qt::ActionsContextMenu);
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
            int target; // a button's index, or a template
            int index;
            const char *title;
        };
        const Step steps[] = {
            {Press, 3, 3, "CSP"},         {Press, 4, 4, "Call Waiting and Forward"},
            {Press, 10, 10, "Call Back"}, {Press, 0, 0, "Passwords"},
            {Press, 9, 9, "Volume"},      {Send, 133, 1, "Forbids"},
            {Send, 4242, 0, "Passwords"}, {Post, 185, 10, "Call Back"}};
        for (const Step &step : steps) {
            if (step.how == Press)
                QTest::mousePress(window.NavButtonAt(step.target), Qt::LeftButton);
            else if (step.how == Send)
                window.MessageTarget().SendMessage(platform::WM_SHOW_PAGE, uintptr_t(step.target));
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
                QTest::mouseRelease(window.NavButtonAt(step.target), Qt::LeftButton);
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

    void labelsFollowTheLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("bottom");
        QTest::addColumn<QString>("forwardTitle");
        QTest::addColumn<QString>("openTitle");
        // clang-format off
        QTest::newRow("English") << 1 << QStringList{"Transmit", "Receive", "Open", "Save", "Exit"}
            << "Call Waiting and Forward" << "Open config file:";
        QTest::newRow("Portuguese") << 2 << QStringList{"Enviar", "Receber", "Abrir", "Salvar", "Sair"}
            << "Chamada em espera e Desvios" << "Abrir arquivo de configurações:";
        QTest::newRow("Spanish") << 3 << QStringList{"Enviar", "Recibir", "Abrir", "Guardar", "Salir"}
            << "Llamada em espera y Desvíos" << "Abrir la configuración del archivo:";
        // clang-format on
    }

    void labelsFollowTheLanguage()
    {
        QFETCH(int, language);
        QFETCH(QStringList, bottom);
        QFETCH(QString, forwardTitle);
        QFETCH(QString, openTitle);
        MainWindowHarness harness({}, language);
        CMainDlg &window = harness.Window();
        for (const auto &info : main_texts::kBottomButtons)
            QCOMPARE(harness.Button(info.button)->text(), bottom.at(int(info.button)));
        QCOMPARE(NavText(window, 4), forwardTitle);
        QTest::mousePress(window.NavButtonAt(4), Qt::LeftButton);
        QCOMPARE(window.PageTitleText(), forwardTitle);

        harness.AnswerFileDialog({});
        QTest::mouseClick(harness.Button(BottomButton::Open), Qt::LeftButton);
        QCOMPARE(harness.FileRequests().size(), size_t(1));
        QCOMPARE(harness.FileRequests().front().title, openTitle);
        // No button is narrower than its text.
        for (int index = 0; index < 11; ++index)
            QVERIFY2(window.NavButtonAt(index)->sizeHint().width() <=
                         window.NavButtonAt(index)->width(),
                     qPrintable(window.NavButtonAt(index)->text()));
        for (const auto &info : main_texts::kBottomButtons) {
            QPushButton *button = harness.Button(info.button);
            QVERIFY2(button->sizeHint().width() <= button->width(), qPrintable(button->text()));
        }
    }
};

KESTREL_QT_TEST(MainWindowTest)
#include "main_window_test.moc"
