#include "link/shared_settings.h"

std::string g_strPortName;
std::string g_strBaudRate = "115200";
// Set by the start-up (platform::AppDir()) before the first per-port file.
std::string g_strAppDir;
int g_bIsNT = 1;
