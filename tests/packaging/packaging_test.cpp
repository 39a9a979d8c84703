// The programs as a user gets them: installed with `cmake --install` into a
// staging folder, and from the Debian package, unpacked with `dpkg -x` into
// a scratch root. Each run of the installed kestrel-cli reads the installed
// simulator and keeps its per-port files in the user's data folder.

#include "tests/common/child_process.h"
#include "tests/common/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::string kDataSuffix = "/Quillenbrook/Kestrel Manager/";

// A shell line; its exit status, its standard output and error in `output`.
int RunShell(const std::string &command, std::string &output, const TempFolder &scratch)
{
    const std::string file = scratch.File("command-output.txt");
    const int status = std::system((command + " >'" + file + "' 2>&1").c_str());
    output = ReadBytes(file);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool IsExecutable(const fs::path &file)
{
    return fs::is_regular_file(file) && ::access(file.c_str(), X_OK) == 0;
}

bool QtHasDialogTranslations()
{
    return fs::exists("/usr/share/qt6/translations/qtbase_es.qm");
}

// Checks the installed tree below `prefix` (/usr or the staging prefix).
void ExpectInstalledTree(const fs::path &prefix)
{
    for (const char *program : {"kestrel-manager", "kestrel-cli", "kestrel-sim"})
        EXPECT_TRUE(IsExecutable(prefix / "bin" / program)) << program;
    EXPECT_TRUE(fs::is_regular_file(prefix / "share/applications/kestrel-manager.desktop"));
    const fs::path icons = prefix / "share/icons/hicolor";
    EXPECT_TRUE(fs::is_regular_file(icons / "scalable/apps/kestrel-manager.svg"));
    for (const char *size : {"16x16", "32x32", "48x48", "64x64", "128x128", "256x256"})
        EXPECT_TRUE(fs::is_regular_file(icons / size / "apps/kestrel-manager.png")) << size;
    // Where the program looks first: ../share/kestrel-manager/translations.
    const fs::path translations = prefix / "share/kestrel-manager/translations";
    if (QtHasDialogTranslations()) {
        EXPECT_TRUE(fs::is_regular_file(translations / "qtbase_es.qm"));
        EXPECT_TRUE(fs::is_regular_file(translations / "qtbase_pt_BR.qm"));
    }
}

// The installed kestrel-cli reads the installed simulator; its per-port
// files land in the data folder below `dataHome`, none beside the program.
void ExpectReadOfSimulator(const fs::path &bin, const TempFolder &scratch)
{
    ChildProcess sim({(bin / "kestrel-sim").string(), "--no-advertise", "--blank-record",
                      "0*0*0*0"});
    const std::string tty = sim.ReadLine();
    ASSERT_EQ(tty.rfind("/dev/", 0), 0u) << "the first line names the pty: " << tty;

    const std::string dataHome = scratch.File("data"), out = scratch.File("read.ini");
    std::string output;
    EXPECT_EQ(RunShell("env XDG_DATA_HOME='" + dataHome + "' '" + (bin / "kestrel-cli").string() +
                      "' read --port " + tty + " --password 1234 --quiet --out '" + out + "'",
                  output, scratch),
              0)
        << output;
    EXPECT_NE(ReadBytes(out).find("16543="), std::string::npos);
    const std::string port = tty.substr(5).replace(3, 1, "_");
    EXPECT_TRUE(fs::exists(dataHome + kDataSuffix + port + "AtLog.ini"));
    EXPECT_TRUE(fs::exists(dataHome + kDataSuffix + port + "ParaFile.ini"));
    for (const fs::directory_entry &entry : fs::directory_iterator(bin))
        EXPECT_NE(entry.path().extension(), ".ini") << "nothing beside the program";
}

TEST(Installed, StagingInstallRunsAgainstTheSimulator)
{
    TempFolder scratch;
    const fs::path prefix = scratch.File("stage");
    std::string output;
    ASSERT_EQ(RunShell(std::string(KESTREL_CMAKE) + " --install " + KESTREL_BUILD_DIR + " --prefix '" +
                      prefix.string() + "'",
                  output, scratch),
              0)
        << output;
    ExpectInstalledTree(prefix);
    // A shared install: its folder is not the user's to write.
    ASSERT_EQ(::chmod((prefix / "bin").c_str(), 0555), 0);
    ExpectReadOfSimulator(prefix / "bin", scratch);
    ::chmod((prefix / "bin").c_str(), 0755); // for the removal of the scratch folder
}

TEST(Installed, DebianPackageUnpacksAndRuns)
{
    TempFolder scratch;
    std::string output;
    // Uncompressed: the test looks at the contents, not the size.
    ASSERT_EQ(RunShell(std::string(KESTREL_CPACK) + " -G DEB -D CPACK_DEBIAN_COMPRESSION_TYPE=none" +
                      " --config " + KESTREL_BUILD_DIR + "/CPackConfig.cmake -B '" +
                      scratch.File("package") + "'",
                  output, scratch),
              0)
        << output;
    std::string deb;
    for (const fs::directory_entry &entry : fs::directory_iterator(scratch.File("package"))) {
        if (entry.path().extension() == ".deb")
            deb = entry.path().string();
    }
    ASSERT_EQ(fs::path(deb).filename().string().rfind("kestrel-manager_" KESTREL_VERSION "_", 0), 0u)
        << output;

    ASSERT_EQ(RunShell("dpkg-deb --field '" + deb + "' Package Version Depends", output, scratch), 0);
    EXPECT_NE(output.find("Package: kestrel-manager\n"), std::string::npos) << output;
    EXPECT_NE(output.find("Version: " KESTREL_VERSION "\n"), std::string::npos) << output;
    // The libraries the programs link against, found by shlibdeps.
    for (const char *dependency : {"libc6", "libstdc++6", "libqt6widgets6", "libqt6serialport6"})
        EXPECT_NE(output.find(dependency), std::string::npos) << dependency << " in " << output;

    const fs::path root = scratch.File("root");
    ASSERT_EQ(RunShell("dpkg -x '" + deb + "' '" + root.string() + "'", output, scratch), 0) << output;
    ExpectInstalledTree(root / "usr");
    const fs::path bin = root / "usr/bin";
    EXPECT_EQ(RunShell("'" + (bin / "kestrel-cli").string() + "' --help", output, scratch), 0);
    EXPECT_NE(output.find("kestrel-cli read"), std::string::npos) << output;
    EXPECT_EQ(RunShell("env QT_QPA_PLATFORM=offscreen '" + (bin / "kestrel-manager").string() +
                      "' --version",
                  output, scratch),
              0);
    EXPECT_NE(output.find("Kestrel Manager V" KESTREL_VERSION "\n"), std::string::npos) << output;
    ExpectReadOfSimulator(bin, scratch);
}

} // namespace
