#pragma once
// The login dialog: the user picks the port, the baud rate and the language
// and types the software password; the dialog sends the password to the
// terminal ("AT+WPAR=9996,...") on the port it opens itself, and ends with
// success only on the terminal's "OK". The port is closed again before the
// dialog ends.
//
// While it runs the dialog is the port's owner: the port's notifications
// come to its own message target and line builder.

#include "app/qt_message_target.h"
#include "app/settings_store.h"
#include "engine/login.h"
#include "link/line_builder.h"

#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <optional>
#include <string>

class CSerialPort;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CLoginDlg : public QDialog, private IRxLineOwner
{
    Q_OBJECT

public:
    // `initial` preselects the port, the baud rate and the language; the
    // port list is made of `friendlyPortNames` (see port_list.h).
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

    // Ends the dialog without success; an exchange under way is dropped.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls(const QStringList &friendlyPortNames, const StartupSettings &initial);
    void applyLanguage(int selection);
    void onOkClicked();
    void injectEnterPress();
    void confirm();
    void selectPassword();
    void onLoginTimer();
    void onLineClearTimer();
    void sendLoginLine();
    void endExchange();
    void showMessage(const QString &text, int style);

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
};
