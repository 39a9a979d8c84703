#include "params/parameter_store.h"

#include "params/text_value.h"

using namespace params;

bool ParameterStore::IsOn(Slot slot) const
{
    return params::IsOn((*this)[slot]);
}

void ParameterStore::ResetToDefaults()
{
    for (const SlotInfo &info : AllSlots()) {
        if (info.defaultText)
            (*this)[info.slot] = info.defaultText;
    }
    forbidden.fill({});
    callBack.fill({});
}
