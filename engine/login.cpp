#include "engine/login.h"

#include "link/reply.h"
#include "link/shared_settings.h"
#include "link/terminal_commands.h"
#include "params/catalogue.h"
#include "params/password_rules.h"
#include "platform/text_util.h"

namespace login {

int g_nLoginTimeout = 8000;

std::string LoginLine(std::string_view password)
{
    std::string line = terminal::LoginCommand(password);
    line += '\r';
    line.push_back('\0');
    return line;
}

LineKind Classify(std::string_view line)
{
    if (line.empty())
        return LineKind::Empty;
    if (!IsFinalReply(line))
        return LineKind::Other;
    return IsErrorReply(line) ? LineKind::Refused : LineKind::Accepted;
}

Exchange::Exchange(std::string_view password) : m_line(LoginLine(password))
{
    m_echo = m_line.substr(0, m_line.find('\r'));
}

Exchange::Outcome Exchange::OnClearTimeout()
{
    if (m_step != Step::Clearing && m_step != Step::Cleared)
        return Outcome::Waiting;
    m_step = Step::LoggingIn;
    return Outcome::SendLogin;
}

Exchange::Outcome Exchange::OnLine(std::string_view line)
{
    const LineKind kind = Classify(line);
    if (kind == LineKind::Empty)
        return Outcome::NoData;
    if (m_step == Step::Clearing && (kind == LineKind::Accepted || kind == LineKind::Refused)) {
        // The answer to the bare CR: the line is clear.
        m_step = Step::Cleared;
        return Outcome::SendLogin;
    }
    if (m_step != Step::LoggingIn)
        return Outcome::Waiting;
    // Noise that came before the echo stays in front of it on its line.
    if (!m_echoSeen && text::EndsWithNoCase(line, m_echo)) {
        m_echoSeen = true;
        return Outcome::Waiting;
    }
    if (kind != LineKind::Accepted && kind != LineKind::Refused)
        return Outcome::Waiting;
    m_step = Step::Done;
    // The jobs that follow hold the terminal's answers to the same rule.
    if (m_echoSeen || kind == LineKind::Accepted)
        g_terminalEcho = m_echoSeen ? EchoMode::Echoes : EchoMode::Silent;
    if (kind == LineKind::Accepted)
        return Outcome::Accepted;
    return m_echoSeen ? Outcome::Refused : Outcome::NotUnderstood;
}

namespace {

struct OpenAdvice
{
    platform::PortErrorKind error;
    const lang::Tr3 *text;
};
constexpr OpenAdvice kOpenAdvice[] = {
    {platform::PortErrorKind::InUse, &texts::kPortInUse},
    {platform::PortErrorKind::PermissionDenied, &texts::kNoPortPermission},
};

} // namespace

InputProblem CheckInputs(std::string_view port, std::string_view baud, std::string_view password)
{
    if (port.empty())
        return InputProblem::NoPort;
    if (baud.empty())
        return InputProblem::NoBaud;
    if (password.empty())
        return InputProblem::NoPassword;
    if (params::WrongLength(password, params::kSoftwarePasswordForm))
        return InputProblem::PasswordLength;
    if (!params::IsSafePasswordText(password))
        return InputProblem::PasswordCharacters;
    return InputProblem::None;
}

std::string ProblemText(InputProblem problem)
{
    switch (problem) {
    case InputProblem::NoPort:
        return texts::kSelectPort.Text();
    case InputProblem::NoBaud:
        return texts::kSelectBaud.Text();
    case InputProblem::NoPassword:
        return texts::kEnterPassword.Text();
    case InputProblem::PasswordLength:
        return texts::kPasswordLength.Text();
    case InputProblem::PasswordCharacters:
        return texts::kPasswordCharacters.Text();
    case InputProblem::None:
        break;
    }
    return {};
}

std::string PortOpenAdvice(std::string_view port, platform::PortErrorKind error)
{
    for (const OpenAdvice &advice : kOpenAdvice) {
        if (advice.error == error)
            return advice.text->Text({port});
    }
    return {};
}

std::string CannotOpenPortText(std::string_view port, platform::PortErrorKind error)
{
    std::string text = texts::kCannotOpenPort.Text({port});
    if (const std::string advice = PortOpenAdvice(port, error); !advice.empty())
        text += "\n\n" + advice;
    return text;
}

} // namespace login
