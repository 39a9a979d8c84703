#include "platform/file_io.h"
#include "tests/common/case_name.h"
#include "tests/common/file_size_limit.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace platform;
namespace fs = std::filesystem;

namespace {

class FileIo : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kestrel-files-XXXXXX";
        m_dir = ::mkdtemp(pattern);
    }
    void TearDown() override
    {
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_dir);
    }
    std::string Path(const char *name) const { return m_dir + "/" + name; }
    std::string Read(const std::string &path) const
    {
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(path, 1 << 20, bytes).ok) << path;
        return bytes;
    }

    std::string m_dir;
};

// The two ways of writing a whole file keep the same promises.
struct Writer
{
    std::string name;
    FileResult (*write)(const std::string &path, std::string_view bytes);
};

const Writer kWriters[] = {
    {"Replace",
     [](const std::string &path, std::string_view bytes) { return ReplaceFile(path, bytes); }},
    {"Rewrite", RewriteFile},
};

class FileWriters : public FileIo, public ::testing::WithParamInterface<Writer>
{
protected:
    FileResult Write(const std::string &path, std::string_view bytes) const
    {
        return GetParam().write(path, bytes);
    }
};

TEST_P(FileWriters, KeepPermissionsAndLinks)
{
    const std::string file = Path("config.ini");
    ASSERT_TRUE(Write(file, "old content").ok);
    ::chmod(file.c_str(), 0640);
    fs::create_symlink(file, Path("link.ini"));
    ASSERT_TRUE(Write(Path("link.ini"), std::string("new\0bytes", 9)).ok);
    EXPECT_EQ(Read(file), std::string("new\0bytes", 9));
    EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
    struct stat info{};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), {}), 2) << "no temporary file left behind";
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
    struct stat first
    {
    };
    ASSERT_EQ(::stat(file.c_str(), &first), 0);
    for (const char *content : {"[PARA]\r\n2=\"5\"\r\n35=\"01\"\r\n", "[PARA]\r\n", ""}) {
        ASSERT_TRUE(RewriteFile(file, content).ok);
        EXPECT_EQ(Read(file), content);
        struct stat now
        {
        };
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
        EXPECT_NE(failed.error.find(file), std::string::npos) << failed.error;
    }
    EXPECT_EQ(Read(file), std::string("old\0bytes", 9));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), {}), 1) << "no temporary file left behind";
}

TEST_F(FileIo, ANameOfTheLongestLegalLengthIsReplaced)
{
    const std::string file = m_dir + "/" + std::string(250, 'c') + ".ini"; // 254 of 255
    ASSERT_TRUE(ReplaceFile(file, "old").ok);
    ASSERT_TRUE(ReplaceFile(file, "new").ok);
    EXPECT_EQ(Read(file), "new");
}

TEST_F(FileIo, AReadOnlyFileIsReplacedOnlyWhenAskedAndThenStaysWritable)
{
    const std::string file = Path("locked.ini");
    ASSERT_TRUE(ReplaceFile(file, "old").ok);
    ::chmod(file.c_str(), 0444);
    EXPECT_FALSE(ReplaceFile(file, "new").ok);
    ASSERT_TRUE(ReplaceFile(file, "new", false, ReadOnlyTarget::MakeWritable).ok);
    EXPECT_EQ(Read(file), "new");
    struct stat info{};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST_F(FileIo, ReadsOnlyWholeRegularFilesWithinTheLimit)
{
    std::string bytes;
    bool missing = false;
    EXPECT_FALSE(ReadWholeFile(Path("none.ini"), 100, bytes, &missing).ok);
    EXPECT_TRUE(missing);
    fs::create_directory(Path("dir"));
    EXPECT_FALSE(ReadWholeFile(Path("dir"), 100, bytes, &missing).ok);
    EXPECT_FALSE(missing);
    ASSERT_TRUE(ReplaceFile(Path("big.ini"), std::string(101, 'x')).ok);
    const FileResult tooBig = ReadWholeFile(Path("big.ini"), 100, bytes);
    EXPECT_FALSE(tooBig.ok);
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(ReadWholeFile(Path("big.ini"), 101, bytes).ok);
    EXPECT_EQ(bytes.size(), 101u);
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
