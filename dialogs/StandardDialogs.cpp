// SPDX-License-Identifier: MIT
#include "StandardDialogs.h"

#include "MarkDialog.h"
#include "PathText.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QTreeView>

namespace {

// Qt's own Open dialog opens at a size at which its detail view cuts a log's
// size and date short ("253...KiB"). The size, type and date columns follow
// what they show, and the dialog opens wide enough for them next to the
// name. A desktop's native dialog has no such view and keeps its own size.
void FitDetailColumns(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view)
        return;
    enum Column { Size = 1, Type = 2, DateModified = 3 };
    for (const int column : {Size, Type, DateModified})
        view->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    const int em = dialog.fontMetrics().horizontalAdvance(QLatin1Char('M'));
    dialog.resize(dialog.sizeHint().expandedTo(QSize(80 * em, 45 * em)));
}

} // namespace

bool StandardDialogs::askYesNo(const QString& title, const QString& question) {
    QMessageBox box(QMessageBox::NoIcon, title, question, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

namespace {
std::optional<QString> ShowFileDialog(QWidget* parent, const OpenDialogRequest& request,
                                      QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters(request.nameFilters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // Qt cannot name a folder whose name is not UTF-8; the home folder then.
    dialog.setDirectory(PathForDisplay(request.folder) == request.folder ? request.folder
                                                                          : QDir::homePath());
    dialog.selectFile(request.fileName);
    FitDetailColumns(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
} // namespace

std::optional<QString> StandardDialogs::ShowOpen(const OpenDialogRequest& request) {
    return ShowFileDialog(m_parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> StandardDialogs::showSave(const OpenDialogRequest& request) {
    return ShowFileDialog(m_parent, request, QFileDialog::AcceptSave);
}

void StandardDialogs::warn(const QString& title, const QString& message) {
    QMessageBox::warning(m_parent, title, message);
}

std::optional<QString> StandardDialogs::showFolder(const QString& folder) {
    const QString chosen = QFileDialog::getExistingDirectory(
        m_parent, QStringLiteral("一覧するフォルダ"),
        PathForDisplay(folder) == folder ? folder : QDir::homePath(), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<MarkTexts> StandardDialogs::editMark(const QString& title, const QString& about,
                                                   const MarkTexts& texts) {
    MarkDialog dialog(title, about, texts, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.texts();
}
