#pragma once
// What a job step may do: the worker's services. CCommThread provides them;
// the job tests use a recording fake.

#include "engine/job_failure.h"
#include "platform/sync.h"

#include <cstdint>
#include <string>
#include <string_view>

class IJobContext
{
public:
    virtual ~IJobContext() = default;

    // Builds the command line from the text and a CR. false when the line
    // does not fit the 512-byte buffer: the buffer then holds as much of the
    // text as fits and must not be sent.
    virtual bool SetCommand(std::string_view text) = 0;
    // Logs and sends the line in the buffer.
    virtual void SendCommand() = 0;
    virtual void PostToOwner(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) = 0;
    // Posts a message that carries its failure (CarriesJobFailure).
    virtual void PostFailureToOwner(uint32_t message, JobFailure failure) = 0;
    // Ends the job: worker idle, the queue thread told.
    virtual void CompleteJob(const char *note) = 0;
    // Pauses the worker; lines that arrive meanwhile wait in its queue.
    virtual void Sleep(platform::Millis duration) = 0;
    // The pause before "AT&W" after AT-command entries (at most 2000 ms).
    virtual void PauseForDevice() = 0;
    virtual void ClosePort() = 0;
    virtual void LogNote(std::string_view text) = 0;
    // The per-port temporary parameter file that the jobs read and fill.
    virtual std::string TempParameterFilePath() const = 0;
};
