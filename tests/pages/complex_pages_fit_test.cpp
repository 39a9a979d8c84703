// The Call waiting and forward, Security code and Times pages fit the page
// area in every language: the layout needs no more room than the page has
// and no label, box or button is narrower than its text.

#include "page_test_support.h"
#include "pages/forward_page.h"
#include "pages/security_code_page.h"
#include "pages/times_page.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <functional>
#include <memory>

class ComplexPagesFitTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fitsInEachLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("page");
        const char *const names[] = {"Call waiting and forward", "Security code", "Times"};
        for (const LanguageRow &language : kLanguages) {
            for (int page = 0; page < 3; ++page)
                QTest::addRow("%s, %s", names[page], language.name) << language.code << page;
        }
    }

    void fitsInEachLanguage()
    {
        QFETCH(int, language);
        QFETCH(int, page);
        LanguageScope scope(language);
        TestPageHost host;
        std::unique_ptr<CParameterPage> shown;
        if (page == 0)
            shown = std::make_unique<CForwardPage>();
        else if (page == 1)
            shown = std::make_unique<CSecurityCodePage>();
        else
            shown = std::make_unique<CTimesPage>();
        shown->InitPage(host);
        shown->show();
        QCoreApplication::sendPostedEvents();
        const QSize needed = shown->layout()->minimumSize();
        QVERIFY2(needed.width() <= kPageWidth && needed.height() <= kPageHeight,
                 qPrintable(QStringLiteral("%1x%2").arg(needed.width()).arg(needed.height())));
        for (const QLabel *label : shown->findChildren<QLabel *>())
            QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text()));
        for (const QAbstractButton *button : shown->findChildren<QAbstractButton *>())
            QVERIFY2(button->sizeHint().width() <= button->width(), qPrintable(button->text()));
        if (const QByteArray folder = qgetenv("KESTREL_PAGE_SHOTS"); !folder.isEmpty())
            shown->grab().save(QStringLiteral("%1/page%2_%3.png")
                                   .arg(QString::fromLocal8Bit(folder))
                                   .arg(page)
                                   .arg(language));
    }
};

KESTREL_PAGE_TEST_MAIN(ComplexPagesFitTest)
#include "complex_pages_fit_test.moc"
