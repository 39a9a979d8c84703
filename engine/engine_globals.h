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

// The software password typed at login; the write jobs send it, a successful
// password change replaces it.
extern std::string g_strSoftwarePassword;
// The pending new password and its confirmation, set by the Passwords page
// before a password change and cleared by Transmit.
extern std::string g_strNewPassword;
extern std::string g_strConfirmPassword;
