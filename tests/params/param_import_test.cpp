#include "params/ini_document.h"
#include "params/param_file.h"
#include "sample_stores.h"
#include "slot_defaults.h"
#include "tests/common/temp_folder.h"

#include <gtest/gtest.h>

using params::Slot;

namespace {

class Import : public testing::Test
{
protected:
    params::ScriptResult ImportText(const std::string &bytes, ParameterStore &store)
    {
        WriteBytes(path, bytes);
        return params::Import(path, store);
    }

    TempFolder folder;
    std::string path = folder.File("config.ini");
};

// Every slot at its default but the kept ones, both lists emptied, the
// four integers kept; then the file's entries.
TEST_F(Import, ResetsToDefaultsButKeepsTheKeptSlots)
{
    ParameterStore store;
    store.slotTexts.fill("x");
    store.forbidden[3] = "123";
    store.callBack[299] = "456";
    store.waitingForwardEnabled = store.callWaitingIncluded = store.forwardingIncluded = 1;
    store.pinWriteMode = 2;
    ParameterStore expected = defaults::AfterReset(store);
    expected[Slot::LongDistanceBlock] = "01";
    const params::ScriptResult result = ImportText("[PARA]\r\n5=\"01\"\r\n", store);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.text, "Successfully imported from script file [config.ini]!");
    EXPECT_EQ(store, expected);
}

TEST_F(Import, UnknownNumbersAndForeignKeysAreIgnored)
{
    ParameterStore store = defaults::AfterReset({});
    const ParameterStore before = store;
    ASSERT_TRUE(ImportText("[PARA]\r\n9999=\"1\"\r\n16547=\"CLEAR\"\r\n16549=\"4711\"\r\n"
                           "abc=\"1\"\r\n-5=\"1\"\r\n0=\"1\"\r\n[ATCMD]\r\nAT+CLIP=\"1\"\r\n",
                           store)
                    .ok);
    EXPECT_EQ(store, before);
}

// Each row: the file, the forward page's master switch, and the slots'
// texts it leaves over a full store whose three CSP modes are "k".
TEST_F(Import, TakesWhatItKnows)
{
    using enum Slot;
    const std::string nul("\0", 1);
    const std::string over = "1234567890123456789012345";
    const struct
    {
        std::string file;
        bool enabled;
        std::vector<Slot> slots;
        std::string expected;
    } cases[] = {
        {"[PARA]\n05=01\n1001=\"01\"\n6002=\"4711\"\n16513=\"1808\"",
         false,
         {LongDistanceBlock, AddPrefix, TerminalPin, NumberHeader},
         "01|01|4711|1808"},
        // Only AT commands still reset the parameters.
        {"[ATCMD]\nAT+CCLK=\"11/04/25,09:30:00-03\"",
         false,
         {LongDistanceBlock, Prefix, Date},
         "00||250411"},
        // Garbled bytes are taken as they come, up to a NUL.
        {"[PARA]\n32=\"\xFF\xFE" + nul + "1\"\n\xC3\x28=\"x\"\n1000=\"" + nul + "\"",
         false,
         {GeneralPassword, Prefix},
         "\xFF\xFE|"},
        // Only a clean CSP mode is decoded.
        {"[PARA]\n16541=\"0\"", false, {CspNone, CspAllCalls, CspCallBack}, "1|0|0"},
        {"[PARA]\n16541=\"1\"", false, {CspNone, CspAllCalls, CspCallBack}, "0|0|1"},
        {"[PARA]\n16541=\"2\"", false, {CspNone, CspAllCalls, CspCallBack}, "0|1|0"},
        {"[PARA]\n16541=\"3\"", false, {CspNone, CspAllCalls, CspCallBack}, "k|k|k"},
        {"[PARA]\n16541=\"\"", false, {CspNone, CspAllCalls, CspCallBack}, "k|k|k"},
        {"[PARA]\n16541=\"x\"", false, {CspNone, CspAllCalls, CspCallBack}, "k|k|k"},
        {"[PARA]\n7001=\"" + over + "\"\n6005=\"" + over + "\"",
         false,
         {BoundSimSerial, UseRandomPin},
         "1234567890123456789|" + over},
        // What the read job stores.
        {"[PARA]\n16550=\"0\"\n16207=\"\"\n[ATCMD]\nAT+CCWA=\"1,2\"\nAT+CCFC0=\"0,4\"\n"
         "AT+CCFC1=\"1,3,\"+5550100\",145\"\nAT+CCFC2=\"2,3,\"+5550100\",145,\"\",,20\"\n"
         "AT+CCLK=\"25/04/11,09:30:17+08\"",
         true,
         {PinStartUp, CallWaiting, ForwardUnconditional, ForwardBusy, ForwardNoAnswer,
          ForwardOffOrNotFound, ForwardNumber, NoAnswerTime, Date, Time, TimeZone},
         "0|01|00|01|01|00|+5550100|20|110425|0930|+08"},
        // Call waiting and forwarding only while their page is enabled; the
        // clock always applies. AT+CCFC4 erases unconditional forwarding; a
        // mode other than registration (3) is no forwarding.
        {"[ATCMD]\nAT+CCWA=\"1,1\"\nAT+CCFC0=\"0,3,\"1\",129\"\nAT+CCFC4=\"4,4\"\n"
         "AT+CCFC1=\"1,1,\"555\",129\"\n"
         "AT+CCFC3=\"3,3,\"5550100\",129\"\nAT+CCLK=\"11/04/25,09:30:00-03\"",
         false,
         {CallWaiting, ForwardUnconditional, ForwardBusy, ForwardOffOrNotFound, ForwardNumber,
          Date},
         "00|00|00|00||250411"},
        {"[ATCMD]\nAT+CCWA=\"1,1\"\nAT+CCFC0=\"0,3,\"1\",129\"\nAT+CCFC4=\"4,4\"\n"
         "AT+CCFC1=\"1,1,\"555\",129\"\n"
         "AT+CCFC3=\"3,3,\"5550100\",129\"\nAT+CCLK=\"11/04/25,09:30:00-03\"",
         true,
         {CallWaiting, ForwardUnconditional, ForwardBusy, ForwardOffOrNotFound, ForwardNumber,
          Date},
         "01|00|00|01|5550100|250411"},
        // Saved with the start-up check off, 16550 holds the PIN, not a flag.
        {"[PARA]\n16550=\"1234\"\n16551=\"1234\"", false, {PinStartUp, PinCode}, "00|1234"},
        {"[PARA]\n16550=\"1234\"\n16549=\"1234\"", false, {PinStartUp}, "01"},
        {"[PARA]\n16550=\"2222\"\n16549=\"1111\"\n16548=\"1111\",\"2222\"\n16551=\"2222\"",
         false,
         {OldPin, NewPin, PinStartUp},
         "1111|2222|00"},
    };
    for (const auto &c : cases) {
        ParameterStore store = sample::Full();
        store.waitingForwardEnabled = c.enabled;
        store[CspNone] = store[CspAllCalls] = store[CspCallBack] = "k";
        ImportText(c.file, store);
        EXPECT_EQ(sample::Texts(store, c.slots), c.expected) << c.file;
    }
}

