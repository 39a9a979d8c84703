#pragma once
// Process-wide values of the command engine.

#include "platform/sync.h"

#include <cstdint>
#include <string>

// The job watchdog period in milliseconds (30000). Set once at start-up;
// tests shorten it.
extern int g_nJobTimeout;

// One job dispatch per finished job: set by whoever ends a job (the worker or
// the watchdog), tested and reset by the queue thread.
extern platform::Event g_hFifoGate;

// The worker's copy of the command line taken just before a fixed line is
// built; the main window reads it to name the line that failed.
struct PrevCommand
{
    uint32_t length = 0;
    char text[512] = {};
};
// Written by the worker, read by the window: always through these two.
void SavePrevCommand(uint32_t length, const char (&text)[512]);
PrevCommand LoadPrevCommand();
// The text part of the record, up to its first zero byte.
std::string PrevCommandText();

// The software password typed at login; the write jobs send it, a successful
// password change replaces it.
extern std::string g_strSoftwarePassword;
// The pending new password and its confirmation, set by the Passwords page
// before a password change and cleared by Transmit.
extern std::string g_strNewPassword;
extern std::string g_strConfirmPassword;
