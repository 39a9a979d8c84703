#pragma once
// The "Please wait" box: a modeless box over the main window while a job
// runs, with a headline, a status line that the main window keeps up to
// date (visible or not) and a progress bar, so that the user sees that work
// goes on and how much is left. The user cannot close it; the main window
// hides it when the job has ended. A job that may be cancelled gets a
// Cancel button, which asks the main window to stop it.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class CWaitDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kHeadlineId = 1368;
    static constexpr int kStatusLineId = 1061;

    explicit CWaitDlg(QWidget *parent = nullptr);

    void SetStatusText(const QString &text);
    QString StatusText() const;
    QString HeadlineText() const;
    // Shows the box centred over its parent (or the screen) when hidden.
    void ShowCentred();
    // `done` of `total` steps; a total of 0 runs the bar to and fro.
    void SetProgress(int done, int total);
    int ProgressValue() const;
    int ProgressTotal() const;
    // Shows Cancel (enabled) or hides it.
    void SetCancellable(bool cancellable);
    QPushButton *CancelButton() const { return m_cancel; }

signals:
    // Cancel was pressed; it stays disabled until SetCancellable again.
    void cancelRequested();

protected:
    void reject() override {} // Escape does not hide it
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_headline = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_busy = nullptr;
    QPushButton *m_cancel = nullptr;
};
