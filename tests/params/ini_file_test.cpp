#include "params/ini_file.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using params::IniDocument;

namespace {

struct ReadCase
{
    const char *name;
    std::string file;
    const char *section;
    const char *key;
    std::string expected; // "<default>" when the default comes back
};

// clang-format off
const ReadCase kReadCases[] = {
    {"CrLf", "[PARA]\r\n32=\"1234\"\r\n5=\"01\"\r\n", "PARA", "5", "01"},
    {"BareLf", "[PARA]\n32=1\n5=2\n", "PARA", "5", "2"},
    {"BareCr", "[PARA]\r32=1\r5=2\r", "PARA", "5", "2"},
    {"BlanksAroundEquals", "[PARA]\r\n \t 5 \t=\t \"01\" \t\r\n", "PARA", "5", "01"},
    {"BlanksInsideQuotesStay", "[PARA]\r\n5=\" a \"\r\n", "PARA", "5", " a "},
    {"SpacedHeader", "[ PARA ]\r\n5=1\r\n", "PARA", "5", "1"},
    {"CaseOfNames", "[para]\r\nAt+CcLk=x\r\n", "PARA", "AT+CCLK", "x"},
    {"SingleQuotes", "[S]\r\nk='v'\r\n", "S", "k", "v"},
    {"OnePairOnly", "[S]\r\nk=\"\"v\"\"\r\n", "S", "k", "\"v\""},
    {"MismatchedQuotesStay", "[S]\r\nk=\"v'\r\n", "S", "k", "\"v'"},
    {"LoneQuoteStays", "[S]\r\nk=\"\r\n", "S", "k", "\""},
    {"InnerQuotesOfAPinPair", "[P]\r\n16548=\"1234\",\"5678\"\r\n", "P", "16548",
         "1234\",\"5678"},
    {"SemicolonInsideValue", "[S]\r\nk=a;b ; c\r\n", "S", "k", "a;b ; c"},
    {"CommentIsNoKey", "[S]\r\n;k=1\r\n", "S", ";k", "<default>"},
    {"SecondEqualsBelongsToValue", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
    {"FirstDuplicateWins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
    {"FirstDuplicateSectionWins", "[S]\r\nk=1\r\n[s]\r\nk=2\r\nj=3\r\n", "S", "j",
         "<default>"},
    {"MissingSection", "[A]\r\nk=1\r\n", "B", "k", "<default>"},
    {"KeyOfAnotherSection", "[A]\r\nk=1\r\n[B]\r\n", "B", "k", "<default>"},
    {"LinesBeforeAnyHeader", "k=1\r\n[A]\r\n", "A", "k", "<default>"},
    {"EmptyValue", "[A]\r\nk=\r\n", "A", "k", ""},
    {"UnterminatedLastLine", "[A]\r\nk=1", "A", "k", "1"},
    {"EditorMarkBeforeHeader", "\xEF\xBB\xBF[A]\r\nk=1\r\n", "A", "k", "1"},
    {"EightBitBytesKept", "[A]\r\nk=\xE9\xFF\xC3(\r\n", "A", "k", "\xE9\xFF\xC3("},
    // Windows hands the value over as a C string: it ends at a NUL.
    {"NulEndsTheValue", std::string("[A]\r\nk=a\0b\r\nj=2\r\n", 17), "A", "k", "a"},
    {"NulInsideQuotesEndsTheValue", std::string("[A]\r\nk=\"a\0b\"\r\n", 14), "A", "k",
         "a"},
    {"NulEndsOnlyItsOwnValue", std::string("[A]\r\nk=a\0b\r\nj=2\r\n", 17), "A", "j",
         "2"},
    {"LongValueCut", "[A]\r\nk=\"" + std::string(3000, 'x') + "\"\r\n", "A", "k",
         std::string(2047, 'x')},
};
// clang-format on

TEST(IniRead, FindsTheValueAsWindowsWould)
{
    for (const ReadCase &c : kReadCases) {
        IniDocument document;
        document.Parse(c.file);
        EXPECT_EQ(document.GetString(c.section, c.key, "<default>"), c.expected) << c.name;
    }
}

TEST(IniRead, DefaultIsCutLikeAValue)
{
    IniDocument document;
    EXPECT_EQ(document.GetString("A", "k", std::string(3000, 'd')).size(), 2047u);
}

TEST(IniKeys, ListsKeysInFileOrderOnceWithoutCommentsOrPlainLines)
{
    IniDocument document;
    document.Parse("[PARA]\r\n16547=x\r\n; 99=comment\r\nplain line\r\n2=\r\n16547=y\r\n"
                   " 05 = 1\r\n=nokey\r\n[ATCMD]\r\nAT+CCWA=1\r\n");
    std::vector<std::string> keys{"stale"};
    EXPECT_TRUE(document.GetKeys("para", keys));
    EXPECT_EQ(keys, (std::vector<std::string>{"16547", "2", "05"}));
    EXPECT_FALSE(document.GetKeys("MISSING", keys));
    EXPECT_TRUE(keys.empty());
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

TEST(IniWrite, RefusesWhatWouldNotReadBackAsWritten)
{
    const std::tuple<const char *, const char *, const char *, const char *> cases[] = {
        {"PARA", "32", "a\r\n[PARA]", "[PARA] 32: the value contains a line break"},
        {"PARA", "3=2", "x", "[PARA] 3=2: invalid key"},
        {"PARA", ";32", "x", "[PARA] ;32: invalid key"},
        {"PARA", " ", "x", "[PARA] : invalid key"},
        {"PA]RA", "32", "x", "[PA]RA] 32: invalid section name"},
        {"", "32", "x", "[] 32: invalid section name"},
    };
    IniDocument document;
    for (const auto &[section, key, value, why] : cases)
        EXPECT_EQ(document.WriteString(section, key, value).error,
                  std::string("Cannot write ") + why);
    EXPECT_EQ(document.Serialize(), "");
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
