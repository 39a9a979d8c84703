#pragma once
// The terminal's command interpreter: takes one command line (without its
// CR) and gives the information lines and the final result to answer.
// It knows nothing of ports or threads; TerminalSimulator puts it on a pty.

#include "sim/at_text.h"
#include "sim/sim_options.h"
#include "sim/terminal_state.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct Reply
{
    std::vector<std::string> lines; // information lines, e.g. "+RPAR: 01"
    std::string final;              // "OK", "ERROR" or "+CME ERROR: n"
};

class TerminalCore
{
public:
    explicit TerminalCore(SimOptions options);

    // Reads the state file of the options when it exists. false (with the
    // reason) when it exists but cannot be read or understood.
    bool LoadStateFile(std::string &error);

    Reply Execute(std::string_view line);

    bool Echo() const { return m_echo; }
    bool InTransaction() const { return m_inTransaction; }
    const TerminalState &State() const { return m_state; }
    // The last failure to write the state file, "" when the last write worked.
    const std::string &SaveError() const { return m_saveError; }

    // Live state as "AT+RPAR" shows it (an empty list entry is ""), nullopt
    // for numbers the terminal cannot read.
    std::optional<std::string> Value(int number) const;
    // Sets a committed value directly, bypassing the write checks. false for
    // an unknown number or a text with a line end in it.
    bool SetValue(int number, const std::string &text);

    // The error answer as configured: "ERROR" or "+CME ERROR: n".
    Reply error() const;

    const Faults &CurrentFaults() const { return m_options.faults; }
    void SetFaults(Faults faults) { m_options.faults = std::move(faults); }

private:
    using Handler = Reply (TerminalCore::*)(std::string_view rest);
    struct Command
    {
        std::string_view name;
        Handler handler;
    };
    static const std::vector<Command> &Commands();

    // Basic commands (terminal_core.cpp).
    Reply Attention(std::string_view rest);
    Reply EchoSwitch(std::string_view rest);
    Reply StoreProfile(std::string_view rest);
    Reply ReadParameter(std::string_view rest);

    // Parameter writes and the transaction (parameter_writes.cpp).
    Reply WriteParameter(std::string_view rest);
    Reply OpenTransaction(const std::vector<Argument> &values);
    Reply ChangePassword(const std::vector<Argument> &values);
    Reply PinAction(int number, const std::vector<Argument> &values);
    Reply StageValue(int number, const std::vector<Argument> &values);
    void CommitStaged();

    // Supplementary services (supplementary.cpp).
    Reply CallWaiting(std::string_view rest);
    Reply CallForwarding(std::string_view rest);
    Reply ForwardingQuery(int reason) const;
    Reply clock(std::string_view rest);

    Reply ok() const { return {{}, "OK"}; }
    Reply ok(std::string line) const { return {{std::move(line)}, "OK"}; }
    Reply PasswordError() const;
    HostTime now() const;
    // Writes the state file (when there is one) with the parameters saved by
    // the last "AT&W" and everything else as it is now.
    bool Persist();

    SimOptions m_options;
    TerminalState m_state;
    std::map<int, std::string> m_savedParameters; // as of the last "AT&W"
    std::map<int, std::string> m_staged;          // written, waiting for 9999
    bool m_inTransaction = false;
    bool m_echo = true;
    int m_waitingPresentation = 0;
    std::string m_saveError;
};

} // namespace sim
