#include "engine/write_account.h"

#include "params/language.h"

using lang::Tr3;

namespace {

struct Noun
{
    Tr3 one;
    Tr3 many;
};
constexpr Noun kParameter = {{"parameter", "parâmetro", "parámetro"},
                             {"parameters", "parâmetros", "parámetros"}};
constexpr Noun kAtCommand = {{"AT command", "comando AT", "comando AT"},
                             {"AT commands", "comandos AT", "comandos AT"}};
constexpr Tr3 kRange = {"%d to %d", "%d a %d", "%d a %d"};
constexpr Tr3 kOfTotal = {"%s of %d", "%s de %d", "%s de %d"};

constexpr Tr3 kWrittenSaved = {"Written and saved on the terminal: %s.",
                               "Escritos e gravados no terminal: %s.",
                               "Escritos y guardados en el terminal: %s."};
constexpr Tr3 kWrittenNotSaved = {"Written but not saved on the terminal: %s.",
                                  "Escritos, mas não gravados no terminal: %s.",
                                  "Escritos pero no guardados en el terminal: %s."};
constexpr Tr3 kWrittenSaveUnknown = {"Written, but the terminal did not confirm saving them: %s.",
                                     "Escritos, mas o terminal não confirmou a gravação: %s.",
                                     "Escritos, pero el terminal no confirmó que los guardó: %s."};
constexpr Tr3 kWritten = {"Written on the terminal: %s.", "Escritos no terminal: %s.",
                          "Escritos en el terminal: %s."};
constexpr Tr3 kNothingWritten = {"Nothing was written on the terminal.",
                                 "Nada foi escrito no terminal.",
                                 "No se escribió nada en el terminal."};
constexpr Tr3 kRefused = {"Refused: %s.", "Recusado: %s.", "Rechazado: %s."};
constexpr Tr3 kUnanswered = {"Sent without an answer: %s.", "Enviado sem resposta: %s.",
                             "Enviado sin respuesta: %s."};
constexpr Tr3 kNotSent = {"Not sent: %s.", "Não enviados: %s.", "No enviados: %s."};

// "parameter 2" or "parameters 19 to 351".
std::string Entries(const Noun &noun, size_t first, size_t last)
{
    if (first == last)
        return noun.one.Text() + " " + std::to_string(first);
    return noun.many.Text() + " " + kRange.Text({first, last});
}

// The section's entries from `first` to its end, "" when none are left.
std::string Rest(const Noun &noun, size_t first, size_t count)
{
    return first <= count ? Entries(noun, first, count) : std::string();
}

void Add(std::string &text, const std::string &sentence)
{
    if (sentence.empty())
        return;
    if (!text.empty())
        text += ' ';
    text += sentence;
}

} // namespace

std::string DescribeWriteAccount(const WriteAccount &account)
{
    using Section = WriteAccount::Section;
    std::string text;
    if (account.parametersTaken > 0) {
        const Tr3 &written = account.saved == WriteAccount::Saved::Yes  ? kWrittenSaved
                             : account.saved == WriteAccount::Saved::No ? kWrittenNotSaved
                                                                        : kWrittenSaveUnknown;
        const std::string entries = Entries(kParameter, 1, account.parametersTaken);
        Add(text, written.Text({kOfTotal.Text({entries, account.parameters})}));
    }
    if (account.atCommandsTaken > 0) {
        const std::string entries = Entries(kAtCommand, 1, account.atCommandsTaken);
        Add(text, kWritten.Text({kOfTotal.Text({entries, account.atCommands})}));
    }
    if (text.empty())
        Add(text, kNothingWritten.Text());

    size_t nextParameter = account.parametersTaken + 1;
    size_t nextAtCommand = account.atCommandsTaken + 1;
    if (account.stoppedIn != Section::None) {
        const bool inParameters = account.stoppedIn == Section::Parameters;
        size_t &position = inParameters ? nextParameter : nextAtCommand;
        const std::string entry =
            Entries(inParameters ? kParameter : kAtCommand, position, position);
        const Tr3 &told = account.stop == WriteAccount::Stop::Refused ? kRefused : kUnanswered;
        Add(text, told.Text({entry}));
        ++position;
    }
    std::string notSent = Rest(kParameter, nextParameter, account.parameters);
    if (const std::string atRest = Rest(kAtCommand, nextAtCommand, account.atCommands);
        !atRest.empty())
        notSent += (notSent.empty() ? "" : ", ") + atRest;
    if (!notSent.empty())
        Add(text, kNotSent.Text({notSent}));
    return text;
}
