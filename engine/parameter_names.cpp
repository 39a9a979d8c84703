#include "engine/parameter_names.h"

#include "params/catalogue.h"
#include "params/language.h"

ParameterName NameParameter(intptr_t number)
{
    const params::ParameterNaming naming =
        params::NameParameter(static_cast<uint16_t>(number), lang::Code());
    return {naming.name, static_cast<uint32_t>(naming.pageTemplate)};
}

std::string NameWrittenAtCommand(const std::string &commandLine)
{
    if (const params::AtSetting *setting = params::FindAtSettingInLine(commandLine))
        return setting->label.Text();
    // Not a supplementary-service line: the line itself, without a CR.
    return commandLine.ends_with('\r') ? commandLine.substr(0, commandLine.size() - 1)
                                       : commandLine;
}

std::string NameReadAtCommand(uint32_t index, const std::vector<std::string> &displayNames)
{
    if (index < displayNames.size())
        return displayNames[index];
    return lang::Fill("AtcmdId = %u", {index});
}
