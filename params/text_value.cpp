#include "params/text_value.h"

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
