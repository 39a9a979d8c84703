#pragma once
// The default of every slot, written out from the parameter table rather
// than taken from the catalogue under test, so that a wrong default there
// fails a test.

#include "params/parameter_store.h"

namespace defaults {

using params::Slot;

// An import leaves these slots as they were.
inline constexpr const char *kKept = nullptr;

struct SlotDefault
{
    Slot slot;
    const char *text;
};

// clang-format off
inline constexpr SlotDefault kSlotDefaults[] = {
    {Slot::GeneralPassword, kKept},
    {Slot::LongDistanceBlock, "00"},   {Slot::InternationalBlock, "00"},
    {Slot::IncomingBlock, "00"},       {Slot::PrefixNumberBlock, "00"},
    {Slot::AddPrefix, "00"},           {Slot::PreNumbers, ""},
    {Slot::Prefix, ""},
    {Slot::CspNone, kKept},            {Slot::CspAllCalls, kKept},
    {Slot::CspCallBack, kKept},        {Slot::CspNumber, "11"},
    {Slot::CallWaiting, "00"},         {Slot::ForwardUnconditional, "00"},
    {Slot::ForwardBusy, "00"},         {Slot::ForwardNoAnswer, "00"},
    {Slot::NoAnswerTime, "10"},        {Slot::ForwardOffOrNotFound, "00"},
    {Slot::ForwardNumber, ""},
    {Slot::RestrictedId, "00"},
    {Slot::PinStartUp, "00"},          {Slot::PinCode, ""},
    {Slot::ChangePin, "00"},           {Slot::OldPin, ""},
    {Slot::NewPin, ""},                {Slot::ConfirmPin, ""},
    {Slot::AutoLockPin, kKept},        {Slot::RandomPinLength, kKept},
    {Slot::TerminalPin, kKept},        {Slot::RandomPin, kKept},
    {Slot::FixedPin, kKept},           {Slot::UseRandomPin, kKept},
    {Slot::BindSim, kKept},            {Slot::BoundSimSerial, kKept},
    {Slot::PolarityInversion, ""},
    {Slot::DialTimeout, ""},           {Slot::Date, ""},
    {Slot::Time, ""},                  {Slot::TimeZone, ""},
    {Slot::RestrictOutgoing, ""},      {Slot::OutgoingLimit, ""},
    {Slot::RestrictIncoming, ""},      {Slot::IncomingLimit, ""},
    {Slot::FlashTime, ""},
    {Slot::TxVolume, ""},              {Slot::RxVolume, ""},
    {Slot::CallBack, kKept},           {Slot::CallBackTime, ""},
    {Slot::CallBackAttempts, ""},      {Slot::AnswerCallBackTime, ""},
    {Slot::NumberHeaderSwitch, ""},    {Slot::NumberHeader, ""},
};
// clang-format on

// The store as an import leaves it before it applies the file: kept slots
// and the four integers as they were, every other slot at its default, both
// lists empty.
inline ParameterStore AfterReset(const ParameterStore &before)
{
    ParameterStore store = before;
    for (const SlotDefault &entry : kSlotDefaults) {
        if (entry.text != kKept)
            store[entry.slot] = entry.text;
    }
    store.forbidden.fill({});
    store.callBack.fill({});
    return store;
}

} // namespace defaults
