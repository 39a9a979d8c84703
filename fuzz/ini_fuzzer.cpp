// The INI reader and writer fed an arbitrary file and one arbitrary write.
// A document serializes to a fixed point; a write that is taken reads back
// as the reader treats values and leaves every other key as it was; a
// refused write changes nothing; the file-based CIniFile agrees with the
// document in memory.

#include "fuzz/fuzz_check.h"
#include "params/ini_document.h"
#include "params/ini_file.h"
#include "params/text_value.h"
#include "platform/text_util.h"
#include "tests/common/temp_folder.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

namespace {

const TempFolder g_scratch; // one per process, rewritten per input

// What a reader sees of a value written as `value`: blanks around it do not
// count, one pair of matching quotes goes, it ends at a NUL, and it is read
// into the value buffer.
std::string ReadBackOf(std::string_view value)
{
    value = text::TrimBlanks(value);
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\''))
        value = value.substr(1, value.size() - 2);
    value = value.substr(0, value.find('\0'));
    return std::string(value.substr(0, params::kIniValueBufferSize - 1));
}

constexpr std::string_view kMissing = "\x01missing";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(64);
    const std::string key = input.ConsumeRandomLengthString(64);
    const std::string value = input.ConsumeRandomLengthString(512);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    params::IniDocument document;
    document.Parse(bytes);
    const std::string serialized = document.Serialize();
    params::IniDocument again;
    again.Parse(serialized);
    FUZZ_CHECK(again.Serialize() == serialized);

    std::vector<std::string> keys;
    document.GetKeys(section, keys);
    std::vector<std::string> values;
    for (const std::string &k : keys)
        values.push_back(document.GetString(section, k, kMissing));

    const std::string path = g_scratch.File("fuzz.ini");
    WriteBytes(path, bytes);
    CIniFile file(path);
    const bool fileWritten = file.WriteString(section, key, value);

    const params::FileResult written = document.WriteString(section, key, value);
    FUZZ_CHECK(fileWritten == written.ok);
    if (!written.ok) {
        FUZZ_CHECK(document.Serialize() == serialized);
        FUZZ_CHECK(ReadBytes(path) == bytes);
        return 0;
    }
    FUZZ_CHECK(ReadBytes(path) == document.Serialize());

    params::IniDocument reread;
    reread.Parse(document.Serialize());
    for (const params::IniDocument *doc : {&document, &reread}) {
        FUZZ_CHECK(doc->GetString(section, key, kMissing) == ReadBackOf(value));
        for (size_t i = 0; i < keys.size(); ++i) {
            if (params::LowerAscii(keys[i]) != params::LowerAscii(text::TrimBlanks(key)))
                FUZZ_CHECK(doc->GetString(section, keys[i], kMissing) == values[i]);
        }
    }
    FUZZ_CHECK(file.GetString(section, key, kMissing) == ReadBackOf(value));
    std::vector<std::string> fileKeys;
    std::vector<std::string> documentKeys;
    FUZZ_CHECK(file.GetKeys(section, fileKeys) == document.GetKeys(section, documentKeys));
    FUZZ_CHECK(fileKeys == documentKeys);
    return 0;
}
