// SPDX-License-Identifier: MIT
#pragma once

#include "LoadDialogs.h"

class QWidget;

// The window's dialogs as the desktop's standard message box, Open and Save
// dialogs, modal to the window.
class StandardDialogs final : public LoadDialogs {
  public:
    explicit StandardDialogs(QWidget* parent) : m_parent(parent) {}

    bool askYesNo(const QString& title, const QString& question) override;
    std::optional<QString> ShowOpen(const OpenDialogRequest& request) override;
    std::optional<QString> showSave(const OpenDialogRequest& request) override;
    std::optional<QString> showFolder(const QString& folder) override;
    void warn(const QString& title, const QString& message) override;
    std::optional<MarkTexts> editMark(const QString& title, const QString& about,
                                      const MarkTexts& texts) override;

  private:
    QWidget* m_parent;
};
