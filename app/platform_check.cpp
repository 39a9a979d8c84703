#include "app/platform_check.h"

#include <charconv>
#include <cstring>
#include <sys/utsname.h>

namespace {

struct PlatformRule
{
    OsPlatform platform;
    int minimumMajor;
    bool supported;
    int isNT;
};

// A version below the minimum is refused as too old first, on any platform.
constexpr PlatformRule kRules[] = {
    {OsPlatform::Win95Family, 4, true, 0},
    {OsPlatform::NtFamily, 4, true, 1},
    {OsPlatform::Posix, 0, true, 1},
    {OsPlatform::Other, 4, false, 0},
};

} // namespace

OsVersion QueryOsVersion()
{
#if defined(__unix__) || defined(__APPLE__)
    OsVersion version{OsPlatform::Posix, 0};
    utsname name{};
    if (::uname(&name) == 0) {
        const char *release = name.release;
        std::from_chars(release, release + ::strnlen(release, sizeof name.release), version.major);
    }
    return version;
#else
    return {};
#endif
}

OsVerdict CheckOsVersion(const OsVersion &version)
{
    for (const PlatformRule &rule : kRules) {
        if (rule.platform != version.platform)
            continue;
        if (version.major < rule.minimumMajor)
            return {kOsTooOldText, 0};
        if (!rule.supported)
            return {kOsUnsupportedText, 0};
        return {nullptr, rule.isNT};
    }
    return {kOsUnsupportedText, 0};
}
