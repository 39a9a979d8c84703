#include "params/atcmd_codec.h"
#include "params/clock_text.h"
#include "params/ini_document.h"
#include "params/param_file.h"
#include "params/text_value.h"

#include <optional>
#include <span>
#include <vector>

namespace params {

namespace {

enum class Step {
    Slot,
    ForbiddenList,
    CallWaitingAndForwarding,
    PinEntries,
    Clock,
    ResetCallBackList,
    CallBackList,
};

struct ExportItem
{
    Step step;
    Slot slot = Slot::Count;
};

constexpr ExportItem S(Slot slot)
{
    return {Step::Slot, slot};
}

// The order in which the write job later sends the entries.
constexpr ExportItem kExportOrder[] = {
    S(Slot::GeneralPassword),
    S(Slot::LongDistanceBlock),
    S(Slot::InternationalBlock),
    S(Slot::PrefixNumberBlock),
    {Step::ForbiddenList},
    S(Slot::IncomingBlock),
    S(Slot::AddPrefix),
    S(Slot::PreNumbers),
    S(Slot::Prefix),
    S(Slot::CspNone), // 16541 from the three CSP slots
    S(Slot::CspNumber),
    S(Slot::RestrictedId),
    {Step::CallWaitingAndForwarding},
    S(Slot::ChangePin),
    {Step::PinEntries},
    S(Slot::PolarityInversion),
    S(Slot::DialTimeout),
    {Step::Clock},
    S(Slot::RestrictOutgoing),
    S(Slot::OutgoingLimit),
    S(Slot::FlashTime),
    S(Slot::RestrictIncoming),
    S(Slot::IncomingLimit),
    S(Slot::RxVolume),
    S(Slot::TxVolume),
    {Step::ResetCallBackList},
    {Step::CallBackList},
    S(Slot::CallBack),
    S(Slot::CallBackTime),
    S(Slot::CallBackAttempts),
    S(Slot::AnswerCallBackTime),
};

// The value a rule writes for a slot or list entry, or nothing.
std::optional<std::string> RuleValue(WriteRule rule, Slot gate, const std::string &value,
                                     const ParameterStore &store)
{
    switch (rule) {
    case WriteRule::Always:
        return value;
    case WriteRule::AlwaysAsFlag1:
        return std::string(IsOn(value) ? "1" : "0");
    case WriteRule::WhenGateOn:
        return store.IsOn(gate) ? std::optional(value) : std::nullopt;
    case WriteRule::WhenGateNotOne:
        return text::LeadingNumber(store[gate]) != 1 ? std::optional(value) : std::nullopt;
    case WriteRule::WhenNotEmpty:
        return value.empty() ? std::nullopt : std::optional(value);
    case WriteRule::WhenNotEmptyMod10:
        return value.empty() ? std::nullopt
                             : std::optional(std::to_string(text::LeadingNumber(value) % 10));
    case WriteRule::CspMode:
    case WriteRule::InsideAtCommand:
    case WriteRule::InsidePinEntries:
    case WriteRule::Never:
        break;
    }
    return std::nullopt;
}

// 16541: none 0, call back 1, all calls 2; call back is tested last and wins
// over all calls. With none of the three set the terminal still gets a
// defined mode: none.
std::string CspModeValue(const ParameterStore &store)
{
    if (text::LeadingNumber(store[Slot::CspCallBack]) == 1)
        return "1";
    if (text::LeadingNumber(store[Slot::CspAllCalls]) == 1)
        return "2";
    return "0";
}

// The PIN change's own file: the change-PIN switch and the PIN entries of
// the change. It carries no general password, so the terminal's own stays.
constexpr ExportItem kPinChangeOrder[] = {
    S(Slot::ChangePin),
    {Step::PinEntries},
};

class Exporter
{
public:
    Exporter(const ParameterStore &store, IniDocument &document)
        : m_store(store), m_document(document)
    {}

    FileResult Run(std::span<const ExportItem> order)
    {
        for (const ExportItem &item : order) {
            Write(item);
            if (!m_result.ok)
                break;
        }
        return m_result;
    }

private:
    void Para(unsigned number, std::string_view valueAsWritten)
    {
        if (m_result.ok)
            m_result = m_document.WriteString(kParaSection, std::to_string(number), valueAsWritten);
    }
    void At(std::string_view key, std::string_view value)
    {
        if (m_result.ok)
            m_result = m_document.WriteString(kAtcmdSection, key, Quoted(value));
    }

    void Write(const ExportItem &item)
    {
        switch (item.step) {
        case Step::Slot:
            WriteSlot(InfoOf(item.slot));
            break;
        case Step::ForbiddenList:
            WriteList(kForbiddenList, m_store.forbidden);
            break;
        case Step::CallBackList:
            WriteList(kCallBackList, m_store.callBack);
            break;
        case Step::CallWaitingAndForwarding:
            WriteCallWaitingAndForwarding();
            break;
        case Step::PinEntries:
            WritePinEntries();
            break;
        case Step::Clock:
            WriteClock();
            break;
        case Step::ResetCallBackList:
            Para(kResetCallBackListNumber, Quoted(kResetCallBackListValue));
            break;
        }
    }

    void WriteSlot(const SlotInfo &info)
    {
        const std::optional<std::string> value =
            info.rule == WriteRule::CspMode
                ? CspModeValue(m_store)
                : RuleValue(info.rule, info.gate, m_store[info.slot], m_store);
        if (!value)
            return;
        Para(info.number, Quoted(*value));
        if (info.alsoNumber)
            Para(info.alsoNumber, Quoted(*value));
    }

