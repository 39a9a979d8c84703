#pragma once
// The comm worker thread: runs one job at a time as a line-driven state
// machine. The start of a job and every reply line arrive as messages; each
// advances the job by one step, which sends at most one command.

#include "engine/job_context.h"
#include "engine/password_job.h"
#include "engine/read_job.h"
#include "engine/write_job.h"
#include "link/command_exchange.h"
#include "platform/message_queue.h"

#include <atomic>
#include <mutex>

class ISerialLink;
struct ReadLists;

class CCommThread : public IJobContext
{
public:
    // Worker job states: 0 idle, otherwise the job code + 1.
    enum JobState : uint32_t { kIdle = 0, kReading = 2, kWriting = 3, kChangingPassword = 14 };
    // WM_COMM_STOP_JOB's job number for "whichever job runs, or comes next".
    static constexpr uintptr_t kAnyJob = 0;

    CCommThread(ISerialLink &port, const ReadLists &readLists);
    ~CCommThread() override;
    CCommThread(const CCommThread &) = delete;
    CCommThread &operator=(const CCommThread &) = delete;

    void SetFifoThread(platform::IMessageTarget *fifo) { m_pFIFOThread = fifo; }
    void Start();
    platform::MessageThread &Thread() { return m_thread; }

    // Read from any thread (the window refuses Exit while a job runs).
    uint32_t JobState() const { return m_jobState.load(); }

    // The number of the job the worker runs, or ran last (0 before the
    // first); the job watchdog's timer is armed with it.
    uint32_t JobNumber() const;
    // The watchdog's end of the job with this number, from the window's
    // thread: the worker becomes idle, unless it has meanwhile moved on to
    // another job (then false, and nothing changes).
    bool EndTimedOutJob(uint32_t jobNumber);

    void CompleteJob(const char *note) override;

    // IJobContext
    bool SetCommand(std::string_view text) override;
    void SendCommand() override;
    void PostToOwner(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostFailureToOwner(uint32_t message, JobFailure failure) override;
    void Sleep(platform::Millis duration) override;
    void PauseForDevice() override;
    void ClosePort() override;
    void LogNote(std::string_view text) override;
    std::string TempParameterFilePath() const override;

    // The command line in the buffer, for tests.
    std::string_view Command() const { return {m_command, m_commandLength}; }
    // The time the worker has spent in the jobs' pauses for the terminal, and
    // waiting for the device gap, for the benchmark's account of a job's time.
    platform::Millis PausedTime() const { return platform::Millis(m_pausedMs.load()); }
    std::chrono::nanoseconds GapTime() const { return std::chrono::nanoseconds(m_gapNs.load()); }
    // Tests of the windows shorten the jobs' pauses for the terminal: each
    // lasts `percent` percent of its time (100 unless a test sets it).
    void ScalePauses(int percent) { m_pausePercent = percent; }

private:
    void OnStartJob(uintptr_t jobNumber, intptr_t code);
    void OnRxLine(uintptr_t wParam);
    bool TakeForJob(const std::string &line);
    void OnRxLineLost();
    void OnStop(uintptr_t jobNumber);
    void OnCut(JobCut cut);
    void OnAbortJob(uintptr_t jobNumber);
    void RestartJobTimer();
    void StopJobTimer();
    void ResetJobSteps();
    void KeepDeviceGap();

    ISerialLink &m_port;
    platform::IMessageTarget *m_pFIFOThread = nullptr;
    platform::MessageThread m_thread;

    uint32_t m_commandLength = 0;
    // At most 511 characters with the CR; the last byte stays zero.
    char m_command[512] = {};
    std::atomic<uint32_t> m_jobState{kIdle};
    // Number and state change together, on the worker and on the window's thread.
    mutable std::mutex m_jobMutex;
    uint32_t m_jobNumber = 0;
    std::atomic<int64_t> m_pausedMs{0};
    std::atomic<int64_t> m_gapNs{0};
    std::atomic<int> m_pausePercent{100};
    // "ComDelayEvent": set once when the thread starts and by nothing else, so
    // the first pause ends at once and every later one lasts its full time.
    platform::Event m_comDelayEvent{platform::ResetMode::Manual, false};

    // Worker thread only.
    CommandExchange m_exchange{g_terminalEcho};
    ReadJob m_readJob;
    WriteJob m_writeJob;
    ModifyPasswordJob m_passwordJob;
    // A stop that came while no job ran ends the next one as it starts.
    bool m_stopPending = false;
};
