#pragma once
// What a technician and a screen reader user find wrong with a window as
// shown: texts cut short or controls overlapping, names that do not tell
// the controls apart, texts too faint to read. Each check gives one line
// per fault, none when all is well.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QStyle>
#include <QStyleOptionButton>
#include <cmath>

namespace window_checks {

// The controls of `root` as shown: those a user reads or uses. Containers
// and the parts of a control (a list's viewport, headers and scroll bars, a
// drop-down's edit field) are not looked at on their own.
inline QList<QWidget *> ShownControls(QWidget *root)
{
    const auto isControl = [](const QWidget *widget) {
        return qobject_cast<const QLabel *>(widget) ||
               qobject_cast<const QAbstractButton *>(widget) ||
               qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget) ||
               qobject_cast<const QAbstractItemView *>(widget);
    };
    QList<QWidget *> controls;
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        bool inside = false;
        for (const QWidget *up = widget->parentWidget(); up && up != root; up = up->parentWidget())
            inside = inside || isControl(up);
        if (widget->isVisibleTo(root) && isControl(widget) && !inside)
            controls << widget;
    }
    return controls;
}

inline QString AccessibleText(QWidget *widget, QAccessible::Text kind)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(kind) : QString();
}

inline QString NameOf(QWidget *widget)
{
    return QStringLiteral("%1 \"%2\"")
        .arg(QLatin1String(widget->metaObject()->className()),
             AccessibleText(widget, QAccessible::Name));
}

// No text cut short, no control out of the page or over another.
inline QStringList LayoutFaults(QWidget *page)
{
    QStringList faults;
    std::vector<std::pair<QWidget *, QRect>> shown;
    for (QWidget *widget : ShownControls(page)) {
        const QRect area(widget->mapTo(page, QPoint(0, 0)), widget->size());
        if (!page->rect().contains(area))
            faults << NameOf(widget) + QStringLiteral(" runs out of the page");
        const auto *label = qobject_cast<const QLabel *>(widget);
        const bool wraps = label && label->wordWrap();
        if (!wraps && !qobject_cast<QAbstractItemView *>(widget) &&
            !qobject_cast<QLineEdit *>(widget) && widget->width() < widget->sizeHint().width())
            faults << NameOf(widget) + QStringLiteral(" is cut short");
        if (wraps && widget->height() < label->heightForWidth(widget->width()))
            faults << NameOf(widget) + QStringLiteral(" is cut off below");
        for (const auto &[other, otherArea] : shown) {
            if (area.intersects(otherArea))
                faults << NameOf(widget) + QStringLiteral(" overlaps ") + NameOf(other);
        }
        shown.emplace_back(widget, area);
    }
    return faults;
}

// Every control a user works (texts aside) has a name of its own: not
// empty, without blanks around it, not the value it holds, not another's;
// a combo box tells the entry it shows as its value.
inline QStringList NameFaults(QWidget *root)
{
    QStringList faults;
    QMap<QString, QWidget *> named;
    for (QWidget *widget : ShownControls(root)) {
        if (qobject_cast<QLabel *>(widget))
            continue;
        const QString name = AccessibleText(widget, QAccessible::Name);
        const QString value = AccessibleText(widget, QAccessible::Value);
        const bool holdsValue =
            qobject_cast<QLineEdit *>(widget) || qobject_cast<QComboBox *>(widget);
        if (name.trimmed().isEmpty())
            faults << NameOf(widget) + QStringLiteral(" has no name");
        else if (name != name.trimmed())
            faults << NameOf(widget) + QStringLiteral(" has blanks around its name");
        else if (holdsValue && name == value)
            faults << NameOf(widget) + QStringLiteral(" is named by its value");
        if (const auto *choice = qobject_cast<QComboBox *>(widget);
            choice && value != choice->currentText())
            faults << NameOf(widget) + QStringLiteral(" does not tell the entry it shows");
        if (named.contains(name))
            faults << NameOf(widget) + QStringLiteral(" has the name of another control");
        named.insert(name, widget);
    }
    return faults;
}

// WCAG's contrast ratio of two colours, from 1 (none) to 21.
inline double Contrast(const QColor &one, const QColor &other)
{
    auto luminance = [](const QColor &colour) {
        auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
               0.0722 * channel(colour.blueF());
    };
    const double a = luminance(one);
    const double b = luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// Where a control draws its text, in its own coordinates; empty where it
// shows none.
inline QRect TextArea(QWidget *control)
{
    const QRect inner = control->rect().adjusted(4, 4, -4, -4);
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text().isEmpty() ? QRect() : label->contentsRect();
    if (auto *box = qobject_cast<QCheckBox *>(control)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    }
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text().isEmpty() ? QRect() : inner;
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        return edit->text().isEmpty() ? QRect() : inner;
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->currentText().isEmpty() ? QRect() : inner.adjusted(0, 0, -combo->height(), 0);
    if (auto *view = qobject_cast<QAbstractItemView *>(control)) {
        if (!view->model() || view->model()->rowCount() == 0)
            return {};
        const QRect cell = view->visualRect(view->model()->index(0, 0));
        return cell.translated(view->viewport()->mapTo(control, QPoint())).adjusted(1, 1, -1, -1);
    }
    return {};
}

// The contrast of each shown control's text as drawn in `shot` (a grab of
// `root`): the background is the colour most of the text's area has, the
// text the colour there furthest from it.
inline QMap<QWidget *, double> TextContrasts(QWidget *root, const QImage &shot)
{
    QMap<QWidget *, double> contrasts;
    const double scale = shot.devicePixelRatio();
    for (QWidget *control : ShownControls(root)) {
        const QRect area = TextArea(control);
        if (area.isEmpty())
            continue;
        const QRectF where(QRectF(area.translated(control->mapTo(root, QPoint()))).topLeft() *
                               scale,
                           QSizeF(area.size()) * scale);
        const QRect pixels = where.toAlignedRect().intersected(shot.rect());
        QMap<QRgb, int> counts;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                ++counts[shot.pixel(x, y)];
        }
        QRgb background = 0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            if (it.value() > counts.value(background))
                background = it.key();
        }
        double furthest = 1;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            furthest = std::max(furthest, Contrast(QColor(background), QColor(it.key())));
        contrasts.insert(control, furthest);
    }
    return contrasts;
}

} // namespace window_checks
