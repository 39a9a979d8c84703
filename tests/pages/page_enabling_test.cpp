// The boxes and switches that enable fields and boxes, every page in one
// table: a row is a page, its controls by their accessible names, and a
// script of steps, each step's actions followed by what the page shows.

#include "page_test_support.h"
#include "pages/page_factory.h"
#include "params/catalogue.h"
#include "widgets/report_ctrl.h"

#include <QComboBox>

using params::Page;

namespace {

// Actions, separated by blanks: "X" clicks control X, "X=text" sets its
// text, "@X" gives it the focus. What the page shows: each control's
// letter, "+" when checked, "=text" for an edit's text or a list's rows,
// in brackets while disabled; then "@X" for the control with the focus.
struct Step
{
    const char *actions;
    const char *shown;
};

struct EnablingCase
{
    const char *name;
    Page page;
    const char *controls; // "X=accessible name|..."
    std::vector<Step> steps;
};

using Controls = QList<std::pair<QChar, QWidget *>>;

Controls Find(QWidget *page, const QString &named)
{
    Controls controls;
    for (const QString &entry : named.split('|')) {
        for (QWidget *widget : page->findChildren<QWidget *>()) {
            if ((qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget) ||
                 qobject_cast<QComboBox *>(widget) || qobject_cast<CReportCtrl *>(widget)) &&
                AccessibleName(widget) == entry.mid(2)) {
                controls.append({entry.at(0), widget});
                break;
            }
        }
    }
    return controls;
}

QString Shown(const Controls &controls)
{
    QStringList shown;
    QString focus;
    for (const auto &[letter, widget] : controls) {
        QString text = letter;
        if (const auto *box = qobject_cast<QAbstractButton *>(widget); box && box->isChecked())
            text += '+';
        if (const auto *field = qobject_cast<QLineEdit *>(widget);
            field && !field->text().isEmpty())
            text += '=' + field->text();
        if (const auto *list = qobject_cast<CReportCtrl *>(widget); list && list->RowCount() > 0)
            text += '=' + QString::number(list->RowCount());
        shown << (widget->isEnabled() ? text : '(' + text + ')');
        if (widget->hasFocus())
            focus = QStringLiteral(" @") + letter;
    }
    return shown.join(' ') + focus;
}

void Act(const Controls &controls, const QString &action)
{
    const QChar letter = action.at(action.startsWith('@') ? 1 : 0);
    const auto found =
        std::find_if(controls.begin(), controls.end(),
                     [letter](const auto &control) { return control.first == letter; });
    QVERIFY2(found != controls.end(), qPrintable(action));
    if (action.startsWith('@'))
        found->second->setFocus();
    else if (action.size() > 1)
        qobject_cast<QLineEdit *>(found->second)->setText(action.mid(2));
    else
        qobject_cast<QAbstractButton *>(found->second)->click();
}