    template <size_t N>
    void WriteList(const ListInfo &list, const std::array<std::string, N> &entries)
    {
        for (size_t i = 0; i < entries.size(); ++i) {
            if (const auto value = RuleValue(list.rule, list.gate, entries[i], m_store))
                Para(list.firstNumber + unsigned(i), Quoted(*value));
        }
    }

    void WriteCallWaitingAndForwarding()
    {
        if (!m_store.waitingForwardEnabled)
            return;
        if (m_store.callWaitingIncluded)
            At(AtSettingOf(AtKey::CallWaiting).key,
               ExportCallWaiting(text::LeadingNumber(m_store[Slot::CallWaiting]) > 0));
        if (!m_store.forwardingIncluded)
            return;
        bool anyOn = false;
        for (int reason = 0; reason <= 3; ++reason)
            anyOn = anyOn || m_store.IsOn(ForwardSettingOf(reason).slot);
        if (!anyOn) {
            At(ForwardSettingOf(4).key, kEraseAllForwarding);
            return;
        }
        for (int reason = 0; reason <= 3; ++reason) {
            const AtSetting &setting = ForwardSettingOf(reason);
            if (m_store.IsOn(setting.slot))
                At(setting.key, ExportForwardingRegistration(reason, m_store[Slot::ForwardNumber],
                                                             m_store[Slot::NoAnswerTime]));
            else
                At(setting.key, FormatForwardingInactive(reason));
        }
    }

    // The PINs travel quoted inside the value, which gets no outer quotes:
    // the reader would otherwise strip the PIN's own.
    void WritePinEntries()
    {
        if (m_store.pinWriteMode == 2 && m_store.IsOn(Slot::ChangePin)) {
            const std::string oldPin = Quoted(m_store[Slot::OldPin]);
            const std::string newPin = Quoted(m_store[Slot::NewPin]);
            Para(kPinStartUpNumber, newPin);
            Para(kPinCheckOnNumber, oldPin);
            Para(kPinChangeNumber, oldPin + "," + newPin);
            Para(kPinCheckOffNumber, newPin);
        } else if (m_store.pinWriteMode == 1) {
            const std::string pin = Quoted(m_store[Slot::PinCode]);
            Para(kPinStartUpNumber, pin);
            Para(m_store.IsOn(Slot::PinStartUp) ? kPinCheckOnNumber : kPinCheckOffNumber, pin);
        }
    }

    void WriteClock()
    {
        const std::string clock =
            BuildClockText(m_store[Slot::Date], m_store[Slot::Time], kExportTimeZone);
        if (!clock.empty())
            At(AtSettingOf(AtKey::Clock).key, clock);
    }

    const ParameterStore &m_store;
    IniDocument &m_document;
    FileResult m_result;
};

// The numbers an export item can write under.
bool ItemWrites(const ExportItem &item, unsigned number)
{
    switch (item.step) {
    case Step::Slot: {
        const SlotInfo &info = InfoOf(item.slot);
        return info.number == number || (info.alsoNumber && info.alsoNumber == number);
    }
    case Step::ForbiddenList:
        return kForbiddenList.Contains(number);
    case Step::CallBackList:
        return kCallBackList.Contains(number);
    case Step::PinEntries:
        return number == kPinStartUpNumber || number == kPinCheckOnNumber ||
               number == kPinChangeNumber || number == kPinCheckOffNumber;
    case Step::ResetCallBackList:
        return number == kResetCallBackListNumber;
    case Step::CallWaitingAndForwarding:
    case Step::Clock:
        break;
    }
    return false;
}

// What a read never returns and so does not go into the file of its values:
// the general password (an empty one would be written to the next terminal)
// and the clock, which runs on.
bool InReadResult(const ExportItem &item)
{
    return item.step != Step::Clock &&
           !(item.step == Step::Slot && item.slot == Slot::GeneralPassword);
}

// A fresh document, so the file holds the keys in export order and nothing
// of what was there before; the old file is replaced only once the new one
// is complete on the disk.
ScriptResult ExportInOrder(const std::string &path, const ParameterStore &store,
                           std::span<const ExportItem> order, platform::ReadOnlyTarget readOnly)
{
    IniDocument document;
    FileResult result = Exporter(store, document).Run(order);
    if (result.ok)
        result = platform::ReplaceFile(path, document.Serialize(), true, readOnly);
    if (!result.ok)
        return {result.error, false};
    return {"Successfully exported to script file [" + std::string(FileNameOf(path)) + "]!", true};
}

} // namespace

ScriptResult Export(const std::string &path, const ParameterStore &store,
                    platform::ReadOnlyTarget readOnly)
{
    return ExportInOrder(path, store, kExportOrder, readOnly);
}

ScriptResult ExportPinChange(const std::string &path, const ParameterStore &store)
{
    ParameterStore change = store;
    change.pinWriteMode = 2;
    return ExportInOrder(path, change, kPinChangeOrder, platform::ReadOnlyTarget::Refuse);
}

FileResult ExportText(const ParameterStore &store, ExportForm form, std::string &bytes)
{
    std::vector<ExportItem> order;
    for (const ExportItem &item : kExportOrder) {
        if (form == ExportForm::Save || InReadResult(item))
            order.push_back(item);
    }
    IniDocument document;
    FileResult result = Exporter(store, document).Run(order);
    bytes = result.ok ? document.Serialize() : std::string();
    return result;
}

bool ExportWritesParameter(std::string_view key)
{
    if (!IsAllDigits(key) || key.size() > 5 || key.front() == '0')
        return false; // the export writes numbers in decimal without leading zeros
    const unsigned number = text::LeadingNumber(key);
    for (const ExportItem &item : kExportOrder) {
        if (ItemWrites(item, number))
            return true;
    }
    return false;
}

} // namespace params
