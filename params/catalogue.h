#pragma once
// The terminal parameters the tool edits: for each slot of the parameter
// store its parameter number(s), the page that edits it, its name in the
// result reports, the form of its value, its default on import and when the
// export writes it. This one table drives import, export and naming.

#include "params/language.h"
#include "params/value_form.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace params {

// The eleven pages in page order.
enum class Page : uint8_t {
    Passwords,
    Forbids,
    Prefix,
    Csp,
    Forward,
    RestrictedId,
    SecurityCode,
    Polarity,
    Times,
    Volume,
    CallBack,
};
inline constexpr size_t kPageCount = 11;

// The dialog template by which a page is known (193 for Passwords ...).
int PageTemplate(Page page);

// The text slots of the parameter store, in declared order. The two lists
// and the four integers live beside them (ParameterStore).
enum class Slot : uint8_t {
    GeneralPassword,      // 32
    LongDistanceBlock,    // 5
    InternationalBlock,   // 35
    IncomingBlock,        // 5000
    PrefixNumberBlock,    // 3000 (gates the forbidden entries 3001..3020)
    AddPrefix,            // 1001 and 33
    PreNumbers,           // 34
    Prefix,               // 1000
    CspNone,              // 16541 mode 0
    CspAllCalls,          // 16541 mode 2
    CspCallBack,          // 16541 mode 1
    CspNumber,            // 16542
    CallWaiting,          // AT+CCWA
    ForwardUnconditional, // AT+CCFC reason 0
    ForwardBusy,          // reason 1
    ForwardNoAnswer,      // reason 2
    NoAnswerTime,         // time of reason 2
    ForwardOffOrNotFound, // reason 3
    ForwardNumber,        // number of reasons 0..3
    RestrictedId,         // 16546
    PinStartUp,           // 16550
    PinCode,
    ChangePin, // 16207
    OldPin,
    NewPin,
    ConfirmPin,
    AutoLockPin,        // 6000
    RandomPinLength,    // 6001
    TerminalPin,        // 6002
    RandomPin,          // 6003
    FixedPin,           // 6004
    UseRandomPin,       // 6005
    BindSim,            // 7000
    BoundSimSerial,     // 7001
    PolarityInversion,  // 16001
    DialTimeout,        // 2
    Date,               // DDMMYY, inside AT+CCLK
    Time,               // HHMM, inside AT+CCLK
    TimeZone,           // sign and two digits, inside AT+CCLK
    RestrictOutgoing,   // 16208
    OutgoingLimit,      // 16209
    RestrictIncoming,   // 16515
    IncomingLimit,      // 16516
    FlashTime,          // 16210
    TxVolume,           // 16544
    RxVolume,           // 16543
    CallBack,           // 16517
    CallBackTime,       // 16539
    CallBackAttempts,   // 16540
    AnswerCallBackTime, // 16545
    NumberHeaderSwitch, // 16512
    NumberHeader,       // 16513
    Count
};
inline constexpr size_t kSlotCount = size_t(Slot::Count);

// The software password (parameter 9996 at the login): typed at the login,
// changed on the Passwords page and by kestrel-cli passwd.
inline constexpr ValueForm kSoftwarePasswordForm{ValueKind::Text, 4, 12};
// Told when a new software password is too short or too long.
inline constexpr lang::Tr3 kNewPasswordLength{
    "Error: The New Password must be between 4 and 12 characters!",
    "Erro: A nova senha deve ter entre 4 e 12 caracteres!",
    "Error: La nueva contraseña debe tener entre 4 y 12 caracteres!"};

enum class WriteRule : uint8_t {
    Always,         // as it stands
    AlwaysAsFlag1,  // "1" when on, else "0"
    WhenGateOn,     // while the gate slot is on
    WhenGateNotOne, // while the gate slot's value is not 1
    WhenNotEmpty,
    WhenNotEmptyMod10, // one digit: the value modulo 10
    CspMode,           // 16541 from the three CSP slots
    InsideAtCommand,   // part of an ATCMD entry
    InsidePinEntries,  // part of the PIN entries
    Never,
};

