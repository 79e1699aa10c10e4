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

std::optional<QString> StandardDialogs::ShowOpen(const OpenDialogRequest& request) {
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(request.nameFilters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setDirectory(request.folder);
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void StandardDialogs::Warn(const QString& title, const QString& message) {
    QMessageBox::warning(m_parent, title, message);
}
