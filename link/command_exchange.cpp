#include "link/command_exchange.h"

#include "link/reply.h"
#include "platform/text_util.h"

using Verdict = CommandExchange::Verdict;

void CommandExchange::Sent(std::string_view command)
{
    m_command.assign(command);
    m_informationPrefix.clear();
    if (text::StartsWithNoCase(command, "AT+"))
        m_informationPrefix.assign(command.substr(2, command.find_first_of("=?") - 2));
    m_inFlight = true;
    m_echoSeen = false;
}

Verdict CommandExchange::Take(std::string_view line)
{
    const bool final = IsFinalReply(line);
    if (!m_inFlight)
        return final ? Verdict::Stray : Verdict::Unrelated;
    // Noise that came before the echo stays in front of it on its line.
    if (!m_echoSeen && text::EndsWithNoCase(line, m_command)) {
        m_echoSeen = true;
        m_echo = EchoMode::Echoes;
        return Verdict::Echo;
    }
    const bool answering = m_echoSeen || m_echo != EchoMode::Echoes;
    if (final) {
        if (!answering)
            return Verdict::Stray;
        if (!m_echoSeen)
            m_echo = EchoMode::Silent;
        m_inFlight = false;
        return Verdict::Final;
    }
    if (answering && !m_informationPrefix.empty() &&
        text::StartsWithNoCase(line, m_informationPrefix))
        return Verdict::Information;
    return Verdict::Unrelated;
}
