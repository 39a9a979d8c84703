#pragma once
// How the tool reads numbers and flags out of its text values. Every value
// is a text; switches are "01"/"00" or "1"/"0", numbers are decimal digits.

#include <string>
#include <string_view>

namespace params {

// The value of the leading decimal digits, 0 when the text does not begin
// with a digit ("01" -> 1, "15s" -> 15, "x" -> 0, "-5" -> 0). Saturates
// instead of overflowing on absurdly long digit runs.
int ParseLeadingNumber(std::string_view text);

// A switch counts as on when its text parses to a non-zero value.
inline bool IsOn(std::string_view text)
{
    return ParseLeadingNumber(text) != 0;
}

// True for a non-empty text of the digits 0 to 9 only.
bool IsAllDigits(std::string_view text);

// Blanks and tabs removed at both ends.
std::string_view TrimBlanks(std::string_view text);

// ASCII case folding; bytes above 0x7F are compared as they are.
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string LowerAscii(std::string_view text);

// The file's name: the part of the path after the last slash or backslash.
std::string_view FileNameOf(std::string_view path);

} // namespace params
