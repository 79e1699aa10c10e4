// SPDX-License-Identifier: MIT
#include "StandardDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

bool StandardDialogs::AskYesNo(const QString& title, const QString& question) {
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
    dialog.setDirectory(request.folder);
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
} // namespace

std::optional<QString> StandardDialogs::ShowOpen(const OpenDialogRequest& request) {
    return ShowFileDialog(m_parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> StandardDialogs::ShowSave(const OpenDialogRequest& request) {
    return ShowFileDialog(m_parent, request, QFileDialog::AcceptSave);
}

void StandardDialogs::Warn(const QString& title, const QString& message) {
    QMessageBox::warning(m_parent, title, message);
}
