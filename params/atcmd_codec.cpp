#include "params/atcmd_codec.h"

#include "params/text_value.h"

#include <vector>

namespace params {

namespace {

constexpr int kModeRegister = 3;
constexpr int kModeErase = 4;

// Splits at the commas outside double quotes. A quoted field loses its
// quotes; anything between its closing quote and the next comma is noise.
std::vector<std::string_view> SplitFields(std::string_view value)
{
    std::vector<std::string_view> fields;
    size_t pos = 0;
    for (;;) {
        while (pos < value.size() && (value[pos] == ' ' || value[pos] == '\t'))
            ++pos;
        std::string_view field;
        size_t comma;
        if (pos < value.size() && value[pos] == '"') {
            const size_t close = value.find('"', pos + 1);
            if (close == std::string_view::npos) { // unterminated: the rest is the field
                fields.push_back(value.substr(pos + 1));
                return fields;
            }
            field = value.substr(pos + 1, close - pos - 1);
            comma = value.find(',', close + 1);
        } else {
            comma = value.find(',', pos);
            field = text::TrimBlanks(value.substr(
                pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
        }
        fields.push_back(field);
        if (comma == std::string_view::npos)
            return fields;
        pos = comma + 1;
    }
}

bool IsReasonDigit(char c)
{
    return c >= '0' && c <= '3';
}

} // namespace

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

ForwardingFields ParseForwarding(std::string_view value)
{
    const std::vector<std::string_view> fields = SplitFields(value);
    const auto field = [&](size_t i) {
        return i < fields.size() ? std::string(fields[i]) : std::string();
    };
    ForwardingFields parsed{field(0), field(1), field(2), field(3), {}};
    // A reply ends with the time as its seventh field; the export's
    // registration puts the class 7 before the subaddress and ends with the
    // time as its eighth.
    if (fields.size() >= 7)
        parsed.time = std::string(fields.back());
    return parsed;
}

std::string_view TypeOfNumber(std::string_view number)
{
    return number.starts_with('+') ? "145" : "129";
}

std::string FormatForwardingActive(int reason, std::string_view number, std::string_view type)
{
    return std::to_string(reason) + "," + std::to_string(kModeRegister) + "," + Quoted(number) +
           "," + std::string(type);
}

std::string FormatForwardingActiveWithTime(int reason, std::string_view number,
                                           std::string_view type, unsigned seconds)
{
    return FormatForwardingActive(reason, number, type) + ",\"\",," + std::to_string(seconds);
}

std::string FormatForwardingInactive(int reason)
{
    return std::to_string(reason) + "," + std::to_string(kModeErase);
}

std::string FormatCallWaitingReply(char status)
{
    return std::string(1, status) + ",2";
}

std::string ExportForwardingRegistration(int reason, std::string_view number,
                                         std::string_view noAnswerTime)
{
    std::string text = FormatForwardingActive(reason, number, TypeOfNumber(number));
    if (reason == 2)
        text += ",7,,," + std::string(noAnswerTime);
    return text;
}

std::string_view ExportCallWaiting(bool on)
{
    return on ? "1,1" : "0,0,7";
}

std::optional<AtcmdEntry> AtReplyEntry(std::string_view command, std::string_view argument,
                                       std::string_view value)
{
    if (value.empty())
        return std::nullopt;
    if (command == "AT+CCFC") {
        const ForwardingFields fields = ParseForwarding(value);
        // One line per bearer class; only the voice line counts. The whole
        // class field decides: 16 is a data class, not voice.
        if (fields.classOrMode != "1")
            return std::nullopt;
        const char reasonDigit = argument.size() >= 2 ? argument[1] : '\0';
        if (!IsReasonDigit(reasonDigit))
            return std::nullopt;
        const int reason = reasonDigit - '0';
        std::string text;
        if (fields.status != "1")
            text = FormatForwardingInactive(reason);
        else if (reason == 2 && !fields.time.empty())
            text = FormatForwardingActiveWithTime(reason, fields.number, fields.type,
                                                  text::LeadingNumber(fields.time));
        else
            text = FormatForwardingActive(reason, fields.number, fields.type);
        return AtcmdEntry{std::string("AT+CCFC") + reasonDigit, Quoted(text)};
    }
    if (command == "AT+CCWA") {
        const ForwardingFields fields = ParseForwarding(value);
        if ((fields.classOrMode != "1" && fields.classOrMode != "7") || fields.status.empty())
            return std::nullopt;
        return AtcmdEntry{"AT+CCWA", Quoted(FormatCallWaitingReply(fields.status.front()))};
    }
    if (command == "AT+CCLK")
        return AtcmdEntry{"AT+CCLK", std::string(value)}; // it carries its own quotes
    return std::nullopt;
}

std::string BuildAtCommandLine(std::string_view key, std::string_view value)
{
    std::string line(key);
    if (!line.empty() && line.back() >= '0' && line.back() <= '9')
        line.pop_back();
    line += '=';
    line += key == "AT+CCLK" ? Quoted(value) : std::string(value);
    line += '\r';
    return line;
}

} // namespace params
