#pragma once
// The "Provision several terminals..." window: one parameter file written to
// every checked port at once. The work is `kestrel-cli provision`, started
// beside this program (or from PATH) with its progress as JSON lines on
// standard error, which the table follows port by port. The password goes
// to it in its environment, never on its command line.

#include "app/file_dialog.h"
#include "app/port_finder.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

class ProvisionDialog : public QDialog
{
    Q_OBJECT
public:
    // `friendlyNames` as PresentPortNames gives them; `baud` is the rate
    // every port is opened at.
    ProvisionDialog(const QStringList &friendlyNames, QString baud, QWidget *parent = nullptr);
    // A run still going is stopped as Stop stops it, and waited for.
    ~ProvisionDialog() override;

    // What Browse and Save report ask of a file dialog; tests answer without one.
    using FileChooser = std::function<QString(const FileRequest &)>;
    void SetFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }

    bool Running() const { return m_process.state() != QProcess::NotRunning; }
    bool Finding() const { return m_finder.Running(); }
    qint64 ProcessId() const { return m_process.processId(); }

    void OnStart();
    void OnStop();
    void OnFind();
    void OnSaveReport();

public slots:
    // Escape and the close button are refused while the provisioning runs.
    void reject() override;

private:
    void BuildWindow(const QStringList &friendlyNames);
    QString ChooseFile(const FileRequest &request);
    void EnableControls(bool idle);
    void OnErrorOutput();
    void OnLine(const QByteArray &line);
    void OnFinished();
    void OnProbed(const std::vector<ProbeResult> &results, bool stopped);
    void ShowElapsed();
    void ShowSummary();
    int RowOf(const QString &port) const;
    QString ReportPath() const;

    QString m_baud;
    QLineEdit *m_file = nullptr;
    QPushButton *m_browse = nullptr;
    QListWidget *m_ports = nullptr;
    QPushButton *m_find = nullptr;
    QLineEdit *m_password = nullptr;
    QCheckBox *m_verify = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_elapsed = nullptr;
    QLabel *m_summary = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_saveReport = nullptr;
    QPushButton *m_close = nullptr;

    QProcess m_process;
    QByteArray m_pending; // of a progress line so far
    QStringList m_summaryLines;
    bool m_ended = false; // the provisioning's own final line came
    QElapsedTimer m_clock;
    QTimer m_tick;
    QTemporaryDir m_reportDir; // the report waits here for Save report

    FileChooser m_fileChooser;
    PortFinder m_finder{*this};
};
