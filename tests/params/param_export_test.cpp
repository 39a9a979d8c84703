#include "params/param_file.h"
#include "sample_stores.h"
#include "tests/common/file_size_limit.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

using params::Slot;

namespace {

constexpr Slot kForwardSlots[] = {Slot::CallWaiting, Slot::ForwardUnconditional, Slot::ForwardBusy,
                                  Slot::ForwardNoAnswer, Slot::ForwardOffOrNotFound};

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

// The entries kestrel-cli write may send: those an export writes, under the
// number as the export writes it.
TEST(Export, WritesTheParametersOfItsOwnOrderOnly)
{
    const std::pair<const char *, bool> cases[] = {
        {"32", true},     {"33", true},    {"3001", true},    {"3020", true},   {"3021", false},
        {"16211", false}, {"16212", true}, {"16511", true},   {"16512", false}, {"16547", true},
        {"16548", true},  {"16551", true}, {"16552", false},  {"1", false},     {"6000", false},
        {"9996", false},  {"05", false},   {"100000", false}, {"", false},      {"+5", false},
    };
    for (const auto &[key, written] : cases)
        EXPECT_EQ(params::ExportWritesParameter(key), written) << key;
}

// Over whatever the file held: the switch, and the change entries only
// with the switch on, of a store as the Security code page leaves it after
// a passing PIN change, with a full configuration beside it.
TEST(ExportPinChange, WritesTheSwitchAndTheChangeEntriesOnly)
{
    const std::pair<const char *, const char *> cases[] = {{"01", "[PARA]\r\n"
                                                                  "16207=\"01\"\r\n"
                                                                  "16550=\"24680135\"\r\n"
                                                                  "16549=\"4711\"\r\n"
                                                                  "16548=\"4711\",\"24680135\"\r\n"
                                                                  "16551=\"24680135\"\r\n"},
                                                           {"00", "[PARA]\r\n16207=\"00\"\r\n"}};
    for (const auto &[changeSwitch, bytes] : cases) {
        ParameterStore store = sample::Full();
        store[Slot::ChangePin] = changeSwitch;
        store[Slot::OldPin] = "4711";
        store[Slot::NewPin] = store[Slot::ConfirmPin] = "24680135";
        store.pinWriteMode = 1;
        TempFolder folder;
        const std::string path = folder.File("SIM0ParaFile.ini");
        WriteBytes(path, "[PARA]\r\n16543=\"3\"\r\n");
        const params::ScriptResult result = params::ExportPinChange(path, store);
        ASSERT_TRUE(result.ok) << result.text;
        EXPECT_EQ(ReadBytes(path), bytes);
    }
}

// The [ATCMD] lines an export writes for the call waiting and forward page
// with forwarding included and the flags given ("W" call waiting, "U"
// unconditional, "B" busy, "N" no answer, "O" off or not found), and the
// flags and no-answer time an import of these lines leaves.
std::string ExportedLines(const std::string &flags, bool callWaitingIncluded)
{
    ParameterStore store =
        sample::Make({{Slot::ForwardNumber, "5550100"}, {Slot::NoAnswerTime, "25"}},
                     {1, callWaitingIncluded, 1, 0});
    for (size_t i = 0; i < 5; ++i)
        store[kForwardSlots[i]] = flags.find("WUBNO"[i]) != std::string::npos ? "01" : "00";
    TempFolder folder;
    const std::string path = folder.File("config.ini");
    if (!params::Export(path, store).ok)
        return "export failed";
    const std::string bytes = ReadBytes(path);
    const size_t at = bytes.find("[ATCMD]\r\n");
    return at == std::string::npos ? std::string() : bytes.substr(at + 9);
}

std::string ImportedFlags(const std::string &lines)
{
    TempFolder folder;
    const std::string path = folder.File("config.ini");
    WriteBytes(path, "[ATCMD]\r\n" + lines);
    ParameterStore store;
    store.waitingForwardEnabled = 1;
    store[Slot::NoAnswerTime] = "15";
    params::Import(path, store);
    std::string flags;
    for (size_t i = 0; i < 5; ++i)
        flags += store.IsOn(kForwardSlots[i]) ? std::string(1, "WUBNO"[i]) : "";
    return flags + " " + store[Slot::NoAnswerTime];
}

} // namespace

// Each forwarding flag alone sets its reason and erases the other three;
// only none at all erases every forwarding at once. An import takes each
// entry's own flag back, and the no-answer time only from an entry of
// reason 2 that carries one (else the page's default).
TEST(Export, EachForwardingFlagAloneAndItsImport)
{
    const std::string erased0 = "AT+CCFC0=\"0,4\"\r\n", erased1 = "AT+CCFC1=\"1,4\"\r\n",
                      erased2 = "AT+CCFC2=\"2,4\"\r\n", erased3 = "AT+CCFC3=\"3,4\"\r\n";
    const struct
    {
        const char *flags;
        bool callWaiting;
        std::string lines;
        const char *imported;
    } cases[] = {
        {"U", false, "AT+CCFC0=\"0,3,\"5550100\",129\"\r\n" + erased1 + erased2 + erased3, "U 10"},
        {"B", false, erased0 + "AT+CCFC1=\"1,3,\"5550100\",129\"\r\n" + erased2 + erased3, "B 10"},
        {"N", false, erased0 + erased1 + "AT+CCFC2=\"2,3,\"5550100\",129,7,,,25\"\r\n" + erased3,
         "N 25"},
        {"O", false, erased0 + erased1 + erased2 + "AT+CCFC3=\"3,3,\"5550100\",129\"\r\n", "O 10"},
        {"", false, "AT+CCFC4=\"4,4\"\r\n", " 10"},
        {"W", true, "AT+CCWA=\"1,1\"\r\nAT+CCFC4=\"4,4\"\r\n", "W 10"},
        {"O", true,
         "AT+CCWA=\"0,0,7\"\r\n" + erased0 + erased1 + erased2 +
             "AT+CCFC3=\"3,3,\"5550100\",129\"\r\n",
         "O 10"},
        // Written by hand or by a read: no export writes these.
        {nullptr, false, "AT+CCFC2=\"2,3,\"555\",129\"\r\n", "N 10"},
        {nullptr, false, "AT+CCFC0=\"0,3,\"555\",129,7,,,25\"\r\n", "U 10"},
        {nullptr, false, "AT+CCFC2=\"2,4\"\r\n", " 10"},
    };
    for (const auto &c : cases) {
        if (c.flags) {
            EXPECT_EQ(ExportedLines(c.flags, c.callWaiting), c.lines) << c.flags << c.callWaiting;
        }
        EXPECT_EQ(ImportedFlags(c.lines), c.imported) << c.lines;
    }
}
