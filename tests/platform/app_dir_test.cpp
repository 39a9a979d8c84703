#include "platform/app_dir.h"
#include "tests/common/scoped_env.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

const std::string kSuffix = "/Quillenbrook/Kestrel Manager/";

} // namespace

// Without a home folder there is none: never a shared one such as /tmp.
TEST(AppDirChoice, TheUsersDataFolderOrNone)
{
    const std::string dir = "/data";
    const std::pair<AppDirSources, std::string> cases[] = {
        {{dir + "/xdg", dir + "/home"}, dir + "/xdg" + kSuffix},
        {{dir + "/xdg2/", dir + "/home"}, dir + "/xdg2" + kSuffix},
        {{dir + "/xdg", ""}, dir + "/xdg" + kSuffix},
        {{"", dir + "/home"}, dir + "/home/.local/share" + kSuffix},
        {{"relative/xdg", dir + "/home2"}, dir + "/home2/.local/share" + kSuffix},
        {{"relative/xdg", ""}, ""},
        {{"", ""}, ""},
    };
    for (const auto &[sources, expected] : cases)
        EXPECT_EQ(ChooseAppDir(sources), expected);
}

// The program's own folder is never chosen, not even when it may be written:
// an installed program's folder is shared by every user.
TEST(AppDirChoice, TheRunningProgramUsesItsUsersDataFolder)
{
    TempFolder root;
    const std::string dir = root.Path();
    {
        const ScopedEnv xdg("XDG_DATA_HOME", (dir + "/xdg").c_str());
        EXPECT_EQ(AppDir(), dir + "/xdg" + kSuffix);
    }
    const ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    const ScopedEnv home("HOME", (dir + "/home").c_str());
    EXPECT_EQ(AppDir(), dir + "/home/.local/share" + kSuffix);
}
