// What the main window leaves in view after each operation (the status
// line, in the chosen language, and the boxes), the page in front after a
// failure, the question before a Transmit over pages nothing (or a failed
// Receive) has filled, the password and PIN changes of the pages, and the
// way round the window with the keyboard alone.

#include "app/page_table.h"
#include "app/status_texts.h"
#include "engine/temp_parameter_file.h"
#include "main_window_harness.h"
#include "pages/prefix_page.h"
#include "pages/security_code_page.h"
#include "pages/volume_page.h"
#include "platform/port_lock.h"
#include "platform/port_names.h"
#include "tests/common/file_size_limit.h"
#include "tests/common/undeletable_file.h"
#include "widgets/qt_text.h"
#include "widgets/status_line.h"

#include <QCheckBox>
#include <QFile>
#include <QToolButton>
#include <array>
#include <map>
#include <optional>

using main_texts::BottomButton;
using params::Slot;
using namespace shell_test;

namespace {

QString Shown(MainWindowHarness &harness)
{
    return harness.Window().StatusLineWidget()->FullText();
}

// One scenario of golden/main_outcomes.txt on a window whose terminal has
// parameter 5 at "01". Before the window opens: "terminal
// OPTIONS" (kestrel-sim's), "language N", "long value N" (one character too long for a reply line),
// "file stays" (the temporary file cannot be deleted), "disk full",
// "watchdog MS" (the job's time limit). Then
// "answer no" (to questions), "faults OPTIONS" (from now on), "password
// TEXT" (the general password), "lock port" (as another run holds it from
// its login to the end of its job) and "unlock port", "unplug" (the terminal and its port
// go), "heard" (the lines of the last operation), and the operations
// "receive", "transmit", "change password" and "change pin", which tell
// what the user sees once the operation has ended; "call back" (its page
// to the front), "prefix TEXT" and "volume TEXT" (switched on and typed on
// their pages), "focus" (where it is once on the page in front), "type 7"
// (an edit), "stored edits", "file BYTES" (other.ini), "open FILE" and
// "exit ANSWER [kept.ini]" (see Exit).
class OutcomesScenario
{
public:
    std::vector<std::string> Take(const std::string &line)
    {
        const auto [verb, rest] = VerbAndRest(line);
        if (verb == "terminal")
            m_options = TerminalOptions(rest).value_or(sim::SimOptions{});
        else if (verb == "language")
            m_language = rest.toInt();
        else if (line.starts_with("long value "))
            m_longValue = rest.section(' ', 1).toInt();
        else if (verb == "watchdog")
            g_nJobTimeout = rest.toInt(); // the harness puts it back
        else if (line == "file stays")
            Harness(), m_stays.emplace(TempParameterFilePath());
        else if (line == "disk full")
            m_diskFull = true;
        else if (verb == "password")
            Harness().GeneralPassword()->setText(rest);
        else if (verb == "prefix") {
            auto *prefix = Harness().PageAs<CPrefixPage>(params::Page::Prefix);
            prefix->SwitchBox()->click();
            prefix->PrefixField()->setText(rest);
        } else if (verb == "volume") {
            auto *volume = Harness().PageAs<CVolumePage>(params::Page::Volume);
            volume->TxBox()->click();
            volume->TxField()->setText(rest);
        } else if (line == "focus") {
            const bool inPage = QTest::qWaitFor([this] {
                return Harness().Window().VisiblePage()->isAncestorOf(QApplication::focusWidget());
            });
            return {"focus " + std::string(inPage ? "" : "not ") + "on the page, in " +
                    QApplication::focusWidget()->accessibleName().toStdString()};
        } else if (line == "stored edits") {
            // Values typed and stored, then one typed over: none of them may go.
            MainWindowHarness &harness = Harness();
            harness.Forbids()->ListBox()->click();
            harness.Forbids()->List()->SetCellText(0, 1, QStringLiteral("0800"));
            Take("volume 11");
            harness.Window().SaveAllPagesToStore();
            m_stored = harness.Window().Store();
            harness.PageAs<CVolumePage>(params::Page::Volume)->TxField()->setText("09");
        } else if (verb == "file") {
            QFile file(Harness().AppDir() + "/other.ini");
            m_written = QByteArray::fromStdString(Unescape(rest.toStdString()));
            if (!file.open(QIODevice::WriteOnly) || file.write(m_written) != m_written.size())
                return {"not written"};
        } else if (verb == "open") {
            Harness().AnswerFileDialog(Harness().AppDir() + '/' + rest);
            std::vector<std::string> lines = Run([this] {
                QTest::mouseClick(Harness().Button(BottomButton::Open), Qt::LeftButton);
            });
            MainWindowHarness &harness = Harness();
            QFile file(harness.AppDir() + "/other.ini");
            const QString kept = !file.open(QIODevice::ReadOnly) ? "none"
                                 : file.readAll() == m_written   ? "as written"
                                                                 : "changed";
            lines.push_back(
                QStringLiteral("store %1, typed %2, first forbid %3, file %4")
                    .arg(harness.Window().Store() == m_stored ? "as it was" : "changed",
                         harness.PageAs<CVolumePage>(params::Page::Volume)->TxField()->text(),
                         harness.Forbids()->List()->CellText(0, 1), kept)
                    .toStdString());
            return lines;
        } else if (line == "call back")
            QTest::mousePress(Harness().Window().NavButtonAt(10), Qt::LeftButton);
        else if (line == "type 7")
            QTest::keyClicks(Harness().GeneralPassword(), QStringLiteral("7"));
        else if (line == "lock port" &&
                 (Harness(), m_otherRun.Acquire(platform::DevicePathForPort("SIM0"))) !=
                     platform::PortLock::Result::Held)
            return {"not locked"};
        else if (line == "unlock port")
            m_otherRun.Release();
        else if (line == "unplug")
            Harness().UnplugTerminal(), m_unplugged = true;
        else if (line == "answer no")
            Harness().Boxes().AnswerQuestions(false);
        else if (verb == "faults")
            Harness().Terminal().SetFaults(
                TerminalOptions(rest).value_or(sim::SimOptions{}).faults);
        else if (verb == "receive" || verb == "transmit")
            return Run([this, verb] {
                QTest::mouseClick(Harness().Button(verb == "receive" ? BottomButton::Receive
                                                                     : BottomButton::Transmit),
                                  Qt::LeftButton);
            });
        else if (line == "change password")
            return Run([this] {
                auto *page = Harness().PageAs<CPasswordsPage>(params::Page::Passwords);
                Change(params::Page::Passwords, page->ChangeBox(),
                       {page->OldField(), page->NewField(), page->ConfirmField()},
                       page->ConfirmButton(), "1234", "5678");
            });
        else if (line == "change pin")
            return Run([this] {
                auto *page = Harness().PageAs<CSecurityCodePage>(params::Page::SecurityCode);
                Change(params::Page::SecurityCode, page->ChangeBox(),
                       {page->OldPinField(), page->NewPinField(), page->ConfirmPinField()},
                       page->ConfirmButton(), "4711", "1111");
            });
        else if (verb == "exit")
            return Exit(rest);
        else if (line == "heard")
            return Harness().Terminal().Commands();
        return {};
    }

