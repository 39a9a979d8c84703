#include "app/login_dialog.h"

#include "app/login_texts.h"
#include "app/port_list.h"
#include "app/provision_texts.h"
#include "engine/login.h"
#include "link/serial_port.h"
#include "link/shared_settings.h"
#include "platform/messages.h"
#include "widgets/accessible_names.h"
#include "widgets/app_message_box.h"
#include "widgets/code_page.h"
#include "widgets/qt_text.h"
#include "widgets/window_look.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace {

// The injected Enter is released this long after it was pressed.
constexpr int kEnterReleaseDelayMs = 300;
// The port list is this many characters wide whatever the ports are called;
// its drop-down widens to show longer descriptions whole.
constexpr int kPortListChars = 24;

bool IsEnterKey(const QEvent *event)
{
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

CLoginDlg::CLoginDlg(CSerialPort &port, const StartupSettings &initial,
                     const QStringList &friendlyPortNames, QWidget *parent)
    : CLoginDlg(
          port, initial, [friendlyPortNames] { return friendlyPortNames; }, parent)
{}

CLoginDlg::CLoginDlg(CSerialPort &port, const StartupSettings &initial, PortLister listPorts,
                     QWidget *parent)
    : QDialog(parent), m_port(port), m_builder(port, *this), m_listPorts(std::move(listPorts)),
      m_savedPort(initial.port)
{
    if (!m_listPorts)
        m_listPorts = [] { return QStringList(); };
    setObjectName(QStringLiteral("loginDialog"));
    m_target.On(platform::WM_COMMNOTIFY,
                [this](uintptr_t wParam, intptr_t) { m_builder.OnCommNotify(wParam); });
    m_loginTimer.setSingleShot(true);
    connect(&m_loginTimer, &QTimer::timeout, this, &CLoginDlg::OnLoginTimer);
    m_lineClearTimer.setSingleShot(true);
    connect(&m_lineClearTimer, &QTimer::timeout, this, &CLoginDlg::OnLineClearTimer);

    BuildControls(initial);
    qApp->installEventFilter(this);
    m_portRefresh.setObjectName(QStringLiteral("portRefresh"));
    m_portRefresh.setInterval(kPortRefreshMs);
    connect(&m_portRefresh, &QTimer::timeout, this, &CLoginDlg::RefreshPorts);
    m_portRefresh.start();
}

CLoginDlg::~CLoginDlg()
{
    qApp->removeEventFilter(this);
    m_loginTimer.stop();
    m_lineClearTimer.stop();
    // Nothing may be posted to the target once it is gone.
    if (m_port.Owner() == &m_target) {
        m_port.ClosePort();
        m_port.SetOwner(nullptr);
    }
}

void CLoginDlg::BuildControls(const StartupSettings &initial)
{
    ApplyWindowLook(*this);
    NameComboBoxesByLabel();

    m_portLabel = new QLabel(this);
    m_portLabel->setObjectName(QStringLiteral("portLabel"));
    m_baudLabel = new QLabel(this);
    m_baudLabel->setObjectName(QStringLiteral("baudLabel"));
    m_passwordLabel = new QLabel(this);
    m_passwordLabel->setObjectName(QStringLiteral("passwordLabel"));
    m_languageLabel = new QLabel(this);
    m_languageLabel->setObjectName(QStringLiteral("languageLabel"));

    m_portList = new QComboBox(this);
    m_portList->setObjectName(QStringLiteral("portList"));
    m_portList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_portList->setMinimumContentsLength(kPortListChars);
    RefreshPorts();

    m_baudList = new QComboBox(this);
    m_baudList->setObjectName(QStringLiteral("baudList"));
    for (const std::string_view rate : kLoginBaudRates)
        m_baudList->addItem(QString::fromLatin1(rate.data(), static_cast<qsizetype>(rate.size())));
    // The first rate that begins with the saved one; a saved rate that is
    // not in the list leaves nothing selected: the user is asked to pick one.
    m_baudList->setCurrentIndex(
        initial.baud.isEmpty() ? -1 : m_baudList->findText(initial.baud, Qt::MatchStartsWith));

    m_passwordEdit = new QLineEdit(this);
    m_passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    // A CR or LF pasted into the password would split the login line into
    // two command lines for the terminal; control characters never get in,
    // nor characters the terminal's code page has no byte for.
    FieldValidator::Attach(m_passwordEdit, FieldValidator::Accepts::CodePageNoControl);

    m_languageList = new QComboBox(this);
    m_languageList->setObjectName(QStringLiteral("languageList"));
    // Measured anew in each language (see below).
    m_languageList->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_findButton = new QPushButton(this);
    m_findButton->setObjectName(QStringLiteral("findButton"));
    m_findOutcome = new QLabel(this);
    m_findOutcome->setObjectName(QStringLiteral("findOutcome"));
    m_findOutcome->setWordWrap(true);
    // The outcome wraps within the width the fields give; it never widens the dialog.
    m_findOutcome->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_findOutcome->hide();

    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->setContentsMargins(18, 18, 18, 14);
    const std::pair<QLabel *, QWidget *> rows[] = {{m_portLabel, m_portList},
                                                   {m_baudLabel, m_baudList},
                                                   {m_passwordLabel, m_passwordEdit},
                                                   {m_languageLabel, m_languageList}};
    int row = 0;
    for (const auto &[label, field] : rows) {
        label->setBuddy(field);
        field->setMinimumWidth(170);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    grid->addWidget(m_findOutcome, row++, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_findButton);
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    grid->addLayout(buttons, row, 0, 1, 2);
    // One width in every language, so that the dialog stays put while the
    // user picks one: each column as wide as its widest text.
    int labelWidth = 0;
    int fieldWidth = 0;
    int findWidth = 0;
    for (int selection : {0, 1, 2}) { // the language list's three entries
        ApplyLanguage(selection);
        for (const auto &[label, field] : rows) {
            labelWidth = std::max(labelWidth, label->sizeHint().width());
            fieldWidth = std::max(fieldWidth, field->sizeHint().width());
        }
        for (ProvisionText text : {ProvisionText::Find, ProvisionText::CancelFind}) {
            m_findButton->setText(lang::QtLabel(ProvisionTextTr3(text), m_labelLanguage));
            findWidth = std::max(findWidth, m_findButton->sizeHint().width());
        }
    }
    grid->setColumnMinimumWidth(0, labelWidth);
    grid->setColumnMinimumWidth(1, fieldWidth);
    m_findButton->setMinimumWidth(findWidth);

    // Tab goes down the fields as they stand, then to OK and Cancel.
    QWidget *const tabOrder[] = {m_portList,   m_baudList, m_passwordEdit, m_languageList,
                                 m_findButton, m_okButton, m_cancelButton};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(m_okButton, &QPushButton::clicked, this, &CLoginDlg::OnOkClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &CLoginDlg::reject);
    connect(m_findButton, &QPushButton::clicked, this, &CLoginDlg::OnFind);

    ApplyLanguage(SelectionForSavedLanguage(initial.language));
    connect(m_languageList, &QComboBox::currentIndexChanged, this, [this](int selection) {
        if (selection >= 0)
            ApplyLanguage(selection);
    });
}

void CLoginDlg::ApplyLanguage(int selection)
{
    const int code = LabelLanguageForSelection(selection);
    m_labelLanguage = code;
    m_portLabel->setText(LoginLabel(LoginText::PortLabel, code));
    m_baudLabel->setText(LoginLabel(LoginText::BaudLabel, code));
    m_passwordLabel->setText(LoginLabel(LoginText::PasswordLabel, code));
    m_languageLabel->setText(LoginLabel(LoginText::LanguageLabel, code));
    m_okButton->setText(LoginLabel(LoginText::OkButton, code));
    m_cancelButton->setText(LoginLabel(LoginText::CancelButton, code));
    setWindowTitle(LoginLabel(LoginText::Title, code));
    m_findButton->setText(lang::QtLabel(
        ProvisionTextTr3(m_finder.Running() ? ProvisionText::CancelFind : ProvisionText::Find),
        code));
    m_findButton->setAccessibleName(SpokenName(m_findButton->text()));
    m_findOutcome->setText(findOutcomeText(code));
    m_findOutcome->setVisible(!m_findOutcome->text().isEmpty());

    // The list is refilled in the new language with the same position
    // selected, without counting as a new choice.
    const QSignalBlocker blocker(m_languageList);
    m_languageList->clear();
    for (LoginText entry : {LoginText::English, LoginText::Portuguese, LoginText::Spanish})
        m_languageList->addItem(LoginLabel(entry, code));
    m_languageList->setCurrentIndex(selection);
    update();
}

// Lists the ports present again when they changed, the port chosen kept
// while it is there. Not while busy, nor under the user's hands while the
// list is open.
void CLoginDlg::RefreshPorts()
{
    if (Busy() || m_portList->view()->isVisible())
        return;
    const QStringList names = m_listPorts();
    if (m_listedNames == names)
        return;
    m_listedNames = names;
    const QString chosen = m_portList->currentData().toString();
    const PortListing listing = LastUsedFirst(BuildPortList(names, m_savedPort));
    m_listedPorts = listing.entries;
    m_portList->clear();
    for (qsizetype i = 0; i < listing.entries.size(); ++i)
        m_portList->addItem(listing.labels[i], listing.entries[i]);
    // The port chosen where it is still listed, else the first: the listing
    // puts the port used last there.
    const int kept = chosen.isEmpty() ? -1 : m_portList->findData(chosen);
    m_portList->setCurrentIndex(std::max(kept, 0));
    QAbstractItemView *const dropDown = m_portList->view();
    dropDown->setMinimumWidth(dropDown->sizeHintForColumn(0) + 2 * dropDown->frameWidth());
}

void CLoginDlg::SetBusy(bool busy)
{
    for (QWidget *control :
         {static_cast<QWidget *>(m_portList), static_cast<QWidget *>(m_baudList),
          static_cast<QWidget *>(m_passwordEdit), static_cast<QWidget *>(m_languageList),
          static_cast<QWidget *>(m_okButton)})
        control->setEnabled(!busy);
    // While it searches, Find is the button that stops it.
    m_findButton->setEnabled(!busy || m_finder.Running());
    if (busy) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
        if (!focusWidget() || focusWidget() == m_cancelButton)
            m_passwordEdit->setFocus(Qt::OtherFocusReason);
    }
    ApplyLanguage(m_languageList->currentIndex());
}

void CLoginDlg::OnFind()
{
    if (m_finder.Running()) {
        m_finder.Stop();
        return;
    }
    if (m_awaitingReply)
        return;
    std::vector<std::string> ports;
    for (const QString &port : m_listedPorts)
        ports.push_back(port.toStdString());
    m_found.reset();
    m_finder.Start(std::move(ports), [this](const std::vector<ProbeResult> &results, bool stopped) {
        OnFound(results, stopped);
    });
    SetBusy(true);
}

// The first port that answered, at the rate it answered, becomes the choice;
// a stopped search changes nothing.
void CLoginDlg::OnFound(const std::vector<ProbeResult> &results, bool stopped)
{
    if (!stopped) {
        m_found = results;
        for (const ProbeResult &result : results) {
            if (result.outcome != ProbeResult::Outcome::Answered)
                continue;
            m_portList->setCurrentIndex(m_portList->findData(QString::fromStdString(result.port)));
            m_baudList->setCurrentIndex(m_baudList->findText(QString::fromStdString(result.rate)));
            break;
        }
    }
    SetBusy(false);
}

QString CLoginDlg::findOutcomeText(int code) const
{
    if (m_finder.Running())
        return lang::QtLabel(ProvisionTextTr3(ProvisionText::Finding), code);
    if (!m_found)
        return {};
    std::vector<std::string> answered;
    for (const ProbeResult &result : *m_found) {
        if (result.outcome == ProbeResult::Outcome::Answered)
            answered.push_back(
                ProvisionTextTr3(ProvisionText::AtRate).TextIn(code, {result.port, result.rate}));
    }
    if (answered.empty())
        return lang::QtLabel(ProvisionTextTr3(ProvisionText::NoneAnswered), code);
    std::string list;
    for (const std::string &port : answered)
        list += (list.empty() ? "" : ", ") + port;
    return QString::fromStdString(ProvisionTextTr3(ProvisionText::Answered).TextIn(code, {list}));
}

void CLoginDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A returning user finds port, rate and language chosen and just types
    // the password.
    m_passwordEdit->setFocus(Qt::OtherFocusReason);
}

