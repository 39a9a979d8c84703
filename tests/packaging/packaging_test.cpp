// The programs as a user gets them: the Debian package, unpacked with
// `dpkg -x` into a scratch root and checked with the tools Debian checks
// packages with (those that are installed). The installed kestrel-cli reads
// the installed simulator and keeps its per-port files in the user's data
// folder. (`cmake --install` follows the same install rules.)

#include "tests/common/child_process.h"
#include "tests/common/temp_folder.h"

#include <cstdio>
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

// Checks the installed tree below `prefix`.
void ExpectInstalledTree(const fs::path &prefix)
{
    for (const char *program : {"kestrel-manager", "kestrel-cli", "kestrel-sim"}) {
        EXPECT_TRUE(IsExecutable(prefix / "bin" / program)) << program;
        const fs::path page = prefix / "share/man/man1" / (std::string(program) + ".1.gz");
        EXPECT_EQ(fs::is_regular_file(page), bool(KESTREL_MAN_PAGES)) << page;
    }
    for (const char *file :
         {"share/applications/kestrel-manager.desktop",
          "share/bash-completion/completions/kestrel-cli", "share/doc/kestrel-manager/copyright",
          "share/doc/kestrel-manager/changelog.gz",
          "share/metainfo/" KESTREL_APPSTREAM_ID ".metainfo.xml",
          "share/icons/hicolor/scalable/apps/kestrel-manager.svg"})
        EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
    const fs::path icons = prefix / "share/icons/hicolor";
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
    ChildProcess sim(
        {(bin / "kestrel-sim").string(), "--no-advertise", "--blank-record", "0*0*0*0"});
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

bool Installed(const char *tool, const TempFolder &scratch)
{
    std::string output;
    if (RunShell(std::string("command -v ") + tool, output, scratch) == 0)
        return true;
    std::printf("%s is not installed: not checked\n", tool);
    return false;
}

// lintian on the package, appstreamcli on its metadata and man on its pages
// find nothing to warn about (each where it is installed).
void ExpectDebianToolsAccept(const std::string &deb, const fs::path &root,
                             const TempFolder &scratch)
{
    const fs::path share = root / "usr/share";
    std::string output;
    if (Installed("lintian", scratch)) {
        EXPECT_EQ(RunShell("lintian --fail-on error,warning --tag-display-limit 0 '" + deb + "'",
                           output, scratch),
                  0)
            << output;
    }
    if (Installed("appstreamcli", scratch)) {
        const fs::path metainfo = share / "metainfo/" KESTREL_APPSTREAM_ID ".metainfo.xml";
        EXPECT_EQ(
            RunShell("appstreamcli validate --no-net '" + metainfo.string() + "'", output, scratch),
            0)
            << output;
    }
    if (KESTREL_MAN_PAGES && Installed("man", scratch)) {
        // The pages themselves to nowhere: only groff's warnings are kept.
        EXPECT_EQ(
            RunShell("for page in '" + (share / "man/man1").string() +
                         "'/*.1.gz; do man --warnings -l \"$page\" >/dev/null || exit 1; done",
                     output, scratch),
            0);
        EXPECT_EQ(output, "");
    }
}

// What bash-completion offers for kestrel-cli lines typed in a folder that
// holds a file and a folder, with a simulator advertised.
void ExpectCompletion(const fs::path &root, const TempFolder &scratch)
{
    const std::string library = "/usr/share/bash-completion/bash_completion";
    if (!fs::exists(library)) {
        std::printf("bash-completion is not installed: the completion is not checked\n");
        return;
    }
    ChildProcess sim({(root / "usr/bin/kestrel-sim").string(), "--name", "KPKG1"});
    ASSERT_EQ(sim.ReadLine().rfind("/dev/", 0), 0u);
    const fs::path work = scratch.File("work");
    fs::create_directories(work / "cfgdir");
    WriteBytes(work / "config.ini", "");

    struct Row
    {
        const char *typed, *offered;
    };
    // clang-format off
    const Row rows[] = {
        {"kestrel-cli ",                  "passwd ports provision read verify write"},
        {"kestrel-cli -",                 "--help --version"},
        {"kestrel-cli read --",           "--baud --dir --forward --gap --json --language --out --password-file --port --progress --quiet"},
        {"kestrel-cli ports --",          "--baud --gap --json --language --port --probe --progress --quiet"},
        {"kestrel-cli write --v",         "--verify"},
        {"kestrel-cli read --progress ",  "json text"},
        {"kestrel-cli provision --port KP", "KPKG1"},
        {"kestrel-cli passwd --n",        "--new-file"},
        {"kestrel-cli write --language ", "en es pt"},
        {"kestrel-cli verify --port KP",  "KPKG1"},
        {"kestrel-cli read --baud ",      ""},
        {"kestrel-cli write --port X c",  "cfgdir config.ini"},
        {"kestrel-cli read --dir c",      "cfgdir"},
    };
    // clang-format on
    std::string script = "source " + library + "\nsource '" +
                         (root / "usr/share/bash-completion/completions/kestrel-cli").string() +
                         "'\n"
                         "offer() {\n"
                         "  COMP_LINE=$1 COMP_POINT=${#1} COMPREPLY=()\n"
                         "  read -ra COMP_WORDS <<<\"$1\"\n"
                         "  [[ $1 == *' ' ]] && COMP_WORDS+=('')\n"
                         "  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                         "  _kestrel_cli kestrel-cli \"${COMP_WORDS[COMP_CWORD]}\" "
                         "\"${COMP_WORDS[COMP_CWORD - 1]}\"\n"
                         "  printf '%s\\n' \"${COMPREPLY[@]}\" | sort | paste -sd ' '\n"
                         "}\n";
    std::string expected;
    for (const Row &row : rows) {
        script += "offer '" + std::string(row.typed) + "'\n";
        expected += std::string(row.offered) + "\n";
    }
    WriteBytes(scratch.File("offer.bash"), script);
    std::string output;
    EXPECT_EQ(RunShell("cd '" + work.string() + "' && LC_ALL=C PATH='" +
                           (root / "usr/bin").string() + "':\"$PATH\" bash '" +
                           scratch.File("offer.bash") + "'",
                       output, scratch),
              0);
    EXPECT_EQ(output, expected);
}

TEST(Installed, DebianPackagePassesDebiansChecksAndRuns)
{
    TempFolder scratch, runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1); // where the simulator is advertised
    std::string output;
    // gzip: quicker than the default xz, and lintian refuses no compression.
    ASSERT_EQ(RunShell(std::string(KESTREL_CPACK) +
                           " -G DEB -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip" + " --config " +
                           KESTREL_BUILD_DIR + "/CPackConfig.cmake -B '" + scratch.File("package") +
                           "'",
                       output, scratch),
              0)
        << output;
    std::string deb;
    for (const fs::directory_entry &entry : fs::directory_iterator(scratch.File("package"))) {
        if (entry.path().extension() == ".deb")
            deb = entry.path().string();
    }
    ASSERT_EQ(fs::path(deb).filename().string().rfind("kestrel-manager_" KESTREL_VERSION "_", 0),
              0u)
        << output;

    ASSERT_EQ(RunShell("dpkg-deb --field '" + deb + "' Package Version Depends", output, scratch),
              0);
    EXPECT_NE(output.find("Package: kestrel-manager\n"), std::string::npos) << output;
    EXPECT_NE(output.find("Version: " KESTREL_VERSION "\n"), std::string::npos) << output;
    // The libraries the programs link against, found by shlibdeps.
    for (const char *dependency : {"libc6", "libstdc++6", "libqt6widgets6"})
        EXPECT_NE(output.find(dependency), std::string::npos) << dependency << " in " << output;

    const fs::path root = scratch.File("root");
    ASSERT_EQ(RunShell("dpkg -x '" + deb + "' '" + root.string() + "'", output, scratch), 0)
        << output;
    ExpectInstalledTree(root / "usr");
    ExpectDebianToolsAccept(deb, root, scratch);

    // Help and version need no display, not even the program's.
    const fs::path bin = root / "usr/bin";
    const std::pair<const char *, const char *> answers[] = {
        {"kestrel-cli --help", "\n  or:  kestrel-cli ports  [--probe]"},
        {"kestrel-cli --version", "kestrel-cli " KESTREL_VERSION "\n"},
        {"kestrel-sim --version", "kestrel-sim " KESTREL_VERSION "\n"},
        {"kestrel-manager --help", "\n  --port <NAME>  Preselects the port NAME in the login.\n"},
        {"kestrel-manager --version", "Kestrel Manager V" KESTREL_VERSION "\n"},
    };
    for (const auto &[command, answer] : answers) {
        EXPECT_EQ(RunShell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + bin.string() +
                               "'/" + command,
                           output, scratch),
                  0)
            << command;
        EXPECT_NE(output.find(answer), std::string::npos) << command << ": " << output;
    }
    ExpectCompletion(root, scratch);
    ExpectReadOfSimulator(bin, scratch);
}

} // namespace
