#pragma once
// The operating-system check at start-up. The program needs a system whose
// serial devices wait for completions the NT way; Linux and the other POSIX
// systems with termios devices are of that kind. The refusals stay for
// systems that are not.

#include <string_view>

enum class OsPlatform {
    Win95Family, // runs, without waiting for overlapped completions
    NtFamily,
    Posix, // Linux and the like: any kernel version will do
    Other,
};

struct OsVersion
{
    OsPlatform platform = OsPlatform::Other;
    int major = 0; // the system's (or kernel's) major version
};

// The running system.
OsVersion QueryOsVersion();

inline constexpr const char *kOsRefusalCaption = "Error";
inline constexpr const char *kOsTooOldText =
    "this application will only run on Windows95 or WinNT 4.0 or greater";
inline constexpr const char *kOsUnsupportedText = "there is an Error,the system is not supported";

struct OsVerdict
{
    // nullptr when the program may run; else the refusal to show (caption
    // kOsRefusalCaption, information icon) before ending.
    const char *refusal = nullptr;
    int isNT = 0; // the value for g_bIsNT when the program runs
};

OsVerdict CheckOsVersion(const OsVersion &version);
