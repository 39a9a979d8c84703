#include "engine/parameter_names.h"

#include "params/language.h"

#include <array>
#include <cstdio>

namespace {

struct NameRow
{
    uint16_t first;
    uint16_t last; // 0 when the row names one number
    uint32_t page;
    lang::Tr3 name;
};

// Rows are scanned from the top; the first match wins.
constexpr NameRow kParameterNames[] = {
    {32, 0, 193, {"General Password:", "Senha geral:", "General contraseña:"}},
    {5, 0, 133, {"Enable Long Distance Call Block", "Habilitar bloqueio DDD", "Habilitar el bloqueo de LDN"}},
    {35, 0, 133, {"Enable International Call Block", "Habilitar bloqueio DDI", "Habilitar el bloqueo de LDI"}},
    {3000, 0, 133, {"Enable Prefixes and Numbers Block", "Habilitar bloqueio de prefixos e números",
                    "Habilitar el bloqueo de Prefijos y números"}},
    {3001, 3020, 133, {"Please input a number in the position %04d", "Por favor, insira um número na posição %04d",
                       "Por favor introduzca un número en la posición %04d"}},
    {5000, 0, 133, {"Enable Incoming Call Block", "Habilitar bloqueio de ligações entrantes",
                    "Habilitar el bloqueo de llamadas entrantes"}},
    {1001, 0, 186, {"Enable Add Prefix", "Habilitar adicionar prefixo", "Habilitar prefijo"}},
    {33, 0, 186, {"Enable Add Prefix", "Habilitar adicionar prefixo", "Habilitar prefijo"}},
    {34, 0, 186, {"Pre Number", "Pré-número:", "Pre-número:"}},
    {1000, 0, 186, {"Prefix", "Prefixo:", "Prefijo:"}},
    {16541, 0, 187, {"Enable CSP for Call Back", "Habilitar CSP para call back", "Habilitar CSP para call back"}},
    {16542, 0, 187, {"CSP Number", "CSP:", "CSP:"}},
    {16546, 0, 189, {"Enable Restricted ID", "Habilitar ocultar ID", "Habilitar ocultar ID"}},
    {6000, 0, 137, {"Auto-lock PIN Code:", "Solicitar PIN na iniciação:", "Habilitar PIN en la iniciación:"}},
    {6001, 0, 137, {"random PIN length", "random PIN length", "random PIN length"}},
    {6002, 0, 137, {"PIN Code:", "PIN:", "PIN:"}},
    {6003, 0, 137, {"random PIN", "random PIN", "random PIN"}},
    {6004, 0, 137, {"fixed PIN code", "fixed PIN code", "fixed PIN code"}},
    {6005, 0, 137, {"use random PIN code", "use random PIN code", "use random PIN code"}},
    {7000, 0, 137, {"bind SIM card with phone", "bind SIM card with phone", "bind SIM card with phone"}},
    {7001, 0, 137, {"bound SIM card serial NO.", "bound SIM card serial NO.", "bound SIM card serial NO."}},
    {16001, 0, 191, {"Enable Polarity Inversion", "Habilitar inversão de polaridade", "Habilitar inversión de polaridad"}},
    {2, 0, 192, {"Timeout", "Tempo:", "Tiempo:"}},
    {16208, 0, 192, {"Restrict Outgoing Time:", "Tempo máximo da ligação originada",
                     "Tiempo máximo de la llamada originada"}},
    {16209, 0, 192, {"The Outgoing Time must be between 1 and 180 seconds!",
                     "O tempo máximo da ligação originada deve ser entre 1 e 180 segundos!",
                     "El tiempo máximo de la llamada originada debe ser entre 1 y 180 minutos!"}},
    {16210, 0, 192, {"Change Flash Time", "Tempo de flash", "Tiempo de flash"}},
    {16515, 0, 192, {"Restrict Incoming Time:", "Tempo máximo da ligação recebida",
                     "Tiempo máximo de la llamada recibida"}},
    {16516, 0, 192, {"The Icoming Time must be between 1 and 180 seconds!",
                     "O tempo máximo da ligação recebida deve ser entre 1 e 180 segundos!",
                     "El tiempo máximo de la llamada recibida debe ser entre 1 y 180 minutos!"}},
    {16543, 0, 184, {"Change RX Volume", "Volume de recepção", "Recepción"}},
    {16544, 0, 184, {"Change TX Volume", "Volume de transmissão", "Transmisión"}},
    {16547, 0, 185, {"Reset Call Back Number List", "Limpar lista de call back", "Borrar lista del call back"}},
    {16212, 16511, 185, {"Please input a number in the position:%04d", "Por favor, insira um número na posição:%04d",
                         "Por favor introduzca un número en la posición:%04d"}},
    {16517, 0, 185, {"Enable Call Back", "Habilitar call back", "Habilitar call back"}},
    {16512, 0, 185, {"Enable Call Back Number Header", "Enable Call Back Number Header-1807",
                     "Enable Call Back Number Header-1807"}},
    {16513, 0, 185, {"Header-1808", "Header-1808", "Header-1808"}},
    {16539, 0, 185, {"Call Back Time", "Tempo de call back", "Tiempo de call back"}},
    {16540, 0, 185, {"Call Back Num Count", "Número de tentativas do call back", "Número de intentos del call back"}},
    {16545, 0, 185, {"Time to Answer Call Back", "Tempo de atendimento do call back",
                     "Tiempo de contestación del call back"}},
};

// Positions shown for list entries: the forbidden list counts from 0811,
// the call back list from 1507.
constexpr uint32_t kForbidsPage = 133;
constexpr int kForbidsPositionOffset = 2190;
constexpr int kCallBackPositionOffset = 14705;

constexpr lang::Tr3 kUnknownParameter = {"Parameter = %u", "Parâmetro = %u", "Parámetro = %u"};

struct AtCommandName
{
    const char *pattern;
    lang::Tr3 name;
};

constexpr AtCommandName kWrittenAtCommands[] = {
    {"AT+CCWA", {"Call Waiting 0495", "Habilitar chamada em espera 0495", "Habilitar llamada em espera,0495"}},
    {"AT+CCFC=0", {"Forward Unconditional 0496", "Habilitar desvio sempre 0496", "Habilitar desvío siempre 0496"}},
    {"AT+CCFC=1", {"Forward When Busy 0497", "Habilitar desvio se ocupado 0497", "Habilitar desvío si ocupado 0497"}},
    {"AT+CCFC=2", {"Forward When No Answer 0498", "Habilitar desvio se não atende 0498",
                   "Habilitar desvío si no contesta 0498"}},
    {"AT+CCFC=3", {"Forward When Turned Off or Not Found 0499", "Habilitar desvio se desligado 0499",
                   "Habilitar desvío si apagado 0499"}},
    {"AT+CCFC=4", {"Forward all calls", "Habilitar desvio sempre", "Habilitar desvío siempre"}},
    {"AT+CCLK", {"Change Date and Time 0801&0802", "Alterar data e hora 0801&0802",
                 "Ajustar la fecha y hora 0801&0802"}},
};

std::string Format(const char *pattern, unsigned value)
{
    if (!pattern)
        return {};
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

} // namespace

ParameterName NameParameter(uint16_t number)
{
    for (const NameRow &row : kParameterNames) {
        const bool match = row.last ? (number >= row.first && number <= row.last) : number == row.first;
        if (!match)
            continue;
        const char *name = row.name.Current();
        if (row.last) {
            const int offset = row.page == kForbidsPage ? kForbidsPositionOffset : kCallBackPositionOffset;
            return {Format(name, static_cast<unsigned>(number - offset)), row.page};
        }
        return {name ? name : "", row.page};
    }
    return {Format(kUnknownParameter.Current(), number), 0};
}

std::string NameWrittenAtCommand(const std::string &commandLine)
{
    for (const AtCommandName &entry : kWrittenAtCommands) {
        if (commandLine.find(entry.pattern) != std::string::npos) {
            const char *name = entry.name.Current();
            return name ? name : "";
        }
    }
    return commandLine.empty() ? commandLine : commandLine.substr(0, commandLine.size() - 1);
}

std::string NameReadAtCommand(uint32_t index, const std::vector<std::string> &displayNames)
{
    if (index < displayNames.size())
        return displayNames[index];
    return Format("AtcmdId = %u", index);
}
