#pragma once
// The numbered messages that pass between the threads and windows of the
// program. The numbers are part of the protocol between the threads, so they
// are fixed here once.

#include <cstdint>

namespace platform {

inline constexpr uint32_t WM_USER = 0x400;

enum Msg : uint32_t {
    WM_QUIT = 0x0012,
    WM_COMMNOTIFY = 0x0044,
    WM_TIMER = 0x0113,

    // The port hung up under its owner (wParam, lParam 0).
    WM_PORT_HANGUP = WM_USER + 0x04,
    WM_RX_LINE_READY = WM_USER + 0x05,
    WM_FIFO_ADD_JOB = WM_USER + 0x06,
    WM_COMM_START_JOB = WM_USER + 0x07,
    WM_COMM_ABORT_JOB = WM_USER + 0x08,
    WM_SEND_FINISH_NOTIFY = WM_USER + 0x09,
    WM_COMM_RX_LINE = WM_USER + 0x0A,
    // A reply line was too long for the line buffer and was dropped.
    WM_COMM_RX_LINE_LOST = WM_USER + 0x0B,
    // The port hung up (the cable pulled): the window tells the worker.
    WM_COMM_PORT_LOST = WM_USER + 0x0C,
    WM_JOB_TIMER_START = WM_USER + 0x0D,
    WM_JOB_TIMER_STOP = WM_USER + 0x0E,
    // The user stopped the run (Ctrl+C): the worker ends its job at once,
    // or the next one as it starts.
    WM_COMM_STOP_JOB = WM_USER + 0x0F,
    // The same request on its way to the window that runs the operation.
    WM_STOP_REQUEST = WM_USER + 0x10,
    WM_READ_PARA_ERR_NOTIFY = WM_USER + 0x28,
    WM_READ_PARA_OK_NOTIFY = WM_USER + 0x29,
    WM_READ_PARA_PROGRESS_NOTIFY = WM_USER + 0x2A,
    WM_WRITE_PARA_ERR_NOTIFY = WM_USER + 0x2B,
    WM_WRITE_PARA_OK_NOTIFY = WM_USER + 0x2C,
    WM_WRITE_PARA_PROGRESS_NOTIFY = WM_USER + 0x2D,
    // A failure that carries its own text as a JobFailure in wParam: the read
    // could not store its values; the terminal refused a write entry.
    WM_READ_PARA_STORE_ERR_NOTIFY = WM_USER + 0x2E,
    WM_WRITE_PARA_LINE_ERR_NOTIFY = WM_USER + 0x2F,
    // A line of the answer to a read was lost: wParam 3 (lParam the
    // parameter number) or 4 (lParam the AT query's index).
    WM_READ_PARA_LINE_LOST_NOTIFY = WM_USER + 0x30,
    // A write that did not go through as a whole ends: a JobFailure with its
    // account of what the terminal holds, just before the job's last message.
    WM_WRITE_PARA_ACCOUNT_NOTIFY = WM_USER + 0x31,
    // The port hung up under a job, which has ended: a JobFailure whose step
    // is the job's code, with a write's account.
    WM_JOB_PORT_LOST_NOTIFY = WM_USER + 0x32,
    // The user stopped the job, which has ended: as WM_JOB_PORT_LOST_NOTIFY.
    WM_JOB_STOPPED_NOTIFY = WM_USER + 0x33,
    WM_MODIFY_PWD_ERR_NOTIFY = WM_USER + 0x34,
    WM_MODIFY_PWD_OK_NOTIFY = WM_USER + 0x35,
    WM_IMPORT_FILE = WM_USER + 0xC8,
    WM_EXPORT_FILE = WM_USER + 0xC9,
    WM_SHOW_PAGE = WM_USER + 0xD1,
};

// Window timers.
inline constexpr uint32_t kJobTimerId = 13;       // job watchdog of the owner window
inline constexpr uint32_t kLoginTimerId = 15;     // login reply time-out
inline constexpr uint32_t kLineClearTimerId = 16; // the login's wait for the answer to a bare CR

} // namespace platform
