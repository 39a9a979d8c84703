#include "app/main_dialog.h"

#include "app/about_dialog.h"
#include "app/page_table.h"
#include "app/port_list.h"
#include "app/provision_texts.h"
#include "app/provision_window.h"
#include "app/settings_store.h"
#include "engine/engine_globals.h"
#include "engine/job_failure.h"
#include "engine/job_reports.h"
#include "link/serial_port.h"
#include "link/shared_settings.h"
#include "pages/page_factory.h"
#include "platform/messages.h"
#include "widgets/app_message_box.h"
#include "widgets/control_state.h"
#include "widgets/nav_button.h"
#include "widgets/qt_text.h"
#include "widgets/status_line.h"
#include "widgets/wait_dialog.h"
#include "widgets/window_look.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

using namespace platform;
using main_texts::BottomButton;

namespace {

// "Tahoma" bold, 14 pixels high; where Tahoma is missing the nearest sans
// serif face stands in.
QFont PageTitleFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Verdana"),
                      QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(14);
    font.setWeight(QFont::Bold);
    return font;
}

// Wide enough for the longest title of any language, in the selected look.
int NavColumnWidth(const QFont &buttonFont)
{
    QFont bold = buttonFont;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int widest = 0;
    for (const PageTableEntry &entry : g_pageTable)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(
                                      entry.title.data(), qsizetype(entry.title.size()))));
    return widest + 28; // padding and border of the skin
}

QString ToQt(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

CMainDlg::CMainDlg(CSerialPort &port, QWidget *parent)
    : CPageHostDlg(parent), m_port(port), m_engine(port, m_readLists),
      m_operations(port, m_engine, m_readLists, *this), m_lineBuilder(port, *this)
{
    m_engine.Start();
    InstallMessageHandlers();
    BuildWindow();
    // Where and as large as the user left it; at first, as large as the
    // page area was made for.
    if (!restoreGeometry(LoadWindowGeometry()))
        resize(sizeHint());
    // From now on reception notifications and job messages come here.
    m_port.SetOwner(&m_target);
}

CMainDlg::~CMainDlg()
{
    m_closing = true;
    m_jobTimer.stop();
    m_waitDlg.reset();
    DestroyAllPages();
    m_engine.Stop(
        [this](MessageThread &thread, Millis timeout) { return WaitDispatching(thread, timeout); });
    m_port.ClosePort();
    if (m_port.Owner() == &m_target)
        m_port.SetOwner(nullptr);
}

bool CMainDlg::WaitDispatching(MessageThread &thread, Millis timeout)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (clock.hasExpired(timeout.count()))
            return thread.Ended();
        if (thread.WaitForEnd(Millis(std::min<qint64>(timeout.count() - clock.elapsed(), 10))))
            return true;
    }
}

void CMainDlg::InstallMessageHandlers()
{
    m_target.On(WM_COMMNOTIFY, [this](uintptr_t wParam, intptr_t) {
        if (!m_closing)
            m_lineBuilder.OnCommNotify(wParam);
    });
    m_target.On(WM_JOB_TIMER_START, [this](uintptr_t jobNumber, intptr_t) {
        if (m_closing)
            return;
        m_timedJob = static_cast<uint32_t>(jobNumber);
        m_jobTimer.start(g_nJobTimeout); // replaces a running one
    });
    m_target.On(WM_JOB_TIMER_STOP, [this](uintptr_t, intptr_t) { m_jobTimer.stop(); });
    m_target.On(WM_PORT_HANGUP, [this](uintptr_t, intptr_t) {
        if (!m_closing)
            m_operations.OnPortHangUp();
    });
    m_target.On(WM_SHOW_PAGE,
                [this](uintptr_t templateId, intptr_t) { OnShowPageMessage(templateId); });
    m_target.On(WM_IMPORT_FILE, [this](uintptr_t, intptr_t) { OnImportFile(); });
    m_target.On(WM_EXPORT_FILE, [this](uintptr_t, intptr_t) { OnExportFile(); });
    for (uint32_t message : kJobReportMessages) {
        m_target.On(message, [this, message](uintptr_t wParam, intptr_t lParam) {
            OnJobMessage(message, wParam, lParam);
        });
        // A job message still queued when the window goes frees what it carries.
        m_target.OnDispose(
            message, [message](uintptr_t wParam, intptr_t) { DisposeJobMessage(message, wParam); });
    }
    m_jobTimer.setSingleShot(false);
    connect(&m_jobTimer, &QTimer::timeout, this, &CMainDlg::OnJobTimer);
}

