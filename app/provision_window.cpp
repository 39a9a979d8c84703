#include "app/provision_window.h"

#include "app/login_texts.h"
#include "app/main_texts.h"
#include "app/port_list.h"
#include "app/provision_texts.h"
#include "cli/run_state.h"
#include "engine/login.h"
#include "link/port_probe.h"
#include "link/shared_settings.h"
#include "platform/file_io.h"
#include "platform/message_box_style.h"
#include "widgets/accessible_names.h"
#include "widgets/app_message_box.h"
#include "widgets/qt_text.h"
#include "widgets/window_look.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <optional>

namespace {

using T = ProvisionText;

enum Column { kPortColumn, kStateColumn, kTimeColumn, kReasonColumn, kColumnCount };

// How the table shows each run state, in the states' order.
constexpr std::array<ProvisionText, kStateNames.size()> kStateTexts = {
    T::Waiting,          T::LoggingIn, T::Reading, T::Writing, T::Saving, T::Verifying,
    T::ChangingPassword, T::Probing,   T::Done,    T::Failed,  T::Skipped};

// A state the window does not know (from a newer kestrel-cli) shows by its name.
QString StateText(const QJsonObject &line, std::optional<RunState> state)
{
    if (!state)
        return line.value(QLatin1String("state")).toString();
    const QString word = ProvisionLabel(kStateTexts.at(static_cast<size_t>(*state)));
    if (!line.contains(QLatin1String("total")))
        return word;
    return ProvisionLabel(T::Counted,
                          {word.toStdString(), line.value(QLatin1String("done")).toInt(),
                           line.value(QLatin1String("total")).toInt()});
}

QString Seconds(qint64 ms)
{
    return QString::number(static_cast<double>(ms) / 1000, 'f', 1);
}

const char *LanguageOption()
{
    static constexpr const char *kNames[] = {"en", "pt", "es"};
    return kNames[std::clamp(lang::Code(), lang::kEnglish, lang::kSpanish) - 1];
}

// kestrel-cli beside this program, else the one PATH finds.
QString CliProgram()
{
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1String("/kestrel-cli");
    if (QFileInfo(beside).isExecutable())
        return beside;
    const QString found = QStandardPaths::findExecutable(QStringLiteral("kestrel-cli"));
    return found.isEmpty() ? QStringLiteral("kestrel-cli") : found;
}

// A control's name for assistive technology: its label without the mnemonic mark.
template <typename Control> Control *Named(Control *control, const QString &label)
{
    control->setAccessibleName(QString(label).remove(QLatin1Char('&')));
    return control;
}

} // namespace

ProvisionDialog::ProvisionDialog(const QStringList &friendlyNames, QString baud, QWidget *parent)
    : QDialog(parent), m_baud(std::move(baud))
{
    BuildWindow(friendlyNames);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    connect(&m_process, &QProcess::readyReadStandardError, this, &ProvisionDialog::OnErrorOutput);
    connect(&m_process, &QProcess::finished, this, &ProvisionDialog::OnFinished);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        m_summaryLines << ProvisionLabel(T::CannotStart, {m_process.errorString().toStdString()});
        ShowSummary();
        OnFinished();
    });
    m_tick.setInterval(100);
    connect(&m_tick, &QTimer::timeout, this, &ProvisionDialog::ShowElapsed);
}

ProvisionDialog::~ProvisionDialog()
{
    if (Running()) {
        m_process.disconnect(this);
        m_process.terminate();
        if (!m_process.waitForFinished(30000))
            m_process.kill();
        m_process.waitForFinished();
    }
}

