#pragma once
// The read job: every listed parameter with "AT+RPAR=", then the AT queries,
// one line at a time, the answers stored in the temporary parameter file.

#include "engine/job_context.h"

#include <string>

struct ReadLists;

class ReadJob
{
public:
    enum class Phase { Start, ReadingParameters, ReadingAtCommands };

    ReadJob(IJobContext &context, const ReadLists &lists);

    // One step: the start of the job (line == nullptr) or one reply line.
    void Step(const std::string *line);
    // The watchdog ended the job, or a new job begins: the job's progress
    // starts afresh. The continue flag is kept: it is the verdict of the
    // value stored last, whichever job stored it.
    void Abort();
    // A line of the answer to the command in flight was dropped: the read
    // ends as a failure when that answer is complete.
    void OnLineLost() { m_lineLost = true; }
    // The port hung up: the job ends at once; what was read stays.
    void OnCut(JobCut cut);

    Phase CurrentPhase() const { return m_phase; }

    // The verdict for a value read for `number`: 0 stops a list block.
    // Also returns the text to store (the value between double quotes).
    static int Verdict(const std::string &value, const std::string &number, std::string &stored);

private:
    void Begin();
    void OnParameterLine(const std::string &line);
    void OnAtCommandLine(const std::string &line);
    void TakeEntries();
    bool SkipRestOfBlock();
    // Ends the job when the value cannot be stored.
    void Store(const std::string &value);
    void BeginAtCommands();
    void SendQuery(size_t index);
    void Finish(const char *note);
    void EndWithSuccess();
    void EndWithError(uintptr_t kind, intptr_t item);
    void EndWithLostLine(uintptr_t kind, intptr_t item);
    void EndWithStoreError(uintptr_t kind, intptr_t item, const std::string &reason);

    IJobContext &m_context;
    const ReadLists &m_lists;

    // Kept for the life of the process, like the terminal's own session.
    Phase m_phase = Phase::Start;
    size_t m_nextIndex = 0;
    size_t m_entryCount = 0;
    uint32_t m_sentCount = 0;
    std::string m_currentEntry;
    std::string m_currentArgument;
    std::string m_lastMarker;
    int m_continue = 1;
    bool m_lineLost = false;
};
