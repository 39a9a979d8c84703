#include "params/ini_document.h"
#include "params/param_file.h"
#include "sample_stores.h"
#include "slot_defaults.h"
#include "tests/common/golden_file.h"
#include "tests/common/temp_folder.h"

#include <array>
#include <gtest/gtest.h>
#include <optional>

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

// The slots by name, in declared order.
// clang-format off
const char *const kSlotNames[] = {
    "GeneralPassword", "LongDistanceBlock", "InternationalBlock", "IncomingBlock",
    "PrefixNumberBlock", "AddPrefix", "PreNumbers", "Prefix", "CspNone", "CspAllCalls",
    "CspCallBack", "CspNumber", "CallWaiting", "ForwardUnconditional", "ForwardBusy",
    "ForwardNoAnswer", "NoAnswerTime", "ForwardOffOrNotFound", "ForwardNumber", "RestrictedId",
    "PinStartUp", "PinCode", "ChangePin", "OldPin", "NewPin", "ConfirmPin", "AutoLockPin",
    "RandomPinLength", "TerminalPin", "RandomPin", "FixedPin", "UseRandomPin", "BindSim",
    "BoundSimSerial", "PolarityInversion", "DialTimeout", "Date", "Time", "TimeZone",
    "RestrictOutgoing", "OutgoingLimit", "RestrictIncoming", "IncomingLimit", "FlashTime",
    "TxVolume", "RxVolume", "CallBack", "CallBackTime", "CallBackAttempts", "AnswerCallBackTime",
    "NumberHeaderSwitch", "NumberHeader"};
// clang-format on
static_assert(std::size(kSlotNames) == params::kSlotCount);

// Every text of `store` that differs from `reset`, by name.
std::vector<std::string> Differences(const ParameterStore &store, const ParameterStore &reset)
{
    std::vector<std::string> lines;
    const auto compare = [&](const std::string &what, const auto &texts, const auto &resetTexts) {
        for (size_t i = 0; i < texts.size(); ++i)
            if (texts[i] != resetTexts[i])
                lines.push_back(what + (texts.size() > 1 ? std::to_string(i) : "") + " \"" +
                                Printable(texts[i]) + '"');
    };
    for (size_t slot = 0; slot < params::kSlotCount; ++slot)
        compare(kSlotNames[slot], std::array{store.slotTexts[slot]},
                std::array{reset.slotTexts[slot]});
    compare("forbidden ", store.forbidden, reset.forbidden);
    compare("call back ", store.callBack, reset.callBack);
    return lines;
}

// The lines of `bytes` from `at` on, each with its line end shown.
std::vector<std::string> LinesFrom(const std::string &bytes, size_t at)
{
    std::vector<std::string> lines;
    for (size_t end; (end = bytes.find('\n', at)) != bytes.npos; at = end + 1)
        lines.push_back(OneLine(bytes.substr(at, end + 1 - at)));
    return lines;
}

// "export FLAGS [waiting]": the [ATCMD] section an export writes with
// forwarding (and call waiting) included and the flags given: W call
// waiting, U unconditional, B busy, N no answer, O off or not found.
std::vector<std::string> ExportedForwarding(const std::vector<std::string> &words)
{
    constexpr Slot kFlags[] = {Slot::CallWaiting, Slot::ForwardUnconditional, Slot::ForwardBusy,
                               Slot::ForwardNoAnswer, Slot::ForwardOffOrNotFound};
    ParameterStore store =
        sample::Make({{Slot::ForwardNumber, "5550100"}, {Slot::NoAnswerTime, "25"}},
                     {1, words.size() > 1, 1, 0});
    for (size_t i = 0; i < std::size(kFlags); ++i)
        store[kFlags[i]] = words.at(0).find("WUBNO"[i]) != std::string::npos ? "01" : "00";
    TempFolder folder;
    const std::string path = folder.File("config.ini");
    EXPECT_TRUE(params::Export(path, store).ok);
    const std::string bytes = ReadBytes(path);
    return LinesFrom(bytes, std::min(bytes.find("[ATCMD]"), bytes.size()));
}

// "pin change SWITCH": what a PIN change export says and leaves over a file
// that held another entry, from a full store as the security code page
// leaves it after a passing change (old PIN 4711, new 24680135).
std::vector<std::string> PinChangeExport(const std::string &changeSwitch)
{
    ParameterStore store = sample::Full();
    store[Slot::ChangePin] = changeSwitch;
    store[Slot::OldPin] = "4711";
    store[Slot::NewPin] = store[Slot::ConfirmPin] = "24680135";
    store.pinWriteMode = 1;
    TempFolder folder;
    const std::string path = folder.File("SIM0ParaFile.ini");
    WriteBytes(path, "[PARA]\r\n16543=\"3\"\r\n");
    std::vector<std::string> lines{params::ExportPinChange(path, store).text};
    for (const std::string &line : LinesFrom(ReadBytes(path), 0))
        lines.push_back(line);
    return lines;
}

TEST_F(Import, AsTheTranscriptSays)
{
    std::optional<std::string> file;
    bool enabled = false;
    const auto take = [&](const std::string &line) {
        if (line == "enabled")
            enabled = true;
        else if (line.starts_with("file "))
            file = Unescape(line.substr(5));
        else if (line.starts_with("export "))
            return ExportedForwarding(Words(line.substr(7)));
        else if (line.starts_with("pin change "))
            return PinChangeExport(line.substr(11));
        else if (line.starts_with("sent by write ")) // may kestrel-cli write send the entry?
            return std::vector<std::string>{
                params::ExportWritesParameter(Words(line.substr(14)).at(0)) ? "yes" : "no"};
        else if (line.starts_with("named ")) { // the AT setting a written line belongs to
            const params::AtSetting *setting = params::FindAtSettingInLine(line.substr(6));
            return std::vector<std::string>{setting ? setting->label.en : "-"};
        }
        return std::vector<std::string>{};
    };
    const auto import = [&] {
        if (!file)
            return std::vector<std::string>{};
        ParameterStore store = sample::Full();
        store.waitingForwardEnabled = enabled;
        store[Slot::CspNone] = store[Slot::CspAllCalls] = store[Slot::CspCallBack] = "k";
        const ParameterStore reset = defaults::AfterReset(store);
        EXPECT_TRUE(ImportText(*file, store).ok) << *file;
        file.reset();
        enabled = false;
        return Differences(store, reset);
    };
    ExpectTranscript(KESTREL_PARAMS_GOLDEN_DIR "/imports.txt", take, import);
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
    WriteBytes(path, "[OTHER]\r\n5=01\r\n");
    std::string bytes = "before";
    EXPECT_EQ(params::ReadResultText(path, {}, bytes).error, "\"" + path + "\" holds no values");
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(params::ReadResultText(path + "x", {}, bytes).error,
              "Cannot open \"" + path + "x\": the file does not exist");
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
