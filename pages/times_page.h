#pragma once
// Dial timeout, the terminal's clock, limits on outgoing and incoming call
// duration and the hook flash time, each changed only while its box is
// checked. The clock is never shown as read: it is sent only when the user
// checks its box, which fills it from the PC's local date and time.

#include "pages/parameter_page.h"

#include <QDateTime>
#include <functional>

class QCheckBox;
class QLineEdit;

class CTimesPage : public CParameterPage
{
    Q_OBJECT
public:
    explicit CTimesPage(QWidget *parent = nullptr);

    bool ValidatePage() override;
    void SaveToStore() override;
    void AppendReadItems(ReadLists &lists) override;
    void LoadFromStore() override;

    // Where checking the clock box takes the local date and time from.
    using Clock = std::function<QDateTime()>;
    void SetClock(Clock clock) { m_clock = std::move(clock); }

    QCheckBox *TimeoutBox() const { return m_timeoutBox; }
    QLineEdit *TimeoutField() const { return m_timeout; }
    QCheckBox *ClockBox() const { return m_clockBox; }
    QLineEdit *DateField() const { return m_date; }
    QLineEdit *TimeField() const { return m_time; }
    QCheckBox *OutgoingBox() const { return m_outgoingBox; }
    QLineEdit *OutgoingField() const { return m_outgoing; }
    QCheckBox *IncomingBox() const { return m_incomingBox; }
    QLineEdit *IncomingField() const { return m_incoming; }
    QCheckBox *FlashBox() const { return m_flashBox; }
    QLineEdit *FlashField() const { return m_flash; }

protected:
    void OnInitPage() override;

private:
    void FillClock();

    QCheckBox *m_timeoutBox;
    QLineEdit *m_timeout;
    QCheckBox *m_clockBox;
    QLineEdit *m_date;
    QLineEdit *m_time;
    QCheckBox *m_outgoingBox;
    QLineEdit *m_outgoing;
    QCheckBox *m_incomingBox;
    QLineEdit *m_incoming;
    QCheckBox *m_flashBox;
    QLineEdit *m_flash;
    Clock m_clock = [] { return QDateTime::currentDateTime(); };
};
