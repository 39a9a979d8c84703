#pragma once
// Asking the user on the terminal for a secret, without echo.

#include <string>

namespace platform {

// Whether standard input is a terminal, where a user can be asked.
bool StdinIsTerminal();

// Shows `prompt` on standard error and reads one line from the terminal on
// standard input with the echo off (the Enter still moves to a new line), at
// most 1024 bytes of it. The echo comes back however the read ends; a signal
// that ends the program meanwhile still ends it, after the echo is back.
// "" when the input ends first.
std::string ReadHiddenLine(const std::string &prompt);

} // namespace platform
