#include "sim/at_text.h"

#include <algorithm>
#include <cctype>

namespace sim {

namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<std::vector<Argument>> SplitArguments(std::string_view text)
{
    std::vector<Argument> fields;
    std::size_t pos = 0;
    for (;;) {
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        Argument field;
        if (pos < text.size() && text[pos] == '"') {
            const std::size_t close = text.find('"', pos + 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            field.text = std::string(text.substr(pos + 1, close - pos - 1));
            field.quoted = true;
            pos = close + 1;
            while (pos < text.size() && text[pos] == ' ')
                ++pos;
            if (pos < text.size() && text[pos] != ',')
                return std::nullopt;
        } else {
            const std::size_t comma = std::min(text.find(',', pos), text.size());
            const std::string_view token = Trim(text.substr(pos, comma - pos));
            if (token.find('"') != std::string_view::npos)
                return std::nullopt;
            field.text = std::string(token);
            pos = comma;
        }
        fields.push_back(std::move(field));
        if (pos >= text.size())
            return fields;
        ++pos; // the comma
    }
}

std::optional<int> ParseNumber(std::string_view text)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) ==
                      std::toupper(static_cast<unsigned char>(b));
           });
}

std::string ToUpper(std::string_view text)
{
    std::string upper(text);
    for (char &c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

} // namespace sim
