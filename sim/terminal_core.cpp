#include "sim/terminal_core.h"

#include "sim/parameter_table.h"

#include <algorithm>
#include <filesystem>

namespace sim {

namespace {

bool HasLineBreak(const std::string &text)
{
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

} // namespace

TerminalCore::TerminalCore(SimOptions options) : m_options(std::move(options))
{
    m_state = TerminalState::Fresh(m_options.password, m_options.simPin, HostLocalClock(now()));
    m_savedParameters = m_state.parameters;
    m_echo = m_options.echo;
}

const std::vector<TerminalCore::Command> &TerminalCore::Commands()
{
    // Longest names first: the first name the line begins with is taken.
    static const std::vector<Command> commands = {
        {"AT+RPAR=", &TerminalCore::ReadParameter}, {"AT+WPAR=", &TerminalCore::WriteParameter},
        {"AT+CCWA", &TerminalCore::CallWaiting},    {"AT+CCFC", &TerminalCore::CallForwarding},
        {"AT+CCLK", &TerminalCore::clock},          {"AT&W", &TerminalCore::StoreProfile},
        {"ATE", &TerminalCore::EchoSwitch},         {"AT", &TerminalCore::Attention},
    };
    return commands;
}

bool TerminalCore::LoadStateFile(std::string &error)
{
    const std::string &path = m_options.stateFile;
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec))
        return true;
    if (!LoadState(path, m_state, error))
        return false;
    m_savedParameters = m_state.parameters;
    return true;
}

Reply TerminalCore::Execute(std::string_view line)
{
    for (const std::string &prefix : m_options.faults.refuseCommands)
        if (!prefix.empty() && StartsWithNoCase(line, prefix))
            return error();
    for (const Command &command : Commands())
        if (StartsWithNoCase(line, command.name))
            return (this->*command.handler)(line.substr(command.name.size()));
    return error();
}

Reply TerminalCore::Attention(std::string_view rest)
{
    return rest.empty() ? ok() : error();
}

Reply TerminalCore::EchoSwitch(std::string_view rest)
{
    if (rest.empty() || rest == "0")
        m_echo = false;
    else if (rest == "1")
        m_echo = true;
    else
        return error();
    return ok();
}

Reply TerminalCore::StoreProfile(std::string_view rest)
{
    if (!rest.empty() && rest != "0")
        return error();
    m_savedParameters = m_state.parameters;
    return Persist() ? ok() : error();
}

Reply TerminalCore::ReadParameter(std::string_view rest)
{
    const auto number = ParseNumber(rest);
    if (!number || m_options.faults.refuseReads.count(*number))
        return error();
    std::optional<std::string> value = Value(*number);
    if (!value)
        return error();
    if (value->empty() && IsListEntry(*number))
        value = m_options.blankListRecord;
    return ok("+RPAR: " + *value);
}

std::optional<std::string> TerminalCore::Value(int number) const
{
    if (number == reserved::kPinStartUp)
        return std::string(m_state.pinLock ? "1" : "0");
    const auto it = m_state.parameters.find(number);
    if (it == m_state.parameters.end() || !FindParameter(number))
        return std::nullopt;
    return it->second;
}

bool TerminalCore::SetValue(int number, const std::string &text)
{
    if (HasLineBreak(text))
        return false;
    if (number == reserved::kPinStartUp) {
        m_state.pinLock = text.find_first_not_of('0') != std::string::npos;
        return true;
    }
    if (!FindParameter(number))
        return false;
    m_state.parameters[number] = text;
    return true;
}

Reply TerminalCore::error() const
{
    const auto &code = m_options.faults.cmeError;
    return {{}, code ? "+CME ERROR: " + std::to_string(*code) : "ERROR"};
}

Reply TerminalCore::PasswordError() const
{
    return {{}, m_options.faults.cmeError ? "+CME ERROR: 16" : "ERROR"};
}

HostTime TerminalCore::now() const
{
    return m_options.clock ? m_options.clock() : std::chrono::system_clock::now();
}

bool TerminalCore::Persist()
{
    if (m_options.stateFile.empty())
        return true;
    TerminalState saved = m_state;
    saved.parameters = m_savedParameters;
    if (!SaveState(saved, m_options.stateFile, m_saveError))
        return false;
    m_saveError.clear();
    return true;
}

} // namespace sim
