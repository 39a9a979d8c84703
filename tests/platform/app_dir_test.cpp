#include "platform/app_dir.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

using namespace platform;
namespace fs = std::filesystem;

namespace {

const std::string kSuffix = "/Quillenbrook/Kestrel Manager/";

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const char *value) : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(AppDirChoice, TheUsersDataFolderIsMadeOnDemand)
{
    TempFolder root;
    const std::string dir = root.Path();
    const std::pair<AppDirSources, std::string> cases[] = {
        {{dir + "/xdg", dir + "/home"}, dir + "/xdg" + kSuffix},
        {{dir + "/xdg2/", dir + "/home"}, dir + "/xdg2" + kSuffix},
        {{"", dir + "/home"}, dir + "/home/.local/share" + kSuffix},
        {{"relative/xdg", dir + "/home2"}, dir + "/home2/.local/share" + kSuffix},
    };
    for (const auto &[sources, expected] : cases) {
        EXPECT_EQ(ChooseAppDir(sources), expected);
        EXPECT_TRUE(fs::is_directory(expected)) << expected;
    }
    EXPECT_FALSE(fs::exists(dir + "/relative")) << "a relative XDG_DATA_HOME is not used";
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
    EXPECT_TRUE(fs::is_directory(dir + "/home/.local/share" + kSuffix));
}
