// SPDX-License-Identifier: MIT
#include "MarkDialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

MarkDialog::MarkDialog(const QString& title, const QString& about, const MarkTexts& texts,
                       QWidget* parent)
    : QDialog(parent), m_label(new QLineEdit(texts.label, this)),
      m_comment(new QPlainTextEdit(texts.comment, this)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(about, this));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("ラベル(&L)"), m_label);
    form->addRow(QStringLiteral("コメント(&C)"), m_comment);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Room for about 20 characters of the label; the comment a few lines.
    const QFontMetrics metrics(m_label->font());
    m_label->setMinimumWidth(metrics.horizontalAdvance(QString(20, QChar(0x5370))));
    m_comment->setTabChangesFocus(true);
    m_comment->setFixedHeight(metrics.lineSpacing() * 5);
    // Enter in the label keeps the mark (the line edit's returnPressed goes
    // to the default button); Ctrl+Enter keeps it from the comment too,
    // where a plain Enter starts a new line.
    m_comment->installEventFilter(this);
    m_label->installEventFilter(this);
    m_label->setFocus();
    m_label->selectAll();
}

MarkTexts MarkDialog::texts() const {
    return {m_label->text().trimmed(), m_comment->toPlainText().trimmed()};
}

bool MarkDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() & Qt::ControlModifier) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
