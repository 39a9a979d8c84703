#include "engine/at_reply_store.h"

#include "params/atcmd_codec.h"
#include "params/ini_file.h"
#include "params/param_file.h"

bool StoreAtReply(CIniFile &file, std::string_view command, std::string_view argument,
                  std::string_view value)
{
    const auto entry = params::AtReplyEntry(command, argument, value);
    return !entry || file.WriteString(params::kAtcmdSection, entry->key, entry->value);
}

std::string AtCommandText(std::string_view key, std::string_view value)
{
    std::string line = params::BuildAtCommandLine(key, value);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}
