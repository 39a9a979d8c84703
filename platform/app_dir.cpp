#include "platform/app_dir.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace platform {

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
    if (dataHome.empty() || dataHome.front() != '/') {
        if (sources.home.empty())
            return {};
        dataHome = sources.home + "/.local/share";
    }
    return WithTrailingSlash(dataHome) + "Quillenbrook/Kestrel Manager/";
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
