#pragma once
// What an import's reset leaves, written out here rather than taken from
// the catalogue under test, so that a wrong default there fails a test:
// the slots kept as they were, the few with a default that is not empty;
// every other slot is emptied.

#include "params/parameter_store.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace defaults {

using params::Slot;

inline constexpr Slot kKept[] = {Slot::GeneralPassword, Slot::CspNone,     Slot::CspAllCalls,
                                 Slot::CspCallBack,     Slot::AutoLockPin, Slot::RandomPinLength,
                                 Slot::TerminalPin,     Slot::RandomPin,   Slot::FixedPin,
                                 Slot::UseRandomPin,    Slot::BindSim,     Slot::BoundSimSerial,
                                 Slot::CallBack};

inline constexpr std::pair<Slot, const char *> kNotEmpty[] = {
    {Slot::LongDistanceBlock, "00"}, {Slot::InternationalBlock, "00"},
    {Slot::IncomingBlock, "00"},     {Slot::PrefixNumberBlock, "00"},
    {Slot::AddPrefix, "00"},         {Slot::CspNumber, "11"},
    {Slot::CallWaiting, "00"},       {Slot::ForwardUnconditional, "00"},
    {Slot::ForwardBusy, "00"},       {Slot::ForwardNoAnswer, "00"},
    {Slot::NoAnswerTime, "10"},      {Slot::ForwardOffOrNotFound, "00"},
    {Slot::RestrictedId, "00"},      {Slot::PinStartUp, "00"},
    {Slot::ChangePin, "00"}};

// The store as an import leaves it before it applies the file: kept slots
// and the four integers as they were, every other slot at its default, both
// lists empty.
inline ParameterStore AfterReset(const ParameterStore &before)
{
    ParameterStore store = before;
    for (size_t slot = 0; slot < params::kSlotCount; ++slot) {
        if (std::find(std::begin(kKept), std::end(kKept), Slot(slot)) == std::end(kKept))
            store[Slot(slot)] = "";
    }
    for (const auto &[slot, text] : kNotEmpty)
        store[slot] = text;
    store.forbidden.fill({});
    store.callBack.fill({});
    return store;
}

} // namespace defaults
