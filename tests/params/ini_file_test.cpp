#include "params/ini_file.h"
#include "tests/common/golden_file.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using params::IniDocument;

namespace {

// One step of golden/ini_reads.txt on a document of its own.
std::vector<std::string> IniStep(const std::string &line)
{
    const std::vector<std::string> words = Words(line);
    IniDocument document;
    if (words[0] == "read") {
        document.Parse(words[3]);
        const std::string value = document.GetString(words[1], words[2], "<default>");
        return {value == "<default>" ? value : '"' + Printable(value) + '"'};
    }
    if (words[0] == "keys") {
        document.Parse(words[2]);
        std::vector<std::string> keys{"stale"};
        std::string listed = document.GetKeys(words[1], keys) ? "keys" : "missing";
        for (const std::string &key : keys)
            listed += " " + key;
        return {listed};
    }
    if (words[0] == "write") {
        const std::string error = document.WriteString(words[1], words[2], words[3]).error;
        return {error, "file \"" + OneLine(document.Serialize()) + '"'};
    }
    return {};
}

TEST(IniRead, AsTheTranscriptSays)
{
    ExpectTranscript(
        KESTREL_PARAMS_GOLDEN_DIR "/ini_reads.txt",
        [](const std::string &line) {
            return line.empty() || line.starts_with("#") || line.starts_with("== ")
                       ? std::vector<std::string>{}
                       : IniStep(line);
        },
        NoResults);
}

// A value, and a default, is cut to what the buffer holds.
TEST(IniRead, LongValuesAndDefaultsAreCut)
{
    IniDocument document;
    document.Parse("[A]\r\nk=\"" + std::string(3000, 'x') + "\"\r\n");
    EXPECT_EQ(document.GetString("A", "k", ""), std::string(2047, 'x'));
    EXPECT_EQ(document.GetString("A", "j", std::string(3000, 'd')).size(), 2047u);
}

TEST(IniKeys, KeysBeyondTheListBufferAreNotSeenAndNoneIsCut)
{
    // 3000 keys of 5 digits take 6 characters each; the buffer holds 2730
    // of them and the final empty key.
    std::string file = "[PARA]\r\n";
    for (int i = 0; i < 3000; ++i)
        file += std::to_string(10000 + i) + "=1\r\n";
    IniDocument document;
    document.Parse(file);
    std::vector<std::string> keys;
    ASSERT_TRUE(document.GetKeys("PARA", keys));
    ASSERT_EQ(keys.size(), (params::kIniKeyListBufferSize - 1) / 6);
    EXPECT_EQ(keys.back(), std::to_string(10000 + keys.size() - 1));
}

TEST(IniWrite, ReplacesInPlaceAppendsToItsSectionAndAddsSectionsAtTheEnd)
{
    IniDocument document;
    document.Parse(
        "; made by hand\n[PARA]\n 32 = \"1\" \nk=first\nK=second\n\n[ATCMD]\nAT+CCWA=1\n");
    EXPECT_TRUE(document.WriteString("para", "32", "  \"654321\"").ok);
    EXPECT_TRUE(document.WriteString("PARA", "k", "new").ok);
    EXPECT_TRUE(document.WriteString("PARA", "16547", "\"CLEAR\"").ok);
    EXPECT_TRUE(document.WriteString("EXTRA", "a", "b").ok);
    EXPECT_EQ(document.Serialize(), "; made by hand\r\n[PARA]\r\n32=\"654321\"\r\nk=new\r\n"
                                    "K=second\r\n16547=\"CLEAR\"\r\n\r\n[ATCMD]\r\nAT+CCWA=1\r\n"
                                    "[EXTRA]\r\na=b\r\n");
    EXPECT_EQ(document.GetString("PARA", "K", ""), "new");
    std::vector<std::string> keys;
    document.GetKeys("PARA", keys);
    EXPECT_EQ(keys, (std::vector<std::string>{"32", "k", "16547"}));
}

class IniFileOnDisk : public testing::Test
{
protected:
    TempFolder folder;
    std::string path = folder.File("COM1ParaFile.ini");
};

TEST_F(IniFileOnDisk, WritesCreateTheFileWithCrLfAndReadBack)
{
    CIniFile file(path);
    ASSERT_TRUE(file.WriteString("PARA", "2", "\"5\""));
    ASSERT_TRUE(file.WriteString("ATCMD", "AT+CCLK", "\"25/04/11,09:30:00+08\""));
    ASSERT_TRUE(file.WriteString("PARA", "05", "\"01\""));
    EXPECT_EQ(ReadBytes(path), "[PARA]\r\n2=\"5\"\r\n05=\"01\"\r\n[ATCMD]\r\n"
                               "AT+CCLK=\"25/04/11,09:30:00+08\"\r\n");
    EXPECT_EQ(file.GetString("PARA", "2", ""), "5");
    EXPECT_TRUE(file.LastError().empty());
}

// A file it cannot use reads as an empty one, and a write to it fails
// saying why and leaves it as it was.
TEST_F(IniFileOnDisk, FilesItCannotUseStayAsTheyWere)
{
    const std::string locked = folder.File("locked.ini"), directory = folder.File("dir.ini"),
                      gone = folder.File("gone/COM1ParaFile.ini");
    WriteBytes(locked, "[PARA]\r\n2=\"1\"\r\n");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    std::filesystem::create_directory(directory);
    // 50 MB: far beyond any parameter file. Sparse, so it costs no disk.
    WriteBytes(path, "[PARA]\r\n2=1\r\n");
    std::filesystem::resize_file(path, 50u * 1024 * 1024);
    const std::string tooLarge = "the file is larger than 16 MiB and is not a parameter file";
    const struct
    {
        std::string file, value, readError, writeError;
    } cases[] = {
        {locked, "1", "", "Cannot write \"" + locked + "\": the file is read-only"},
        {directory, "-", "Cannot read \"" + directory + "\": it is a directory",
         "Cannot read \"" + directory + "\": it is a directory"},
        {path, "-", "Cannot read \"" + path + "\": " + tooLarge,
         "Cannot read \"" + path + "\": " + tooLarge},
        {gone, "-", "", "Cannot write \"" + gone + "\": No such file or directory"},
    };
    for (const auto &c : cases) {
        CIniFile file(c.file);
        std::vector<std::string> keys;
        EXPECT_EQ(file.GetKeys("PARA", keys), c.value == "1") << c.file;
        EXPECT_EQ(file.GetString("PARA", "2", "-"), c.value) << c.file;
        EXPECT_EQ(file.LastError(), c.readError);
        EXPECT_FALSE(file.WriteString("PARA", "2", "9")) << c.file;
        EXPECT_EQ(file.LastError(), c.writeError);
    }
    EXPECT_EQ(ReadBytes(locked), "[PARA]\r\n2=\"1\"\r\n");
    EXPECT_TRUE(std::filesystem::is_empty(directory));
    EXPECT_EQ(std::filesystem::file_size(path), 50u * 1024 * 1024);
    EXPECT_FALSE(std::filesystem::exists(folder.File("gone")));
}

TEST_F(IniFileOnDisk, BinaryGarbageNeitherCrashesNorLosesOtherBytes)
{
    std::string garbage = "[PARA]\r\n";
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919) & 0xFF);
    garbage += "\r\n[PARA]\r\n16547=\"CLEAR\"\r\n";
    WriteBytes(path, garbage);
    CIniFile file(path);
    std::vector<std::string> keys;
    file.GetKeys("PARA", keys); // whatever the garbage makes of itself
    ASSERT_TRUE(file.WriteString("ATCMD", "AT+CCWA", "\"1,1\""));
    const std::string after = ReadBytes(path);
    // Every byte of every line is still there; only line ends became CR LF.
    const auto withoutLineEnds = [](std::string bytes) {
        std::erase_if(bytes, [](char c) { return c == '\r' || c == '\n'; });
        return bytes;
    };
    EXPECT_EQ(withoutLineEnds(after), withoutLineEnds(garbage) + "[ATCMD]AT+CCWA=\"1,1\"");
}

} // namespace
