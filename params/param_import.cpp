#include "params/atcmd_codec.h"
#include "params/clock_text.h"
#include "params/ini_document.h"
#include "params/param_file.h"
#include "params/read_lists.h"
#include "params/text_value.h"

#include <algorithm>
#include <vector>

namespace params {

namespace {

// What 16550 holds. The terminal reports it as the start-up check flag; the
// export writes the PIN under it and tells the check by 16549 (on) or 16551
// (off), and a PIN change by 16548. Reading such a PIN as the flag would
// switch the check on after every Save and Open.
enum class PinForm { TerminalFlag, StartUpOn, StartUpOff, Change };

PinForm PinFormOf(const std::vector<unsigned> &numbers)
{
    const auto has = [&](unsigned number) {
        return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
    };
    if (!has(kPinStartUpNumber))
        return PinForm::TerminalFlag; // the export always writes 16550 with them
    if (has(kPinChangeNumber))
        return PinForm::Change;
    if (has(kPinCheckOnNumber))
        return PinForm::StartUpOn;
    if (has(kPinCheckOffNumber))
        return PinForm::StartUpOff;
    return PinForm::TerminalFlag;
}

// The mode value of 16541 back into the three CSP slots; anything but a
// clean 0, 1 or 2 (an empty reply included) leaves them as they were.
void DecodeCspMode(ParameterStore &store, const std::string &value)
{
    if (!IsAllDigits(value))
        return;
    const uint32_t mode = text::LeadingNumber(value);
    if (mode > 2)
        return;
    store[Slot::CspNone] = FlagText(Slot::CspNone, mode == 0);
    store[Slot::CspCallBack] = FlagText(Slot::CspCallBack, mode == 1);
    store[Slot::CspAllCalls] = FlagText(Slot::CspAllCalls, mode == 2);
}

const SlotInfo *SlotOfNumber(unsigned number)
{
    if (number == 0)
        return nullptr; // 0 marks the slots without a number of their own
    for (const SlotInfo &info : AllSlots()) {
        if (info.number == number || info.alsoNumber == number)
            return &info;
    }
    return nullptr;
}

void ApplyPinEntry(ParameterStore &store, unsigned number, const std::string &value, PinForm form)
{
    if (form == PinForm::Change) {
        if (number == kPinChangeNumber) {
            // Read back without its outer quotes: old","new
            const size_t separator = value.find("\",\"");
            if (separator != std::string::npos) {
                store[Slot::OldPin] = value.substr(0, separator);
                store[Slot::NewPin] = value.substr(separator + 3);
            }
        } else if (number == kPinStartUpNumber) {
            store[Slot::NewPin] = value;
        }
    } else if (number == kPinStartUpNumber) {
        store[Slot::PinCode] = value;
    }
}

void ApplyParameter(ParameterStore &store, unsigned number, const std::string &value,
                    PinForm pinForm)
{
    if (kForbiddenList.Contains(number)) {
        store.forbidden[number - kForbiddenList.firstNumber] = value;
        return;
    }
    if (kCallBackList.Contains(number)) {
        store.callBack[number - kCallBackList.firstNumber] = value;
        return;
    }
    if (pinForm != PinForm::TerminalFlag &&
        (number == kPinStartUpNumber || number == kPinChangeNumber)) {
        ApplyPinEntry(store, number, value, pinForm);
        return;
    }
    const SlotInfo *info = SlotOfNumber(number);
    if (!info)
        return; // a number the tool does not know
    if (info->rule == WriteRule::CspMode) {
        DecodeCspMode(store, value);
        return;
    }
    std::string &slot = store[info->slot];
    slot = value;
    if (info->cutOnImport && info->form.maxLength && slot.size() > info->form.maxLength)
        slot.resize(info->form.maxLength);
}

void ApplyAtEntry(ParameterStore &store, const std::string &key, const std::string &value)
{
    const AtSetting *setting = FindAtSetting(key);
    if (!setting)
        return;
    if (setting == &AtSettingOf(AtKey::Clock)) {
        ClockFields clock = ParseClockText(value);
        store[Slot::Date] = std::move(clock.date);
        store[Slot::Time] = std::move(clock.time);
        store[Slot::TimeZone] = std::move(clock.zone);
        return;
    }
    // Call waiting and forwarding only reach a page whose master switch is on.
    if (!store.waitingForwardEnabled)
        return;
    if (setting == &AtSettingOf(AtKey::CallWaiting)) {
        store[Slot::CallWaiting] = FlagText(Slot::CallWaiting, value.starts_with('1'));
        return;
    }
    const ForwardingFields fields = ParseForwarding(value);
    store[setting->slot] = FlagText(setting->slot, fields.classOrMode == "3");
    if (!fields.number.empty())
        store[Slot::ForwardNumber] = fields.number;
    // Without a time the page keeps its default rather than an empty choice.
    if (setting == &AtSettingOf(AtKey::ForwardNoAnswer) && !fields.time.empty())
        store[Slot::NoAnswerTime] = fields.time;
}

// Fills the store from a loaded document; see Import.
bool ImportDocument(const IniDocument &document, ParameterStore &store)
{
    std::vector<std::string> paraKeys;
    std::vector<std::string> atKeys;
    document.GetKeys(kParaSection, paraKeys);
    document.GetKeys(kAtcmdSection, atKeys);
    if (paraKeys.empty() && atKeys.empty())
        return false;

    // Keys are parameter numbers in decimal; anything else is not ours.
    std::vector<unsigned> numbers;
    std::vector<const std::string *> numberKeys;
    for (const std::string &key : paraKeys) {
        if (IsAllDigits(key)) {
            numbers.push_back(text::LeadingNumber(key));
            numberKeys.push_back(&key);
        }
    }
    ParameterStore imported = store;
    imported.ResetToDefaults();
    const PinForm pinForm = PinFormOf(numbers);
    if (pinForm == PinForm::StartUpOn || pinForm == PinForm::StartUpOff)
        imported[Slot::PinStartUp] = FlagText(Slot::PinStartUp, pinForm == PinForm::StartUpOn);
    for (size_t i = 0; i < numbers.size(); ++i)
        ApplyParameter(imported, numbers[i], document.GetString(kParaSection, *numberKeys[i], ""),
                       pinForm);
    for (const std::string &key : atKeys)
        ApplyAtEntry(imported, key, document.GetString(kAtcmdSection, key, ""));

    store = std::move(imported);
    return true;
}

FileResult LoadExisting(const std::string &path, IniDocument &document)
{
    FileResult loaded = document.Load(path);
    if (loaded.ok && !document.Exists())
        return FileResult::Failure("Cannot open \"" + path + "\": the file does not exist");
    return loaded;
}

bool Asked(const ReadLists &asked, std::string_view command)
{
    return std::find(asked.atCommands.begin(), asked.atCommands.end(), command) !=
           asked.atCommands.end();
}

} // namespace

ScriptResult Import(const std::string &path, ParameterStore &store)
{
    IniDocument document;
    if (const FileResult loaded = LoadExisting(path, document); !loaded.ok)
        return {loaded.error, false};
    if (!ImportDocument(document, store))
        return {"Imported script file don't have setting data!", false};
    return {"Successfully imported from script file [" + std::string(FileNameOf(path)) + "]!",
            true};
}

FileResult ReadResultText(const std::string &readPath, const ReadLists &asked, std::string &bytes)
{
    bytes.clear();
    IniDocument document;
    if (FileResult loaded = LoadExisting(readPath, document); !loaded.ok)
        return loaded;
    // Call waiting and forwarding count as included when the read asked for
    // them: a terminal that forwards nothing answers with no line to keep,
    // and its file then erases every kind of forwarding.
    ParameterStore store;
    store.callWaitingIncluded = Asked(asked, AtSettingOf(AtKey::CallWaiting).command);
    store.forwardingIncluded = Asked(asked, ForwardSettingOf(0).command);
    store.waitingForwardEnabled = store.callWaitingIncluded || store.forwardingIncluded;
    if (!ImportDocument(document, store))
        return FileResult::Failure("\"" + readPath + "\" holds no values");
    // The list pages show a blank record as an empty row, and Save writes it so.
    for (std::string &entry : store.forbidden) {
        if (IsBlankRecord(entry))
            entry.clear();
    }
    for (std::string &entry : store.callBack) {
        if (IsBlankRecord(entry))
            entry.clear();
    }
    return ExportText(store, ExportForm::ReadResult, bytes);
}

} // namespace params
