#pragma once
// What a new software password may hold, for the Passwords page and
// kestrel-cli alike. A password travels between double quotes on a command
// line (AT+WPAR=1,"old","new","new"): a quote would end it early, and a
// control character (a carriage return above all) would split the line into
// commands of its own.

#include "params/catalogue.h" // kNewPasswordLength, beside the length itself
#include "params/language.h"

#include <string_view>

namespace params {

constexpr bool IsSafePasswordText(std::string_view password)
{
    for (const char c : password) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '"')
            return false;
    }
    return true;
}

// clang-format off
inline constexpr lang::Tr3 kNewPasswordCharacters{
    "Error: The New Password must not contain control characters or double quotes!",
    "Erro: A nova senha não pode conter caracteres de controle nem aspas duplas!",
    "Error: La nueva contraseña no puede contener caracteres de control ni comillas dobles!"};
// clang-format on

} // namespace params
