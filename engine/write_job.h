#pragma once
// The write job: opens a write transaction with the software password, sends
// every "PARA" entry and every "ATCMD" entry of the temporary parameter file,
// saves, ends the transaction and sends "AT&W".

#include "engine/job_context.h"
#include "engine/write_account.h"

#include <string>
#include <vector>

class WriteJob
{
public:
    // A refused PIN follow-up line is sent again at most this often before it
    // counts as a refused parameter entry.
    static constexpr int kMaxPinFollowUpRepeats = 10;

    explicit WriteJob(IJobContext &context) : m_context(context) {}

    void Step(const std::string *line);
    // The job ended by the watchdog, or a new job begins: every per-job flag
    // and counter starts afresh, so a line left in flight (a PIN follow-up)
    // cannot steer the next write.
    void Abort();
    int CurrentStep() const { return m_step; }
    // The port hung up: the job ends at once with its account.
    void OnCut(JobCut cut);

private:
    void OnLogin(bool error);
    void OnParameterReply(bool error);
    void OnParameterRefused();
    void OnParameterAccepted();
    void OnAtCommandReply(bool error);
    void OnSaveReply(bool error);
    void OnEndReply(bool error);
    void OnFinalReply(bool error);

    void LoadFile();
    void SendEntry();
    void SendNextOrBeginAtCommands();
    void SendAtEntry();
    void BeginAtCommands();
    void SendSave();
    void SendTransactionEnd();
    void SendPinFollowUp(uint16_t number);
    bool BuildLine(std::string line);
    void ReportRefusedLine(uintptr_t step);
    void StopAccountAt(WriteAccount::Section section, WriteAccount::Stop stop);
    const std::string *PreviousKey() const;
    const std::string *NextKey() const;
    void Finish(uint32_t message, uintptr_t step, bool closePort);

    IJobContext &m_context;
    int m_step = 0; // a JobStep
    // The entries of the phase under way, and the AT-command entries
    // waiting for their phase.
    std::vector<std::string> m_keys;
    std::vector<std::string> m_values;
    std::vector<std::string> m_atKeys;
    std::vector<std::string> m_atValues;
    size_t m_entryIndex = 0;
    // The last line built: the one a refusal is about.
    std::string m_lineInFlight;
    int m_pinFollowUpPending = 0;
    int m_pinFollowUpCheck = 0;
    int m_pinFollowUpRepeats = 0;
    // What the terminal holds so far, told when the write fails.
    WriteAccount m_account;
    bool m_failed = false;
    // These two outlive a job: whether the last AT-command phase had entries
    // (it chooses the pause before "AT&W" when a refusal skipped the phase),
    // and whether the terminal refused the last PIN it was given.
    int m_atPhase = 0;
    bool m_pinRefused = false;
};
