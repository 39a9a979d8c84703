#pragma once
// Every command line the tool sends to the terminal, without its CR. The
// parameter numbers below 10000 that are no setting drive the terminal's
// write transaction.

#include <string>
#include <string_view>

namespace terminal {

// Opens a write transaction when the software password is right; the login
// sends it to check the password.
std::string LoginCommand(std::string_view password);
// Changes the software password inside a write transaction.
std::string ChangePasswordCommand(std::string_view current, std::string_view next);
// Saves the values written in the transaction.
inline constexpr std::string_view kSaveCommand = "AT+WPAR=9999";
// Ends the write transaction.
inline constexpr std::string_view kEndTransactionCommand = "AT+WPAR=9995";
// Stores the supplementary-service settings.
inline constexpr std::string_view kStoreCommand = "AT&W";

// Reads a parameter; the number as the read list spells it.
std::string ReadParameterCommand(std::string_view number);
// Writes a parameter with its value between double quotes; the number as the
// parameter file spells it.
std::string WriteParameterCommand(std::string_view number, std::string_view value);

} // namespace terminal
