#pragma once
// Qt's own texts (the standard buttons and file dialogs, the line edits'
// menus) in the chosen language, from the translations Qt ships for them
// (qtbase_pt_BR.qm, qtbase_es.qm). The installed program has its own copy
// beside it (../share/kestrel-manager/translations); otherwise Qt's folder.

#include <QString>
#include <QStringList>
#include <QTranslator>
#include <memory>

class QtTranslations
{
public:
    QtTranslations() = default;
    ~QtTranslations();
    QtTranslations(const QtTranslations &) = delete;
    QtTranslations &operator=(const QtTranslations &) = delete;

    // Puts Qt's texts in the language `languageCode` (1 English, 2
    // Portuguese, 3 Spanish); English for any other code, or when no
    // translation is found. True when a translation is installed.
    bool Apply(int languageCode);

    // The folders searched, first match wins.
    static QStringList Folders();

private:
    std::unique_ptr<QTranslator> m_translator;
};
