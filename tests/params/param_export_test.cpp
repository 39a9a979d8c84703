#include "params/param_file.h"
#include "sample_stores.h"
#include "tests/common/file_size_limit.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

using params::Slot;

namespace {

std::string GoldenPath(const std::string &name)
{
    return std::string(KESTREL_PARAMS_GOLDEN_DIR) + "/" + name + ".ini";
}

// Each export replaces the file before it with a fresh one; the first
// replaces one with entries of its own in another order.
TEST(Export, WritesEachSampleFileByteForByte)
{
    TempFolder folder;
    const std::string path = folder.File("config.ini");
    WriteBytes(path, "[ATCMD]\r\nAT+CCLK=\"old\"\r\n[PARA]\r\n9000=\"mine\"\r\n32=\"old\"\r\n");
    for (const SampleStore &sample : sample::All()) {
        const params::ScriptResult result = params::Export(path, sample.store);
        ASSERT_TRUE(result.ok) << result.text;
        EXPECT_EQ(result.text, "Successfully exported to script file [config.ini]!");
        const std::string actual = ReadBytes(path);
        // KESTREL_UPDATE_GOLDEN=1 rewrites the golden files after a deliberate change.
        if (std::getenv("KESTREL_UPDATE_GOLDEN"))
            WriteBytes(GoldenPath(sample.name), actual);
        EXPECT_EQ(actual, ReadBytes(GoldenPath(sample.name))) << sample.name;
    }
}

// A failed export says why and leaves the file as it was: a file that
// cannot be written whole (a full disk), a read-only file, a directory, and
// a value that would break the file into lines of its own.
TEST(Export, FailuresLeaveTheFileAsItWasAndSayWhy)
{
    TempFolder folder;
    const std::string old = "[PARA]\r\n32=\"se\xF1"
                            "a\"\r\n";
    const std::string full = folder.File("full.ini"), locked = folder.File("locked.ini"),
                      directory = folder.File("dir.ini"), fresh = folder.File("fresh.ini");
    WriteBytes(full, old);
    WriteBytes(locked, old);
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    std::filesystem::create_directory(directory);
    ParameterStore broken = sample::Full();
    broken[Slot::GeneralPassword] = "12\r\n5=\"01\"";
    const struct
    {
        std::string file;
        bool broken;
        size_t diskLeft; // 0: no limit
        std::string text;
    } cases[] = {
        {full, false, old.size(), "Cannot write \"" + full + "\": File too large"},
        {locked, false, 0, "Cannot write \"" + locked + "\": the file is read-only"},
        {directory, false, 0, "Cannot write \"" + directory + "\": it is a directory"},
        {fresh, true, 0, "Cannot write [PARA] 32: the value contains a line break"},
    };
    for (const auto &c : cases) {
        std::optional<FileSizeLimit> fullDisk;
        if (c.diskLeft)
            fullDisk.emplace(c.diskLeft);
        const params::ScriptResult result =
            params::Export(c.file, c.broken ? broken : sample::Full());
        fullDisk.reset();
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.text, c.text);
    }
    EXPECT_EQ(ReadBytes(full), old);
    EXPECT_EQ(ReadBytes(locked), old);
    EXPECT_TRUE(std::filesystem::is_empty(directory));
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

} // namespace
