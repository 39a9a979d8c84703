// Every page after a Receive, in each language and in a dark palette, as a
// technician sees it in the smallest window: no text is cut short, no
// control runs out of the window and no two controls overlap; every control
// has a name of its own; texts stand out from their background, and dim
// when the page area is disabled. With KESTREL_SCREENSHOT_DIR set, each
// page is also saved there as a picture at the window's first size, one
// folder per row (scripts/screenshots).

#include "app/page_table.h"
#include "main_window_harness.h"
#include "window_checks.h"

#include <QDir>

using main_texts::BottomButton;
using namespace window_checks;

namespace {

// Light texts on a dark window, the disabled ones grey.
QPalette DarkPalette()
{
    const QColor window(53, 53, 53);
    QPalette dark(Qt::white, window, window.lighter(150), window.darker(150), window.lighter(125),
                  Qt::white, Qt::white, QColor(35, 35, 35), window);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, QColor(127, 127, 127));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

// The application's palette for one test row.
class PaletteScope
{
public:
    explicit PaletteScope(bool dark) : m_saved(QApplication::palette())
    {
        if (dark)
            QApplication::setPalette(DarkPalette());
    }
    ~PaletteScope() { QApplication::setPalette(m_saved); }
    PaletteScope(const PaletteScope &) = delete;
    PaletteScope &operator=(const PaletteScope &) = delete;

private:
    QPalette m_saved;
};

// WCAG's least contrast for text; a disabled text keeps at most 2/3 of it.
constexpr double kReadable = 4.5;
constexpr double kDimmed = 1.5;

// What is wrong with the texts' colours as the window shows them now: an
// enabled text too faint, or a text that `EnableControls(false)` leaves
// looking enabled.
QStringList ColourFaults(CMainDlg &window)
{
    QStringList faults;
    QMap<QWidget *, double> enabled = TextContrasts(&window, window.grab().toImage());
    enabled.removeIf([](auto entry) { return !entry.key()->isEnabled(); });
    for (auto it = enabled.cbegin(); it != enabled.cend(); ++it) {
        if (it.value() < kReadable)
            faults << NameOf(it.key()) + QStringLiteral(" has a contrast of %1").arg(it.value());
    }
    window.EnableControls(false);
    const QMap<QWidget *, double> disabled = TextContrasts(&window, window.grab().toImage());
    for (auto it = disabled.cbegin(); it != disabled.cend(); ++it) {
        if (!it.key()->isEnabled() && enabled.contains(it.key()) &&
            it.value() * kDimmed > enabled.value(it.key()))
            faults << NameOf(it.key()) + QStringLiteral(" does not look disabled");
    }
    window.EnableControls(true);
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
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QString>("folder");
        QTest::newRow("English") << int(lang::kEnglish) << false << "en";
        QTest::newRow("Portuguese") << int(lang::kPortuguese) << false << "pt";
        QTest::newRow("Spanish") << int(lang::kSpanish) << false << "es";
        QTest::newRow("English, dark") << int(lang::kEnglish) << true << "dark";
    }

    void everyPageFitsAfterAReceive()
    {
        QFETCH(int, language);
        QFETCH(bool, dark);
        QFETCH(QString, folder);
        const PaletteScope palette(dark);
        MainWindowHarness harness({}, language);
        QVERIFY(harness.TerminalReady());
        CMainDlg &window = harness.Window();
        QCOMPARE(harness.Run(BottomButton::Receive), QString());
        // The smallest window fits a screen of 1280 x 800 pixels (less a
        // panel) at a 1.5 scale factor.
        const QSize smallest = window.minimumSize() * 1.5;
        QVERIFY2(smallest.width() <= 1280 && smallest.height() <= 760,
                 qPrintable(QStringLiteral("%1x%2").arg(smallest.width()).arg(smallest.height())));
        window.resize(window.minimumSize());

        for (int index = 0; index < 11; ++index) {
            QTest::mouseClick(window.NavButtonAt(index), Qt::LeftButton);
            QCoreApplication::sendPostedEvents(); // pending layout requests
            CParameterPage *page = window.FindPage(PageEntry(index)->nTemplateId);
            QVERIFY(page && page->isVisible());
            const QStringList faults =
                LayoutFaults(&window) + NameFaults(&window) + ColourFaults(window);
            QVERIFY2(faults.isEmpty(), qPrintable(window.PageTitleText() + QStringLiteral(": ") +
                                                  faults.join(QStringLiteral("; "))));
        }

        const QString root = qEnvironmentVariable("KESTREL_SCREENSHOT_DIR");
        if (root.isEmpty())
            return;
        const QString pictures = root + QLatin1Char('/') + folder;
        QVERIFY(QDir().mkpath(pictures));
        window.resize(window.sizeHint());
        for (int index = 0; index < 11; ++index) {
            QTest::mouseClick(window.NavButtonAt(index), Qt::LeftButton);
            QCoreApplication::sendPostedEvents();
            const QString file = QStringLiteral("%1/page-%2.png")
                                     .arg(pictures)
                                     .arg(index + 1, 2, 10, QLatin1Char('0'));
            QVERIFY(window.grab().save(file));
        }
    }
};

KESTREL_QT_TEST(PageTourTest)
#include "page_tour_test.moc"
