#pragma once
// A job request as posted to the queue thread, which owns and frees it.

#include <cstdint>
#include <memory>

enum JobCode : uint32_t {
    kJobRead = 1,           // read all parameters and AT commands
    kJobWrite = 2,          // write the temporary parameter file
    kJobModifyPassword = 13 // change the software password
};

// How a job ended, as WM_SEND_FINISH_NOTIFY tells the queue thread in wParam.
enum JobFinish : uintptr_t {
    kFinishNone = 0,         // nothing ended: the queue has a new request
    kFinishedByJob = 1,      // the job completed, well or not
    kFinishedByWatchdog = 2, // the watchdog ended it
};

struct JobRequest
{
    uint32_t code = 0;
    // Job data; the three jobs carry none, so their submitters hand over a
    // one-byte block that is never read.
    std::unique_ptr<uint8_t[]> data;
};

// Codes of which at most one request may be queued or running.
constexpr bool IsExclusiveJob(uint32_t code)
{
    return code == kJobRead || code == kJobWrite || code == kJobModifyPassword;
}
