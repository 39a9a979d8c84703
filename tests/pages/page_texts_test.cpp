// Every control of every page in every language, as the user sees it and
// as a screen reader names it, against the reviewed dump in
// golden/page_texts.txt (control_dump.h tells how to rewrite it).

#include "page_script.h"
#include "tests/app/control_dump.h"

#include <QComboBox>

namespace {

const char *const kLanguageNames[] = {"", "en", "pt", "es"};

bool InsideCompound(const QWidget *widget, const QWidget *page)
{
    for (const QWidget *up = widget->parentWidget(); up && up != page; up = up->parentWidget()) {
        if (qobject_cast<const QComboBox *>(up) || qobject_cast<const QAbstractItemView *>(up))
            return true;
    }
    return false;
}

// The control's kind and what it shows (a combo box also what it offers); no kind for layout
// helpers and the parts of a combo box or list.
std::pair<QString, QString> KindAndText(QWidget *widget)
{
    if (auto *choice = qobject_cast<QComboBox *>(widget)) {
        QStringList items;
        for (int i = 0; i < choice->count(); ++i)
            items << choice->itemText(i);
        return {QStringLiteral("choice"), choice->currentText() + " of " + items.join(',')};
    }
    if (auto *list = qobject_cast<CReportCtrl *>(widget))
        return {QStringLiteral("list"),
                HeaderText(list, 0) + " | " + HeaderText(list, 1) + " | " + list->EmptyText()};
    return control_dump::PlainKindAndText(widget);
}

// One line per control: language, page, kind, accessible name, text, and
// the tooltip where one is set; a list adds its first row as read aloud.
QStringList PageLines(int language, params::Page kind)
{
    LanguageScope scope(language);
    TestPageHost host;
    host.store.forbidden[0] = "0800";
    host.store.callBack[0] = "5550001";
    std::unique_ptr<CParameterPage> page = CreateParameterPage(params::PageTemplate(kind));
    page->InitPage(host);
    page->LoadFromStore();
    const QString prefix =
        QStringLiteral("%1\t%2\t")
            .arg(QLatin1String(kLanguageNames[language]), QLatin1String(kPageNames[size_t(kind)]));
    QStringList lines;
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        const auto [control, text] = KindAndText(widget);
        if (control.isEmpty() || InsideCompound(widget, page.get()))
            continue;
        // A combo box's interface names it by its text; the page's name is the property.
        const QString name =
            qobject_cast<QComboBox *>(widget) ? widget->accessibleName() : AccessibleName(widget);
        lines << control_dump::Line(prefix, control, name, text, widget);
        if (auto *list = qobject_cast<CReportCtrl *>(widget))
            lines << prefix + QStringLiteral("row 1\t") + CellsReadAloud(list, 0).join(" | ");
    }
    return lines;
}

} // namespace

class PageTextsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlMatchesTheReviewedDump()
    {
        QStringList lines;
        for (int language : kLanguages) {
            for (size_t page = 0; page < params::kPageCount; ++page)
                lines << PageLines(language, static_cast<params::Page>(page));
        }
        control_dump::CompareWithDump(lines, KESTREL_PAGES_GOLDEN_DIR "/page_texts.txt");
    }
};

KESTREL_QT_TEST(PageTextsTest)
#include "page_texts_test.moc"
