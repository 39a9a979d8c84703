#include "cli/verify_report.h"

#include "cli/json_text.h"
#include "engine/read_job.h"
#include "params/atcmd_codec.h"
#include "params/catalogue.h"
#include "params/param_file.h"
#include "params/read_lists.h"
#include "params/text_value.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

using lang::Tr3;

namespace {

constexpr Tr3 kDifference = {"%s (%s): terminal \"%s\", file \"%s\"",
                             "%s (%s): terminal \"%s\", arquivo \"%s\"",
                             "%s (%s): terminal \"%s\", archivo \"%s\""};
constexpr Tr3 kNotVerifiable = {
    "Not verifiable, a read does not return them:", "Não verificáveis, a leitura não os retorna:",
    "No verificables, la lectura no los devuelve:"};
constexpr Tr3 kEntry = {"  %s (%s)", "  %s (%s)", "  %s (%s)"};
constexpr Tr3 kForwardingHint = {"Call waiting and forwarding are read with --forward.",
                                 "Chamada em espera e desvios são lidos com --forward.",
                                 "Llamada en espera y desvíos se leen con --forward."};
constexpr Tr3 kAllMatch = {"Verified: all %s verifiable settings match.",
                           "Verificado: as %s configurações verificáveis conferem.",
                           "Verificado: las %s configuraciones verificables coinciden."};
constexpr Tr3 kSomeDiffer = {"Verified: %s of %s verifiable settings differ.",
                             "Verificado: %s de %s configurações verificáveis diferem.",
                             "Verificado: %s de %s configuraciones verificables difieren."};
constexpr Tr3 kNothingVerifiable = {
    "Not verified: nothing in the file could be checked against the terminal.",
    "Não verificado: nada no arquivo pôde ser conferido com o terminal.",
    "No verificado: nada en el archivo pudo comprobarse con el terminal."};

bool IsListEntry(unsigned number)
{
    return params::kForbiddenList.Contains(number) || params::kCallBackList.Contains(number);
}

// The terminal's value of a list entry as the file would hold it: the
// terminal answers an empty entry with a blank record ("0*0*0*0" and the
// like), and a read that stopped at one did not ask for the rest.
std::string AsListEntry(const std::string &value, unsigned number)
{
    std::string stored;
    if (value.empty() || ReadJob::Verdict(value, std::to_string(number), stored) == 0)
        return {};
    return value;
}

class Comparison
{
public:
    Comparison(const params::IniDocument &terminal, const ReadLists &lists,
               const params::IniDocument &file)
        : m_terminal(terminal), m_file(file)
    {
        for (const std::string &entry : lists.numbers) {
            if (params::IsAllDigits(entry)) {
                m_numbersRead.insert(text::LeadingNumber(entry));
                m_terminalKeys.emplace(text::LeadingNumber(entry), entry);
            }
        }
        for (size_t i = 0; i < lists.atCommands.size(); ++i) {
            m_queried.insert(lists.atCommands[i] + std::string(lists.AtArgument(i)));
        }
    }

    VerifyResult Run()
    {
        std::vector<std::string> keys;
        m_file.GetKeys(params::kParaSection, keys);
        std::vector<unsigned> numbers;
        numbers.reserve(keys.size());
        for (const std::string &key : keys)
            numbers.push_back(params::IsAllDigits(key) ? text::LeadingNumber(key) : 0);
        // With a PIN change or start-up entry beside it, 16550 holds a PIN,
        // while a read returns the start-up check flag.
        m_pinUnderStartUp = std::any_of(numbers.begin(), numbers.end(), [](unsigned n) {
            return n == params::kPinChangeNumber || n == params::kPinCheckOnNumber ||
                   n == params::kPinCheckOffNumber;
        });
        for (size_t i = 0; i < keys.size(); ++i)
            CompareParameter(keys[i], numbers[i]);
        keys.clear();
        m_file.GetKeys(params::kAtcmdSection, keys);
        for (const std::string &key : keys)
            CompareAtSetting(key);
        return std::move(m_result);
    }

private:
    void CompareParameter(const std::string &key, unsigned number)
    {
        const std::string fileValue = m_file.GetString(params::kParaSection, key, "");
        const std::string name = number ? params::NameParameter(number, lang::Code()).name : key;
        if (number == 0 || !m_numbersRead.count(number) ||
            (number == params::kPinStartUpNumber && m_pinUnderStartUp)) {
            m_result.notVerifiable.push_back({name, key, {}, fileValue});
            return;
        }
        std::string terminalValue =
            m_terminal.GetString(params::kParaSection, m_terminalKeys.at(number), "");
        if (IsListEntry(number))
            terminalValue = AsListEntry(terminalValue, number);
        Compare({name, key, terminalValue, fileValue}, terminalValue == fileValue);
    }

