#include "platform/file_io.h"
#include "tests/common/case_name.h"
#include "tests/common/file_permissions.h"
#include "tests/common/file_size_limit.h"
#include "tests/common/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace platform;
namespace fs = std::filesystem;

namespace {

class FileIo : public ::testing::Test
{
protected:
    std::string Path(const char *name) const { return m_dir + "/" + name; }
    std::string Read(const std::string &path) const
    {
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(path, 1 << 20, bytes).ok) << path;
        return bytes;
    }

    TempFolder m_folder;
    const std::string m_dir = m_folder.Path();
};

// The two ways of writing a whole file keep the same promises, except that
// a scratch file is never written through a link.
struct Writer
{
    std::string name;
    FileResult (*write)(const std::string &path, std::string_view bytes);
    bool followsOwnLinks;
};

const Writer kWriters[] = {
    {"Replace",
     [](const std::string &path, std::string_view bytes) { return ReplaceFile(path, bytes); },
     true},
    {"Rewrite", RewriteFile, false},
};

class FileWriters : public FileIo, public ::testing::WithParamInterface<Writer>
{
protected:
    FileResult Write(const std::string &path, std::string_view bytes) const
    {
        return GetParam().write(path, bytes);
    }
};

TEST_P(FileWriters, KeepPermissionsAndOwnLinksAndMakeNewFilesPrivate)
{
    const mode_t umaskBefore = ::umask(022);
    const std::string file = Path("config.ini");
    ASSERT_TRUE(Write(file, "old content").ok);
    EXPECT_EQ(ModeOf(file), 0600u);
    ::umask(umaskBefore);
    ::chmod(file.c_str(), 0640);
    fs::create_symlink(file, Path("link.ini"));
    const FileResult throughLink = Write(Path("link.ini"), std::string("new\0bytes", 9));
    if (GetParam().followsOwnLinks) {
        ASSERT_TRUE(throughLink.ok) << throughLink.error;
        EXPECT_EQ(Read(file), std::string("new\0bytes", 9));
    } else {
        EXPECT_EQ(throughLink.error,
                  "Cannot write \"" + Path("link.ini") + "\": it is a symbolic link");
        ASSERT_TRUE(Write(file, std::string("new\0bytes", 9)).ok);
    }
    EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
    EXPECT_EQ(ModeOf(file), 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), {}), 2)
        << "no temporary file left behind";
}

// A link under the name, planted by another user or (for a scratch file) at
// all, leads nowhere: its target stays as it was, a dangling one is not made.
TEST_P(FileWriters, PlantedLinksAreNotWrittenThrough)
{
    if (GetParam().followsOwnLinks && ::geteuid() != 0)
        GTEST_SKIP() << "only root can plant another user's link";
    const std::string target = Path("target"), link = Path("planted.ini");
    ASSERT_TRUE(ReplaceFile(target, "untouched").ok);
    for (const std::string &pointee : {target, Path("dangling")}) {
        ASSERT_EQ(PlantOthersLink(pointee, link), ::geteuid() == 0);
        EXPECT_EQ(Write(link, "stolen").error,
                  "Cannot write \"" + link + "\": it is a symbolic link" +
                      (GetParam().followsOwnLinks ? " that another user owns" : ""));
        fs::remove(link);
    }
    EXPECT_EQ(Read(target), "untouched");
    EXPECT_FALSE(fs::exists(Path("dangling")));
}

TEST_P(FileWriters, RefusalsLeaveEverythingAsItWas)
{
    const std::string readOnly = Path("read-only.ini");
    ASSERT_TRUE(Write(readOnly, "kept").ok);
    ::chmod(readOnly.c_str(), 0444);
    fs::create_directory(Path("folder.ini"));

    const FileResult onReadOnly = Write(readOnly, "lost");
    EXPECT_FALSE(onReadOnly.ok);
    EXPECT_NE(onReadOnly.error.find("read-only"), std::string::npos) << onReadOnly.error;
    EXPECT_EQ(Read(readOnly), "kept");
    EXPECT_FALSE(Write(Path("folder.ini"), "x").ok);
    EXPECT_TRUE(fs::is_directory(Path("folder.ini")));
    EXPECT_FALSE(Write(Path("missing/dir/file.ini"), "x").ok);
}