void ProvisionDialog::BuildWindow(const QStringList &friendlyNames)
{
    setObjectName(QStringLiteral("provisionWindow"));
    setWindowTitle(ProvisionLabel(T::Title));
    ApplyWindowLook(*this);

    const auto label = [this](ProvisionText text) {
        return new QLabel(ProvisionLabel(text), this);
    };
    const auto button = [this](ProvisionText text) {
        auto *made = Named(new QPushButton(ProvisionLabel(text), this), ProvisionLabel(text));
        made->setAutoDefault(false);
        return made;
    };

    QLabel *fileLabel = label(T::FileLabel);
    m_file = Named(new QLineEdit(this), fileLabel->text());
    fileLabel->setBuddy(m_file);
    m_browse = button(T::Browse);

    QLabel *portsLabel = label(T::PortsLabel);
    m_ports = Named(new QListWidget(this), portsLabel->text());
    portsLabel->setBuddy(m_ports);
    for (const QString &name : friendlyNames) {
        auto *item = new QListWidgetItem(name, m_ports);
        item->setData(Qt::UserRole, PortEntryForName(name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_ports->setMaximumHeight(m_ports->fontMetrics().height() * 8);
    m_find = button(T::Find);

    QLabel *passwordLabel = new QLabel(LoginLabel(LoginText::PasswordLabel, lang::Code()), this);
    m_password = Named(new QLineEdit(this), passwordLabel->text());
    m_password->setEchoMode(QLineEdit::Password);
    passwordLabel->setBuddy(m_password);
    m_verify = Named(new QCheckBox(ProvisionLabel(T::Verify), this), ProvisionLabel(T::Verify));

    m_table = Named(new QTableWidget(0, kColumnCount, this), ProvisionLabel(T::Title));
    m_table->setHorizontalHeaderLabels(
        {ProvisionLabel(T::PortColumn), ProvisionLabel(T::StateColumn),
         ProvisionLabel(T::TimeColumn), ProvisionLabel(T::ReasonColumn)});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setMinimumWidth(640);

    m_elapsed = new QLabel(this);
    m_elapsed->setObjectName(QStringLiteral("elapsed"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_start = button(T::Start);
    m_start->setDefault(true); // Enter starts
    m_stop = button(T::Stop);
    m_saveReport = button(T::SaveReport);
    m_close = button(T::Close);

    auto *grid = new QGridLayout;
    grid->addWidget(fileLabel, 0, 0);
    grid->addWidget(m_file, 0, 1);
    grid->addWidget(m_browse, 0, 2);
    grid->addWidget(portsLabel, 1, 0, Qt::AlignTop);
    grid->addWidget(m_ports, 1, 1);
    grid->addWidget(m_find, 1, 2, Qt::AlignTop);
    grid->addWidget(passwordLabel, 2, 0);
    grid->addWidget(m_password, 2, 1);
    grid->addWidget(m_verify, 3, 1);
    grid->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(m_stop);
    buttons->addStretch(1);
    buttons->addWidget(m_saveReport);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_elapsed);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);

    QWidget *const order[] = {m_file,  m_browse, m_ports, m_find,       m_password, m_verify,
                              m_start, m_stop,   m_table, m_saveReport, m_close};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    connect(m_browse, &QPushButton::clicked, this, [this] {
        FileRequest request;
        request.title = lang::QtLabel(main_texts::kOpenTitle);
        OfferParameterFiles(request);
        request.folder = QFileInfo(m_file->text()).absolutePath();
        if (const QString path = ChooseFile(request); !path.isEmpty())
            m_file->setText(path);
    });
    connect(m_find, &QPushButton::clicked, this, &ProvisionDialog::OnFind);
    connect(m_start, &QPushButton::clicked, this, &ProvisionDialog::OnStart);
    connect(m_stop, &QPushButton::clicked, this, &ProvisionDialog::OnStop);
    connect(m_saveReport, &QPushButton::clicked, this, &ProvisionDialog::OnSaveReport);
    connect(m_close, &QPushButton::clicked, this, &ProvisionDialog::reject);
    EnableControls(true);
}

QString ProvisionDialog::ChooseFile(const FileRequest &request)
{
    if (m_fileChooser)
        return m_fileChooser(request);
    const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(request, this);
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty())
        return dialog->selectedFiles().constFirst();
    return {};
}

void ProvisionDialog::EnableControls(bool idle)
{
    for (QWidget *control : std::initializer_list<QWidget *>{m_file, m_browse, m_ports, m_password,
                                                             m_verify, m_start, m_close})
        control->setEnabled(idle);
    m_find->setEnabled(idle);
    m_stop->setEnabled(!idle);
    m_saveReport->setEnabled(idle && QFileInfo::exists(ReportPath()));
}

QString ProvisionDialog::ReportPath() const
{
    return m_reportDir.filePath(QStringLiteral("report.csv"));
}

void ProvisionDialog::reject()
{
    if (!Running())
        QDialog::reject();
}

void ProvisionDialog::OnStart()
{
    if (Running() || Finding())
        return;
    QStringList ports;
    for (int i = 0; i < m_ports->count(); ++i) {
        if (m_ports->item(i)->checkState() == Qt::Checked)
            ports << m_ports->item(i)->data(Qt::UserRole).toString();
    }
    QString problem = m_file->text().trimmed().isEmpty() ? ProvisionLabel(T::NoFile)
                      : ports.isEmpty()                  ? ProvisionLabel(T::NoPort)
                                                         : QString();
    if (problem.isEmpty()) {
        const login::InputProblem input =
            login::CheckInputs(ports.constFirst().toStdString(), m_baud.toStdString(),
                               m_password->text().toStdString());
        if (input != login::InputProblem::None)
            problem = QString::fromStdString(login::ProblemText(input));
    }
    if (!problem.isEmpty()) {
        AppMessageBox(this, problem, platform::kStyleError);
        return;
    }

    m_table->setRowCount(0);
    for (const QString &port : ports) {
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        const QStringList cells{port, ProvisionLabel(T::Waiting), QString(), QString()};
        for (int column = 0; column < kColumnCount; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    QFile::remove(ReportPath());
    m_summaryLines.clear();
    ShowSummary();
    m_pending.clear();
    m_ended = false;

    QStringList args{QStringLiteral("provision")};
    for (const QString &port : ports)
        args << QStringLiteral("--port") << port;
    args << QStringLiteral("--progress") << QStringLiteral("json") << QStringLiteral("--baud")
         << m_baud << QStringLiteral("--language") << QLatin1String(LanguageOption());
    if (m_verify->isChecked())
        args << QStringLiteral("--verify");
    args << QStringLiteral("--report") << ReportPath() << m_file->text().trimmed();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KESTREL_PASSWORD"), m_password->text());
    m_process.setProcessEnvironment(environment);

    EnableControls(false);
    m_clock.start();
    m_tick.start();
    ShowElapsed();
    m_process.start(CliProgram(), args);
}

// SIGTERM to the provisioning: every run ends its job and closes its port,
// and ports not started yet are skipped.
void ProvisionDialog::OnStop()
{
    if (!Running())
        return;
    m_stop->setEnabled(false);
    m_process.terminate();
}

void ProvisionDialog::OnErrorOutput()
{
    m_pending += m_process.readAllStandardError();
    for (qsizetype end; (end = m_pending.indexOf('\n')) >= 0;) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        OnLine(line);
    }
}

void ProvisionDialog::OnLine(const QByteArray &text)
{
    const QJsonDocument document = QJsonDocument::fromJson(text);
    if (!document.isObject())
        return;
    const QJsonObject line = document.object();
    const QString port = line.value(QLatin1String("port")).toString();
    const QString event = line.value(QLatin1String("event")).toString();
    const QString reason = line.value(QLatin1String("reason")).toString();
    if (port.isEmpty()) {
        // The provisioning's own: what it tells the user, and its end. The
        // report's place is ours, not the user's.
        const QString told = line.value(QLatin1String("text")).toString();
        if (event == QLatin1String("message") && !told.contains(ReportPath()))
            m_summaryLines << told;
        if (event == QLatin1String("state"))
            m_ended = true;
        ShowSummary();
        return;
    }
    const int row = RowOf(port);
    if (row < 0 || event != QLatin1String("state"))
        return;
    const std::optional<RunState> state =
        StateNamed(line.value(QLatin1String("state")).toString().toStdString());
    m_table->item(row, kStateColumn)->setText(StateText(line, state));
    // Waiting and skipped lines come from the provisioning, timed from its own start.
    if (state != RunState::Waiting && state != RunState::Skipped)
        m_table->item(row, kTimeColumn)
            ->setText(ProvisionLabel(
                T::Seconds,
                {Seconds(line.value(QLatin1String("elapsedMs")).toInteger()).toStdString()}));
    if (!reason.isEmpty())
        m_table->item(row, kReasonColumn)->setText(reason);
}

void ProvisionDialog::OnFinished()
{
    OnErrorOutput();
    if (!m_pending.isEmpty())
        OnLine(std::exchange(m_pending, {}));
    m_tick.stop();
    ShowElapsed();
    if (!m_ended && m_process.error() != QProcess::FailedToStart) {
        const int status =
            m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
        m_summaryLines << ProvisionLabel(T::EndedWithoutResult, {status});
        ShowSummary();
    }
    EnableControls(true);
}

int ProvisionDialog::RowOf(const QString &port) const
{
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (m_table->item(row, kPortColumn)->text() == port)
            return row;
    }
    return -1;
}

void ProvisionDialog::ShowElapsed()
{
    m_elapsed->setText(ProvisionLabel(T::Elapsed, {Seconds(m_clock.elapsed()).toStdString()}));
}

void ProvisionDialog::ShowSummary()
{
    m_summary->setText(m_summaryLines.join(QLatin1Char('\n')));
    m_summary->setAccessibleName(m_summary->text());
}

void ProvisionDialog::OnSaveReport()
{
    FileRequest request;
    request.kind = FileRequest::Kind::Save;
    request.title = ProvisionLabel(T::ReportTitle);
    request.filters = {{ProvisionLabel(T::ReportFilter), QStringLiteral("*.csv")},
                       {QString::fromUtf8(main_texts::kAllFilesFilter),
                        QString::fromUtf8(main_texts::kAllFilesPatterns)}};
    request.defaultSuffix = QStringLiteral("csv");
    request.proposedName = QStringLiteral("report.csv");
    const QString path = ChooseFile(request);
    if (path.isEmpty())
        return;
    std::string bytes;
    platform::FileResult result =
        platform::ReadWholeFile(ReportPath().toStdString(), 1 << 20, bytes);
    if (result.ok)
        result = platform::ReplaceFile(path.toStdString(), bytes);
    if (!result.ok)
        AppMessageBox(this, QString::fromStdString(result.error), platform::kStyleError);
}

void ProvisionDialog::OnFind()
{
    if (Finding()) {
        m_finder.Stop();
        return;
    }
    std::vector<std::string> ports;
    for (int i = 0; i < m_ports->count(); ++i)
        ports.push_back(m_ports->item(i)->data(Qt::UserRole).toString().toStdString());
    if (ports.empty())
        return;
    m_find->setText(ProvisionLabel(T::CancelFind));
    m_find->setAccessibleName(SpokenName(m_find->text()));
    m_start->setEnabled(false);
    m_summaryLines = QStringList{ProvisionLabel(T::Finding)};
    ShowSummary();
    m_finder.Start(std::move(ports), [this](const std::vector<ProbeResult> &results, bool stopped) {
        OnProbed(results, stopped);
    });
}

// The ports that answered are checked, the others not; a stopped search
// changes nothing.
void ProvisionDialog::OnProbed(const std::vector<ProbeResult> &results, bool stopped)
{
    m_find->setText(ProvisionLabel(T::Find));
    m_find->setAccessibleName(SpokenName(m_find->text()));
    EnableControls(true);
    m_summaryLines.clear();
    if (!stopped) {
        QStringList answered;
        const size_t probed = std::min(results.size(), size_t(m_ports->count()));
        for (size_t i = 0; i < probed; ++i) {
            const bool ok = results[i].outcome == ProbeResult::Outcome::Answered;
            m_ports->item(int(i))->setCheckState(ok ? Qt::Checked : Qt::Unchecked);
            if (ok)
                answered << QString::fromStdString(results[i].port);
        }
        m_summaryLines << (answered.isEmpty()
                               ? ProvisionLabel(T::NoneAnswered)
                               : ProvisionLabel(
                                     T::Answered,
                                     {answered.join(QStringLiteral(", ")).toStdString()}));
    }
    ShowSummary();
}