bool CLoginDlg::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)))
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        // An Enter confirms; from the password field it goes by way of OK.
        m_enterPressed = IsEnterKey(event);
        if (m_enterPressed && focusWidget() == m_passwordEdit)
            m_okButton->setFocus(Qt::OtherFocusReason);
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        m_enterPressed = false;
        break;
    default:
        break;
    }
    return false;
}

void CLoginDlg::OnOkClicked()
{
    if (m_enterPressed)
        Confirm();
    else
        InjectEnterPress();
}

// A click on OK confirms the way Enter does: an Enter press goes into the
// input stream and comes back through the filter. It goes to OK itself, so
// that it presses OK wherever the focus is.
void CLoginDlg::InjectEnterPress()
{
    QPointer<QWidget> target = m_okButton;
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
    QTimer::singleShot(kEnterReleaseDelayMs, this, [target] {
        if (target)
            QCoreApplication::postEvent(
                target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier));
    });
}

void CLoginDlg::Confirm()
{
    m_portText = m_portList->currentData().toString();
    m_baudText = m_baudList->currentText();
    m_passwordText = m_passwordEdit->text();
    // The messages below already speak the chosen language.
    const int code = std::max(m_languageList->currentIndex(), 0) + 1;
    lang::SetCode(code);
    m_languageCodeText = QString::number(code);

    const std::string port = m_portText.toStdString();
    // One byte per character, so the length check counts characters.
    const std::string password = PasswordBytes();
    const login::InputProblem problem =
        login::CheckInputs(port, m_baudText.toStdString(), password);
    if (problem != login::InputProblem::None) {
        ShowMessage(QString::fromStdString(login::ProblemText(problem)), platform::kStyleError);
        if (problem == login::InputProblem::NoPassword ||
            problem == login::InputProblem::PasswordLength ||
            problem == login::InputProblem::PasswordCharacters)
            SelectPassword();
        return;
    }

    // A second confirmation while the first still waits starts afresh: the
    // port is closed first, which also ends the write of the old line.
    EndExchange();
    g_strBaudRate = m_baudText.toStdString();
    g_strPortName = port;
    m_port.SetOwner(&m_target);
    if (!m_port.OpenPort()) {
        const std::string text = login::CannotOpenPortText(port, m_port.LastError().kind);
        ShowMessage(QString::fromStdString(text), platform::kStyleError);
        return;
    }
    m_loginTimer.start(login::g_nLoginTimeout);
    m_exchange.emplace(password);
    m_awaitingReply = true;
    SetBusy(true);
    const std::string_view clear = login::Exchange::kClearLine;
    m_port.Send(clear.data(), static_cast<uint32_t>(clear.size()));
    m_lineClearTimer.start(login::kLineClearTimeMs);
}

