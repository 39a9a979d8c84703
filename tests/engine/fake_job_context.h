#pragma once
// A recording stand-in for the worker: job steps run on the test's thread,
// every command, message, pause and port action is recorded, and the
// temporary parameter file lives in a fresh folder.

#include "engine/job_context.h"
#include "platform/message_queue.h"
#include "tests/common/temp_folder.h"

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
    void CompleteJob(const char *) override { events.push_back({Event::Completed, {}}); }
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
    // The lines sent with the pauses between them: "pause 500" for a pause
    // of its own length, "device pause" for the terminal's pause after AT commands.
    std::vector<std::string> Timeline() const
    {
        std::vector<std::string> lines;
        for (const Event &e : events) {
            if (e.kind == Event::Sent)
                lines.push_back(e.text);
            else if (e.kind == Event::Slept)
                lines.push_back("pause " + std::to_string(e.millis));
            else if (e.kind == Event::Paused)
                lines.push_back("device pause");
        }
        return lines;
    }
    // wParam and lParam of each posting of `message`.
    using Params = std::vector<std::pair<uintptr_t, intptr_t>>;
    Params Posted(uint32_t message) const
    {
        Params found;
        for (const Event &e : events)
            if (e.kind == Event::Posted && e.message.id == message)
                found.emplace_back(e.message.wParam, e.message.lParam);
        return found;
    }
    // The failure that the first posting of `message` carried.
    JobFailure Carried(uint32_t message) const
    {
        for (const Event &e : events)
            if (e.kind == Event::Posted && e.message.id == message)
                return e.failure;
        return {};
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
