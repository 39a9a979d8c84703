#include "params/clock_text.h"

#include "params/text_value.h"

namespace params {

namespace {

constexpr int kMaxZoneQuarterHours = 48;

bool IsZone(std::string_view zone)
{
    return zone.size() == 3 && (zone[0] == '+' || zone[0] == '-') && IsAllDigits(zone.substr(1));
}

// "dd/dd/dd,dd:dd:dd": every other position a digit pair.
bool IsClockBody(std::string_view body)
{
    constexpr std::string_view kShape = "00/00/00,00:00:00";
    if (body.size() != kShape.size())
        return false;
    for (size_t i = 0; i < kShape.size(); ++i) {
        const bool wantDigit = kShape[i] == '0';
        const bool isDigit = body[i] >= '0' && body[i] <= '9';
        if (wantDigit != isDigit || (!wantDigit && body[i] != kShape[i]))
            return false;
    }
    return true;
}

} // namespace

std::string BuildClockText(std::string_view date, std::string_view time, std::string_view zone)
{
    if (date.size() != 6 || !IsAllDigits(date) || time.size() != 4 || !IsAllDigits(time) ||
        !IsZone(zone) || text::LeadingNumber(zone.substr(1)) > kMaxZoneQuarterHours)
        return {};
    std::string clock;
    clock += date.substr(4, 2);
    clock += '/';
    clock += date.substr(2, 2);
    clock += '/';
    clock += date.substr(0, 2);
    clock += ',';
    clock += time.substr(0, 2);
    clock += ':';
    clock += time.substr(2, 2);
    clock += ":00";
    clock += zone;
    return clock;
}

ClockFields ParseClockText(std::string_view clock)
{
    clock = text::TrimBlanks(clock);
    if (clock.size() >= 2 && clock.front() == '"' && clock.back() == '"')
        clock = clock.substr(1, clock.size() - 2);
    constexpr size_t kBodyLength = 17;
    if (clock.size() != kBodyLength + 3 || !IsClockBody(clock.substr(0, kBodyLength)) ||
        !IsZone(clock.substr(kBodyLength)))
        return {};
    ClockFields fields;
    fields.date = std::string(clock.substr(6, 2)) + std::string(clock.substr(3, 2)) +
                  std::string(clock.substr(0, 2));
    fields.time = std::string(clock.substr(9, 2)) + std::string(clock.substr(12, 2));
    fields.zone = std::string(clock.substr(kBodyLength));
    return fields;
}

} // namespace params
