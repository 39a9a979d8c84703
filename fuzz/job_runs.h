#pragma once
// Drives a job through the runs one fuzz input holds: a run begins with the
// job's start step and ends when the job completes; the line "#abort" stands
// for the watchdog ending the run, after which the next run begins (at most
// kMaxRuns). Every step sends at most one command: a job waits for the
// answer to each.

#include "fuzz/fuzz_check.h"
#include "fuzz/line_feed.h"
#include "tests/engine/fake_job_context.h"

#include <functional>
#include <string>
#include <string_view>

template <typename Job> class JobRuns
{
public:
    static constexpr std::string_view kWatchdogLine = "#abort";
    static constexpr int kMaxRuns = 4;

    // afterStart runs after each start step, afterEnd after each step that
    // completed the job.
    JobRuns(Job &job, FakeJobContext &context, std::function<void()> afterStart = {},
            std::function<void()> afterEnd = {})
        : m_job(job), m_context(context), m_afterStart(std::move(afterStart)),
          m_afterEnd(std::move(afterEnd))
    {
        Start();
    }

    // The terminal's bytes, as lines through the line builder.
    void Feed(std::string_view bytes) { m_feed.Feed(bytes); }
    int Runs() const { return m_runs; }

private:
    void OnLine(const std::string &line)
    {
        if (line == kWatchdogLine) {
            m_job.Abort();
            if (m_running)
                m_context.CompleteJob("watchdog");
            m_running = false;
        }
        if (!m_running) {
            if (m_runs < kMaxRuns)
                Start();
            return;
        }
        Step(&line);
    }

    void Start()
    {
        ++m_runs;
        m_running = true;
        Step(nullptr);
        if (m_afterStart)
            m_afterStart();
    }

    void Step(const std::string *line)
    {
        const size_t sentBefore = m_context.Sent().size();
        const size_t eventsBefore = m_context.events.size();
        m_job.Step(line);
        FUZZ_CHECK(m_context.Sent().size() <= sentBefore + 1);
        for (size_t i = eventsBefore; i < m_context.events.size(); ++i) {
            if (m_context.events[i].kind == FakeJobContext::Event::Completed && m_running) {
                m_running = false;
                if (m_afterEnd)
                    m_afterEnd();
            }
        }
    }

    Job &m_job;
    FakeJobContext &m_context;
    std::function<void()> m_afterStart;
    std::function<void()> m_afterEnd;
    LineFeed m_feed{[this](const std::string &line) { OnLine(line); }};
    int m_runs = 0;
    bool m_running = false;
};
