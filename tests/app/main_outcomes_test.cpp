// What the main window leaves in view after each operation (the status
// line, in the chosen language), the question before a Transmit over pages
// nothing (or a failed Receive) has filled, the page area while a job runs, and the way round the
// window with the keyboard alone.

#include "app/page_table.h"
#include "app/status_texts.h"
#include "engine/temp_parameter_file.h"
#include "main_window_harness.h"
#include "platform/port_lock.h"
#include "platform/port_names.h"
#include "tests/common/file_size_limit.h"
#include "tests/common/undeletable_file.h"
#include "widgets/qt_text.h"
#include "widgets/status_line.h"

#include <QCheckBox>
#include <QToolButton>
#include <optional>

using main_texts::BottomButton;
using params::Slot;

namespace {

QString Shown(MainWindowHarness &harness)
{
    return harness.Window().StatusLineWidget()->FullText();
}

enum class FileTrouble { None, Undeletable, DiskFull };

const QString kTransmitQuestion = QStringLiteral(
    "No Receive or Open has filled the pages yet. Transmit writes every setting of the terminal "
    "from the pages as they stand now.\n\nTransmit anyway?");

struct Failure
{
    const char *name;
    int language;
    BottomButton button;
    int refusedRead, refusedWrite, hangUpAfter;
    int overlongValue; // a value one character too long for a reply line
    FileTrouble trouble;
    int page; // the template brought to the front; 0: not looked at
    const char *shown;
};

constexpr auto kReceive = BottomButton::Receive, kTransmit = BottomButton::Transmit;
constexpr int kEn = lang::kEnglish, kPt = lang::kPortuguese, kEs = lang::kSpanish;
// clang-format off
const Failure kFailures[] = {
    {"read, English", kEn, kReceive, 16543, 0, 0, 0, FileTrouble::None, 184,
     "Receive failed: Error:Fail to read Change RX Volume! Pages holding values not read from the terminal: \"Times\", \"Volume\", \"Call Back\"."},
    {"read, Spanish", kEs, kReceive, 16543, 0, 0, 0, FileTrouble::None, 184,
     "Error al recibir: Error:Error al leer Recepción! Páginas con valores no leídos del terminal: \"Tiempos\", \"Volumen\", \"Call Back\"."},
    {"first read, English", kEn, kReceive, 5, 0, 0, 0, FileTrouble::None, 0,
     "Receive failed: Error:Fail to read Enable Long Distance Call Block! Pages holding values not read from the terminal: all."},
    {"read, Portuguese", kPt, kReceive, 6002, 0, 0, 0, FileTrouble::None, 0,
     "Falha ao receber: Erro:Falha ao lido PIN:! Páginas com valores não lidos do terminal: \"Código de segurança\", \"Inversão de polaridade\", \"Tempos\", \"Volume\", \"Call Back\"."},
    {"read, value too long", kEn, kReceive, 0, 0, 0, 16543, FileTrouble::None, 0,
     "Receive failed: Error: The answer for Change RX Volume had a line longer than 1024 characters, which was lost! Pages holding values not read from the terminal: \"Times\", \"Volume\", \"Call Back\"."},
    // The login and nine reads are answered.
    {"read, cable pulled", kEn, kReceive, 0, 0, 10, 0, FileTrouble::None, 0,
     "Receive failed: Error: The terminal was disconnected from the port SIM0! Pages holding values not read from the terminal: \"Restricted ID\", \"Security Code\", \"Polarity Inversion\", \"Times\", \"Volume\", \"Call Back\"."},
    // The read goes on, and then cannot store what it read either.
    {"read, temporary file stays", kEn, kReceive, 0, 0, 0, 0, FileTrouble::Undeletable, 0,
     "Receive failed: Fail to delete temp file! Pages holding values not read from the terminal: all."},
    {"write, Portuguese", kPt, kTransmit, 0, 32, 0, 0, FileTrouble::None, 193,
     "Falha ao enviar: Erro: Senha geral inválida! Nada foi escrito no terminal. Recusado: parâmetro 1. Não enviados: parâmetros 2 a 17."},
    // The login and two entries are answered.
    {"write, cable pulled", kEn, kTransmit, 0, 0, 3, 0, FileTrouble::None, 0,
     "Transmit failed: Error: The terminal was disconnected from the port SIM0! Written but not saved on the terminal: parameters 1 to 2 of 17. Sent without an answer: parameter 3. Not sent: parameters 4 to 17."},
    {"write, temporary file stays", kEn, kTransmit, 0, 0, 0, 0, FileTrouble::Undeletable, 0,
     "Transmit failed: Unable to delete temp script file, operation terminated!"},
    {"write, disk full", kEn, kTransmit, 0, 0, 0, 0, FileTrouble::DiskFull, 0,
     "Transmit failed: Cannot write \"<temp>\": File too large"},
};
// clang-format on

} // namespace

class MainOutcomesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Transmit asks while no Receive has filled the pages; after one it
    // writes without asking. A Receive that fails leaves defaults where it
    // did not reach, whatever an earlier Receive brought: Transmit asks again
    // and names those pages.
    void transmitAsksUntilAReceiveHasFilledThePages()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        CMainDlg &window = harness.Window();
        harness.Boxes().AnswerQuestions(false);
        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
        QCOMPARE(harness.Boxes().Summary(), QStringLiteral("[68] ") + kTransmitQuestion);
        QVERIFY(harness.Idle());
        QCOMPARE(harness.Terminal().CommandCount(), size_t(0));
        QCOMPARE(Shown(harness), QStringLiteral("Transmit cancelled: nothing was written."));
        QVERIFY(!window.StatusLineWidget()->Failed());

        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QVERIFY2(!window.PageArea()->isEnabled(), "nothing is typed into pages being read");
        QVERIFY(Shown(harness).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(harness.Idle(), kJobWaitMs);
        QCOMPARE(Shown(harness),
                 QStringLiteral("Receive done: every setting was read from the terminal."));

        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        harness.Boxes().Clear();
        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
        QVERIFY(!window.PageArea()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(harness.JobOver(), kJobWaitMs);
        QVERIFY(window.PageArea()->isEnabled());
        QVERIFY2(harness.Boxes().Count() == 0, qPrintable(harness.BoxTexts()));
        QCOMPARE(Shown(harness),
                 QStringLiteral("Transmit done: every setting was written to the terminal."));
        QVERIFY(!window.StatusLineWidget()->Failed());

        sim::Faults faults;
        faults.refuseReads = {16543};
        harness.Terminal().SetFaults(faults);
        QTest::mouseClick(harness.Button(BottomButton::Receive), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(harness.JobOver() && !Shown(harness).isEmpty(), kJobWaitMs);
        harness.Boxes().Clear();
        harness.Terminal().ClearCommands();
        QTest::mouseClick(harness.Button(BottomButton::Transmit), Qt::LeftButton);
        QCOMPARE(harness.Boxes().Summary(),
                 "[68] The last Receive failed. Pages holding values not read from the terminal: "
                 "\"Times\", \"Volume\", \"Call Back\". Transmit writes every setting of the "
                 "terminal from the pages as they stand now.\n\nTransmit anyway?");
        QCOMPARE(harness.Terminal().CommandCount(), size_t(0));
    }

    // The first failure of an operation is the one the status line keeps, and
    // the page of what failed comes to the front (which page and which box
    // each failure brings are the engine's, tests/engine/job_reports_test).
    void failuresNameWhatFailed_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(kFailures)); ++row)
            QTest::newRow(kFailures[row].name) << row;
    }

    void failuresNameWhatFailed()
    {
        QFETCH(int, row);
        const Failure &f = kFailures[row];
        MainWindowHarness harness(SimOptionsWith([&](sim::SimOptions &o) {
                                      o.faults.refuseReads = {f.refusedRead};
                                      o.faults.refuseWrites = {f.refusedWrite};
                                      if (f.hangUpAfter)
                                          o.faults.hangUpAfter = size_t(f.hangUpAfter);
                                  }),
                                  f.language);
        QVERIFY(harness.TerminalReady());
        if (f.overlongValue)
            harness.Terminal().SetValue(f.overlongValue, std::string(1018, '7'));
        harness.Terminal().SetValue(5, "01");
        QTest::mousePress(harness.Window().NavButtonAt(10), Qt::LeftButton); // Call Back
        harness.GeneralPassword()->setText(QStringLiteral("123456"));
        const std::string temp = TempParameterFilePath();
        std::optional<UndeletableFile> stays;
        std::optional<FileSizeLimit> diskFull;
        if (f.trouble == FileTrouble::Undeletable) {
            stays.emplace(temp);
            if (!stays->Held())
                QSKIP("this user cannot make a file that stays");
        } else if (f.trouble == FileTrouble::DiskFull) {
            diskFull.emplace(0);
        }
        QTest::mouseClick(harness.Button(f.button), Qt::LeftButton);
        // A temporary file that cannot be replaced stops the Transmit with the port open.
        QTRY_VERIFY_WITH_TIMEOUT(
            (f.trouble != FileTrouble::None ? harness.JobOver() : harness.Idle()) &&
                !Shown(harness).isEmpty(),
            kJobWaitMs);
        diskFull.reset();
        QCOMPARE(Shown(harness), QString::fromUtf8(f.shown).replace(QStringLiteral("<temp>"),
                                                                    QString::fromStdString(temp)));
        QVERIFY(harness.Window().StatusLineWidget()->Failed());
        QVERIFY2(!harness.Window().PagesFilled(), "a failed read fills the pages only in part");
        if (f.trouble != FileTrouble::None && f.button == BottomButton::Transmit)
            QCOMPARE(harness.Terminal().CommandCount(), size_t(0));
        if (f.refusedRead > 5) // what was read before the failure reached the pages
            QCOMPARE(harness.Window().Store()[Slot::LongDistanceBlock], std::string("01"));
        if (f.page) {
            QTRY_COMPARE(harness.Window().VisibleTemplate(), f.page);
            QCOMPARE(harness.Window().SelectedNavIndex(), PageIndexByTemplate(f.page));
        }
    }

    // A port another run holds (kestrel-cli holds it from its login to the
    // end of its job: the program does not slip in between) and one that is
    // gone.
    void aPortThatCannotOpenIsNamed()
    {
        MainWindowHarness harness;
        QVERIFY(harness.TerminalReady());
        {
            platform::PortLock otherRun;
            QCOMPARE(otherRun.Acquire(platform::DevicePathForPort("SIM0")),
                     platform::PortLock::Result::Held);
            QCOMPARE(harness.Run(BottomButton::Receive),
                     QStringLiteral("[16] can`t open port : SIM0 !\n\n"
                                    "Error: The port SIM0 is in use by another program!"));
            QCOMPARE(harness.Terminal().CommandCount(), size_t(0));
        }
        harness.UnplugTerminal();
        QCOMPARE(harness.Run(BottomButton::Receive),
                 QStringLiteral("[16] can`t open port : SIM0 !"));
        QCOMPARE(Shown(harness), QStringLiteral("Receive failed: can`t open port : SIM0 !"));
        QCOMPARE(harness.Run(BottomButton::Transmit),
                 QStringLiteral("[68] ") + kTransmitQuestion + "\n[16] can`t open port :  SIM0 !");
        QCOMPARE(Shown(harness), QStringLiteral("Transmit failed: can`t open port :  SIM0 !"));
        QVERIFY(harness.Window().StatusLineWidget()->Failed());
        QVERIFY(harness.Idle());

        // The software password change says so in the login's words.
        harness.Boxes().Clear();
        CPasswordsPage *page = harness.PageAs<CPasswordsPage>(params::Page::Passwords);
        page->ChangeBox()->click();
        page->OldField()->setText(QStringLiteral("1234"));
        page->NewField()->setText(QStringLiteral("5678"));
        page->ConfirmField()->setText(QStringLiteral("5678"));
        QTest::mouseClick(page->ConfirmButton(), Qt::LeftButton);
        QCOMPARE(harness.BoxTexts(), QStringLiteral("[16] Error: Can`t open Port:  SIM0 !"));
        QVERIFY(harness.Idle());
        QCOMPARE(g_strSoftwarePassword, std::string("1234"));
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
