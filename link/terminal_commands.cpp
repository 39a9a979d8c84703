#include "link/terminal_commands.h"

namespace terminal {

namespace {

constexpr std::string_view kWrite = "AT+WPAR=";

std::string Quoted(std::string_view text)
{
    std::string quoted = "\"";
    quoted.append(text);
    quoted += '"';
    return quoted;
}

} // namespace

std::string LoginCommand(std::string_view password)
{
    return WriteParameterCommand("9996", password);
}

std::string ChangePasswordCommand(std::string_view current, std::string_view next)
{
    return std::string(kWrite) + "1," + Quoted(current) + "," + Quoted(next) + "," + Quoted(next);
}

std::string ReadParameterCommand(std::string_view number)
{
    return "AT+RPAR=" + std::string(number);
}

std::string WriteParameterCommand(std::string_view number, std::string_view value)
{
    return std::string(kWrite) + std::string(number) + "," + Quoted(value);
}

} // namespace terminal
