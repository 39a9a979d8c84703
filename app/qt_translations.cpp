#include "app/qt_translations.h"

#include "params/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>

namespace {

// The locale whose Qt translation speaks each language; Portuguese as in
// Brazil, where Qt's translation comes from (qtbase_pt_BR, then qtbase_pt).
bool LocaleFor(int languageCode, QLocale &locale)
{
    switch (languageCode) {
    case lang::kPortuguese:
        locale = QLocale(QLocale::Portuguese, QLocale::Brazil);
        return true;
    case lang::kSpanish:
        locale = QLocale(QLocale::Spanish, QLocale::Spain);
        return true;
    default:
        return false;
    }
}

} // namespace

QtTranslations::~QtTranslations()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

QStringList QtTranslations::Folders()
{
    return {QDir::cleanPath(QCoreApplication::applicationDirPath() +
                            QStringLiteral("/../share/kestrel-manager/translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool QtTranslations::Apply(int languageCode)
{
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    QLocale locale;
    if (!LocaleFor(languageCode, locale))
        return false;
    auto translator = std::make_unique<QTranslator>();
    for (const QString &folder : Folders()) {
        if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator.get());
            m_translator = std::move(translator);
            return true;
        }
    }
    return false;
}
