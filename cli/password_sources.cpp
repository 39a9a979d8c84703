#include "cli/password_sources.h"

#include "params/language.h"
#include "platform/file_io.h"
#include "platform/hidden_input.h"

#include <cstdlib>

namespace {

// One password and the ways it may come.
struct Secret
{
    std::string &value;
    bool given;
    const std::string &file;
    const char *variable;
    const char *notFound;
};

constexpr lang::Tr3 kPasswordPrompt = {
    "Software password: ", "Senha do software: ", "Contraseña del software: "};
constexpr lang::Tr3 kNewPasswordPrompt = {"New password: ", "Nova senha: ", "Nueva contraseña: "};
constexpr lang::Tr3 kNewPasswordAgain = {
    "New password again: ", "Repita a nova senha: ", "Repita la nueva contraseña: "};
constexpr lang::Tr3 kNewPasswordsDiffer = {
    "Error: The two new passwords typed differ!",
    "Erro: As duas novas senhas digitadas são diferentes!",
    "Error: Las dos nuevas contraseñas escritas son diferentes!"};

// From the command line, the file or the environment; false when it is to
// be asked for at the prompt.
bool FindWithoutAsking(const Secret &secret, const PasswordSources &sources,
                       PasswordsResult &result)
{
    if (secret.given)
        return true;
    if (!secret.file.empty()) {
        const platform::FileResult read = platform::ReadFirstLine(secret.file, secret.value);
        if (!read.ok)
            result = {1, read.error};
        return true;
    }
    if (const char *value = sources.getEnv(secret.variable); value && *value) {
        secret.value = value;
        return true;
    }
    if (sources.terminal)
        return false;
    result = {2, secret.notFound};
    return true;
}

} // namespace

PasswordSources ProcessPasswordSources()
{
    return {[](const char *name) { return static_cast<const char *>(std::getenv(name)); },
            platform::StdinIsTerminal(), platform::ReadHiddenLine};
}

PasswordsResult FindPasswords(CliOptions &o, const PasswordSources &sources)
{
    PasswordsResult result;
    const Secret password{o.password, o.passwordGiven, o.passwordFile, "KESTREL_PASSWORD",
                          "no password: give --password-file FILE or KESTREL_PASSWORD, or run on a "
                          "terminal to type it"};
    if (!FindWithoutAsking(password, sources, result))
        o.password = sources.ask(kPasswordPrompt.Text());
    if (result.status != 0 || o.command != CliOptions::Command::Passwd)
        return result;

    const Secret newPassword{o.newPassword, o.newPasswordGiven, o.newPasswordFile,
                             "KESTREL_NEW_PASSWORD",
                             "no new password: give --new-file FILE or KESTREL_NEW_PASSWORD, or "
                             "run on a terminal to type it"};
    if (!FindWithoutAsking(newPassword, sources, result)) {
        o.newPassword = sources.ask(kNewPasswordPrompt.Text());
        if (sources.ask(kNewPasswordAgain.Text()) != o.newPassword)
            result = {1, kNewPasswordsDiffer.Text()};
    }
    return result;
}