struct SlotInfo
{
    Slot slot;
    uint16_t number;     // 0: no parameter number of its own
    uint16_t alsoNumber; // written under this number too, right after
    int pageTemplate;    // page that edits it or shows it on a failure; 0 none
    lang::Tr3 name;      // report name; all nullptr when never named
    ValueForm form;
    const char *defaultText; // nullptr: kept by an import
    WriteRule rule;
    Slot gate; // for WhenGateOn / WhenGateNotOne
    // Import cuts longer values (the bound SIM serial) to form.maxLength.
    bool cutOnImport;
};

std::span<const SlotInfo> AllSlots();
const SlotInfo &InfoOf(Slot slot);
inline const ValueForm &FormOf(Slot slot)
{
    return InfoOf(slot).form;
}
// The text a switch slot holds when on or off: "1"/"0" for a Flag1 slot,
// "01"/"00" for any other.
const char *FlagText(Slot slot, bool on);

// The two fixed lists: entry i holds parameter firstNumber + i.
inline constexpr uint16_t kForbiddenEntries = 20;
inline constexpr uint16_t kCallBackEntries = 300;
struct ListInfo
{
    uint16_t firstNumber;
    uint16_t count;
    int pageTemplate;
    lang::Tr3 name;    // carries one "%04d": the entry's position
    int firstPosition; // position shown for entry 0
    ValueForm form;
    WriteRule rule;
    Slot gate;

    bool Contains(unsigned number) const
    {
        return number >= firstNumber && number < unsigned(firstNumber) + count;
    }
};

extern const ListInfo kForbiddenList; // 3001..3020, positions 0811..0830
extern const ListInfo kCallBackList;  // 16212..16511, positions 1507..1806

// Numbers the export writes that have no slot of their own.
inline constexpr uint16_t kResetCallBackListNumber = 16547; // value "CLEAR"
inline constexpr uint16_t kPinChangeNumber = 16548;         // "old","new"
inline constexpr uint16_t kPinCheckOnNumber = 16549;        // "pin"
inline constexpr uint16_t kPinStartUpNumber = 16550;        // the PinStartUp slot's number
inline constexpr uint16_t kPinCheckOffNumber = 16551;       // "pin"
inline constexpr char kResetCallBackListValue[] = "CLEAR";
// The write job follows some PIN entries with these two lines, each with the
// code below, whatever the PIN.
inline constexpr uint16_t kPinFollowUpNumber = 16552;      // repeated while refused
inline constexpr uint16_t kPinFollowUpCheckNumber = 16553; // after the first is taken
inline constexpr char kPinFollowUpCode[] = "4711";

// The settings that travel as standard GSM commands, keyed in section ATCMD.
struct AtSetting
{
    const char *key;           // "AT+CCFC2"
    const char *command;       // "AT+CCFC"
    const char *queryArgument; // "=2,2"; nullptr: never queried
    lang::Tr3 label;
    Slot slot;
};

enum class AtKey : uint8_t {
    CallWaiting,
    ForwardUnconditional,
    ForwardBusy,
    ForwardNoAnswer,
    ForwardOffOrNotFound,
    ForwardAll,
    Clock,
    Count
};

std::span<const AtSetting> AllAtSettings();
const AtSetting &AtSettingOf(AtKey key);
// The forwarding setting of reason 0..4.
const AtSetting &ForwardSettingOf(int reason);
// The setting whose key matches without regard to case, or nullptr.
const AtSetting *FindAtSetting(std::string_view key);
// The setting a sent command line belongs to ("AT+CCFC=2,3,..." -> reason
// 2), looked for in table order; nullptr for other lines.
const AtSetting *FindAtSettingInLine(std::string_view line);

struct ParameterNaming
{
    std::string name;     // empty for a language code outside 1..3
    int pageTemplate = 0; // the page to show; 0 when no row matched
};

// The name under which a result report names a parameter number, in the
// given language: list entries carry their position, unknown numbers read
// "Parameter = 2500".
ParameterNaming NameParameter(unsigned number, int languageCode);

} // namespace params