TEST_F(Import, FilesItCannotTakeChangeNothing)
{
    const ParameterStore original = sample::Full();
    ParameterStore store = original;
    std::filesystem::create_directory(folder.File("dir.ini"));
    const std::pair<std::string, std::string> unreadable[] = {
        {folder.File("missing.ini"), "Cannot open \"%s\": the file does not exist"},
        {folder.File("dir.ini"), "Cannot read \"%s\": it is a directory"}};
    for (const auto &[file, why] : unreadable) {
        const params::ScriptResult result = params::Import(file, store);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.text, std::string(why).replace(why.find("%s"), 2, file));
    }
    for (const char *file : {"", "; nothing\r\n[PARA]\r\n\r\n[ATCMD]\r\n", "[OTHER]\r\n5=01\r\n"}) {
        const params::ScriptResult result = ImportText(file, store);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.text, "Imported script file don't have setting data!");
    }
    EXPECT_EQ(store, original);
}

// What kestrel-cli read --out and the settings history keep of a read.
TEST_F(Import, AReadBecomesTheFileSaveWrites)
{
    WriteBytes(path,
               "[PARA]\r\n05=\"01\"\r\n3000=\"01\"\r\n3001=\"11\"\r\n3002=\"0*0*0*0\"\r\n"
               "6000=\"1\"\r\n16541=\"1\"\r\n16550=\"01\"\r\n16212=\"555\"\r\n16213=\"0*0*0*0\"\r\n"
               "[ATCMD]\r\nAT+CCWA=\"1,2\"\r\nAT+CCLK=\"25/04/11,09:30:17+08\"\r\n");
    for (const bool forward : {true, false}) {
        ReadLists asked;
        params::AppendPageReadItems(params::Page::Forward, asked, {forward, forward, forward});
        std::string bytes;
        ASSERT_TRUE(params::ReadResultText(path, asked, bytes).ok);
        params::IniDocument file;
        file.Parse(bytes);
        const auto para = [&](const char *key) { return file.GetString("PARA", key, "?"); };
        EXPECT_EQ(para("5"), "01");
        EXPECT_EQ(para("3001"), "11");
        EXPECT_EQ(para("3002"), "") << "a blank record is an empty entry";
        EXPECT_EQ(para("16541"), "1");
        EXPECT_EQ(para("16212"), "555");
        for (const char *absent : {"05", "32", "6000", "16550", "16213"})
            EXPECT_EQ(para(absent), "?") << absent;
        EXPECT_EQ(file.GetString("ATCMD", "AT+CCLK", "?"), "?");
        EXPECT_EQ(file.GetString("ATCMD", "AT+CCWA", "?"), forward ? "1,1" : "?");
        EXPECT_EQ(file.GetString("ATCMD", "AT+CCFC4", "?"), forward ? "4,4" : "?")
            << "no forwarding read: none to set";
    }
}

// The empty store is left out on purpose: it has no CSP mode, which the
// export writes as "none" and which therefore reads back as "none".
TEST(RoundTrip, ExportImportExportGivesTheSameBytes)
{
    TempFolder folder;
    const std::string first = folder.File("first.ini");
    const std::string second = folder.File("second.ini");
    for (const SampleStore &sample : sample::All()) {
        if (std::string_view(sample.name) == "empty")
            continue;
        const ParameterStore &original = sample.store;
        ASSERT_TRUE(params::Export(first, original).ok);
        // The page's switches and the PIN write mode are not in the file.
        ParameterStore loaded;
        loaded.waitingForwardEnabled = original.waitingForwardEnabled;
        loaded.callWaitingIncluded = original.callWaitingIncluded;
        loaded.forwardingIncluded = original.forwardingIncluded;
        loaded.pinWriteMode = original.pinWriteMode;
        ASSERT_TRUE(params::Import(first, loaded).ok);
        ASSERT_TRUE(params::Export(second, loaded).ok);
        EXPECT_EQ(ReadBytes(second), ReadBytes(first)) << sample.name;
    }
}

} // namespace
