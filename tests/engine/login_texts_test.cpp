// What a port that would not open is reported with, in the three languages.

#include "engine/login.h"
#include "params/language.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

struct LanguageGuard
{
    int saved = lang::Code();
    ~LanguageGuard() { lang::SetCode(saved); }
};

TEST(PortOpenAdvice, NamesTheCauseTheUserCanMend)
{
    const LanguageGuard guard;
    struct Case
    {
        int language;
        int error;
        const char *advice; // "" for none
    };
    const Case cases[] = {
        {lang::kEnglish, EBUSY, "Error: The port ttyUSB0 is in use by another program!"},
        {lang::kPortuguese, EBUSY, "Erro: A porta ttyUSB0 está em uso por outro programa!"},
        {lang::kSpanish, EBUSY, "Error: El puerto ttyUSB0 está en uso por otro programa!"},
        {lang::kEnglish, EACCES,
         "Permission denied: you may not use the serial port ttyUSB0, because your user is not "
         "in the group \"dialout\".\nTo join it, run\n    sudo usermod -aG dialout $USER\nthen "
         "log out and log in again."},
        {lang::kPortuguese, EACCES,
         "Permissão negada: você não pode usar a porta serial ttyUSB0, porque o seu usuário não "
         "está no grupo \"dialout\".\nPara entrar nele, execute\n    sudo usermod -aG dialout "
         "$USER\ne depois saia da sessão e entre novamente."},
        {lang::kSpanish, EACCES,
         "Permiso denegado: no puede usar el puerto serie ttyUSB0, porque su usuario no está en "
         "el grupo \"dialout\".\nPara unirse a él, ejecute\n    sudo usermod -aG dialout "
         "$USER\ny después cierre la sesión y vuelva a iniciarla."},
        {lang::kEnglish, ENOENT, ""},
        {lang::kEnglish, EPERM, ""},
        {lang::kEnglish, EIO, ""},
        {lang::kEnglish, 0, ""},
        {0, EACCES, ""}, // a language without texts says nothing
    };
    for (const Case &c : cases) {
        lang::SetCode(c.language);
        EXPECT_EQ(login::PortOpenAdvice("ttyUSB0", c.error), c.advice)
            << "language " << c.language << ", error " << c.error;
    }
}

TEST(PortOpenAdvice, FollowsTheCannotOpenMessage)
{
    const LanguageGuard guard;
    lang::SetCode(lang::kSpanish);
    EXPECT_EQ(login::CannotOpenPortText("ttyS1", ENOENT), "Error: No se puede abrir puerto :  ttyS1 !");
    EXPECT_EQ(login::CannotOpenPortText("ttyS1", EBUSY),
              "Error: No se puede abrir puerto :  ttyS1 !\n\n"
              "Error: El puerto ttyS1 está en uso por otro programa!");
}

} // namespace
