#pragma once
// Names of parameters and AT commands in the current language, used to tell
// the user which setting a read or a write failed on, and the page that
// edits it.

#include <cstdint>
#include <string>
#include <vector>

struct ParameterName
{
    std::string text;
    // Template id of the page that edits the parameter, 0 when unknown.
    uint32_t pageTemplate = 0;
};

// The name of a parameter number as a job message carries it: the parameter
// numbers are 16 bits ("Parameter = %u" when no row knows it).
ParameterName NameParameter(intptr_t number);

// The name of the AT command that failed in a write, from the refused line.
std::string NameWrittenAtCommand(const std::string &commandLine);

// The name of the AT query at `index` of the display-name list of the read
// ("AtcmdId = %u" outside the list).
std::string NameReadAtCommand(uint32_t index, const std::vector<std::string> &displayNames);
