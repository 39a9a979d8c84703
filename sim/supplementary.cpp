// Call waiting (AT+CCWA), call forwarding (AT+CCFC) and the clock (AT+CCLK)
// in the forms of 3GPP TS 27.007. The network of this terminal offers both
// services for voice calls only: a setting for a class set that lacks voice
// is refused, and the other classes answer as inactive.

#include "sim/terminal_core.h"

#include <algorithm>

namespace sim {

namespace {

constexpr int kVoiceClass = 1;
constexpr int kDefaultClasses = 7; // voice, data, fax
constexpr int kMaxForwardNumber = 20;
constexpr int kDefaultNoReplyTime = 20;

enum ForwardMode { Disable = 0, Enable = 1, Query = 2, Register = 3, Erase = 4 };

// The field at `index` as a number in [low, high]; `fallback` when the field
// is missing or empty; nullopt when it is malformed or out of range.
std::optional<int> NumberField(const std::vector<Argument> &fields, std::size_t index, int fallback,
                               int low, int high)
{
    if (index >= fields.size() || fields[index].text.empty())
        return fallback;
    const auto value = ParseNumber(fields[index].text);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

bool ValidForwardNumber(const std::string &number)
{
    if (number.empty() || number.size() > static_cast<std::size_t>(kMaxForwardNumber))
        return false;
    for (std::size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        const bool digit = (c >= '0' && c <= '9') || c == '*' || c == '#';
        if (!digit && !(c == '+' && i == 0 && number.size() > 1))
            return false;
    }
    return true;
}

// Reasons 4 (all forwarding) and 5 (all conditional) stand for several.
std::vector<int> ReasonsOf(int reason)
{
    if (reason == 4)
        return {0, 1, 2, 3};
    if (reason == 5)
        return {1, 2, 3};
    return {reason};
}

std::string JoinFields(std::string_view name, const std::vector<std::string> &fields, bool blanks)
{
    std::string line = std::string(name) + ": ";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += blanks ? ", " : ",";
        line += fields[i];
    }
    return line;
}

} // namespace

Reply TerminalCore::CallWaiting(std::string_view rest)
{
    if (rest == "?")
        return ok("+CCWA: " + std::to_string(m_waitingPresentation));
    if (rest == "=?")
        return ok("+CCWA: (0,1)");
    if (rest.empty())
        return ok();
    const auto fields = rest[0] == '=' ? SplitArguments(rest.substr(1)) : std::nullopt;
    if (!fields || fields->size() > 3)
        return error();
    const auto presentation = NumberField(*fields, 0, m_waitingPresentation, 0, 1);
    const auto mode = NumberField(*fields, 1, -1, 0, 2);
    const auto classes = NumberField(*fields, 2, kDefaultClasses, 1, 255);
    if (!presentation || !mode || !classes ||
        (*mode < 2 && *mode >= 0 && !(*classes & kVoiceClass)))
        return error();
    m_waitingPresentation = *presentation;

    if (*mode == 2) {
        Reply reply = ok();
        for (int bit = 1; bit <= 128; bit <<= 1)
            if (*classes & bit & m_state.waitingClasses)
                reply.lines.push_back("+CCWA: 1," + std::to_string(bit));
        if (reply.lines.empty())
            reply.lines.push_back("+CCWA: 0,7");
        return reply;
    }
    if (*mode == 1)
        m_state.waitingClasses = kVoiceClass;
    else if (*mode == 0)
        m_state.waitingClasses = 0;
    if (*mode >= 0)
        Persist();
    return ok();
}

Reply TerminalCore::CallForwarding(std::string_view rest)
{
    if (rest == "=?")
        return ok("+CCFC: (0-5)");
    const auto fields =
        !rest.empty() && rest[0] == '=' ? SplitArguments(rest.substr(1)) : std::nullopt;
    if (!fields || fields->size() < 2 || fields->size() > 8)
        return error();
    const auto reason = NumberField(*fields, 0, -1, 0, 5);
    const auto mode = NumberField(*fields, 1, -1, 0, 4);
    if (!reason || !mode || *reason < 0 || *mode < 0)
        return error();
    if (*mode == Query)
        return *reason <= 3 && fields->size() <= 3 ? ForwardingQuery(*reason) : error();

    const std::vector<int> reasons = ReasonsOf(*reason);
    auto &forwards = m_state.forwards;
    switch (*mode) {
    case Register: {
        const std::string number = fields->size() > 2 ? (*fields)[2].text : std::string();
        const auto type = NumberField(*fields, 3, number.starts_with('+') ? 145 : 129, 0, 255);
        const auto classes = NumberField(*fields, 4, kDefaultClasses, 1, 255);
        const auto time = NumberField(*fields, 7, kDefaultNoReplyTime, 1, 30);
        if (!ValidForwardNumber(number) || !type || !classes || !time || !(*classes & kVoiceClass))
            return error();
        for (int r : reasons)
            forwards[r] = {true, number, *type, *time};
        break;
    }
    case Erase:
        for (int r : reasons)
            forwards[r] = {};
        break;
    case Enable: {
        const bool any = std::any_of(reasons.begin(), reasons.end(),
                                     [&](int r) { return !forwards[r].number.empty(); });
        if (!any)
            return error();
        for (int r : reasons)
            forwards[r].active = !forwards[r].number.empty();
        break;
    }
    case Disable:
        for (int r : reasons)
            forwards[r].active = false;
        break;
    }
    Persist();
    return ok();
}

Reply TerminalCore::ForwardingQuery(int reason) const
{
    const ForwardReplyStyle &style = m_options.forwardStyle;
    const ForwardEntry &entry = m_state.forwards[reason];
    if (!entry.active || entry.number.empty())
        return ok(JoinFields("+CCFC", {"0", std::to_string(style.noneClass)}, style.blanks));

    std::vector<std::string> voice = {"1", std::to_string(kVoiceClass), '"' + entry.number + '"',
                                      std::to_string(entry.type)};
    if (reason == 2) {
        using S = ForwardReplyStyle::Subaddress;
        voice.push_back(style.subaddress == S::Omitted ? "" : "\"\"");
        voice.push_back(style.subaddress == S::QuotedWithType ? "128" : "");
        voice.push_back(std::to_string(entry.time));
    }
    Reply reply = ok();
    for (int inactive : style.otherClasses)
        reply.lines.push_back(JoinFields("+CCFC", {"0", std::to_string(inactive)}, style.blanks));
    const std::string voiceLine = JoinFields("+CCFC", voice, style.blanks);
    if (style.voiceLast)
        reply.lines.push_back(voiceLine);
    else
        reply.lines.insert(reply.lines.begin(), voiceLine);
    return reply;
}

Reply TerminalCore::clock(std::string_view rest)
{
    if (rest == "?")
        return ok("+CCLK: \"" + FormatClock(now(), m_state.clock) + '"');
    if (rest == "=?")
        return ok();
    const auto fields =
        !rest.empty() && rest[0] == '=' ? SplitArguments(rest.substr(1)) : std::nullopt;
    if (!fields || fields->size() != 1)
        return error();
    const auto setting = ParseClock((*fields)[0].text, now());
    if (!setting)
        return error();
    m_state.clock = *setting;
    Persist();
    return ok();
}

} // namespace sim
