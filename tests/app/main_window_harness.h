#pragma once
// The main window as the start-up leaves it after a login against the
// simulated terminal on "SIM0": shared settings set, the port re-armed, the
// per-port files in a folder of their own, message boxes recorded and the
// file dialogs answered by the test.

#include "app/main_dialog.h"
#include "app/settings_store.h"
#include "engine/engine_globals.h"
#include "link/serial_port.h"
#include "link/shared_settings.h"
#include "pages/call_back_page.h"
#include "pages/forbids_page.h"
#include "pages/passwords_page.h"
#include "params/language.h"
#include "shell_test_support.h"
#include "widgets/nav_button.h"
#include "widgets/report_ctrl.h"
#include "widgets/wait_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <memory>

// A job with the terminal ends well within this.
inline constexpr int kJobWaitMs = 60000;

class MainWindowHarness
{
public:
    explicit MainWindowHarness(sim::SimOptions options = {}, int language = lang::kEnglish)
        : m_password(options.password), m_port(std::make_unique<shell_test::SimulatedPort>(
                                            WithBlankListRecords(std::move(options))))
    {
        m_savedJobTimeout = g_nJobTimeout;
        lang::SetCode(language);
        g_strPortName = shell_test::SimulatedPort::kName;
        g_strBaudRate = "115200";
        g_strAppDir = m_appDir.path().toStdString() + "/";
        g_strSoftwarePassword = m_password;
        m_serial.ResetHandles();
        SaveWindowGeometry({}); // the window's first size, not a closed one's
        m_window = std::make_unique<CMainDlg>(m_serial);
        m_window->SetFileChooser([this](const CMainDlg::FileRequest &request) {
            m_requests.push_back(request);
            return m_nextFile;
        });
        // The jobs pause for the terminal a hundredth of their time.
        m_window->Engine().Comm().ScalePauses(1);
        m_window->show();
    }
    // Unused list entries answer as blank records, so a read stops at the
    // first of them instead of asking for all 300 call back numbers.
    static sim::SimOptions WithBlankListRecords(sim::SimOptions options)
    {
        if (options.blankListRecord.empty())
            options.blankListRecord = "0*0*0*0";
        return options;
    }

    ~MainWindowHarness()
    {
        m_window.reset();
        g_nJobTimeout = m_savedJobTimeout;
        lang::SetCode(lang::kEnglish);
    }
    MainWindowHarness(const MainWindowHarness &) = delete;
    MainWindowHarness &operator=(const MainWindowHarness &) = delete;

    bool TerminalReady() const { return m_port && m_port->Started(); }
    sim::TerminalSimulator &Terminal() { return m_port->Terminal(); }
    // The terminal goes away and its port with it.
    void UnplugTerminal() { m_port.reset(); }

    CMainDlg &Window() { return *m_window; }
    void DestroyWindow() { m_window.reset(); }
    CSerialPort &Serial() { return m_serial; }
    shell_test::MessageRecorder &Boxes() { return m_boxes; }
    QString AppDir() const { return m_appDir.path(); }

    // The file the next file dialog answers with ("" = cancelled).
    void AnswerFileDialog(const QString &path) { m_nextFile = path; }
    const std::vector<CMainDlg::FileRequest> &FileRequests() const { return m_requests; }

    QPushButton *Button(main_texts::BottomButton which) { return m_window->OperationButton(which); }
    // A page with a class of its own, as that class.
    template <class PageClass> PageClass *PageAs(params::Page page)
    {
        return dynamic_cast<PageClass *>(m_window->FindPage(params::PageTemplate(page)));
    }
    QLineEdit *GeneralPassword()
    {
        return PageAs<CPasswordsPage>(params::Page::Passwords)->GeneralField();
    }
    CForbidsPage *Forbids() { return PageAs<CForbidsPage>(params::Page::Forbids); }
    CCallBackPage *CallBack() { return PageAs<CCallBackPage>(params::Page::CallBack); }

    bool ControlsEnabled()
    {
        for (int index = 0; index < 11; ++index) {
            if (!m_window->NavButtonAt(index)->isEnabled())
                return false;
        }
        for (const auto &info : main_texts::kBottomButtons) {
            if (!Button(info.button)->isEnabled())
                return false;
        }
        return true;
    }
    // Nothing running: the buttons are back, the wait box is gone, the port is closed.
    bool Idle()
    {
        return ControlsEnabled() && !m_window->WaitDialog()->isVisible() &&
               !m_window->Engine().JobRunning() && !m_serial.IsOpen();
    }
    // The job has ended and the buttons are back (the port stays open
    // after a write).
    bool JobOver()
    {
        return ControlsEnabled() && !m_window->WaitDialog()->isVisible() &&
               !m_window->Engine().JobRunning();
    }
    // Presses an operation button and waits until the job it started has
    // ended: the message boxes shown meanwhile (questions answered as set),
    // one "[style] text" line each, "" when there was none.
    QString Run(main_texts::BottomButton which)
    {
        m_boxes.Clear();
        QTest::mouseClick(Button(which), Qt::LeftButton);
        if (!QTest::qWaitFor([this] { return JobOver(); }, kJobWaitMs))
            return QStringLiteral("still running");
        return m_boxes.Summary();
    }
    bool HasBox(const QString &text, int style) const
    {
        for (const ShownMessage &message : m_boxes.Messages()) {
            if (message.text == text && message.style == style &&
                message.caption == QLatin1String(kAppCaption))
                return true;
        }
        return false;
    }
    QString BoxTexts() const { return m_boxes.Summary(); }

private:
    std::string m_password;
    QTemporaryDir m_appDir;
    std::unique_ptr<shell_test::SimulatedPort> m_port;
    CSerialPort m_serial;
    shell_test::MessageRecorder m_boxes;
    std::unique_ptr<CMainDlg> m_window;
    std::vector<CMainDlg::FileRequest> m_requests;
    QString m_nextFile;
    int m_savedJobTimeout = 0;
};
