#pragma once
// The form of a setting's value, as the catalogue states it for each one,
// and the tests that measure a value against it. The pages' rules, the
// login and kestrel-cli take their bounds from here.

#include <cstdint>
#include <string_view>

namespace params {

enum class ValueKind : uint8_t {
    Flag2,       // "01" / "00"
    Flag1,       // "1" / "0"
    Digits,      // decimal digits, length and value bounded
    Text,        // any characters, length bounded
    PhoneNumber, // digits with at most one leading "+"
    AsRead,      // whatever the terminal returns
};

// The value a page accepts before a transmission. A minimum length of 0
// admits the empty text; maxLength 0 means unbounded.
struct ValueForm
{
    ValueKind kind;
    uint16_t minLength = 0;
    uint16_t maxLength = 0;
    int minValue = 0;
    int maxValue = 0; // 0 with minValue 0: no value bound
};

// Each is true when the value breaks its form.
// A character the kind does not take (Digits: anything but 0 to 9;
// PhoneNumber: the same after one leading "+"), or the empty text where
// minLength is above 0.
bool BadCharacters(std::string_view value, const ValueForm &form);
bool TooShort(std::string_view value, const ValueForm &form);
bool TooLong(std::string_view value, const ValueForm &form);
bool WrongLength(std::string_view value, const ValueForm &form); // either of the two
// The number of the leading digits (0 without any, as the terminal reads
// its numbers) lies outside minValue and maxValue.
bool OutOfRange(std::string_view value, const ValueForm &form);

} // namespace params
