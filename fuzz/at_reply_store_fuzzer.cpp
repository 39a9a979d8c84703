// The AT reply store fed arbitrary data lines of the call forwarding, call
// waiting and clock queries. A line it keeps is stored under its ATCMD key,
// reads back as the value it was given (less its quotes), and turns into the
// write job's command line for that key; a line it does not keep leaves the
// file alone.

#include "engine/at_reply_store.h"
#include "fuzz/fuzz_check.h"
#include "params/atcmd_codec.h"
#include "params/ini_file.h"
#include "params/param_file.h"
#include "tests/common/temp_folder.h"

#include <array>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

const TempFolder g_scratch; // one per process, rewritten per input

// The queries a read sends, and their arguments.
constexpr std::array<const char *, 4> kCommands = {"AT+CCFC", "AT+CCWA", "AT+CCLK", "AT+CPIN"};
constexpr std::array<const char *, 7> kArguments = {"=0,2", "=1,2", "=2,2", "=3,2", "=1", "?", ""};

std::string Unquoted(const std::string &value)
{
    return value.size() >= 2 && value.front() == '"' && value.back() == '"'
               ? value.substr(1, value.size() - 2)
               : value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string command = input.ConsumeBool() ? input.ConsumeRandomLengthString(16)
                                                    : input.PickValueInArray(kCommands);
    const std::string argument = input.ConsumeBool() ? input.ConsumeRandomLengthString(16)
                                                     : input.PickValueInArray(kArguments);
    const std::string value = input.ConsumeRemainingBytesAsString();

    const std::string path = g_scratch.File("reply.ini");
    const std::string kBefore = "[ATCMD]\r\nAT+CCFC0=\"0,4\"\r\n";
    WriteBytes(path, kBefore);
    CIniFile file(path);
    const bool stored = StoreAtReply(file, command, argument, value);
    const auto entry = params::AtReplyEntry(command, argument, value);
    if (!entry) {
        FUZZ_CHECK(stored);
        FUZZ_CHECK(ReadBytes(path) == kBefore);
        return 0;
    }
    FUZZ_CHECK(entry->key.starts_with(command));
    // A reply line has no CR; an LF inside the stored text cannot go into the file.
    if (entry->value.find_first_of("\r\n") != std::string::npos) {
        FUZZ_CHECK(!stored);
        FUZZ_CHECK(ReadBytes(path) == kBefore);
        return 0;
    }
    FUZZ_CHECK(stored);
    if (value.find('\0') != std::string::npos || command == "AT+CCLK")
        return 0; // the reader cuts at a NUL; the clock keeps the terminal's text as it came
    const std::string readBack = file.GetString(params::kAtcmdSection, entry->key, "\x01missing");
    FUZZ_CHECK(readBack == Unquoted(entry->value));
    const std::string line = AtCommandText(entry->key, readBack);
    FUZZ_CHECK(line == command + "=" + readBack);
    return 0;
}
