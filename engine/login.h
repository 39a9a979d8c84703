#pragma once
// The login exchange with the terminal, shared by the login dialog and the
// command-line front end: the password check, the login line, the reading of
// the terminal's answer, and the texts the user is shown.

#include "params/language.h"
#include "platform/port_error.h"

#include <string>
#include <string_view>

namespace login {

// How long the terminal has to answer the login line, 8000 ms (tests
// shorten it at start-up).
extern int g_nLoginTimeout;

// AT+WPAR=9996,"password" followed by CR and one zero byte.
std::string LoginLine(std::string_view password);

enum class LineKind {
    Empty,    // nothing to read: "No data!"
    Accepted, // "OK"
    Refused,  // "ERROR" or "+CME ERROR: ..."
    Other,    // the echo, unsolicited reports ("+CMTI:", "+CPIN: READY") and anything else: ignored
};
LineKind Classify(std::string_view line);

// How long the terminal has to answer the bare CR before the login line.
inline constexpr int kLineClearTimeMs = 200;

// The login exchange. A bare CR goes first: it ends whatever stray bytes
// wait in the terminal's input line, which would otherwise spoil the login
// line, and what the terminal answers to it is dropped. Then the login line.
// Its error answer means a wrong password only after the line's own echo:
// without it, the terminal may have answered something else (noise that
// came in between).
class Exchange
{
public:
    enum class Outcome {
        Waiting,       // nothing decided yet
        SendLogin,     // the input line is clear: send Line() now, from OnClearTimeout;
                       // from OnLine, call OnClearTimeout once the line's handling is
                       // over (a send from inside it could wait for the port for ever)
        Accepted,      // "OK"
        Refused,       // the terminal refused the login line: a wrong password
        NotUnderstood, // an error answer that did not follow the line's echo
        NoData,        // an empty line
    };

    // Sent first, before the login line.
    static constexpr std::string_view kClearLine = "\r";

    explicit Exchange(std::string_view password);
    // The login line with its CR and zero byte (LoginLine).
    const std::string &Line() const { return m_line; }
    Outcome OnLine(std::string_view line);
    // kLineClearTimeMs have passed since the bare CR, or the answer to it
    // has come (SendLogin from OnLine).
    Outcome OnClearTimeout();

private:
    enum class Step { Clearing, Cleared, LoggingIn, Done };

    std::string m_line;
    std::string m_echo; // the line as the terminal echoes it
    Step m_step = Step::Clearing;
    bool m_echoSeen = false;
};

// The texts of the login, in the three languages.
namespace texts {
inline constexpr lang::Tr3 kSelectPort = {"Please you must select a COM Port.",
                                          "Por favor, selecione a porta COM.",
                                          "Por favor seleccione el puerto COM."};
inline constexpr lang::Tr3 kSelectBaud = {"Please you must select a Baut Rate.",
                                          "Por favor, selecione a taxa de transmissão.",
                                          "Por favor seleccione la velocidad de transmisión."};
inline constexpr lang::Tr3 kEnterPassword = {"Please input the Software Password.",
                                             "Por favor, insira a senha.",
                                             "Por favor introduzca la contraseña."};
inline constexpr lang::Tr3 kPasswordLength = {
    "Error: The Software Password must be between 4 and 12 characters!",
    "Erro: A senha deve ter entre 4 e 12 caracteres!",
    "Error: La contraseña debe tener entre 4 y 12 caracteres!"};
inline constexpr lang::Tr3 kPasswordCharacters = {
    "Error: The Software Password must not contain control characters or double quotes!",
    "Erro: A senha não pode conter caracteres de controle nem aspas duplas!",
    "Error: La contraseña no puede contener caracteres de control ni comillas dobles!"};
inline constexpr lang::Tr3 kCannotOpenPort = {"Error: Can`t open Port:  %s !",
                                              "Erro: Impossível abrir porta :  %s !",
                                              "Error: No se puede abrir puerto :  %s !"};
inline constexpr lang::Tr3 kPasswordInvalid = {
    "ERROR:Software Password invalid!", "Erro: Senha inválida!", "Error: Contraseña no válida!"};
// The terminal answered an error, but not to the login line itself.
inline constexpr lang::Tr3 kLoginNotUnderstood = {
    "Error: The terminal did not take the password line as sent (noise on the line?). Check the "
    "cable and try again!",
    "Erro: O terminal não recebeu a linha da senha como foi enviada (ruído na linha?). Verifique o "
    "cabo e tente novamente!",
    "Error: ¡El terminal no recibió la línea de la contraseña tal como se envió (¿ruido en la "
    "línea?). Compruebe el cable e inténtelo de nuevo!"};
inline constexpr lang::Tr3 kTimeout = {
    "Error: Timeout, check the COM Port!",
    "Erro: Tempo limite ultrapassado, verifique a porta COM!",
    "Error: Tiempo de espera excedido, comprobar el puerto COM!"};
inline constexpr lang::Tr3 kSwapError = {"Error:Unable to swap receive buffer!",
                                         "Erro: Impossível receber dados da memória!",
                                         "Error: No se puede recibir datos de la memoria!"};
inline constexpr lang::Tr3 kOverflow = {"Error: Receive buffer overflow!",
                                        "Erro: Capacidade da memória excedida!",
                                        "Error: La capacidad de memoria se ha superado!"};
inline constexpr const char *kNoData = "No data!";
// Why a port would not open, told after kCannotOpenPort.
inline constexpr lang::Tr3 kPortInUse = {"Error: The port %s is in use by another program!",
                                         "Erro: A porta %s está em uso por outro programa!",
                                         "Error: El puerto %s está en uso por otro programa!"};
inline constexpr lang::Tr3 kNoPortPermission = {
    "Permission denied: you may not use the serial port %s, because your user is not in the group "
    "\"dialout\".\nTo join it, run\n    sudo usermod -aG dialout $USER\nthen log out and log in "
    "again.",
    "Permissão negada: você não pode usar a porta serial %s, porque o seu usuário não está no "
    "grupo "
    "\"dialout\".\nPara entrar nele, execute\n    sudo usermod -aG dialout $USER\n"
    "e depois saia da sessão e entre novamente.",
    "Permiso denegado: no puede usar el puerto serie %s, porque su usuario no está en el grupo "
    "\"dialout\".\nPara unirse a él, ejecute\n    sudo usermod -aG dialout $USER\n"
    "y después cierre la sesión y vuelva a iniciarla."};
} // namespace texts

// The first input check that fails, in the order the user is told.
enum class InputProblem { None, NoPort, NoBaud, NoPassword, PasswordLength, PasswordCharacters };
InputProblem CheckInputs(std::string_view port, std::string_view baud, std::string_view password);
// Its message in the current language ("" for a language code without texts:
// the check still fails).
std::string ProblemText(InputProblem problem);

// What the user can do about a port that would not open for `error`:
// another program holds it, or the user lacks the permission. In the current
// language; "" for any other error.
std::string PortOpenAdvice(std::string_view port, platform::PortErrorKind error);
// kCannotOpenPort for `port`, and the advice for `error` below it.
std::string CannotOpenPortText(std::string_view port, platform::PortErrorKind error);

// The same as text.Text({argument}); kept for callers written before Text
// took values.
inline std::string FormatText(const lang::Tr3 &text, std::string_view argument)
{
    return text.Text({argument});
}

} // namespace login
