#include "app/login_texts.h"

#include "widgets/qt_text.h"

#include <array>

namespace {

constexpr std::array<lang::Tr3, 10> kLoginTexts = {{
    {"&COM Port:", "&Porta COM:", "&Puerto COM:"},
    {"&Baud Rate(bps):", "&Taxa(bps):", "&Velocidad de transmisión(bps):"},
    {"Software &Password:", "&Senha:", "P&assword:"},
    {"&Language:", "&Idioma:", "&Idioma:"},
    {"OK", "OK", "OK"},
    {"Cancel", "Cancelar", "Cancelar"},
    {"Login", "Iniciar", "Iniciar sesión"},
    {"English", "Inglês", "Inglés"},
    {"Portuguese", "Português", "Portugués "},
    {"Spanish", "Espanhol", "Español"},
}};

} // namespace

const lang::Tr3 &LoginTextTr3(LoginText text)
{
    return kLoginTexts.at(static_cast<size_t>(text));
}

QString LoginLabel(LoginText text, int languageCode)
{
    return lang::QtLabel(LoginTextTr3(text), languageCode);
}

int LabelLanguageForSelection(int selection)
{
    switch (selection) {
    case 0:
        return lang::kEnglish;
    case 2:
        return lang::kSpanish;
    default:
        return lang::kPortuguese;
    }
}

int SelectionForSavedLanguage(const QString &languageText)
{
    if (languageText == QLatin1String("2"))
        return 1;
    if (languageText == QLatin1String("3"))
        return 2;
    return 0;
}