void CMainDlg::BuildWindow()
{
    setWindowTitle(QString::fromUtf8(main_texts::Caption()));
    if (QGuiApplication::windowIcon().isNull())
        setWindowIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    ApplyWindowLook(*this);

    // The About entry: in the window's context menu and on a small button.
    m_aboutAction = new QAction(QString::fromUtf8(main_texts::kAboutEntry), this);
    m_aboutAction->setData(main_texts::kAboutCommandId);
    // A tool button would otherwise drop the "...".
    m_aboutAction->setIconText(QString::fromUtf8(main_texts::kAboutEntry).remove(QLatin1Char('&')));
    connect(m_aboutAction, &QAction::triggered, this, [this] { ShowAboutBox(this); });
    setContextMenuPolicy(Qt::ActionsContextMenu);
    addAction(m_aboutAction);
    // Beside it, the window that writes one file to several terminals.
    m_provisionAction = new QAction(ProvisionLabel(ProvisionText::MenuEntry), this);
    m_provisionAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(m_provisionAction, &QAction::triggered, this, &CMainDlg::ShowProvisionWindow);
    addAction(m_provisionAction);

    m_title = new QLabel(QStringLiteral("PageName"), this);
    m_title->setObjectName(QString::number(kPageTitleId));
    m_title->setFont(PageTitleFont());
    m_title->setAutoFillBackground(true); // in the window's colour
    m_title->setContentsMargins(8, 4, 8, 4);
    m_title->setFrameShape(QFrame::StyledPanel);

    m_placeholder = new QWidget(this);
    m_placeholder->setObjectName(QString::number(kPlaceholderId));
    SetPagePlaceholder(m_placeholder);

    auto *navColumn = new QVBoxLayout;
    navColumn->setSpacing(4);
    const int code = lang::Code();
    for (int index = 0; index < kPageTableRows; ++index) {
        auto *button = new NavButton(ToQt(::PageTitle(index, code)), this);
        button->setObjectName(QString::number(PageEntry(index)->nNavButtonId));
        button->setFocusPolicy(Qt::TabFocus);
        // At the press, not at the release.
        connect(button, &QPushButton::pressed, this,
                [this, index] { ShowPageByTemplate(PageEntry(index)->nTemplateId); });
        navColumn->addWidget(button);
        m_navButtons[size_t(index)] = button;
    }
    const int navWidth = NavColumnWidth(m_navButtons[0]->font());
    for (NavButton *button : m_navButtons)
        button->setFixedWidth(navWidth);
    navColumn->addStretch(1);
    auto *about = new QToolButton(this);
    about->setDefaultAction(m_aboutAction);
    about->setAutoRaise(true);
    navColumn->addWidget(about, 0, Qt::AlignLeft);

    // Tab goes in the order of creation: the navigation column, then the
    // page area (its pages are made here, after the column), then the
    // operation buttons.
    for (int index = 0; index < kPageTableRows; ++index)
        AddPage(PageEntry(index)->nTemplateId);

    auto *bottomRow = new QHBoxLayout;
    bottomRow->setSpacing(8);
    bottomRow->addStretch(1);
    for (const main_texts::BottomButtonInfo &info : main_texts::kBottomButtons) {
        auto *button = new QPushButton(lang::QtLabel(info.label, code), this);
        button->setObjectName(QString::number(info.controlId));
        ApplyButtonSkin(*button);
        button->setMinimumWidth(96);
        if (*info.shortcut) {
            const QKeySequence keys(QString::fromLatin1(info.shortcut));
            button->setShortcut(keys);
            button->setToolTip(QStringLiteral("%1 (%2)").arg(
                button->text(), keys.toString(QKeySequence::NativeText)));
        }
        bottomRow->addWidget(button);
        m_bottomButtons[size_t(info.button)] = button;
    }
    connect(OperationButton(BottomButton::Transmit), &QPushButton::clicked, this,
            &CMainDlg::OnTransmit);
    connect(OperationButton(BottomButton::Receive), &QPushButton::clicked, this,
            &CMainDlg::OnReceive);
    connect(OperationButton(BottomButton::Open), &QPushButton::clicked, this, &CMainDlg::OnOpen);
    connect(OperationButton(BottomButton::Save), &QPushButton::clicked, this, &CMainDlg::OnSave);
    connect(OperationButton(BottomButton::Exit), &QPushButton::clicked, this, &CMainDlg::OnExit);

    // The page area takes whatever room the window gains.
    auto *grid = new QGridLayout(this);
    grid->addLayout(navColumn, 0, 0, 2, 1);
    grid->addWidget(m_title, 0, 1);
    grid->addWidget(m_placeholder, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    grid->addLayout(bottomRow, 2, 0, 1, 2);
    m_statusLine = new StatusLine(2, this);
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    const char *statusName = main_texts::kStatusLineName.Pick(code);
    m_statusLine->setAccessibleName(
        QString::fromUtf8(statusName ? statusName : main_texts::kStatusLineName.en));
    grid->addWidget(m_statusLine, 3, 0, 1, 2);
    grid->setHorizontalSpacing(10);

    ShowPageByTemplate(PageEntry(0)->nTemplateId);

    m_waitDlg = std::make_unique<CWaitDlg>(this);
    connect(m_waitDlg.get(), &CWaitDlg::cancelRequested, this, &CMainDlg::OnCancelJob);
    NotePagesUnedited();
}

std::unique_ptr<CParameterPage> CMainDlg::CreatePage(int templateId)
{
    return CreateParameterPage(templateId);
}

// ---- navigation ---------------------------------------------------------------

void CMainDlg::OnPageShown(int templateId)
{
    m_title->setText(PageTitle(templateId));
    // The highlight is where the page in front is, however it got there.
    const int index = PageIndexByTemplate(templateId);
    if (!PageEntry(index))
        return;
    m_navButtons[size_t(m_selectedNav)]->SetSelected(false);
    m_selectedNav = index;
    m_navButtons[size_t(index)]->SetSelected(true);
}

QString CMainDlg::PageTitle(int templateId) const
{
    return ToQt(::PageTitle(PageIndexByTemplate(templateId)));
}

QString CMainDlg::PageTitleText() const
{
    return m_title->text();
}

void CMainDlg::SendShowPage(int templateId)
{
    m_target.SendMessage(WM_SHOW_PAGE, uintptr_t(templateId));
}

void CMainDlg::ShowPage(uint32_t templateId)
{
    // As the result reports ask for it: posted, shown after the report.
    m_target.PostMessage(WM_SHOW_PAGE, templateId);
}

void CMainDlg::OnShowPageMessage(uintptr_t templateId)
{
    if (m_closing)
        return;
    int index = PageIndexByTemplate(static_cast<long long>(templateId));
    if (index == kNoPage)
        index = 0;
    ShowPageByTemplate(PageEntry(index)->nTemplateId);
}

NavButton *CMainDlg::NavButtonAt(int pageIndex) const
{
    return PageEntry(pageIndex) ? m_navButtons[size_t(pageIndex)] : nullptr;
}

QPushButton *CMainDlg::OperationButton(BottomButton which) const
{
    return m_bottomButtons[size_t(which)];
}

// ---- keys and closing -------------------------------------------------------------

void CMainDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    CPageHostDlg::keyPressEvent(event);
}

