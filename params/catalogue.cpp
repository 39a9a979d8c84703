#include "params/catalogue.h"

#include "params/text_value.h"

#include <array>
#include <stdexcept>

namespace params {

namespace {

constexpr std::array<int, kPageCount> kPageTemplates = {193, 133, 186, 187, 188, 189,
                                                        137, 191, 192, 184, 185};

constexpr int Tpl(Page page)
{
    return kPageTemplates[size_t(page)];
}
constexpr int kPasswordsTpl = Tpl(Page::Passwords), kForbidsTpl = Tpl(Page::Forbids),
              kPrefixTpl = Tpl(Page::Prefix), kCspTpl = Tpl(Page::Csp),
              kForwardTpl = Tpl(Page::Forward), kRestrictedIdTpl = Tpl(Page::RestrictedId),
              kSecurityTpl = Tpl(Page::SecurityCode), kPolarityTpl = Tpl(Page::Polarity),
              kTimesTpl = Tpl(Page::Times), kVolumeTpl = Tpl(Page::Volume),
              kCallBackTpl = Tpl(Page::CallBack);

constexpr ValueForm Flag2()
{
    return {ValueKind::Flag2, 2, 2};
}
constexpr ValueForm Flag1()
{
    return {ValueKind::Flag1, 1, 1};
}
constexpr ValueForm Digits(uint16_t minLength, uint16_t maxLength, int minValue = 0,
                           int maxValue = 0)
{
    return {ValueKind::Digits, minLength, maxLength, minValue, maxValue};
}
constexpr ValueForm Text(uint16_t minLength, uint16_t maxLength)
{
    return {ValueKind::Text, minLength, maxLength};
}
constexpr ValueForm AsRead(uint16_t maxLength = 0)
{
    return {ValueKind::AsRead, 0, maxLength};
}

constexpr lang::Tr3 kUnnamed{nullptr, nullptr, nullptr};
constexpr lang::Tr3 kCspName{"Enable CSP for Call Back", "Habilitar CSP para call back",
                             "Habilitar CSP para call back"};
constexpr lang::Tr3 kAddPrefixName{"Enable Add Prefix", "Habilitar adicionar prefixo",
                                   "Habilitar prefijo"};
constexpr lang::Tr3 kUnknownParameter{"Parameter = %u", "Parâmetro = %u", "Parámetro = %u"};
constexpr lang::Tr3 kResetCallBackListName{
    "Reset Call Back Number List", "Limpar lista de call back", "Borrar lista del call back"};

constexpr const char *kKept = nullptr;
constexpr Slot kNoGate = Slot::Count;

using enum Slot;
using enum WriteRule;

// Declared order of the store; numbers, pages and names as the terminal's
// documentation and the result reports know them.
// clang-format off
constexpr std::array<SlotInfo, kSlotCount> kSlots = {{
    {GeneralPassword, 32, 0, kPasswordsTpl,
     {"General Password:", "Senha geral:", "General contraseña:"}, Text(1, 6), kKept, Always,
     kNoGate, false},
    {LongDistanceBlock, 5, 0, kForbidsTpl,
     {"Enable Long Distance Call Block", "Habilitar bloqueio DDD", "Habilitar el bloqueo de LDN"},
     Flag2(), "00", Always, kNoGate, false},
    {InternationalBlock, 35, 0, kForbidsTpl,
     {"Enable International Call Block", "Habilitar bloqueio DDI", "Habilitar el bloqueo de LDI"},
     Flag2(), "00", Always, kNoGate, false},
    {IncomingBlock, 5000, 0, kForbidsTpl,
     {"Enable Incoming Call Block", "Habilitar bloqueio de ligações entrantes",
      "Habilitar el bloqueo de llamadas entrantes"},
     Flag2(), "00", Always, kNoGate, false},
    {PrefixNumberBlock, 3000, 0, kForbidsTpl,
     {"Enable Prefixes and Numbers Block", "Habilitar bloqueio de prefixos e números",
      "Habilitar el bloqueo de Prefijos y números"},
     Flag2(), "00", Always, kNoGate, false},
    {AddPrefix, 1001, 33, kPrefixTpl, kAddPrefixName, Flag2(), "00", Always, kNoGate, false},
    {PreNumbers, 34, 0, kPrefixTpl, {"Pre Number", "Pré-número:", "Pre-número:"},
     Digits(0, 10), "", WhenGateOn, AddPrefix, false},
    {Prefix, 1000, 0, kPrefixTpl, {"Prefix", "Prefixo:", "Prefijo:"}, Digits(0, 16), "",
     WhenGateOn, AddPrefix, false},
    {CspNone, 16541, 0, kCspTpl, kCspName, Flag1(), kKept, CspMode, kNoGate, false},
    {CspAllCalls, 16541, 0, kCspTpl, kCspName, Flag1(), kKept, CspMode, kNoGate, false},
    {CspCallBack, 16541, 0, kCspTpl, kCspName, Flag1(), kKept, CspMode, kNoGate, false},
    {CspNumber, 16542, 0, kCspTpl, {"CSP Number", "CSP:", "CSP:"}, Digits(2, 2, 11, 99), "11",
     WhenGateNotOne, CspNone, false},
    {CallWaiting, 0, 0, kForwardTpl, kUnnamed, Flag2(), "00", InsideAtCommand, kNoGate, false},
    {ForwardUnconditional, 0, 0, kForwardTpl, kUnnamed, Flag2(), "00", InsideAtCommand, kNoGate,
     false},
    {ForwardBusy, 0, 0, kForwardTpl, kUnnamed, Flag2(), "00", InsideAtCommand, kNoGate, false},
    {ForwardNoAnswer, 0, 0, kForwardTpl, kUnnamed, Flag2(), "00", InsideAtCommand, kNoGate,
     false},
    // One of "05", "10", ... "30" seconds.
    {NoAnswerTime, 0, 0, kForwardTpl, kUnnamed, Digits(2, 2, 5, 30), "10", InsideAtCommand,
     kNoGate, false},
    {ForwardOffOrNotFound, 0, 0, kForwardTpl, kUnnamed, Flag2(), "00", InsideAtCommand, kNoGate,
     false},
    {ForwardNumber, 0, 0, kForwardTpl, kUnnamed, {ValueKind::PhoneNumber, 1, 20}, "",
     InsideAtCommand, kNoGate, false},
    {RestrictedId, 16546, 0, kRestrictedIdTpl,
     {"Enable Restricted ID", "Habilitar ocultar ID", "Habilitar ocultar ID"}, Flag1(), "00",
     Always, kNoGate, false},
    // A flag text when read from the terminal, the PIN when written.
    {PinStartUp, kPinStartUpNumber, 0, kSecurityTpl, kUnnamed, Flag2(), "00", InsidePinEntries,
     kNoGate, false},
    {PinCode, 0, 0, kSecurityTpl, kUnnamed, Digits(4, 8), "", InsidePinEntries, kNoGate, false},
    {ChangePin, 16207, 0, kSecurityTpl, kUnnamed, Flag2(), "00", Always, kNoGate, false},
    {OldPin, 0, 0, kSecurityTpl, kUnnamed, Digits(4, 8), "", InsidePinEntries, kNoGate, false},
    {NewPin, 0, 0, kSecurityTpl, kUnnamed, Digits(4, 8), "", InsidePinEntries, kNoGate, false},
    {ConfirmPin, 0, 0, kSecurityTpl, kUnnamed, Digits(4, 8), "", Never, kNoGate, false},
    {AutoLockPin, 6000, 0, kSecurityTpl,
     {"Auto-lock PIN Code:", "Solicitar PIN na iniciação:", "Habilitar PIN en la iniciación:"},
     AsRead(), kKept, Never, kNoGate, false},
    {RandomPinLength, 6001, 0, kSecurityTpl,
     {"random PIN length", "random PIN length", "random PIN length"}, AsRead(), kKept, Never,
     kNoGate, false},
    {TerminalPin, 6002, 0, kSecurityTpl, {"PIN Code:", "PIN:", "PIN:"}, AsRead(), kKept, Never,
     kNoGate, false},
    {RandomPin, 6003, 0, kSecurityTpl, {"random PIN", "random PIN", "random PIN"}, AsRead(),
     kKept, Never, kNoGate, false},
    {FixedPin, 6004, 0, kSecurityTpl, {"fixed PIN code", "fixed PIN code", "fixed PIN code"},
     AsRead(), kKept, Never, kNoGate, false},
    {UseRandomPin, 6005, 0, kSecurityTpl,
     {"use random PIN code", "use random PIN code", "use random PIN code"}, AsRead(), kKept,
     Never, kNoGate, false},
    {BindSim, 7000, 0, kSecurityTpl,
     {"bind SIM card with phone", "bind SIM card with phone", "bind SIM card with phone"},
     AsRead(), kKept, Never, kNoGate, false},
    {BoundSimSerial, 7001, 0, kSecurityTpl,
     {"bound SIM card serial NO.", "bound SIM card serial NO.", "bound SIM card serial NO."},
     AsRead(19), kKept, Never, kNoGate, true},
    {PolarityInversion, 16001, 0, kPolarityTpl,
     {"Enable Polarity Inversion", "Habilitar inversão de polaridade",
      "Habilitar inversión de polaridad"},
     Flag2(), "", Always, kNoGate, false},
    {DialTimeout, 2, 0, kTimesTpl, {"Timeout", "Tempo:", "Tiempo:"}, Digits(1, 1, 1, 9), "",
     WhenNotEmptyMod10, kNoGate, false},
    {Date, 0, 0, kTimesTpl, kUnnamed, Digits(6, 6), "", InsideAtCommand, kNoGate, false},
    {Time, 0, 0, kTimesTpl, kUnnamed, Digits(4, 4), "", InsideAtCommand, kNoGate, false},
    {TimeZone, 0, 0, 0, kUnnamed, Text(3, 3), "", InsideAtCommand, kNoGate, false},
    {RestrictOutgoing, 16208, 0, kTimesTpl,
     {"Restrict Outgoing Time:", "Tempo máximo da ligação originada",
      "Tiempo máximo de la llamada originada"},
     Flag1(), "", AlwaysAsFlag1, kNoGate, false},
    {OutgoingLimit, 16209, 0, kTimesTpl,
     {"The Outgoing Time must be between 1 and 180 seconds!",
      "O tempo máximo da ligação originada deve ser entre 1 e 180 segundos!",
      "El tiempo máximo de la llamada originada debe ser entre 1 y 180 minutos!"},
     Digits(1, 3, 1, 180), "", WhenGateOn, RestrictOutgoing, false},
    {RestrictIncoming, 16515, 0, kTimesTpl,
     {"Restrict Incoming Time:", "Tempo máximo da ligação recebida",
      "Tiempo máximo de la llamada recibida"},
     Flag1(), "", AlwaysAsFlag1, kNoGate, false},
    {IncomingLimit, 16516, 0, kTimesTpl,
     {"The Icoming Time must be between 1 and 180 seconds!",
      "O tempo máximo da ligação recebida deve ser entre 1 e 180 segundos!",
      "El tiempo máximo de la llamada recibida debe ser entre 1 y 180 minutos!"},
     Digits(1, 3, 1, 180), "", WhenGateOn, RestrictIncoming, false},
    {FlashTime, 16210, 0, kTimesTpl, {"Change Flash Time", "Tempo de flash", "Tiempo de flash"},
     Digits(2, 4, 80, 2000), "", WhenNotEmpty, kNoGate, false},
    {TxVolume, 16544, 0, kVolumeTpl,
     {"Change TX Volume", "Volume de transmissão", "Transmisión"}, Digits(2, 2, 0, 15), "",
     WhenNotEmpty, kNoGate, false},
    {RxVolume, 16543, 0, kVolumeTpl, {"Change RX Volume", "Volume de recepção", "Recepción"},
     Digits(1, 1, 0, 7), "", WhenNotEmpty, kNoGate, false},
    {CallBack, 16517, 0, kCallBackTpl,
     {"Enable Call Back", "Habilitar call back", "Habilitar call back"}, Flag2(), kKept, Always,
     kNoGate, false},
    {CallBackTime, 16539, 0, kCallBackTpl,
     {"Call Back Time", "Tempo de call back", "Tiempo de call back"}, Digits(1, 2, 1, 99), "",
     WhenNotEmpty, kNoGate, false},
    {CallBackAttempts, 16540, 0, kCallBackTpl,
     {"Call Back Num Count", "Número de tentativas do call back",
      "Número de intentos del call back"},
     Digits(1, 2, 1, 10), "", WhenNotEmpty, kNoGate, false},
    {AnswerCallBackTime, 16545, 0, kCallBackTpl,
     {"Time to Answer Call Back", "Tempo de atendimento do call back",
      "Tiempo de contestación del call back"},
     Digits(1, 2, 1, 99), "", WhenNotEmpty, kNoGate, false},
    {NumberHeaderSwitch, 16512, 0, kCallBackTpl,
     {"Enable Call Back Number Header", "Enable Call Back Number Header-1807",
      "Enable Call Back Number Header-1807"},
     AsRead(), "", Never, kNoGate, false},
    {NumberHeader, 16513, 0, kCallBackTpl, {"Header-1808", "Header-1808", "Header-1808"},
     AsRead(), "", Never, kNoGate, false},
}};
// clang-format on

constexpr bool SlotsInDeclaredOrder()
{
    for (size_t i = 0; i < kSlots.size(); ++i) {
        if (size_t(kSlots[i].slot) != i)
            return false;
    }
    return true;
}
static_assert(SlotsInDeclaredOrder(), "the slot table must follow the Slot enum");

// clang-format off
constexpr std::array<AtSetting, size_t(AtKey::Count)> kAtSettings = {{
    {"AT+CCWA", "AT+CCWA", "=1,2",
     {"Call Waiting 0495", "Habilitar chamada em espera 0495", "Habilitar llamada em espera,0495"},
     CallWaiting},
    {"AT+CCFC0", "AT+CCFC", "=0,2",
     {"Forward Unconditional 0496", "Habilitar desvio sempre 0496",
      "Habilitar desvío siempre 0496"},
     ForwardUnconditional},
    {"AT+CCFC1", "AT+CCFC", "=1,2",
     {"Forward When Busy 0497", "Habilitar desvio se ocupado 0497",
      "Habilitar desvío si ocupado 0497"},
     ForwardBusy},
    {"AT+CCFC2", "AT+CCFC", "=2,2",
     {"Forward When No Answer 0498", "Habilitar desvio se não atende 0498",
      "Habilitar desvío si no contesta 0498"},
     ForwardNoAnswer},
    {"AT+CCFC3", "AT+CCFC", "=3,2",
     {"Forward When Turned Off or Not Found 0499", "Habilitar desvio se desligado 0499",
      "Habilitar desvío si apagado 0499"},
     ForwardOffOrNotFound},
    // Erases every kind of forwarding; written, never queried.
    {"AT+CCFC4", "AT+CCFC", nullptr,
     {"Forward all calls", "Habilitar desvio sempre", "Habilitar desvío siempre"},
     ForwardUnconditional},
    {"AT+CCLK", "AT+CCLK", "?",
     {"Change Date and Time 0801&0802", "Alterar data e hora 0801&0802",
      "Ajustar la fecha y hora 0801&0802"},
     Date},
}};
// clang-format on

} // namespace

// clang-format off
const ListInfo kForbiddenList{3001,
                              kForbiddenEntries,
                              kForbidsTpl,
                              {"Please input a number in the position %04d",
                               "Por favor, insira um número na posição %04d",
                               "Por favor introduzca un número en la posición %04d"},
                              811,
                              Digits(0, 20),
                              WhenGateOn,
                              PrefixNumberBlock};

const ListInfo kCallBackList{16212,
                             kCallBackEntries,
                             kCallBackTpl,
                             {"Please input a number in the position:%04d",
                              "Por favor, insira um número na posição:%04d",
                              "Por favor introduzca un número en la posición:%04d"},
                             1507,
                             Digits(0, 20),
                             WhenNotEmpty,
                             kNoGate};
// clang-format on

int PageTemplate(Page page)
{
    return kPageTemplates.at(size_t(page));
}

std::span<const SlotInfo> AllSlots()
{
    return kSlots;
}

const SlotInfo &InfoOf(Slot slot)
{
    return kSlots.at(size_t(slot));
}

const char *FlagText(Slot slot, bool on)
{
    if (InfoOf(slot).form.kind == ValueKind::Flag1)
        return on ? "1" : "0";
    return on ? "01" : "00";
}

std::span<const AtSetting> AllAtSettings()
{
    return kAtSettings;
}

const AtSetting &AtSettingOf(AtKey key)
{
    return kAtSettings.at(size_t(key));
}

const AtSetting &ForwardSettingOf(int reason)
{
    if (reason < 0 || reason > 4)
        throw std::out_of_range("forwarding reason");
    return kAtSettings[size_t(AtKey::ForwardUnconditional) + size_t(reason)];
}

const AtSetting *FindAtSetting(std::string_view key)
{
    for (const AtSetting &setting : kAtSettings) {
        if (text::EqualsNoCase(key, setting.key))
            return &setting;
    }
    return nullptr;
}

const AtSetting *FindAtSettingInLine(std::string_view line)
{
    for (const AtSetting &setting : kAtSettings) {
        // A forwarding key's reason digit follows the "=" on the line.
        std::string pattern = setting.command;
        const std::string_view key = setting.key;
        if (key.size() > pattern.size())
            pattern += "=" + std::string(key.substr(pattern.size()));
        if (line.find(pattern) != std::string_view::npos)
            return &setting;
    }
    return nullptr;
}

ParameterNaming NameParameter(unsigned number, int languageCode)
{
    for (const SlotInfo &info : kSlots) {
        if (number && info.name.en && (info.number == number || info.alsoNumber == number))
            return {info.name.TextIn(languageCode), info.pageTemplate};
    }
    for (const ListInfo *list : {&kForbiddenList, &kCallBackList}) {
        if (list->Contains(number)) {
            const unsigned position = list->firstPosition + (number - list->firstNumber);
            return {list->name.TextIn(languageCode, {position}), list->pageTemplate};
        }
    }
    if (number == kResetCallBackListNumber)
        return {kResetCallBackListName.TextIn(languageCode), kCallBackTpl};
    return {kUnknownParameter.TextIn(languageCode, {number}), 0};
}

} // namespace params
