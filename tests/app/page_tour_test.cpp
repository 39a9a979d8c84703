// Every page after a Receive, in each language, as a technician sees it: no
// text is cut short, no control runs out of its page and no two controls
// overlap. With KESTREL_SCREENSHOT_DIR set, each page is also saved there as
// a picture, one folder per language (scripts/screenshots).

#include "app/page_table.h"
#include "main_window_harness.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLabel>

using main_texts::BottomButton;

namespace {

const char *const kLanguageFolders[] = {"en", "pt", "es"};

// The controls a user reads or uses; containers and the parts of a control
// (a list's viewport, headers and scroll bars, a drop-down's edit field) are
// not looked at on their own.
bool IsControl(const QWidget *widget)
{
    return qobject_cast<const QLabel *>(widget) || qobject_cast<const QAbstractButton *>(widget) ||
           qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget) ||
           qobject_cast<const QAbstractItemView *>(widget);
}

bool InsideControl(const QWidget *widget, const QWidget *page)
{
    for (const QWidget *up = widget->parentWidget(); up && up != page; up = up->parentWidget()) {
        if (IsControl(up))
            return true;
    }
    return false;
}

QString NameOf(const QWidget *widget)
{
    QString text = widget->accessibleName();
    if (text.isEmpty())
        text = QString::fromLatin1(widget->metaObject()->className());
    return QStringLiteral("\"%1\"").arg(text);
}

// What is wrong with the page as shown: one line per fault, empty when none.
QStringList LayoutFaults(QWidget *page)
{
    QStringList faults;
    std::vector<std::pair<QWidget *, QRect>> shown;
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(page) || !IsControl(widget) || InsideControl(widget, page))
            continue;
        const QRect area(widget->mapTo(page, QPoint(0, 0)), widget->size());
        if (!page->rect().contains(area))
            faults << NameOf(widget) + QStringLiteral(" runs out of the page");
        const auto *label = qobject_cast<const QLabel *>(widget);
        const bool wraps = label && label->wordWrap();
        if (!wraps && !qobject_cast<QAbstractItemView *>(widget) &&
            !qobject_cast<QLineEdit *>(widget) && widget->width() < widget->sizeHint().width())
            faults << NameOf(widget) + QStringLiteral(" is cut short");
        if (wraps && widget->height() < label->heightForWidth(widget->width()))
            faults << NameOf(widget) + QStringLiteral(" is cut off below");
        for (const auto &[other, otherArea] : shown) {
            if (area.intersects(otherArea))
                faults << NameOf(widget) + QStringLiteral(" overlaps ") + NameOf(other);
        }
        shown.emplace_back(widget, area);
    }
    return faults;
}

} // namespace

class PageTourTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPageFitsAfterAReceive_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << int(lang::kEnglish);
        QTest::newRow("Portuguese") << int(lang::kPortuguese);
        QTest::newRow("Spanish") << int(lang::kSpanish);
    }

    void everyPageFitsAfterAReceive()
    {
        QFETCH(int, language);
        const QString root = qEnvironmentVariable("KESTREL_SCREENSHOT_DIR");
        const QString folder =
            root.isEmpty() ? QString()
                           : root + QLatin1Char('/') + QLatin1String(kLanguageFolders[language - 1]);
        if (!folder.isEmpty())
            QVERIFY(QDir().mkpath(folder));

        MainWindowHarness harness({}, language);
        QVERIFY(harness.TerminalReady());
        CMainDlg &window = harness.Window();
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));

        for (int index = 0; index < 11; ++index) {
            QTest::mouseClick(window.NavButton(index), Qt::LeftButton);
            QCoreApplication::sendPostedEvents(); // pending layout requests
            CParameterPage *page = window.FindPage(PageEntry(index)->nTemplateId);
            QVERIFY(page && page->isVisible());
            const QStringList faults = LayoutFaults(page);
            QVERIFY2(faults.isEmpty(),
                     qPrintable(window.PageTitleText() + QStringLiteral(": ") +
                                faults.join(QStringLiteral("; "))));
            if (folder.isEmpty())
                continue;
            const QString file =
                QStringLiteral("%1/page-%2.png").arg(folder).arg(index + 1, 2, 10, QLatin1Char('0'));
            QVERIFY(window.grab().save(file));
        }
    }
};

KESTREL_SHELL_TEST_MAIN(PageTourTest)
#include "page_tour_test.moc"
