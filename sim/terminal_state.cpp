#include "sim/terminal_state.h"

#include "platform/file_io.h"
#include "sim/at_text.h"
#include "sim/parameter_table.h"

#include <fstream>
#include <sstream>

namespace sim {

namespace {

constexpr std::string_view kParamPrefix = "param.";
constexpr std::string_view kForwardPrefix = "forward.";

std::optional<long long> ParseSigned(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::string FormatForward(const ForwardEntry &entry)
{
    return std::string(entry.active ? "1" : "0") + "," + entry.number + "," +
           std::to_string(entry.type) + "," + std::to_string(entry.time);
}

bool ParseForward(std::string_view text, ForwardEntry &entry)
{
    const auto fields = SplitArguments(text);
    if (!fields || fields->size() != 4)
        return false;
    const auto active = ParseNumber((*fields)[0].text);
    const auto type = ParseNumber((*fields)[2].text);
    const auto time = ParseNumber((*fields)[3].text);
    if (!active || *active > 1 || !type || !time)
        return false;
    entry = {*active == 1, (*fields)[1].text, *type, *time};
    return true;
}

bool ApplyLine(std::string_view key, std::string_view value, TerminalState &state)
{
    if (key == "password") {
        state.password = value;
        return true;
    }
    if (key == "pin") {
        state.simPin = value;
        return true;
    }
    if (key == "pin-lock" || key == "call-waiting" || key == "clock-offset" ||
        key == "clock-zone") {
        const auto number = ParseSigned(value);
        if (!number)
            return false;
        if (key == "pin-lock")
            state.pinLock = *number != 0;
        else if (key == "call-waiting")
            state.waitingClasses = static_cast<int>(*number & 0xff);
        else if (key == "clock-offset")
            state.clock.offset = std::chrono::seconds(*number);
        else if (*number < -48 || *number > 48)
            return false;
        else
            state.clock.zoneQuarters = static_cast<int>(*number);
        return true;
    }
    if (key.substr(0, kForwardPrefix.size()) == kForwardPrefix) {
        const auto reason = ParseNumber(key.substr(kForwardPrefix.size()));
        return reason && *reason < 4 && ParseForward(value, state.forwards[*reason]);
    }
    if (key.substr(0, kParamPrefix.size()) == kParamPrefix) {
        const auto number = ParseNumber(key.substr(kParamPrefix.size()));
        if (!number || !FindParameter(*number))
            return false;
        state.parameters[*number] = value;
        return true;
    }
    return false;
}

} // namespace

TerminalState TerminalState::Fresh(std::string password, std::string simPin, ClockSetting clock)
{
    TerminalState state;
    for (const ParameterSpec &row : ParameterTable())
        for (int number = row.first; number <= row.last; ++number)
            state.parameters[number] = row.defaultValue;
    state.password = std::move(password);
    state.simPin = std::move(simPin);
    state.clock = clock;
    return state;
}

bool SaveState(const TerminalState &state, const std::string &path, std::string &error)
{
    std::ostringstream text;
    text << "# kestrel-sim terminal state\n"
         << "password=" << state.password << '\n'
         << "pin=" << state.simPin << '\n'
         << "pin-lock=" << (state.pinLock ? 1 : 0) << '\n'
         << "call-waiting=" << state.waitingClasses << '\n';
    for (std::size_t reason = 0; reason < state.forwards.size(); ++reason)
        text << kForwardPrefix << reason << '=' << FormatForward(state.forwards[reason]) << '\n';
    text << "clock-offset=" << state.clock.offset.count() << '\n'
         << "clock-zone=" << state.clock.zoneQuarters << '\n';
    for (const auto &[number, value] : state.parameters)
        text << kParamPrefix << number << '=' << value << '\n';

    // Replaced in one step through a fresh, unpredictable name beside it: the
    // state holds the password and the PIN, and its folder may be shared.
    const platform::FileResult saved = platform::ReplaceFile(path, text.str());
    if (!saved.ok)
        error = saved.error;
    return saved.ok;
}

bool LoadState(const std::string &path, TerminalState &state, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    TerminalState loaded = state;
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos ||
            !ApplyLine(std::string_view(line).substr(0, equals),
                       std::string_view(line).substr(equals + 1), loaded)) {
            error = path + " line " + std::to_string(lineNumber) + ": cannot understand '" +
                    line.substr(0, 80) + "'";
            return false;
        }
    }
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    state = std::move(loaded);
    return true;
}

} // namespace sim
