#pragma once
// JSON as kestrel-cli writes it for scripts (--json, --progress json), and
// reads back the progress lines of the runs it starts itself (provision).
//
// Strings are the program's bytes: valid UTF-8 goes through as it is, every
// control character is escaped, and a byte that is no part of valid UTF-8
// (a value in the terminal's own code page, say) becomes the Windows-1252
// character of that byte, so that the text is always valid JSON.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace json {

// The bytes as a JSON string, quotes included.
std::string Quote(std::string_view bytes);

// A JSON object, members in the order added, written on one line.
class Object
{
public:
    Object &Text(std::string_view key, std::string_view value);
    Object &Number(std::string_view key, long long value);
    Object &Flag(std::string_view key, bool value);
    // A JSON value made here: an Object's or Array's text, or "null".
    Object &Raw(std::string_view key, std::string_view value);
    std::string Str() const { return "{" + m_members + "}"; }

private:
    Object &Member(std::string_view key, std::string_view value);
    std::string m_members;
};

// JSON values made here, as one array.
std::string Array(const std::vector<std::string> &values);

// A line as Object writes one with strings, numbers and flags only: its
// members by key, strings decoded to UTF-8, numbers and flags as written.
// Nothing for anything else (nesting included).
std::optional<std::map<std::string, std::string>> ReadFlatObject(std::string_view line);

} // namespace json
