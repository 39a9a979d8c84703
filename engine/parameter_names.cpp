#include "engine/parameter_names.h"

#include "params/catalogue.h"
#include "params/language.h"

#include <cstdio>

ParameterName NameParameter(intptr_t number)
{
    const params::ParameterNaming naming =
        params::NameParameter(static_cast<uint16_t>(number), lang::Code());
    return {naming.name, static_cast<uint32_t>(naming.pageTemplate)};
}

std::string NameWrittenAtCommand(const std::string &commandLine)
{
    if (const params::AtSetting *setting = params::FindAtSettingInLine(commandLine)) {
        const char *label = setting->label.Current();
        return label ? label : "";
    }
    // Not a supplementary-service line: the line itself, without a CR.
    return commandLine.ends_with('\r') ? commandLine.substr(0, commandLine.size() - 1)
                                        : commandLine;
}

std::string NameReadAtCommand(uint32_t index, const std::vector<std::string> &displayNames)
{
    if (index < displayNames.size())
        return displayNames[index];
    char text[64];
    std::snprintf(text, sizeof text, "AtcmdId = %u", index);
    return text;
}
