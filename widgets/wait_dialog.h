#pragma once
// The "Please wait" box: a modeless box over the main window while a job
// runs, with a headline, a status line that the main window keeps up to
// date (visible or not) and a busy indicator, so that the user sees that
// work goes on. The user cannot close it; the main window hides it when the
// job has ended.

#include <QDialog>

class QLabel;
class QProgressBar;

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

protected:
    void reject() override {} // Escape does not hide it
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_headline = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_busy = nullptr;
};
