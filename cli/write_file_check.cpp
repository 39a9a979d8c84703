#include "cli/write_file_check.h"

#include "params/catalogue.h"
#include "params/param_file.h"
#include "params/text_value.h"

#include <cstdio>
#include <map>
#include <optional>

using lang::Tr3;

namespace {

// clang-format off
constexpr Tr3 kUnknownKeys = {
    "Not sent: the file holds entries the program never writes: %s",
    "Nada enviado: o arquivo contém entradas que o programa nunca escreve: %s",
    "Nada enviado: el archivo contiene entradas que el programa nunca escribe: %s"};
constexpr Tr3 kControlCharacters = {
    "Not sent: the file holds control characters in %s",
    "Nada enviado: o arquivo contém caracteres de controle em %s",
    "Nada enviado: el archivo contiene caracteres de control en %s"};
constexpr Tr3 kListHole = {
    "Not sent: position %s of the %s is empty and %s follow it; the terminal stops reading the list "
    "at an empty position and would lose them.",
    "Nada enviado: a posição %s da %s está vazia e %s vêm depois dela; o terminal para de ler a "
    "lista numa posição vazia e as perderia.",
    "Nada enviado: la posición %s de la %s está vacía y %s vienen después; el terminal deja de leer "
    "la lista en una posición vacía y las perdería."};
constexpr Tr3 kCallBackListName = {"call back list", "lista de call back", "lista del call back"};
constexpr Tr3 kForbiddenListName = {"forbidden numbers list", "lista de números bloqueados",
                                    "lista de números bloqueados"};
// clang-format on

struct CheckedList
{
    const params::ListInfo &list;
    const Tr3 &name;
};
const CheckedList kCheckedLists[] = {{params::kForbiddenList, kForbiddenListName},
                                     {params::kCallBackList, kCallBackListName}};

bool HasControlCharacter(std::string_view text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

// A key as the user can read it: control characters as \xNN.
std::string Shown(std::string_view section, std::string_view key)
{
    std::string shown = "[" + std::string(section) + "] ";
    for (const char c : key) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string Joined(const std::vector<std::string> &items)
{
    std::string joined;
    for (const std::string &item : items)
        joined += (joined.empty() ? "" : ", ") + item;
    return joined;
}

std::string Position(const params::ListInfo &list, unsigned index)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04u", list.firstPosition + index);
    return text;
}

class FileCheck
{
public:
    explicit FileCheck(const params::IniDocument &file) : m_file(file) {}

    std::vector<std::string> Run()
    {
        CheckSection(params::kParaSection, true);
        CheckSection(params::kAtcmdSection, false);
        if (!m_unknown.empty())
            m_problems.push_back(kUnknownKeys.Text({Joined(m_unknown)}));
        if (!m_controlled.empty())
            m_problems.push_back(kControlCharacters.Text({Joined(m_controlled)}));
        for (const CheckedList &checked : kCheckedLists)
            CheckHoles(checked);
        return std::move(m_problems);
    }

private:
    void CheckSection(const char *section, bool parameters)
    {
        std::vector<std::string> keys;
        m_file.GetKeys(section, keys);
        for (const std::string &key : keys) {
            const std::string value = m_file.GetString(section, key, "");
            if (HasControlCharacter(key) || HasControlCharacter(value))
                m_controlled.push_back(Shown(section, key));
            else if (parameters ? !params::ExportWritesParameter(key) : !params::FindAtSetting(key))
                m_unknown.push_back(Shown(section, key));
            else if (parameters)
                m_parameters.emplace(text::LeadingNumber(key), value);
        }
    }

    bool Filled(unsigned number) const
    {
        const auto entry = m_parameters.find(number);
        return entry != m_parameters.end() && !entry->second.empty() &&
               !params::IsBlankRecord(entry->second);
    }

    void CheckHoles(const CheckedList &checked)
    {
        const params::ListInfo &list = checked.list;
        std::optional<unsigned> firstEmpty;
        std::vector<std::string> behind;
        for (unsigned index = 0; index < list.count; ++index) {
            const unsigned number = list.firstNumber + index;
            if (!Filled(number))
                firstEmpty = firstEmpty ? firstEmpty : index;
            else if (firstEmpty)
                behind.push_back(Position(list, index) + " (" + std::to_string(number) + ")");
        }
        if (!behind.empty())
            m_problems.push_back(
                kListHole.Text({Position(list, *firstEmpty), checked.name.Text(), Joined(behind)}));
    }

    const params::IniDocument &m_file;
    std::vector<std::string> m_problems;
    std::vector<std::string> m_unknown;
    std::vector<std::string> m_controlled;
    std::map<unsigned, std::string> m_parameters; // the entries that may be sent
};

} // namespace

std::vector<std::string> CheckFileToWrite(const params::IniDocument &file)
{
    return FileCheck(file).Run();
}
