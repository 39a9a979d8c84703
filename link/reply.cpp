#include "link/reply.h"

#include "platform/text_util.h"

namespace {

constexpr std::string_view kOk = "OK";
constexpr std::string_view kError = "ERROR";
constexpr std::string_view kCmeError = "+CME ERROR:";

} // namespace

bool IsErrorReply(std::string_view line)
{
    return text::EqualsNoCase(line, kError) || text::StartsWithNoCase(line, kCmeError);
}

bool IsFinalReply(std::string_view line)
{
    return text::EqualsNoCase(line, kOk) || IsErrorReply(line);
}