INSTANTIATE_TEST_SUITE_P(FileIo, FileWriters, ::testing::ValuesIn(kWriters), CaseName());

TEST_F(FileIo, ARewriteStaysInTheSameFileWhateverTheNewLength)
{
    const std::string file = Path("COM1ParaFile.ini");
    ASSERT_TRUE(RewriteFile(file, "[PARA]\r\n").ok) << "a missing file is created";
    struct stat first = {};
    ASSERT_EQ(::stat(file.c_str(), &first), 0);
    for (const char *content : {"[PARA]\r\n2=\"5\"\r\n35=\"01\"\r\n", "[PARA]\r\n", ";", ""}) {
        ASSERT_TRUE(RewriteFile(file, content).ok);
        EXPECT_EQ(Read(file), content);
        struct stat now = {};
        ASSERT_EQ(::stat(file.c_str(), &now), 0);
        EXPECT_EQ(now.st_ino, first.st_ino) << "rewritten where it stands";
    }
}

TEST_F(FileIo, AFailedWriteLeavesTheOldFileByteForByteAndNothingBeside)
{
    const std::string file = Path("config.ini");
    ASSERT_TRUE(ReplaceFile(file, std::string("old\0bytes", 9)).ok);
    {
        const FileSizeLimit fullDisk(16);
        const FileResult failed = ReplaceFile(file, std::string(64, 'n'));
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.error, "Cannot write \"" + file + "\": File too large");
        EXPECT_EQ(AppendToPrivateFile(Path("log.ini"), std::string(64, 'a')).error,
                  "Cannot write \"" + Path("log.ini") + "\": File too large");
        EXPECT_EQ(AppendToPrivateFile(Path("gone/log.ini"), "a").error,
                  "Cannot write \"" + Path("gone/log.ini") + "\": No such file or directory");
    }
    EXPECT_EQ(Read(file), std::string("old\0bytes", 9));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), {}), 2)
        << "no temporary file left behind";
}

// Refused unless asked: RefusalsLeaveEverythingAsItWas.
TEST_F(FileIo, AReadOnlyFileOfTheLongestLegalNameIsReplacedWhenAskedAndThenStaysWritable)
{
    const std::string file = m_dir + "/" + std::string(250, 'c') + ".ini"; // 254 of 255
    ASSERT_TRUE(ReplaceFile(file, "old").ok);
    ::chmod(file.c_str(), 0444);
    ASSERT_TRUE(ReplaceFile(file, "new", false, ReadOnlyTarget::MakeWritable).ok);
    EXPECT_EQ(Read(file), "new");
    EXPECT_EQ(ModeOf(file), 0644u);
}

TEST_F(FileIo, ReadsOnlyWholeRegularFilesWithinTheLimit)
{
    std::string bytes;
    bool missing = false;
    EXPECT_FALSE(ReadWholeFile(Path("none.ini"), 100, bytes, &missing).ok);
    EXPECT_TRUE(missing);
    fs::create_directory(Path("dir"));
    EXPECT_EQ(ReadWholeFile(Path("dir"), 100, bytes, &missing).error,
              "Cannot read \"" + Path("dir") + "\": it is a directory");
    EXPECT_EQ(ReadWholeFile("/dev/null", 100, bytes).error,
              "Cannot read \"/dev/null\": it is not a regular file");
    EXPECT_FALSE(missing);
    constexpr size_t kMiB = 1 << 20;
    ASSERT_TRUE(ReplaceFile(Path("big.ini"), std::string(kMiB + 1, 'x')).ok);
    EXPECT_EQ(ReadWholeFile(Path("big.ini"), kMiB, bytes).error,
              "Cannot read \"" + Path("big.ini") +
                  "\": the file is larger than 1 MiB and is not a parameter file");
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(ReadWholeFile(Path("big.ini"), kMiB + 1, bytes).ok);
    EXPECT_EQ(bytes.size(), kMiB + 1);
}