    std::vector<std::string> Finish()
    {
        m_stays.reset();
        m_harness.reset();
        m_otherRun.Release();
        m_unplugged = false;
        m_options = {};
        m_language = lang::kEnglish;
        m_longValue = 0;
        m_diskFull = false;
        return {};
    }

private:
    MainWindowHarness &Harness()
    {
        if (!m_harness) {
            m_harness = std::make_unique<MainWindowHarness>(m_options, m_language);
            if (m_longValue)
                m_harness->Terminal().SetValue(m_longValue, std::string(1018, '7'));
            m_harness->Terminal().SetValue(5, "01");
        }
        return *m_harness;
    }

    // The password or PIN change of a page, which comes to the front first.
    void Change(params::Page page, QAbstractButton *box, const std::array<QLineEdit *, 3> &fields,
                QAbstractButton *confirm, const char *old, const char *changed)
    {
        Harness().Window().ShowPageByTemplate(params::PageTemplate(page));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        for (QLineEdit *field : fields)
            field->setText(QString::fromLatin1(field == fields[0] ? old : changed));
        QTest::mouseClick(confirm, Qt::LeftButton);
    }

    // Exit with the question about unsaved edits answered `answer` (and a
    // file chosen to save them in, when named): the boxes, whether the
    // window closed, and whether the file was written.
    std::vector<std::string> Exit(const QString &answer)
    {
        static const std::map<QString, SaveAnswer> kAnswers = {{"save", SaveAnswer::Save},
                                                               {"discard", SaveAnswer::Discard},
                                                               {"cancel", SaveAnswer::Cancel}};
        MainWindowHarness &harness = Harness();
        const QString file = harness.AppDir() + QStringLiteral("/kept.ini");
        harness.AnswerFileDialog(answer.endsWith(QLatin1String(" kept.ini")) ? file : QString());
        harness.Boxes().Clear();
        SetSaveAnswer(kAnswers.at(answer.section(' ', 0, 0)));
        QTest::mouseClick(harness.Button(BottomButton::Exit), Qt::LeftButton);
        SetSaveAnswer(SaveAnswer::Discard);
        return ResultLines({QStringLiteral("window %1, file %2")
                                .arg(harness.Window().isVisible() ? "shown" : "closed",
                                     QFile::exists(file) ? "written" : "not written")},
                           harness.Boxes(), nullptr);
    }

