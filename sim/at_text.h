#pragma once
// Small text helpers for taking AT command lines apart.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct Argument
{
    std::string text;
    bool quoted = false;
};

// Splits what follows "=" into comma-separated fields: a quoted text (quotes
// removed, no escapes) or a bare token (blanks around it removed). Empty
// fields are kept. nullopt for an unterminated quote or text after a closing
// quote.
std::optional<std::vector<Argument>> SplitArguments(std::string_view text);

// A decimal number made of digits only (leading zeros allowed, at most 9 of
// them in all), or nullopt.
std::optional<int> ParseNumber(std::string_view text);

bool StartsWithNoCase(std::string_view text, std::string_view prefix);
std::string ToUpper(std::string_view text);

} // namespace sim
