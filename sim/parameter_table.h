#pragma once
// The numbered parameters the terminal keeps, with the values a fresh
// terminal answers and the forms it accepts when they are written.

#include <cstddef>
#include <string_view>
#include <vector>

namespace sim {

enum class Access { ReadWrite, ReadOnly };
enum class ValueForm { Digits, Text };

// One number or a range of numbers that behave alike (list entries).
struct ParameterSpec
{
    int first;
    int last;
    const char *defaultValue;
    Access access;
    ValueForm form;
    std::size_t maxLength;
};

const std::vector<ParameterSpec> &ParameterTable();
// nullptr for numbers the terminal does not keep.
const ParameterSpec *FindParameter(int number);
// Entries of the forbidden list (3001..3020) and the call back list (16212..16511).
bool IsListEntry(int number);
// Whether the terminal takes `value` for the parameter (empty always fits).
bool ValueFits(const ParameterSpec &row, std::string_view value);

// Numbers with a meaning of their own on write.
namespace reserved {
inline constexpr int kSoftwarePassword = 1;
inline constexpr int kEndTransaction = 9995;
inline constexpr int kOpenTransaction = 9996;
inline constexpr int kSaveTransaction = 9999;
inline constexpr int kClearCallBackList = 16547;
inline constexpr int kChangePin = 16548;
inline constexpr int kPinLockOn = 16549;
inline constexpr int kPinStartUp = 16550; // read: lock flag; write: the PIN
inline constexpr int kPinLockOff = 16551;
inline constexpr int kPinCheck = 16552;
inline constexpr int kPinCheckConfirm = 16553;
// The code the two PIN follow-up lines carry.
inline constexpr char kPinFollowUpCode[] = "4711";
inline constexpr int kCallBackFirst = 16212;
inline constexpr int kCallBackLast = 16511;
} // namespace reserved

} // namespace sim