    void CompareAtSetting(const std::string &key)
    {
        const std::string fileValue = m_file.GetString(params::kAtcmdSection, key, "");
        const params::AtSetting *setting = params::FindAtSetting(key);
        const std::string label = setting ? setting->label.Text() : std::string();
        const std::string name = label.empty() ? key : label;
        VerifyEntry entry{name, key, {}, fileValue};
        // The clock runs on between the write and the read.
        if (!setting || setting == &params::AtSettingOf(params::AtKey::Clock)) {
            m_result.notVerifiable.push_back(entry);
            return;
        }
        if (setting == &params::AtSettingOf(params::AtKey::ForwardAll)) {
            CompareEraseAll(entry);
            return;
        }
        if (!Queried(*setting)) {
            NotRead(entry);
            return;
        }
        entry.terminalValue = m_terminal.GetString(params::kAtcmdSection, setting->key, "");
        if (setting == &params::AtSettingOf(params::AtKey::CallWaiting)) {
            Compare(entry, entry.terminalValue.starts_with('1') == fileValue.starts_with('1'));
            return;
        }
        Compare(entry, Forwarding(entry.terminalValue) == Forwarding(fileValue));
    }

    // "4,4" erases every kind of forwarding: each one read must be off.
    void CompareEraseAll(VerifyEntry entry)
    {
        for (int reason = 0; reason <= 3; ++reason) {
            const params::AtSetting &setting = params::ForwardSettingOf(reason);
            if (!Queried(setting)) {
                NotRead(entry);
                return;
            }
        }
        std::vector<std::string> active;
        for (int reason = 0; reason <= 3; ++reason) {
            const std::string value = m_terminal.GetString(
                params::kAtcmdSection, params::ForwardSettingOf(reason).key, "");
            if (Forwarding(value))
                active.push_back(value);
        }
        std::string terminalValue;
        for (const std::string &value : active)
            terminalValue += (terminalValue.empty() ? "" : "; ") + value;
        entry.terminalValue = terminalValue;
        Compare(entry, active.empty());
    }

    // Registered forwarding as number and no-reply time; nothing when it
    // is erased. The reply store writes nothing for a terminal that
    // forwards nothing, so an absent value is erased too.
    static std::optional<std::pair<std::string, uint32_t>> Forwarding(const std::string &value)
    {
        const params::ForwardingFields fields = params::ParseForwarding(value);
        if (fields.classOrMode != "3")
            return std::nullopt;
        return std::pair(fields.number, text::LeadingNumber(fields.time));
    }

    bool Queried(const params::AtSetting &setting) const
    {
        return setting.queryArgument &&
               m_queried.count(std::string(setting.command) + setting.queryArgument);
    }

    void NotRead(const VerifyEntry &entry)
    {
        m_result.notVerifiable.push_back(entry);
        m_result.forwardingNotRead = true;
    }

    void Compare(const VerifyEntry &entry, bool same)
    {
        ++m_result.compared;
        if (!same)
            m_result.differences.push_back(entry);
    }

    const params::IniDocument &m_terminal;
    const params::IniDocument &m_file;
    std::set<unsigned> m_numbersRead;
    std::map<unsigned, std::string> m_terminalKeys; // number -> the key as the read list has it
    std::set<std::string> m_queried;
    bool m_pinUnderStartUp = false;
    VerifyResult m_result;
};

} // namespace

VerifyResult CompareWithFile(const params::IniDocument &terminal, const ReadLists &lists,
                             const params::IniDocument &file)
{
    return Comparison(terminal, lists, file).Run();
}

bool VerifyPassed(const VerifyResult &result)
{
    return result.compared > 0 && result.differences.empty();
}

void PrintVerifyReport(const VerifyResult &result, std::ostream &out)
{
    for (const VerifyEntry &entry : result.differences)
        out << kDifference.Text({entry.name, entry.key, entry.terminalValue, entry.fileValue})
            << '\n';
    if (!result.notVerifiable.empty()) {
        out << kNotVerifiable.Text() << '\n';
        for (const VerifyEntry &entry : result.notVerifiable)
            out << kEntry.Text({entry.name, entry.key}) << '\n';
        if (result.forwardingNotRead)
            out << kForwardingHint.Text() << '\n';
    }
    out << VerifySummary(result) << '\n' << std::flush;
}

std::string VerifySummary(const VerifyResult &result)
{
    const std::string compared = std::to_string(result.compared);
    if (result.compared == 0)
        return kNothingVerifiable.Text();
    if (result.differences.empty())
        return kAllMatch.Text({compared});
    return kSomeDiffer.Text({std::to_string(result.differences.size()), compared});
}

std::string VerifyJson(const VerifyResult &result)
{
    std::vector<std::string> differences, notVerifiable;
    for (const VerifyEntry &entry : result.differences)
        differences.push_back(json::Object()
                                  .Text("name", entry.name)
                                  .Text("key", entry.key)
                                  .Text("terminal", entry.terminalValue)
                                  .Text("file", entry.fileValue)
                                  .Str());
    for (const VerifyEntry &entry : result.notVerifiable)
        notVerifiable.push_back(
            json::Object().Text("name", entry.name).Text("key", entry.key).Str());
    return json::Object()
        .Number("compared", static_cast<long long>(result.compared))
        .Raw("differences", json::Array(differences))
        .Raw("notVerifiable", json::Array(notVerifiable))
        .Flag("forwardingNotRead", result.forwardingNotRead)
        .Str();
}