void CMainDlg::done(int result)
{
    if (m_engine.JobRunning()) {
        // A read can simply stop; a write stopped halfway leaves the terminal
        // with part of the new settings.
        if (m_engine.JobState() != CCommThread::kReading &&
            !AppQuestion(this, lang::QtText(status_texts::kCloseDuringWrite)))
            return;
        m_closeAfterJob = true;
        m_closeResult = result;
        OnCancelJob();
        return;
    }
    if (!SettleUnsavedEdits())
        return;
    SaveWindowGeometry(saveGeometry());
    CPageHostDlg::done(result);
}

void CMainDlg::OnCancelJob()
{
    if (!m_engine.JobRunning()) {
        // Not started yet, or already over: nothing to stop.
        m_waitDlg->SetCancellable(m_outcomeFor == Operation::Receive);
        return;
    }
    m_cancelled = true;
    m_engine.PostStop(m_engine.Comm().JobNumber());
}

void CMainDlg::NotePagesUnedited()
{
    m_uneditedPages = ControlStateFingerprint(*m_placeholder);
}

bool CMainDlg::PagesEdited() const
{
    return ControlStateFingerprint(*m_placeholder) != m_uneditedPages;
}

bool CMainDlg::SettleUnsavedEdits()
{
    if (!PagesEdited())
        return true;
    switch (AppSaveQuestion(this, lang::QtText(status_texts::kUnsavedEdits))) {
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        return false;
    case SaveAnswer::Save:
        break;
    }
    const QString path = ChooseFile(FileRequest::Kind::Save);
    if (path.isEmpty())
        return false;
    m_filePath = path;
    BeginOutcome(Operation::Save);
    m_saveToFile = true;
    return OnExportFile();
}

