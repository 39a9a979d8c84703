#include "app/about_dialog.h"

#include "widgets/window_look.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

QString BuildOnText()
{
    return QStringLiteral("Build On: ") + QLatin1String(__DATE__);
}

std::unique_ptr<QDialog> CreateAboutBox(QWidget *parent)
{
    auto box = std::make_unique<QDialog>(parent);
    box->setObjectName(QStringLiteral("aboutBox"));
    box->setWindowTitle(QLatin1String(kAboutTitle));
    ApplyWindowLook(*box);

    auto *icon = new QLabel(box.get());
    const int iconSize = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(box->style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);

    auto *name = new QLabel(QStringLiteral("Kestrel Manager"), box.get());
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto *version = new QLabel(QLatin1String(kVersionText), box.get());
    version->setObjectName(QStringLiteral("versionLine"));
    auto *buildOn = new QLabel(BuildOnText(), box.get());
    buildOn->setObjectName(QStringLiteral("buildLine"));

    auto *ok = new QPushButton(QStringLiteral("OK"), box.get());
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, box.get(), &QDialog::accept);

    auto *lines = new QVBoxLayout;
    lines->addWidget(name);
    lines->addWidget(version);
    lines->addWidget(buildOn);
    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(lines, 1);
    top->addWidget(ok, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(box.get());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->addLayout(top);
    return box;
}

void ShowAboutBox(QWidget *parent)
{
    const std::unique_ptr<QDialog> box = CreateAboutBox(parent);
    box->exec();
}
