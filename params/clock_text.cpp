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

unsigned TwoDigits(std::string_view text, size_t at)
{
    return unsigned(text[at] - '0') * 10 + unsigned(text[at + 1] - '0');
}

} // namespace

bool IsCalendarDate(std::string_view date)
{
    if (date.size() != 6 || !IsAllDigits(date))
        return false;
    const unsigned day = TwoDigits(date, 0);
    const unsigned month = TwoDigits(date, 2);
    // Every fourth year from 2000 to 2099 is a leap year.
    const bool leap = TwoDigits(date, 4) % 4 == 0;
    constexpr unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1)
        return false;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool IsTimeOfDay(std::string_view time)
{
    return time.size() == 4 && IsAllDigits(time) && TwoDigits(time, 0) <= 23 &&
           TwoDigits(time, 2) <= 59;
}

std::string BuildClockText(std::string_view date, std::string_view time, std::string_view zone)
{
    if (!IsCalendarDate(date) || !IsTimeOfDay(time) || !IsZone(zone) ||
        text::LeadingNumber(zone.substr(1)) > kMaxZoneQuarterHours)
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
    // The body's own check comes first: it refuses a text too short to
    // hold a zone.
    if (!IsClockBody(clock.substr(0, kBodyLength)) || !IsZone(clock.substr(kBodyLength)))
        return {};
    ClockFields fields;
    fields.date = std::string(clock.substr(6, 2)) + std::string(clock.substr(3, 2)) +
                  std::string(clock.substr(0, 2));
    fields.time = std::string(clock.substr(9, 2)) + std::string(clock.substr(12, 2));
    fields.zone = std::string(clock.substr(kBodyLength));
    return fields;
}

} // namespace params
