// SPDX-License-Identifier: MIT
#pragma once

#include "LoadDialogs.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

// The small dialog that names a mark: a label line (about 20 characters
// wide, longer allowed) and a comment of several lines. Enter in the label,
// Ctrl+Enter anywhere and OK keep the mark; Escape and Cancel drop it.
class MarkDialog : public QDialog {
    Q_OBJECT
  public:
    MarkDialog(const QString& title, const QString& about, const MarkTexts& texts,
               QWidget* parent = nullptr);

    MarkTexts texts() const;
    QLineEdit* labelEdit() const { return m_label; }
    QPlainTextEdit* commentEdit() const { return m_comment; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* m_label;
    QPlainTextEdit* m_comment;
};
