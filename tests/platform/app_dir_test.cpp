#include "platform/app_dir.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>

using namespace platform;
namespace fs = std::filesystem;

TEST(AppDirChoice, AWritableProgramFolderIsUsedAsItIs)
{
    TempFolder root;
    const std::string dir = root.Path();
    EXPECT_EQ(ChooseAppDir({dir, dir + "/xdg", dir + "/home"}), dir + "/");
    EXPECT_EQ(ChooseAppDir({dir + "/", "", ""}), dir + "/") << "one trailing slash";
    EXPECT_FALSE(fs::exists(dir + "/xdg")) << "the data folder is not made needlessly";
}

TEST(AppDirChoice, OtherwiseTheUsersDataFolderIsMadeOnDemand)
{
    TempFolder root;
    const std::string dir = root.Path(), missingExeDir = dir + "/no/such/bin";
    const std::string suffix = "/Quillenbrook/Kestrel Manager/";
    const std::pair<AppDirSources, std::string> cases[] = {
        {{missingExeDir, dir + "/xdg", dir + "/home"}, dir + "/xdg" + suffix},
        {{"", dir + "/xdg2/", dir + "/home"}, dir + "/xdg2" + suffix},
        {{missingExeDir, "", dir + "/home"}, dir + "/home/.local/share" + suffix},
        {{missingExeDir, "relative/xdg", dir + "/home"}, dir + "/home/.local/share" + suffix},
    };
    for (const auto &[sources, expected] : cases) {
        EXPECT_EQ(ChooseAppDir(sources), expected);
        EXPECT_TRUE(fs::is_directory(expected)) << expected;
    }
}

TEST(AppDirChoice, TheRunningProgramHasAFolder)
{
    EXPECT_TRUE(fs::is_directory(CurrentAppDirSources().exeDir));
    EXPECT_EQ(platform::AppDir().back(), '/');
}
