#pragma once
// The labels of the login dialog in the three languages. The four field
// labels carry a mnemonic each ("&"), distinct within each language and from
// the search button's (see provision_texts.h).

#include "params/language.h"

#include <QString>

enum class LoginText {
    PortLabel,
    BaudLabel,
    PasswordLabel,
    LanguageLabel,
    OkButton,
    CancelButton,
    Title,
    English, // the three entries of the language list
    Portuguese,
    Spanish,
};

const lang::Tr3 &LoginTextTr3(LoginText text);
// The label in a language (1..3); the English one for any other code.
QString LoginLabel(LoginText text, int languageCode);

// The language whose labels the language list's selection shows: 0 English,
// 2 Spanish, anything else Portuguese.
int LabelLanguageForSelection(int selection);

// The language list's position for a saved language code text: "1" 0,
// "2" 1, "3" 2; any other text selects English.
int SelectionForSavedLanguage(const QString &languageText);
