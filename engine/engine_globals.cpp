#include "engine/engine_globals.h"

#include <cstring>
#include <mutex>

int g_nJobTimeout = 30000;
platform::Event g_hFifoGate(platform::ResetMode::Manual, true);
std::string g_strSoftwarePassword;
std::string g_strNewPassword;
std::string g_strConfirmPassword;

namespace {
std::mutex g_prevCommandMutex;
PrevCommand g_prevCommand;
} // namespace

void SavePrevCommand(uint32_t length, const char (&text)[512])
{
    std::lock_guard lock(g_prevCommandMutex);
    g_prevCommand.length = length;
    std::memcpy(g_prevCommand.text, text, sizeof text);
}

PrevCommand LoadPrevCommand()
{
    std::lock_guard lock(g_prevCommandMutex);
    return g_prevCommand;
}

std::string PrevCommandText()
{
    const PrevCommand copy = LoadPrevCommand();
    return std::string(copy.text, strnlen(copy.text, sizeof copy.text));
}