void CLoginDlg::SendLoginLine()
{
    m_lineClearTimer.stop();
    m_port.Send(m_exchange->Line().data(), static_cast<uint32_t>(m_exchange->Line().size()));
}

std::string CLoginDlg::PasswordBytes() const
{
    return codepage::ToBytes(m_passwordText);
}

void CLoginDlg::SelectPassword()
{
    m_passwordEdit->selectAll();
    m_passwordEdit->setFocus(Qt::OtherFocusReason);
}

void CLoginDlg::EndExchange()
{
    const bool waited = m_awaitingReply;
    m_awaitingReply = false;
    m_loginTimer.stop();
    m_lineClearTimer.stop();
    if (m_port.Owner() == &m_target)
        m_port.ClosePort();
    if (waited)
        SetBusy(false);
}

void CLoginDlg::OnLoginTimer()
{
    if (!m_awaitingReply)
        return;
    EndExchange();
    ShowMessage(lang::QtText(login::texts::kTimeout), platform::kStyleError);
}

void CLoginDlg::OnLineClearTimer()
{
    if (m_awaitingReply && m_exchange->OnClearTimeout() == login::Exchange::Outcome::SendLogin)
        SendLoginLine();
}

void CLoginDlg::OnRxLineReady()
{
    const std::unique_ptr<std::string> line = m_builder.TakeLine();
    // Lines outside an exchange (the rest of a batch after the answer, or
    // anything after a time-out) answer nothing.
    if (!line || !m_awaitingReply)
        return;
    using Outcome = login::Exchange::Outcome;
    const Outcome outcome = m_exchange->OnLine(*line);
    switch (outcome) {
    case Outcome::NoData:
        ShowMessage(QString::fromLatin1(login::texts::kNoData), platform::kStyleInformation);
        break;
    case Outcome::SendLogin:
        // Once this line's handling is over (see login::Exchange).
        m_lineClearTimer.start(0);
        break;
    case Outcome::Accepted:
        m_loginSucceeded = true;
        EndExchange();
        accept();
        break;
    case Outcome::Refused:
    case Outcome::NotUnderstood:
        m_loginSucceeded = false;
        EndExchange();
        ShowMessage(lang::QtText(outcome == Outcome::Refused ? login::texts::kPasswordInvalid
                                                             : login::texts::kLoginNotUnderstood),
                    platform::kStyleError);
        // The Enter that confirmed left the focus on OK; retyping replaces
        // the refused password.
        SelectPassword();
        break;
    case Outcome::Waiting:
        break;
    }
}

void CLoginDlg::OnRxError(RxError error)
{
    switch (error) {
    case RxError::Overflow:
        ShowMessage(lang::QtText(login::texts::kOverflow), platform::kStyleInformation);
        break;
    case RxError::SwapFailed:
        ShowMessage(lang::QtText(login::texts::kSwapError), platform::kStyleInformation);
        break;
    case RxError::NoData:
        ShowMessage(QString::fromLatin1(login::texts::kNoData), platform::kStyleInformation);
        break;
    }
}

void CLoginDlg::ShowMessage(const QString &text, int style)
{
    // A language code without texts shows nothing.
    if (!text.isEmpty())
        AppMessageBox(this, text, style);
}

void CLoginDlg::reject()
{
    if (m_awaitingReply)
        EndExchange();
    else if (m_finder.Running())
        m_finder.Stop();
    else
        QDialog::reject();
}

void CLoginDlg::closeEvent(QCloseEvent *event)
{
    EndExchange();
    m_finder.Stop();
    QDialog::reject();
    event->accept();
}
