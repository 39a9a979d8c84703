#pragma once
// How the tool reads flags out of its text values. Every value is a text;
// switches are "01"/"00" or "1"/"0", numbers are decimal digits, and a
// number is read from the leading digits (text::LeadingNumber).

#include "platform/text_util.h"

#include <string>
#include <string_view>

namespace params {

// A switch counts as on when its text parses to a non-zero value:
// "01", "1" and "5" are on; "00", "0", "" and "x" are off.
inline bool IsOn(std::string_view text)
{
    return text::LeadingNumber(text) != 0;
}

// True for a non-empty text of the digits 0 to 9 only.
bool IsAllDigits(std::string_view text);

// The terminal answers an entry that holds nothing with a blank record:
// a text containing "0*0", "0.0", "***" or one of their longer forms. A read
// stores it as it came; it stands for no value.
bool IsBlankRecord(std::string_view value);

// ASCII case folding of a whole text; bytes above 0x7F stay as they are.
std::string LowerAscii(std::string_view text);

// The file's name: the part of the path after the last slash or backslash.
std::string_view FileNameOf(std::string_view path);

} // namespace params