void CMainDlg::OnExit()
{
    done(QDialog::Accepted);
}

// ---- what the user is shown ---------------------------------------------------------

void CMainDlg::ShowStatus(const std::string &text, bool ok)
{
    const QString shown = QString::fromStdString(text);
    if (!ok)
        NoteFailure(shown);
    if (m_waitDlg)
        m_waitDlg->SetStatusText(shown);
    // The user who cancelled knows; the status line tells the outcome.
    if (!ok && !shown.isEmpty() && !m_closing && !m_cancelled)
        AppMessageBox(this, shown, kStyleError);
}

void CMainDlg::ShowMessageBox(const std::string &text, int style)
{
    if (style & (kStyleError | kStyleWarning))
        NoteFailure(QString::fromStdString(text));
    if (!text.empty() && !m_closing)
        AppMessageBox(this, QString::fromStdString(text), style);
}

void CMainDlg::ShowWaitBox(const std::string &statusLine)
{
    if (!m_waitDlg)
        return;
    if (!m_waitDlg->isVisible()) {
        // Only a Receive, once started, counts its steps and may be cancelled.
        m_waitDlg->SetProgress(0, 0);
        m_waitDlg->SetCancellable(false);
    }
    m_waitDlg->ShowCentred();
    m_waitDlg->SetStatusText(QString::fromStdString(statusLine));
}

void CMainDlg::HideWaitBox()
{
    if (m_waitDlg && m_waitDlg->isVisible())
        m_waitDlg->hide();
    update();
}

void CMainDlg::EnableControls(bool enable)
{
    for (NavButton *button : m_navButtons)
        button->setEnabled(enable);
    for (QPushButton *button : m_bottomButtons)
        button->setEnabled(enable);
    // Nothing on the pages changes under a job that reads into them or
    // writes from them.
    m_placeholder->setEnabled(enable);
}

// ---- the status line ------------------------------------------------------------------

void CMainDlg::BeginOutcome(Operation operation)
{
    m_outcomeFor = operation;
    m_firstFailure.clear();
    m_outcomeAccount.clear();
    m_statusLine->Clear();
}

void CMainDlg::NoteFailure(const QString &text)
{
    if (m_outcomeFor && m_firstFailure.isEmpty() && !text.trimmed().isEmpty())
        m_firstFailure = text.trimmed();
}

void CMainDlg::ShowAccount(const std::string &text)
{
    if (m_outcomeFor)
        m_outcomeAccount = QString::fromStdString(text);
}

void CMainDlg::NotePageRefused()
{
    NoteFailure(lang::QtText(status_texts::kPageRefused, PageTitle(RefusedTemplate())));
}

void CMainDlg::EndOutcome(const QString &detail)
{
    if (!m_outcomeFor || m_closing)
        return;
    const Operation operation = *m_outcomeFor;
    m_outcomeFor.reset();
    QString shown = status_texts::Outcome(operation, m_firstFailure, detail);
    if (operation == Operation::Receive && !m_firstFailure.isEmpty() && m_receiveIncomplete)
        shown += QLatin1Char(' ') + lang::QtText(status_texts::kUnreadPages, UnreadPageTitles());
    if (!m_outcomeAccount.isEmpty())
        shown += QLatin1Char(' ') + m_outcomeAccount;
    m_statusLine->ShowOutcome(shown, !m_firstFailure.isEmpty() || !m_outcomeAccount.isEmpty());
}

// ---- reception -----------------------------------------------------------------------

void CMainDlg::OnRxLineReady()
{
    if (std::unique_ptr<std::string> line = m_lineBuilder.TakeLine())
        m_engine.PostLine(std::move(line));
}

void CMainDlg::OnRxLineDropped()
{
    m_engine.PostLineLost();
}

void CMainDlg::OnRxError(RxError error)
{
    ShowMessageBox(MainWindowRxErrorText(error), kStyleInformation);
}

void CMainDlg::ShowProvisionWindow()
{
    if (!m_provisionDlg)
        m_provisionDlg = std::make_unique<ProvisionDialog>(
            PresentPortNames(), QString::fromStdString(g_strBaudRate), this);
    m_provisionDlg->show();
    m_provisionDlg->raise();
    m_provisionDlg->activateWindow();
}
