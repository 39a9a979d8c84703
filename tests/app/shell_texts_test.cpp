// Every control of the shell's windows in every language, as the user sees
// it and as a screen reader names it, and the shell's message tables in the
// three languages, against the reviewed dumps in golden/ (control_dump.h
// tells how to rewrite them). The login is relabelled through its language
// list, as the user does it.

#include "app/about_dialog.h"
#include "app/login_dialog.h"
#include "app/provision_texts.h"
#include "app/provision_window.h"
#include "app/status_texts.h"
#include "control_dump.h"
#include "engine/login.h"
#include "main_window_harness.h"
#include "window_checks.h"

#include <QAction>
#include <QComboBox>
#include <QRegularExpression>
#include <QTableView>

using control_dump::Quoted;
using main_texts::BottomButton;

namespace {

const char *const kLanguageNames[] = {"", "en", "pt", "es"};

// The texts of a model's first column, or of its header.
QString Joined(const QAbstractItemModel *model, bool header)
{
    QStringList texts;
    for (int i = 0; i < (header ? model->columnCount() : model->rowCount()); ++i)
        texts << (header ? model->headerData(i, Qt::Horizontal) : model->index(i, 0).data())
                     .toString();
    return texts.join(QLatin1String(" | "));
}

// The control's kind and what it shows: a list its entries, a table its
// header.
std::pair<QString, QString> KindAndText(QWidget *widget)
{
    if (auto *choice = qobject_cast<QComboBox *>(widget))
        return {QStringLiteral("choice"), Joined(choice->model(), false)};
    if (auto *table = qobject_cast<QTableView *>(widget))
        return {QStringLiteral("table"), Joined(table->model(), true)};
    if (auto *list = qobject_cast<QAbstractItemView *>(widget))
        return {QStringLiteral("list"), Joined(list->model(), false)};
    return control_dump::PlainKindAndText(widget);
}

// One line per control `root` shows, leaving out what is inside `skip`
// (the pages, which have their dump): language, window, kind, accessible
// name, text, and the tooltip where one is set. The title and the window's
// actions come first.
QStringList WindowLines(const char *window, QWidget *root, const QWidget *skip = nullptr)
{
    const QString prefix =
        QStringLiteral("%1\t%2\t")
            .arg(QLatin1String(kLanguageNames[lang::Code()]), QLatin1String(window));
    QStringList lines{prefix + QStringLiteral("title\t") + Quoted(root->windowTitle())};
    for (const QAction *action : root->actions())
        lines << prefix + QStringLiteral("action\t") + Quoted(action->text()) + '\t' +
                     action->shortcut().toString();
    for (QWidget *widget : window_checks::ShownControls(root)) {
        if (skip && skip->isAncestorOf(widget))
            continue;
        const auto [kind, text] = KindAndText(widget);
        lines << control_dump::Line(
            prefix, kind, window_checks::AccessibleText(widget, QAccessible::Name), text, widget);
    }
    return lines;
}

// The shell's windows in `language`; the login is shown in it through its
// language list.
QStringList ShellLines(int language)
{
    lang::SetCode(language);
    QStringList lines;
    {
        CSerialPort port;
        CLoginDlg login(port,
                        {QStringLiteral("SIM0"), QStringLiteral("115200"), QStringLiteral("1")},
                        CLoginDlg::PortLister([] { return QStringList{"Virtual port (SIM0)"}; }));
        login.findChild<QComboBox *>(QStringLiteral("languageList"))->setCurrentIndex(language - 1);
        lines << WindowLines("Login", &login);
    }
    {
        MainWindowHarness harness({}, language);
        CWaitDlg *wait = harness.Window().WaitDialog();
        wait->SetCancellable(true); // as during a Receive
        lines << WindowLines("Main", &harness.Window(), harness.Window().PageArea())
              << WindowLines("Wait", wait);
        // The file dialogs' titles, both dialogs cancelled.
        harness.AnswerFileDialog({});
        for (BottomButton button : {BottomButton::Open, BottomButton::Save}) {
            QTest::mouseClick(harness.Button(button), Qt::LeftButton);
            lines << QStringLiteral("%1\tFile dialog\ttitle\t").arg(kLanguageNames[language]) +
                         Quoted(harness.FileRequests().back().title);
        }
    }
    lang::SetCode(language);
    ProvisionDialog provision({QStringLiteral("Virtual port (SIM0)")}, QStringLiteral("115200"));
    lines << WindowLines("Provision", &provision);
    const std::unique_ptr<QDialog> about = CreateAboutBox(nullptr);
    lines << WindowLines("About", about.get())
                 .replaceInStrings(QRegularExpression(QStringLiteral(
                                       "Build On: [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}")),
                                   QStringLiteral("Build On: <date>"));
    return lines;
}

QString MessageLine(const QString &name, const lang::Tr3 &text)
{
    return name + '\t' + Quoted(QString::fromUtf8(text.en)) + '\t' +
           Quoted(QString::fromUtf8(text.pt)) + '\t' + Quoted(QString::fromUtf8(text.es));
}

// The message tables of the shell and of the login it shows: one line per
// text, its three languages side by side. The labels of the windows are in
// the other dump.
QStringList MessageLines()
{
    namespace st = status_texts;
    namespace lt = login::texts;
    const std::pair<const char *, const lang::Tr3 &> named[] = {
        {"transmit cancelled", st::kTransmitCancelled},
        {"page refused", st::kPageRefused},
        {"transmit question", st::kTransmitQuestion},
        {"unread pages", st::kUnreadPages},
        {"all pages", st::kAllPages},
        {"transmit after failed receive", st::kTransmitAfterFailedReceive},
        {"receive cancelled", st::kReceiveCancelled},
        {"close during write", st::kCloseDuringWrite},
        {"unsaved edits", st::kUnsavedEdits},
        {"cancel search", ProvisionTextTr3(ProvisionText::CancelFind)},
        {"login: select port", lt::kSelectPort},
        {"login: select baud", lt::kSelectBaud},
        {"login: enter password", lt::kEnterPassword},
        {"login: password length", lt::kPasswordLength},
        {"login: password characters", lt::kPasswordCharacters},
        {"login: cannot open port", lt::kCannotOpenPort},
        {"login: password invalid", lt::kPasswordInvalid},
        {"login: not understood", lt::kLoginNotUnderstood},
        {"login: timeout", lt::kTimeout},
        {"login: swap error", lt::kSwapError},
        {"login: overflow", lt::kOverflow},
        {"login: port in use", lt::kPortInUse},
        {"login: no port permission", lt::kNoPortPermission},
    };
    QStringList lines;
    for (const st::OperationTexts &texts : st::kOperations) {
        const QString operation = QString::number(int(texts.operation));
        lines << MessageLine("operation " + operation + " done", texts.succeeded)
              << MessageLine("operation " + operation + " failed", texts.failed);
    }
    for (const auto &[name, text] : named)
        lines << MessageLine(QString::fromLatin1(name), text);
    for (int text = int(ProvisionText::Waiting); text <= int(ProvisionText::ReportFilter); ++text)
        lines << MessageLine(QStringLiteral("provision %1").arg(text),
                             ProvisionTextTr3(ProvisionText(text)));
    return lines;
}

} // namespace

class ShellTextsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlMatchesTheReviewedDump()
    {
        QStringList lines;
        for (int language : {lang::kEnglish, lang::kPortuguese, lang::kSpanish})
            lines << ShellLines(language);
        lang::SetCode(lang::kEnglish);
        control_dump::CompareWithDump(lines, KESTREL_APP_GOLDEN_DIR "/shell_texts.txt");
    }

    void everyMessageMatchesTheReviewedDump()
    {
        control_dump::CompareWithDump(MessageLines(), KESTREL_APP_GOLDEN_DIR "/shell_messages.txt");
    }
};

KESTREL_QT_TEST(ShellTextsTest)
#include "shell_texts_test.moc"
