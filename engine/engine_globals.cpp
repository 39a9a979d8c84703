#include "engine/engine_globals.h"

int g_nJobTimeout = 30000;
platform::Event g_hFifoGate(platform::ResetMode::Manual, true);
std::string g_strSoftwarePassword;
std::string g_strNewPassword;
std::string g_strConfirmPassword;
