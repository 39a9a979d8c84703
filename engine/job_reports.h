#pragma once
// What the user is shown for each progress and result message of the jobs,
// in the current language, and what the window does next. The main window
// and the command-line front end both act on these reports.

#include "params/language.h"
#include "platform/message_box_style.h"
#include "platform/messages.h"

#include <cstdint>
#include <string>
#include <vector>

struct JobReport
{
    enum class Display {
        None,
        Status, // the status line of the wait box; with ok == false also a message box
                // (kStyleError)
        Box,    // only the application's message box, with boxStyle
    };
    enum class After {
        Nothing,
        EndOfRead,  // import the temporary file, hide the wait box, enable, close the port, log
        EndOfWrite, // hide the wait box and enable the controls
        ClosePort,  // end of a password change
        PasswordChanged, // the pending new password becomes the software password
    };

    Display display = Display::None;
    std::string text;
    bool ok = true;
    int boxStyle = platform::kStyleOk;
    // Template id of the page to bring to the front, 0 for none.
    uint32_t showPage = 0;
    After after = After::Nothing;
    // The job has ended with this message.
    bool jobEnded = false;
    // The message reports a failure.
    bool failure = false;
    // After a write that did not go through: what the terminal now holds.
    std::string account;
    // A progress message: which entries the job is at, and how many of
    // that kind it has sent so far.
    enum class Progress { None, Parameters, AtCommands, Saving };
    Progress progress = Progress::None;
    int progressCount = 0;
};

// Every progress and result message of the jobs, for the windows' message maps.
inline constexpr uint32_t kJobReportMessages[] = {
    platform::WM_READ_PARA_ERR_NOTIFY,       platform::WM_READ_PARA_OK_NOTIFY,
    platform::WM_READ_PARA_PROGRESS_NOTIFY,  platform::WM_READ_PARA_STORE_ERR_NOTIFY,
    platform::WM_READ_PARA_LINE_LOST_NOTIFY, platform::WM_WRITE_PARA_ACCOUNT_NOTIFY,
    platform::WM_JOB_PORT_LOST_NOTIFY,       platform::WM_JOB_STOPPED_NOTIFY,
    platform::WM_WRITE_PARA_ERR_NOTIFY,      platform::WM_WRITE_PARA_OK_NOTIFY,
    platform::WM_WRITE_PARA_PROGRESS_NOTIFY, platform::WM_WRITE_PARA_LINE_ERR_NOTIFY,
    platform::WM_MODIFY_PWD_ERR_NOTIFY,      platform::WM_MODIFY_PWD_OK_NOTIFY,
};

// A job, or the login, that the user stopped (Ctrl+C) before its end.
inline constexpr lang::Tr3 kStoppedText = {"Error: The operation was stopped before its end!",
                                           "Erro: A operação foi interrompida antes do fim!",
                                           "Error: ¡La operación se detuvo antes de terminar!"};

// How many entries a job has done at this progress report: the AT commands
// come after its `parameters` parameter entries. 0 for the saving step.
int ProgressDone(const JobReport &report, int parameters);

// `atNames` is the display-name list of the AT queries of the read. The
// JobFailure of a message that carries one is only read, not freed.
JobReport DescribeJobMessage(uint32_t message, uintptr_t wParam, intptr_t lParam,
                             const std::vector<std::string> &atNames);
