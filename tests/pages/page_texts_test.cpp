// Every control of every page in every language, as the user sees it and
// as a screen reader names it, against the reviewed dump in
// golden/page_texts.txt (control_dump.h tells how to rewrite it).

#include "page_script.h"
#include "tests/app/control_dump.h"

#include <QComboBox>
#include <QGridLayout>

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

// One line per control: language, page, kind, accessible name, text, the
// tooltip where one is set and, in English, its place in the page's grid; a
// list adds its first row as read aloud.
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
        QString line = control_dump::Line(prefix, control, name, text, widget);
        // The page's grid, told in English: the cell a control starts in, the
        // columns it spans and its row's stretch.
        auto *grid = qobject_cast<QGridLayout *>(page->layout());
        if (const int at = grid ? grid->indexOf(widget) : -1;
            at >= 0 && language == lang::kEnglish) {
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(at, &row, &column, &rows, &columns);
            line += QStringLiteral("\tat %1,%2 +%3").arg(row).arg(column).arg(columns);
            if (grid->rowStretch(row) != 0)
                line += QStringLiteral(" stretch %1").arg(grid->rowStretch(row));
        }
        lines << line;
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
