#include "platform/app_dir.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace platform {

namespace fs = std::filesystem;

namespace {

std::string WithTrailingSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string Env(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::string ChooseAppDir(const AppDirSources &sources)
{
    // Relative values of XDG_DATA_HOME are invalid and ignored.
    std::string dataHome = sources.xdgDataHome;
    if (dataHome.empty() || dataHome.front() != '/')
        dataHome = (sources.home.empty() ? std::string("/tmp") : sources.home) + "/.local/share";
    const std::string dir = WithTrailingSlash(dataHome) + "Quillenbrook/Kestrel Manager/";
    std::error_code ec;
    fs::create_directories(dir, ec); // a failure shows later as files that cannot be written
    return dir;
}

AppDirSources CurrentAppDirSources()
{
    AppDirSources sources;
    sources.xdgDataHome = Env("XDG_DATA_HOME");
    sources.home = Env("HOME");
    if (sources.home.empty()) {
        if (const passwd *user = ::getpwuid(::getuid()); user && user->pw_dir)
            sources.home = user->pw_dir;
    }
    return sources;
}

std::string AppDir()
{
    return ChooseAppDir(CurrentAppDirSources());
}

} // namespace platform