    std::vector<std::string> Run(const std::function<void()> &start)
    {
        MainWindowHarness &harness = Harness();
        CMainDlg &window = harness.Window();
        harness.Boxes().Clear();
        if (!m_unplugged)
            harness.Terminal().ClearCommands();
        window.StatusLineWidget()->ShowOutcome(QStringLiteral("an old outcome"), true);
        std::optional<FileSizeLimit> diskFull;
        if (m_diskFull)
            diskFull.emplace(0);
        start();
        const QString during =
            QStringLiteral("meanwhile pages %1, status \"%2\"")
                .arg(window.PageArea()->isEnabled() ? "enabled" : "disabled", Shown(harness));
        if (!QTest::qWaitFor([&] { return harness.JobOver() && !Shown(harness).isEmpty(); },
                             kJobWaitMs))
            return {"still running"};
        diskFull.reset();
        // A write leaves the port open; a read and a refused write close it.
        static_cast<void>(QTest::qWaitFor([&] { return !harness.Serial().IsOpen(); }, 1000));
        QCoreApplication::processEvents(); // the page the job's end brings to the front
        const QStringList seen{
            during, Shown(harness),
            QStringLiteral("%1, pages %2, page %3 in front with button %4, parameter 5 \"%5\"")
                .arg(window.StatusLineWidget()->Failed() ? "failed" : "done",
                     window.PagesFilled() ? "filled" : "not filled")
                .arg(window.VisibleTemplate())
                .arg(window.SelectedNavIndex())
                .arg(QString::fromStdString(window.Store()[Slot::LongDistanceBlock])),
            QStringLiteral("pages %1, port %2, terminal heard %3, software password \"%4\", "
                           "watchdog %5")
                .arg(window.PageArea()->isEnabled() ? "enabled" : "disabled",
                     harness.Serial().IsOpen() ? "open" : "closed",
                     m_unplugged || !harness.Terminal().CommandCount() ? "nothing" : "lines",
                     QString::fromStdString(g_strSoftwarePassword),
                     window.JobTimerActive() ? "on" : "off")};
        std::vector<std::string> lines = ResultLines(seen, harness.Boxes(), nullptr);
        for (std::string &line : lines) {
            for (const auto &[path, name] : {std::pair{TempParameterFilePath(), "<temp>"},
                                             std::pair{harness.AppDir().toStdString(), "<dir>"}}) {
                for (size_t at; (at = line.find(path)) != std::string::npos;)
                    line.replace(at, path.size(), name);
            }
        }
        return lines;
    }

    sim::SimOptions m_options;
    int m_language = lang::kEnglish;
    int m_longValue = 0;
    bool m_diskFull = false;
    std::unique_ptr<MainWindowHarness> m_harness;
    std::optional<UndeletableFile> m_stays; // goes before the harness's folder
    platform::PortLock m_otherRun;
    ParameterStore m_stored; // by "stored edits"
    QByteArray m_written;    // by "file"
    bool m_unplugged = false;
};

} // namespace

class MainOutcomesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Transmit asks while no Receive has filled the pages, and after a
    // failed one, naming the pages it did not reach; the first failure of
    // an operation is the one the status line keeps, and the page of what
    // failed comes to the front (which page and which box each failure
    // brings are the engine's, tests/engine/job_reports_test).
    void outcomesAsTheTranscriptSays()
    {
        const QTemporaryDir folder;
        if (!UndeletableFile(folder.filePath(QStringLiteral("probe")).toStdString()).Held())
            QSKIP("this user cannot make a file that stays");
        OutcomesScenario scenario;
        ExpectScenarios("main_outcomes.txt", scenario);
    }

    void theStatusLineFitsEveryOutcomeInEveryLanguage()
    {
        // The longest detail each kind of outcome has: a parameter name from
        // a long list position, the longest page title.
        const QString longFailure = QStringLiteral(
            "Error: Error al escribir el parámetro [300].Error Por favor introduzca un número en "
            "la posición:1799!");
        for (int language : {lang::kEnglish, lang::kPortuguese, lang::kSpanish}) {
            MainWindowHarness harness({}, language);
            StatusLine *line = harness.Window().StatusLineWidget();
            QStringList outcomes;
            for (const status_texts::OperationTexts &texts : status_texts::kOperations) {
                outcomes << status_texts::Outcome(texts.operation, {}, QStringLiteral("config.ini"))
                         << status_texts::Outcome(texts.operation, longFailure);
            }
            outcomes << lang::QtText(status_texts::kTransmitCancelled)
                     << status_texts::Outcome(
                            status_texts::Operation::Save,
                            lang::QtText(status_texts::kPageRefused,
                                         QStringLiteral("Chamada em espera e Desvios")));
            for (const QString &outcome : outcomes) {
                line->ShowOutcome(outcome, true);
                QCOMPARE(line->text(), outcome); // whole, not shortened
                QVERIFY2(line->Fits(outcome), qPrintable(outcome));
            }
            // A path no line can hold is shortened in the middle, and kept whole
            // in the tooltip.
            const QString path =
                QStringLiteral("/home/technician/") + QString(300, QLatin1Char('x'));
            line->ShowOutcome(status_texts::Outcome(status_texts::Operation::Open, path), true);
            QVERIFY(line->text() != line->FullText());
            QVERIFY(line->Fits(line->text()));
            QVERIFY(line->text().contains(QChar(0x2026)));
            QCOMPARE(line->toolTip(), line->FullText());
        }
    }

    // Tab: the navigation column top to bottom, the About button, the
    // visible page, the operation buttons left to right, and round again.
    // Space on a navigation button shows its page, so every page is reached.
    void tabGoesRoundTheWindowInVisualOrder()
    {
        MainWindowHarness harness;
        CMainDlg &window = harness.Window();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto tab = [] {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            return QApplication::focusWidget();
        };
        for (int page = 0; page < 11; ++page) {
            window.NavButtonAt(page)->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(window.NavButtonAt(page), Qt::Key_Space);
            QCOMPARE(window.VisibleTemplate(), PageEntry(page)->nTemplateId);
            QCOMPARE(window.SelectedNavIndex(), page);

            window.NavButtonAt(0)->setFocus(Qt::OtherFocusReason);
            for (int index = 1; index < 11; ++index)
                QCOMPARE(tab(), window.NavButtonAt(index));
            QVERIFY(qobject_cast<QToolButton *>(tab())); // About
            QWidget *next = tab();
            int inPage = 0;
            while (next && window.VisiblePage()->isAncestorOf(next) && inPage < 400) {
                ++inPage;
                next = tab();
            }
            QVERIFY2(inPage > 0, qPrintable(window.PageTitleText()));
            QVERIFY2(next == harness.Button(BottomButton::Transmit),
                     qPrintable(QStringLiteral("page %1: Tab stays in a %2")
                                    .arg(page)
                                    .arg(QLatin1String(next->metaObject()->className()))));
            for (BottomButton button : {BottomButton::Receive, BottomButton::Open,
                                        BottomButton::Save, BottomButton::Exit})
                QCOMPARE(tab(), harness.Button(button));
            QCOMPARE(tab(), window.NavButtonAt(0));
        }
    }
};

KESTREL_QT_TEST(MainOutcomesTest)
#include "main_outcomes_test.moc"
