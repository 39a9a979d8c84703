#pragma once
// The login dialog: the user picks the port, the baud rate and the language
// and types the software password; the dialog sends the password to the
// terminal ("AT+WPAR=9996,...") on the port it opens itself, and ends with
// success only on the terminal's "OK". The port is closed again before the
// dialog ends.
//
// While it runs the dialog is the port's owner: the port's notifications
// come to its own message target and line builder.
//
// While it waits for the answer, or while Find searches the ports, the
// fields are disabled and Cancel (or Escape) ends the wait: the port is
// closed and the dialog is ready for another try. Closing the window ends
// the dialog at any time. The port list follows the ports as they come and go.

#include "app/port_finder.h"
#include "app/qt_message_target.h"
#include "app/settings_store.h"
#include "engine/login.h"
#include "link/line_builder.h"
#include "params/language.h"

#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CSerialPort;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CLoginDlg : public QDialog, private IRxLineOwner
{
    Q_OBJECT

public:
    // The friendly names of the ports present (see port_list.h).
    using PortLister = std::function<QStringList()>;

    // `initial` preselects the port, the baud rate and the language; the
    // port list is made of what `listPorts` gives, asked again every
    // kPortRefreshMs.
    CLoginDlg(CSerialPort &port, const StartupSettings &initial, PortLister listPorts,
              QWidget *parent = nullptr);
    // The same over a fixed list of ports.
    CLoginDlg(CSerialPort &port, const StartupSettings &initial,
              const QStringList &friendlyPortNames, QWidget *parent = nullptr);
    ~CLoginDlg() override;

    // Set when the terminal accepted the password.
    bool LoginSucceeded() const { return m_loginSucceeded; }
    // The choices as taken when the user last confirmed.
    QString PortText() const { return m_portText; }
    QString BaudText() const { return m_baudText; }
    QString LanguageCodeText() const { return m_languageCodeText; }
    QString PasswordText() const { return m_passwordText; }
    // The password as the terminal gets it: Windows-1252 bytes.
    std::string PasswordBytes() const;

    static constexpr int kPortRefreshMs = 1500;

    // While the login waits for the terminal's answer or Find searches.
    bool Busy() const { return m_awaitingReply || m_finder.Running(); }

    // A wait or a search under way ends and the dialog stays; otherwise
    // the dialog ends without success.
    void reject() override;

    // Sends a bare "AT" to every listed port, the usual rate first, and
    // selects the first port and rate that answered "OK"; while it searches,
    // the same button stops it.
    void OnFind();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildControls(const StartupSettings &initial);
    void ApplyLanguage(int selection);
    void RefreshPorts();
    void SetBusy(bool busy);
    void OnFound(const std::vector<ProbeResult> &results, bool stopped);
    QString findOutcomeText(int languageCode) const;
    void OnOkClicked();
    void InjectEnterPress();
    void Confirm();
    void SelectPassword();
    void OnLoginTimer();
    void OnLineClearTimer();
    void SendLoginLine();
    void EndExchange();
    void ShowMessage(const QString &text, int style);

    // IRxLineOwner
    void OnRxLineReady() override;
    void OnRxError(RxError error) override;

    CSerialPort &m_port;
    QtMessageTarget m_target;
    RxLineBuilder m_builder;
    QTimer m_loginTimer;
    QTimer m_lineClearTimer;

    QLabel *m_portLabel = nullptr;
    QLabel *m_baudLabel = nullptr;
    QLabel *m_passwordLabel = nullptr;
    QLabel *m_languageLabel = nullptr;
    QComboBox *m_portList = nullptr;
    QComboBox *m_baudList = nullptr;
    QLineEdit *m_passwordEdit = nullptr;
    QComboBox *m_languageList = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_findButton = nullptr;
    QLabel *m_findOutcome = nullptr;

    int m_labelLanguage = lang::kEnglish; // of the labels shown
    bool m_enterPressed = false;
    bool m_loginSucceeded = false;
    // A login line is out and its answer not yet in.
    bool m_awaitingReply = false;
    QString m_portText;
    QString m_baudText;
    QString m_languageCodeText;
    QString m_passwordText;
    // The exchange under way since the last confirmation.
    std::optional<login::Exchange> m_exchange;

    PortLister m_listPorts;
    std::optional<QStringList> m_listedNames; // as last listed; none before the first listing
    QStringList m_listedPorts;                // the port names of the list, in its order
    QString m_savedPort;                      // the port used last, listed first
    QTimer m_portRefresh{this};               // named "portRefresh"
    PortFinder m_finder{*this};
    // What the last search found; nothing while none ended.
    std::optional<std::vector<ProbeResult>> m_found;
};
