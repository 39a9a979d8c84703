#pragma once
// Stores as the pages leave them, one per golden file: together they cover
// every conditional row of the export.

#include "params/parameter_store.h"

#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct SampleStore
{
    const char *name; // the golden file is <name>.ini
    ParameterStore store;
};

// The texts that are set, so that a failing comparison shows the difference.
inline void PrintTo(const ParameterStore &store, std::ostream *os)
{
    const auto print = [os](const char *what, const auto &texts) {
        for (size_t i = 0; i < texts.size(); ++i)
            if (!texts[i].empty())
                *os << "\n  " << what << " " << i << " = \"" << texts[i] << '"';
    };
    print("slot", store.slotTexts);
    print("forbidden", store.forbidden);
    print("call back", store.callBack);
    *os << "\n  integers " << store.waitingForwardEnabled << store.callWaitingIncluded
        << store.forwardingIncluded << store.pinWriteMode;
}

namespace sample {

using params::Slot;

// Switches of the call waiting and forward page, and the PIN write mode.
struct Integers
{
    int enabled = 0, callWaiting = 0, forwarding = 0, pinWriteMode = 0;
};

inline ParameterStore Make(std::initializer_list<std::pair<Slot, const char *>> texts,
                           Integers integers = {})
{
    ParameterStore store;
    for (const auto &[slot, text] : texts)
        store[slot] = text;
    store.waitingForwardEnabled = integers.enabled;
    store.callWaitingIncluded = integers.callWaiting;
    store.forwardingIncluded = integers.forwarding;
    store.pinWriteMode = integers.pinWriteMode;
    return store;
}

// The slots' texts joined by "|", for one comparison of several slots.
inline std::string Texts(const ParameterStore &store, const std::vector<Slot> &slots)
{
    std::string texts;
    for (Slot slot : slots)
        texts += (texts.empty() ? "" : "|") + store[slot];
    return texts;
}

// clang-format off

// Nothing set: blocks and add-prefix off, no CSP mode, no AT entries, no PIN.
inline ParameterStore Empty()
{
    return {};
}

// Everything on: forbidden and prefix blocks, call back CSP, forwarding to a
// "+" number with the no-answer time, start-up PIN check on, clock, limits,
// volumes and call back entries 0 and 5.
inline ParameterStore Full()
{
    using enum Slot;
    ParameterStore s = Make({
        {GeneralPassword, "123456"}, {LongDistanceBlock, "01"}, {InternationalBlock, "00"},
        {IncomingBlock, "01"}, {PrefixNumberBlock, "01"}, {AddPrefix, "01"}, {PreNumbers, "123"},
        {Prefix, "0021"}, {CspNone, "0"}, {CspAllCalls, "0"}, {CspCallBack, "1"}, {CspNumber, "21"},
        {RestrictedId, "1"}, {CallWaiting, "00"}, {ForwardUnconditional, "00"}, {ForwardBusy, "01"},
        {ForwardNoAnswer, "01"}, {NoAnswerTime, "20"}, {ForwardOffOrNotFound, "00"},
        {ForwardNumber, "+5511999"}, {ChangePin, "00"}, {PinStartUp, "01"}, {PinCode, "4711"},
        {PolarityInversion, "01"}, {DialTimeout, "15"}, {Date, "250411"}, {Time, "0930"},
        {RestrictOutgoing, "1"}, {OutgoingLimit, "60"}, {FlashTime, "300"},
        {RestrictIncoming, "01"}, {IncomingLimit, "30"}, {RxVolume, "5"}, {TxVolume, "08"},
        {CallBack, "01"}, {CallBackTime, "30"}, {CallBackAttempts, "3"},
        {AnswerCallBackTime, "20"}},
        {1, 1, 1, 1});
    s.forbidden[4] = "0800"; // position 0815
    s.callBack[0] = "5550001";
    s.callBack[5] = "5550006";
    return s;
}

// CSP off, call waiting on (forwarding not included, so the busy switch is
// not written), start-up PIN check off, limits stored but switched off.
inline ParameterStore CallWaitingOnly()
{
    using enum Slot;
    return Make({
        {GeneralPassword, "7"}, {CspNone, "1"}, {CspAllCalls, "0"}, {CspCallBack, "0"},
        {CspNumber, "11"}, {CallWaiting, "01"}, {ForwardBusy, "01"}, {PinStartUp, "00"},
        {PinCode, "1234"}, {DialTimeout, "9"}, {RestrictOutgoing, "0"}, {OutgoingLimit, "90"},
        {RestrictIncoming, "0"}, {IncomingLimit, "45"}, {CallBack, "00"}},
        {1, 1, 0, 1});
}

// CSP for all calls, forwarding included with no reason on, PIN change, and
// a date one digit short, which writes no clock.
inline ParameterStore EraseAllForwarding()
{
    using enum Slot;
    return Make({
        {CspNone, "0"}, {CspAllCalls, "1"}, {CspCallBack, "0"}, {CspNumber, "55"},
        {ForwardUnconditional, "00"}, {ForwardBusy, "00"}, {ForwardNoAnswer, "00"},
        {ForwardOffOrNotFound, "00"}, {ForwardNumber, "5550100"}, {ChangePin, "01"},
        {OldPin, "1111"}, {NewPin, "2222"}, {ConfirmPin, "2222"}, {Date, "25041"}, {Time, "0930"}},
        {1, 0, 1, 2});
}

// Unconditional forwarding to a plain number; two CSP modes set (call back
// wins); a PIN change mode whose switch is off writes no PIN entry.
inline ParameterStore PlainForward()
{
    using enum Slot;
    return Make({
        {CspNone, "0"}, {CspAllCalls, "1"}, {CspCallBack, "1"}, {CspNumber, "31"},
        {ForwardUnconditional, "01"}, {ForwardNumber, "5550100"}, {NoAnswerTime, "10"},
        {ChangePin, "00"}, {OldPin, "1111"}, {NewPin, "2222"}},
        {1, 0, 1, 2});
}

// clang-format on

inline std::vector<SampleStore> All()
{
    return {{"empty", Empty()},
            {"full", Full()},
            {"call_waiting_only", CallWaitingOnly()},
            {"erase_all_forwarding", EraseAllForwarding()},
            {"plain_forward", PlainForward()}};
}

} // namespace sample
