#pragma once
// The folder of the per-port files (AT log, temporary parameter file): the
// program's own folder when the program may write there, as on a portable
// install, else the user's data folder.

#include <string>

namespace platform {

struct AppDirSources
{
    std::string exeDir;      // folder of the program file; "" when unknown
    std::string xdgDataHome; // $XDG_DATA_HOME, "" when unset
    std::string home;        // the user's home folder
};

// The folder for `sources`, with a trailing '/'. The user's data folder is
// $XDG_DATA_HOME (when absolute) or ~/.local/share, plus
// "/Quillenbrook/Kestrel Manager/"; it is created when missing.
std::string ChooseAppDir(const AppDirSources &sources);

// The sources of this process: /proc/self/exe and the environment.
AppDirSources CurrentAppDirSources();

// ChooseAppDir(CurrentAppDirSources()), the value of g_strAppDir.
std::string AppDir();

} // namespace platform
