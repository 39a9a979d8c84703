#pragma once
// The folder of the per-port files (AT log, temporary parameter file): the
// user's data folder, always. The program's own folder may be shared by
// several users or read-only, as in an installed package.

#include <string>

namespace platform {

struct AppDirSources
{
    std::string xdgDataHome; // $XDG_DATA_HOME, "" when unset
    std::string home;        // the user's home folder
};

// The folder for `sources`, with a trailing '/': $XDG_DATA_HOME (when
// absolute) or ~/.local/share, plus "/Quillenbrook/Kestrel Manager/"; ""
// without either, never a shared folder. It is made (mode 0700) and checked
// by PreparePrivateFolder before the first per-port file.
std::string ChooseAppDir(const AppDirSources &sources);

// The sources of this process: the environment, else the password database.
AppDirSources CurrentAppDirSources();

// ChooseAppDir(CurrentAppDirSources()), the value of g_strAppDir.
std::string AppDir();

} // namespace platform
