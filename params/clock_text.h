#pragma once
// The terminal clock's text, "yy/MM/dd,hh:mm:ss+zz", built from the Times
// page's date (DDMMYY), time (HHMM) and a zone in quarter hours, and taken
// apart again when a parameter file is imported.

#include <string>
#include <string_view>

namespace params {

// The zone the export always sends.
inline constexpr char kExportTimeZone[] = "-03";

// A DDMMYY date that the calendar has, the year taken as 2000 + YY.
bool IsCalendarDate(std::string_view date);
// An HHMM time of day: 0000 to 2359.
bool IsTimeOfDay(std::string_view time);

// "yy/MM/dd,hh:mm:00zz", or "" unless the date is a calendar date, the time
// a time of day and the zone a sign with two digits of at most 48.
std::string BuildClockText(std::string_view date, std::string_view time, std::string_view zone);

struct ClockFields
{
    std::string date; // DDMMYY
    std::string time; // HHMM
    std::string zone; // sign and two digits
};

// Reads "yy/MM/dd,hh:mm:ss+zz" with or without surrounding double quotes
// (the terminal's reply and the export's value); anything else gives three
// empty texts.
ClockFields ParseClockText(std::string_view clock);

} // namespace params
