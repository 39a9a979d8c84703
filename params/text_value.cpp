#include "params/text_value.h"

#include <array>

namespace params {

bool IsAllDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool IsBlankRecord(std::string_view value)
{
    static constexpr std::array<std::string_view, 7> kBlankRecords = {
        "0*0", "0*0*0", "0*0*0*0", "0.0", "0.0.0", "0.0.0.0", "***"};
    for (std::string_view blank : kBlankRecords) {
        if (value.find(blank) != std::string_view::npos)
            return true;
    }
    return false;
}

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower)
        c = text::LowerAscii(c);
    return lower;
}

std::string_view FileNameOf(std::string_view path)
{
    const size_t separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

} // namespace params
