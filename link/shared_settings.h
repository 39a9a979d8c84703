#pragma once
// Process-wide settings of the link: set by the start-up and the login on the
// UI thread before any port thread or job reads them.

#include <string>

// Port name as the user picked it: a bare name ("ttyUSB0", "SIM0") or a path.
extern std::string g_strPortName;
// Baud rate as decimal text, "115200" by default.
extern std::string g_strBaudRate;
// Folder for the per-port files (temporary parameter file, AT log), with a
// trailing separator.
extern std::string g_strAppDir;
// 1 on systems that wait for overlapped completions (every system we run on).
extern int g_bIsNT;
