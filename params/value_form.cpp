#include "params/value_form.h"

#include "params/text_value.h"

namespace params {

bool BadCharacters(std::string_view value, const ValueForm &form)
{
    if (value.empty())
        return form.minLength > 0;
    switch (form.kind) {
    case ValueKind::Digits:
        return !IsAllDigits(value);
    case ValueKind::PhoneNumber:
        return !IsAllDigits(value.starts_with('+') ? value.substr(1) : value);
    default:
        return false;
    }
}

bool TooShort(std::string_view value, const ValueForm &form)
{
    return value.size() < form.minLength;
}

bool TooLong(std::string_view value, const ValueForm &form)
{
    return form.maxLength && value.size() > form.maxLength;
}

bool WrongLength(std::string_view value, const ValueForm &form)
{
    return TooShort(value, form) || TooLong(value, form);
}

bool OutOfRange(std::string_view value, const ValueForm &form)
{
    if (form.minValue == 0 && form.maxValue == 0)
        return false;
    const unsigned number = text::LeadingNumber(value);
    return number < unsigned(form.minValue) || number > unsigned(form.maxValue);
}

} // namespace params