// clang-format off
const EnablingCase kCases[] = {
    // The switch neither moves the focus nor empties a field.
    {"prefix", Page::Prefix, "S=Enable Add Prefix|N=Pre Number:|P=Prefix:",
     {{"", "S (N) (P) @S"}, {"P=0021 @S S", "S+ N P=0021 @S"}, {"S", "S (N) (P=0021) @S"}}},
    // A timing's box empties its edit when unchecked; the switch off
    // disables every edit and the list, and the boxes keep their state.
    {"call back", Page::CallBack,
     "S=Enable Call Back|T=Call Back Time|t=Call Back Time, Time:|A=Call Back Num Count|"
     "a=Counter:|R=Time to Answer Call Back|r=Time to Answer Call Back, Time:|"
     "L=Call Back Number List|l=Call Back Number",
     {{"", "S (T) (t) (A) (a) (R) (r) (L) (l) @S"}, {"S", "S+ T (t) A (a) R (r) L (l) @S"},
      {"T", "S+ T+ t A (a) R (r) L (l) @t"},
      {"t=30 R r=7 L", "S+ T+ t=30 A (a) R+ r=7 L+ l=300 @r"},
      {"R", "S+ T+ t=30 A (a) R (r) L+ l=300 @L"},
      {"S", "S (T+) (t=30) (A) (a) (R) (r) (L+) (l=300) @S"},
      {"S", "S+ T+ t=30 A (a) R (r) L+ l=300 @S"}}},
    // Call back and all calls exclude each other.
    {"csp", Page::Csp, "B=Enable CSP for Call Back|A=Enable CSP for All Calls|#=CSP Number:",
     {{"", "B A (#) @B"}, {"B", "B+ A # @B"}, {"#=21 A", "B A+ #=21 @B"}, {"A", "B A (#=21) @B"}}},
    // Call waiting keeps the template's state until the first click.
    {"forward", Page::Forward,
     "M=Enable Call Waiting and Forward|W=Call Waiting|U=Forward Unconditional|"
     "B=Forward When Busy|N=Forward When No Answer|O=Forward When Turned Off or Not Found|"
     "t=Time:|#=Forward Number:",
     {{"", "M W (U) (B) (N) (O) (t) (#) @M"}, {"M", "M+ W U B N O (t) (#) @M"},
      {"N", "M+ W U B N+ O t # @M"}, {"M", "M (W) (U) (B) (N+) (O) (t) (#) @M"}}},
    {"security code", Page::SecurityCode,
     "S=Enable PIN Code on the Start Up|P=PIN Code:|C=Enable Change PIN Code|o=Old PIN Code:|"
     "n=New PIN Code:|c=Confirm PIN Code:|K=Confirm",
     {{"", "S (P=4711) C (o) (n) (c) (K) @S"}, {"@S S C", "S+ P=4711 C+ o n c K @S"},
      {"o=1234 C S", "S (P=4711) C (o=1234) (n) (c) (K) @S"}}},
    {"passwords", Page::Passwords,
     "C=Change Software Password|o=Old Password:|n=New Password:|c=Confirm Password:|"
     "K=Confirm|G=General Password",
     {{"", "C (o) (n) (c) (K) G @C"}, {"C", "C+ o n c K (G) @o"}, {"C", "C (o) (n) (c) (K) G @G"}}},
    {"times", Page::Times,
     "T=Enable Timeout|t=Timeout:|O=Restrict Outgoing Time|o=Restrict Outgoing Time, Time:|"
     "I=Restrict Incoming Time|i=Restrict Incoming Time, Time:|F=Change Flash Time|"
     "f=Change Flash Time, Time:",
     {{"", "T (t) O (o) I (i) F (f) @T"}, {"T", "T+ t O (o) I (i) F (f) @t"},
      {"t=5 T O", "T (t=5) O+ o I (i) F (f) @o"}, {"o=5 O I", "T (t=5) O (o=5) I+ i F (f) @i"},
      {"i=5 I F", "T (t=5) O (o=5) I (i=5) F+ f @f"},
      {"f=5 F", "T (t=5) O (o=5) I (i=5) F (f=5) @T"}}},
    {"volume", Page::Volume,
     "T=Change Tx Volume|t=Change Tx Volume, Level:|R=Change Rx Volume|r=Change Rx Volume, Level:",
     {{"", "T (t) R (r) @T"}, {"R", "T (t) R+ r @r"}, {"r=5 R", "T (t) R (r=5) @T"}}},
};
// clang-format on

} // namespace

class PageEnablingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void boxesEnableTheirControls_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kCases)); ++i)
            QTest::newRow(kCases[i].name) << i;
    }

    void boxesEnableTheirControls()
    {
        QFETCH(int, index);
        const EnablingCase &test = kCases[index];
        TestPageHost host;
        const std::unique_ptr<CParameterPage> page =
            CreateParameterPage(params::PageTemplate(test.page));
        QVERIFY(page && ShowActive(*page, host));
        const Controls controls = Find(page.get(), QString::fromUtf8(test.controls));
        QCOMPARE(controls.size(), QString::fromUtf8(test.controls).count('|') + 1);
        for (const Step &step : test.steps) {
            for (const QString &action :
                 QString::fromLatin1(step.actions).split(' ', Qt::SkipEmptyParts)) {
                Act(controls, action);
                if (QTest::currentTestFailed())
                    return;
            }
            QCOMPARE(Shown(controls), QString::fromLatin1(step.shown));
        }
    }
};

KESTREL_QT_TEST(PageEnablingTest)
#include "page_enabling_test.moc"
