#pragma once
// A recording stand-in for the worker: job steps run on the test's thread,
// every command, message, pause and port action is recorded, and the
// temporary parameter file lives in a fresh folder.

#include "engine/engine_globals.h"
#include "engine/job_context.h"
#include "platform/message_queue.h"

#include <cstring>
#include <filesystem>
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
    };

    FakeJobContext()
    {
        char pattern[] = "/tmp/kestrel-job-XXXXXX";
        m_dir = ::mkdtemp(pattern);
    }
    ~FakeJobContext() override { std::filesystem::remove_all(m_dir); }

    void SetCommand(std::string_view text) override
    {
        char copy[512] = {};
        std::memcpy(copy, m_command.data(), std::min(m_command.size(), sizeof copy - 1));
        SavePrevCommand(static_cast<uint32_t>(m_command.size()), copy);
        SetBuiltCommand(text);
    }
    bool SetBuiltCommand(std::string_view text) override
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
        // What the window would find in the previous-command record when it
        // handles the message at once.
        events.push_back({Event::Posted, PrevCommandText(), {message, wParam, lParam}});
    }
    void CompleteJob(const char *) override { events.push_back({Event::Completed, {}}); }
    void Sleep(platform::Millis duration) override
    {
        events.push_back({Event::Slept, {}, {}, static_cast<long>(duration.count())});
    }
    void PauseForDevice() override { events.push_back({Event::Paused, {}}); }
    void ClosePort() override { events.push_back({Event::Closed, {}}); }
    void LogNote(std::string_view text) override { events.push_back({Event::Noted, std::string(text)}); }
    std::string TempParameterFilePath() const override { return m_dir + "/TESTParaFile.ini"; }

    std::vector<std::string> Sent() const
    {
        std::vector<std::string> lines;
        for (const Event &e : events)
            if (e.kind == Event::Sent)
                lines.push_back(e.text);
        return lines;
    }
    std::vector<platform::Message> Posted(uint32_t message) const
    {
        std::vector<platform::Message> found;
        for (const Event &e : events)
            if (e.kind == Event::Posted && e.message.id == message)
                found.push_back(e.message);
        return found;
    }
    // The previous-command record as it was when the message was posted.
    std::string PrevCommandAt(uint32_t message) const
    {
        for (const Event &e : events)
            if (e.kind == Event::Posted && e.message.id == message)
                return e.text;
        return {};
    }
    std::string LastSent() const
    {
        const auto lines = Sent();
        return lines.empty() ? std::string() : lines.back();
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
    std::string m_dir;
    std::string m_command;
    bool m_sendable = false;
};
