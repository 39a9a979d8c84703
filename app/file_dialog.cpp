#include "app/file_dialog.h"

#include "app/main_texts.h"

#include <QDir>
#include <QFileDialog>
#include <QUrl>

std::unique_ptr<QFileDialog> MakeFileDialog(const FileRequest &request, QWidget *parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent, request.title, request.folder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // With the details hidden the dialog shows each filter without its last
    // "(...)", which holds the patterns it matches: so "all files (*.*)"
    // reads as written and still matches a file without a dot.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    QStringList filters;
    for (const FileFilter &filter : request.filters)
        filters << QStringLiteral("%1 (%2)").arg(filter.label, filter.patterns);
    dialog->setNameFilters(filters);
    dialog->setDefaultSuffix(request.defaultSuffix);
    if (request.kind == FileRequest::Kind::Open) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        if (const QDir history(request.historyFolder);
            !request.historyFolder.isEmpty() && history.exists())
            dialog->setSidebarUrls(dialog->sidebarUrls()
                                   << QUrl::fromLocalFile(history.absolutePath()));
    } else {
        // Overwriting asks first (the dialog's default).
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->selectFile(request.proposedName);
    }
    return dialog;
}

void OfferParameterFiles(FileRequest &request)
{
    request.filters = {{QString::fromUtf8(main_texts::kConfigFilter),
                        QString::fromUtf8(main_texts::kConfigPatterns)},
                       {QString::fromUtf8(main_texts::kAllFilesFilter),
                        QString::fromUtf8(main_texts::kAllFilesPatterns)}};
}
