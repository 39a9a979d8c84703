#pragma once
// Runs a job step by step against a scripted terminal: every command the job
// sends is echoed and answered with the lines the script gives for it (a read
// job hears of kLostLine as a dropped line).

#include "fake_job_context.h"

#include <functional>
#include <set>

using Answer = std::function<std::vector<std::string>(const std::string &command)>;

// Answers OK to everything, ERROR to the listed commands.
inline Answer RefuseOnly(std::set<std::string> refused)
{
    return [refused](const std::string &command) {
        return std::vector<std::string>{refused.count(command) ? "ERROR" : "OK"};
    };
}

// An answer line that stands for a line the link dropped as too long.
inline const std::string kLostLine = "<a line too long, dropped>";

template <typename Job>
void Drive(Job &job, FakeJobContext &context, const Answer &answer, size_t maxCommands = 2000)
{
    job.Step(nullptr);
    size_t answered = 0;
    while (!context.Has(FakeJobContext::Event::Completed) && answered < maxCommands) {
        const auto sent = context.Sent();
        if (answered >= sent.size())
            return; // the job waits for something that will not come
        const std::string command = sent[answered++];
        const std::string echo = command;
        job.Step(&echo);
        for (const std::string &line : answer(command)) {
            if constexpr (requires { job.OnLineLost(); }) {
                if (line == kLostLine) {
                    job.OnLineLost();
                    continue;
                }
            }
            job.Step(&line);
            if (context.Has(FakeJobContext::Event::Completed))
                break;
        }
    }
}
