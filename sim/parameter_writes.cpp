// "AT+WPAR": the write transaction, the software password and the SIM PIN.
//
// Values written inside a transaction (opened by 9996 with the software
// password) are staged and become visible to "AT+RPAR" only with 9999; 9995
// ends the transaction and drops what was not saved. The password (1) and
// the PIN actions (16548..16553) act at once, as the SIM and the terminal's
// own memory do not wait for a save.

#include "sim/parameter_table.h"
#include "sim/terminal_core.h"

#include <algorithm>

namespace sim {

namespace {

constexpr std::size_t kMinPassword = 4, kMaxPassword = 12;
constexpr std::size_t kMinPin = 4, kMaxPin = 8;

bool IsPin(const std::string &text)
{
    return text.size() >= kMinPin && text.size() <= kMaxPin &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsPassword(const std::string &text)
{
    return text.size() >= kMinPassword && text.size() <= kMaxPassword &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x20; });
}

} // namespace

Reply TerminalCore::WriteParameter(std::string_view rest)
{
    const std::size_t comma = rest.find(',');
    const auto number = ParseNumber(rest.substr(0, comma));
    if (!number)
        return error();
    std::vector<Argument> values;
    if (comma != std::string_view::npos) {
        auto fields = SplitArguments(rest.substr(comma + 1));
        if (!fields)
            return error();
        values = std::move(*fields);
    }
    if (m_options.faults.refuseWrites.count(*number))
        return error();
    if (*number == reserved::kOpenTransaction)
        return OpenTransaction(values);
    if (!m_inTransaction)
        return error();

    switch (*number) {
    case reserved::kSaveTransaction:
        if (!values.empty())
            return error();
        CommitStaged();
        return ok();
    case reserved::kEndTransaction:
        if (!values.empty())
            return error();
        m_staged.clear();
        m_inTransaction = false;
        return ok();
    case reserved::kSoftwarePassword:
        return ChangePassword(values);
    case reserved::kClearCallBackList:
        if (values.size() != 1 || ToUpper(values[0].text) != "CLEAR")
            return error();
        for (int entry = reserved::kCallBackFirst; entry <= reserved::kCallBackLast; ++entry)
            m_staged[entry].clear();
        return ok();
    case reserved::kChangePin:
    case reserved::kPinLockOn:
    case reserved::kPinStartUp:
    case reserved::kPinLockOff:
    case reserved::kPinCheck:
    case reserved::kPinCheckConfirm:
        return PinAction(*number, values);
    default:
        return StageValue(*number, values);
    }
}

Reply TerminalCore::OpenTransaction(const std::vector<Argument> &values)
{
    // A new login starts a fresh transaction; a refused one closes any
    // transaction left open, so a wrong password never keeps write access.
    m_staged.clear();
    m_inTransaction = values.size() == 1 && values[0].text == m_state.password;
    return m_inTransaction ? ok() : PasswordError();
}

Reply TerminalCore::ChangePassword(const std::vector<Argument> &values)
{
    if (values.size() != 3)
        return error();
    if (values[0].text != m_state.password)
        return PasswordError();
    if (values[1].text != values[2].text || !IsPassword(values[1].text))
        return error();
    m_state.password = values[1].text;
    Persist();
    return ok();
}

Reply TerminalCore::PinAction(int number, const std::vector<Argument> &values)
{
    if (number == reserved::kChangePin) {
        if (values.size() != 2)
            return error();
        if (values[0].text != m_state.simPin)
            return PasswordError();
        if (!IsPin(values[1].text))
            return error();
        m_state.simPin = values[1].text;
        Persist();
        return ok();
    }
    if (values.size() != 1)
        return error();
    // The two follow-up lines after a PIN action confirm it with the fixed
    // code "4711", whatever the SIM's PIN is by then.
    if (number == reserved::kPinCheck || number == reserved::kPinCheckConfirm)
        return values[0].text == reserved::kPinFollowUpCode ? ok() : PasswordError();
    if (values[0].text != m_state.simPin)
        return PasswordError();
    // 16550 with the PIN switches the start-up check on like 16549; 16551
    // switches it off.
    if (number == reserved::kPinLockOn || number == reserved::kPinStartUp ||
        number == reserved::kPinLockOff) {
        m_state.pinLock = number != reserved::kPinLockOff;
        Persist();
    }
    return ok();
}

Reply TerminalCore::StageValue(int number, const std::vector<Argument> &values)
{
    const ParameterSpec *row = FindParameter(number);
    if (!row || row->access == Access::ReadOnly || values.size() != 1 ||
        !ValueFits(*row, values[0].text))
        return error();
    m_staged[number] = values[0].text;
    return ok();
}

void TerminalCore::CommitStaged()
{
    for (auto &[number, value] : m_staged)
        m_state.parameters[number] = std::move(value);
    m_staged.clear();
}

} // namespace sim
