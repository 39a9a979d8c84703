#include "platform/app_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;
namespace fs = std::filesystem;

class AppDirChoice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kestrel-ad-XXXXXX";
        m_root = ::mkdtemp(pattern);
    }
    void TearDown() override { fs::remove_all(m_root); }

    std::string m_root;
};

TEST_F(AppDirChoice, AWritableProgramFolderIsUsedAsItIs)
{
    EXPECT_EQ(ChooseAppDir({m_root, m_root + "/xdg", m_root + "/home"}), m_root + "/");
    EXPECT_EQ(ChooseAppDir({m_root + "/", "", ""}), m_root + "/") << "one trailing slash";
    EXPECT_FALSE(fs::exists(m_root + "/xdg")) << "the data folder is not made needlessly";
}

TEST_F(AppDirChoice, OtherwiseTheUsersDataFolderIsMadeOnDemand)
{
    const std::string missingExeDir = m_root + "/no/such/bin";
    const std::string suffix = "/Quillenbrook/Kestrel Manager/";
    struct Case
    {
        AppDirSources sources;
        std::string expected;
    };
    const Case cases[] = {
        {{missingExeDir, m_root + "/xdg", m_root + "/home"}, m_root + "/xdg" + suffix},
        {{"", m_root + "/xdg2/", m_root + "/home"}, m_root + "/xdg2" + suffix},
        {{missingExeDir, "", m_root + "/home"}, m_root + "/home/.local/share" + suffix},
        {{missingExeDir, "relative/xdg", m_root + "/home"}, m_root + "/home/.local/share" + suffix},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ChooseAppDir(c.sources), c.expected);
        EXPECT_TRUE(fs::is_directory(c.expected)) << c.expected;
    }
}

TEST_F(AppDirChoice, TheRunningProgramHasAFolder)
{
    const AppDirSources sources = CurrentAppDirSources();
    EXPECT_FALSE(sources.exeDir.empty());
    EXPECT_TRUE(fs::is_directory(sources.exeDir));
    const std::string dir = platform::AppDir();
    EXPECT_EQ(dir.back(), '/');
}