TEST_F(FileIo, PrivateFoldersAreMade0700AndRefusedWhenOthersCouldPlantFiles)
{
    const mode_t umaskBefore = ::umask(022);
    EXPECT_TRUE(PreparePrivateFolder(Path("made/inner/")).ok);
    ::umask(umaskBefore);
    EXPECT_EQ(ModeOf(Path("made")), 0700u);
    EXPECT_EQ(ModeOf(Path("made/inner")), 0700u);

    const auto folder = [&](const char *name, mode_t mode) {
        fs::create_directory(Path(name));
        ::chmod(Path(name).c_str(), mode);
        return Path(name);
    };
    fs::create_symlink(Path("made"), Path("own-link"));
    ASSERT_TRUE(ReplaceFile(Path("file"), "x").ok);
    std::vector<std::pair<std::string, std::string>> cases = {
        {Path("own-link"), ""},
        {folder("group", 0770), "other users may write to it"},
        {folder("sticky", 01777), "other users may write to it"},
        {Path("file"), "it is not a folder"},
    };
    if (PlantOthersLink(Path("made"), Path("others-link"))) {
        cases.push_back({Path("others-link"), "it is a symbolic link that another user owns"});
        ASSERT_EQ(::chown(folder("others", 0700).c_str(), 65534, 65534), 0);
        cases.push_back({Path("others"), "another user owns it"});
    }
    for (const auto &[dir, why] : cases)
        EXPECT_EQ(PreparePrivateFolder(dir).error,
                  why.empty() ? "" : "Cannot use the folder \"" + dir + "\": " + why);
    EXPECT_EQ(PreparePrivateFolder("").error,
              "Cannot find a folder of this user: HOME is not set and the user has no home folder");
}

TEST_F(FileIo, APasswordFileGivesItsFirstLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"1234\nsecond\n", "1234"},
        {"ab cd\r\n", "ab cd"},
        {"last", "last"},
        {"\n1234", ""},
        {"", ""},
        {std::string(1500, 'x'), std::string(1024, 'x')},
    };
    std::string line;
    for (const auto &[content, expected] : cases) {
        ASSERT_TRUE(ReplaceFile(Path("pw"), content).ok);
        ASSERT_TRUE(ReadFirstLine(Path("pw"), line).ok);
        EXPECT_EQ(line, expected);
    }
    EXPECT_EQ(ReadFirstLine(Path("none"), line).error,
              "Cannot open \"" + Path("none") + "\": No such file or directory");
    EXPECT_EQ(line, "");
}

TEST_F(FileIo, ForceDeleteTakesReadOnlyFilesAndCountsMissingOnesAsDeleted)
{
    const std::string readOnly = Path("read-only.ini");
    ASSERT_TRUE(ReplaceFile(readOnly, "x").ok);
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_TRUE(ForceDeleteFile(readOnly));
    EXPECT_FALSE(fs::exists(readOnly));
    EXPECT_TRUE(ForceDeleteFile(Path("never-there.ini")));
    fs::create_directory(Path("folder.ini"));
    EXPECT_FALSE(ForceDeleteFile(Path("folder.ini")));
    EXPECT_TRUE(fs::exists(Path("folder.ini")));

    // A link that may not be deleted does not make its target writable.
    ASSERT_TRUE(ReplaceFile(readOnly, "x").ok);
    ::chmod(readOnly.c_str(), 0444);
    fs::create_directory(Path("sealed"));
    fs::create_symlink(readOnly, Path("sealed/link"));
    ::chmod(Path("sealed").c_str(), 0555);
    {
        const FilePermissionsEnforced enforced;
        if (enforced.Holds()) {
            EXPECT_FALSE(ForceDeleteFile(Path("sealed/link")));
        }
    }
    EXPECT_EQ(ModeOf(readOnly), 0444u);
    ::chmod(Path("sealed").c_str(), 0700);
}

TEST_F(FileIo, CopyNeverTouchesTheTargetWhenTheSourceCannotBeRead)
{
    const std::string target = Path("target.ini");
    ASSERT_TRUE(ReplaceFile(target, "precious").ok);
    EXPECT_FALSE(CopyWholeFile(Path("missing.ini"), target, 1 << 20).ok);
    EXPECT_EQ(Read(target), "precious");
    ASSERT_TRUE(ReplaceFile(Path("source.ini"), "[PARA]\r\n").ok);
    EXPECT_TRUE(CopyWholeFile(Path("source.ini"), target, 1 << 20).ok);
    EXPECT_EQ(Read(target), "[PARA]\r\n");
}

} // namespace
