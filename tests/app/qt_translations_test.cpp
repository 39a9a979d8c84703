// Qt's standard buttons speak the language chosen, and English again when
// English is chosen after another language.

#include "app/qt_translations.h"
#include "tests/common/qt_test_registry.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QtTest>

namespace {

QString YesButtonText()
{
    QDialogButtonBox box(QDialogButtonBox::Yes);
    return box.button(QDialogButtonBox::Yes)->text();
}

bool QtHasTranslations()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    return QFileInfo::exists(folder + QStringLiteral("/qtbase_es.qm")) &&
           QFileInfo::exists(folder + QStringLiteral("/qtbase_pt_BR.qm"));
}

} // namespace

class QtTranslationsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachLanguageInTurn()
    {
        // The package puts Qt's translations beside the program; they come first.
        QCOMPARE(QtTranslations::Folders().first(),
                 QCoreApplication::applicationDirPath().section('/', 0, -2) +
                     QStringLiteral("/share/kestrel-manager/translations"));
        if (!QtHasTranslations())
            QSKIP("Qt's translations (qt6-translations-l10n) are not installed");
        struct Step
        {
            int language;
            bool translated;
            const char *yes;
        };
        const Step steps[] = {
            {3, true, "&Sí"},  {2, true, "&Sim"},  {1, false, "&Yes"},
            {2, true, "&Sim"}, {0, false, "&Yes"}, {3, true, "&Sí"},
        };
        QtTranslations translations;
        for (const Step &step : steps) {
            QCOMPARE(translations.Apply(step.language), step.translated);
            QCOMPARE(YesButtonText(), QString::fromUtf8(step.yes));
        }
    }
};

KESTREL_QT_TEST(QtTranslationsTest)
#include "qt_translations_test.moc"
