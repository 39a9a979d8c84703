#pragma once
// The software password change: opens a write transaction with the password
// in use, sends parameter 1 with the old and the new password, and ends the
// transaction.

#include "engine/job_context.h"

#include <string>

class ModifyPasswordJob
{
public:
    explicit ModifyPasswordJob(IJobContext &context) : m_context(context) {}

    void Step(const std::string *line);
    void Abort() { m_step = 0; }
    int CurrentStep() const { return m_step; }
    // The port hung up: the job ends at once.
    void OnCut(JobCut cut);

private:
    void SendLine(const std::string &text);
    void Fail(uintptr_t step, const char *note);

    IJobContext &m_context;
    int m_step = 0;
};
