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

inline void PrintTo(const SampleStore &sample, std::ostream *os)
{
    *os << sample.name;
}

// The texts that are set, so that a failing comparison shows the difference.
inline void PrintTo(const ParameterStore &store, std::ostream *os)
{
    const auto print = [os](const char *what, size_t i, const std::string &text) {
        if (!text.empty())
            *os << "\n  " << what << " " << i << " = \"" << text << '"';
    };
    for (size_t i = 0; i < store.slots.size(); ++i)
        print("slot", i, store.slots[i]);
    for (size_t i = 0; i < store.forbidden.size(); ++i)
        print("forbidden", i, store.forbidden[i]);
    for (size_t i = 0; i < store.callBack.size(); ++i)
        print("call back", i, store.callBack[i]);
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
    ParameterStore s = Make({{Slot::GeneralPassword, "123456"},
                             {Slot::LongDistanceBlock, "01"},
                             {Slot::InternationalBlock, "00"},
                             {Slot::IncomingBlock, "01"},
                             {Slot::PrefixNumberBlock, "01"},
                             {Slot::AddPrefix, "01"},
                             {Slot::PreNumbers, "123"},
                             {Slot::Prefix, "0021"},
                             {Slot::CspNone, "0"},
                             {Slot::CspAllCalls, "0"},
                             {Slot::CspCallBack, "1"},
                             {Slot::CspNumber, "21"},
                             {Slot::RestrictedId, "1"},
                             {Slot::CallWaiting, "00"},
                             {Slot::ForwardUnconditional, "00"},
                             {Slot::ForwardBusy, "01"},
                             {Slot::ForwardNoAnswer, "01"},
                             {Slot::NoAnswerTime, "20"},
                             {Slot::ForwardOffOrNotFound, "00"},
                             {Slot::ForwardNumber, "+5511999"},
                             {Slot::ChangePin, "00"},
                             {Slot::PinStartUp, "01"},
                             {Slot::PinCode, "4711"},
                             {Slot::PolarityInversion, "01"},
                             {Slot::DialTimeout, "15"},
                             {Slot::Date, "250411"},
                             {Slot::Time, "0930"},
                             {Slot::RestrictOutgoing, "1"},
                             {Slot::OutgoingLimit, "60"},
                             {Slot::FlashTime, "300"},
                             {Slot::RestrictIncoming, "01"},
                             {Slot::IncomingLimit, "30"},
                             {Slot::RxVolume, "5"},
                             {Slot::TxVolume, "08"},
                             {Slot::CallBack, "01"},
                             {Slot::CallBackTime, "30"},
                             {Slot::CallBackAttempts, "3"},
                             {Slot::AnswerCallBackTime, "20"}},
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
    return Make({{Slot::GeneralPassword, "7"},
                 {Slot::CspNone, "1"},
                 {Slot::CspAllCalls, "0"},
                 {Slot::CspCallBack, "0"},
                 {Slot::CspNumber, "11"},
                 {Slot::CallWaiting, "01"},
                 {Slot::ForwardBusy, "01"},
                 {Slot::PinStartUp, "00"},
                 {Slot::PinCode, "1234"},
                 {Slot::DialTimeout, "9"},
                 {Slot::RestrictOutgoing, "0"},
                 {Slot::OutgoingLimit, "90"},
                 {Slot::RestrictIncoming, "0"},
                 {Slot::IncomingLimit, "45"},
                 {Slot::CallBack, "00"}},
                {1, 1, 0, 1});
}

// CSP for all calls, forwarding included with no reason on, PIN change, and
// a date one digit short, which writes no clock.
inline ParameterStore EraseAllForwarding()
{
    return Make({{Slot::CspNone, "0"},
                 {Slot::CspAllCalls, "1"},
                 {Slot::CspCallBack, "0"},
                 {Slot::CspNumber, "55"},
                 {Slot::ForwardUnconditional, "00"},
                 {Slot::ForwardBusy, "00"},
                 {Slot::ForwardNoAnswer, "00"},
                 {Slot::ForwardOffOrNotFound, "00"},
                 {Slot::ForwardNumber, "5550100"},
                 {Slot::ChangePin, "01"},
                 {Slot::OldPin, "1111"},
                 {Slot::NewPin, "2222"},
                 {Slot::ConfirmPin, "2222"},
                 {Slot::Date, "25041"},
                 {Slot::Time, "0930"}},
                {1, 0, 1, 2});
}

// Unconditional forwarding to a plain number; two CSP modes set (call back
// wins); a PIN change mode whose switch is off writes no PIN entry.
inline ParameterStore PlainForward()
{
    return Make({{Slot::CspNone, "0"},
                 {Slot::CspAllCalls, "1"},
                 {Slot::CspCallBack, "1"},
                 {Slot::CspNumber, "31"},
                 {Slot::ForwardUnconditional, "01"},
                 {Slot::ForwardNumber, "5550100"},
                 {Slot::NoAnswerTime, "10"},
                 {Slot::ChangePin, "00"},
                 {Slot::OldPin, "1111"},
                 {Slot::NewPin, "2222"}},
                {1, 0, 1, 2});
}

inline std::vector<SampleStore> All()
{
    return {{"empty", Empty()},
            {"full", Full()},
            {"call_waiting_only", CallWaitingOnly()},
            {"erase_all_forwarding", EraseAllForwarding()},
            {"plain_forward", PlainForward()}};
}

} // namespace sample
