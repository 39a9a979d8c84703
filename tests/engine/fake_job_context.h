#pragma once
// A recording stand-in for the worker: job steps run on the test's thread,
// every command, message, pause and port action is recorded, and the
// temporary parameter file lives in a fresh folder.

#include "engine/job_context.h"
#include "engine/job_failure.h"
#include "engine/job_reports.h"
#include "platform/message_queue.h"
#include "tests/common/golden_file.h"
#include "tests/common/temp_folder.h"

#include <algorithm>
#include <string>
#include <vector>

class FakeJobContext : public IJobContext
{
public:
    struct Event
    {
        enum Kind { Sent, Posted, Slept, Paused, Completed, Closed, Noted } kind;
        std::string text;
        platform::Message message{};
        long millis = 0;
        JobFailure failure{};
    };

    bool SetCommand(std::string_view text) override
    {
        if (text.size() + 1 > 511) {
            m_command = std::string(text.substr(0, 511));
            m_sendable = false;
            return false;
        }
        m_command = std::string(text) + '\r';
        m_sendable = true;
        return true;
    }
    void SendCommand() override
    {
        if (m_sendable)
            events.push_back({Event::Sent, m_command.substr(0, m_command.size() - 1)});
    }
    void PostToOwner(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        events.push_back({Event::Posted, {}, {message, wParam, lParam}});
    }
    // Recorded with the failure's step and item as wParam and lParam.
    void PostFailureToOwner(uint32_t message, JobFailure failure) override
    {
        events.push_back(
            {Event::Posted, failure.text, {message, failure.step, failure.item}, 0, failure});
    }
    void CompleteJob(const char *note) override
    {
        events.push_back({Event::Completed, note ? note : ""});
    }
    void Sleep(platform::Millis duration) override
    {
        events.push_back({Event::Slept, {}, {}, static_cast<long>(duration.count())});
    }
    void PauseForDevice() override { events.push_back({Event::Paused, {}}); }
    void ClosePort() override { events.push_back({Event::Closed, {}}); }
    void LogNote(std::string_view text) override
    {
        events.push_back({Event::Noted, std::string(text)});
    }
    std::string TempParameterFilePath() const override { return m_dir.File("TESTParaFile.ini"); }

    std::vector<std::string> Sent() const
    {
        std::vector<std::string> lines;
        for (const Event &e : events)
            if (e.kind == Event::Sent)
                lines.push_back(e.text);
        return lines;
    }
    // Every event as a line of a transcript; a posted message with its
    // parameters (a failure's step and item), the line it carries and what
    // the window shows for it in English.
    std::vector<std::string> Transcript() const
    {
        static const char *const kNames[] = {
            "read-error",     "read-ok",       "read-progress",  "read-store-error",
            "read-line-lost", "write-account", "port-lost",      "stopped",
            "write-error",    "write-ok",      "write-progress", "write-line-error",
            "password-error", "password-ok"};
        static_assert(std::size(kNames) == std::size(kJobReportMessages));
        std::vector<std::string> lines;
        for (const Event &e : events) {
            switch (e.kind) {
            case Event::Posted: {
                const auto *known = std::find(std::begin(kJobReportMessages),
                                              std::end(kJobReportMessages), e.message.id);
                const bool carries = CarriesJobFailure(e.message.id);
                const JobReport report = DescribeJobMessage(
                    e.message.id,
                    carries ? reinterpret_cast<uintptr_t>(&e.failure) : e.message.wParam,
                    carries ? 0 : e.message.lParam, {});
                std::string line = std::string("posted ") +
                                   (known == std::end(kJobReportMessages)
                                        ? std::to_string(e.message.id)
                                        : kNames[known - std::begin(kJobReportMessages)]) +
                                   " " + std::to_string(e.message.wParam) + "," +
                                   std::to_string(e.message.lParam);
                if (!e.text.empty())
                    line += " line \"" + e.text + "\"";
                if (!report.text.empty())
                    line += " shows \"" + OneLine(report.text) + "\"";
                if (!report.account.empty())
                    line += " account \"" + report.account + "\"";
                lines.push_back(line);
                break;
            }
            case Event::Sent:
                lines.push_back("sent " + e.text);
                break;
            case Event::Slept:
                lines.push_back("pause " + std::to_string(e.millis));
                break;
            case Event::Paused:
                lines.push_back("device pause");
                break;
            case Event::Completed:
                lines.push_back("completed, noted \"" + e.text + "\"");
                break;
            case Event::Closed:
                lines.push_back("port closed");
                break;
            case Event::Noted:
                lines.push_back("note \"" + OneLine(e.text) + "\"");
                break;
            }
        }
        return lines;
    }
    bool Has(Event::Kind kind) const
    {
        for (const Event &e : events)
            if (e.kind == kind)
                return true;
        return false;
    }

    std::vector<Event> events;

private:
    TempFolder m_dir;
    std::string m_command;
    bool m_sendable = false;
};
