// SPDX-License-Identifier: MIT
#include "NumberBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

NumberBox::NumberBox(QWidget* parent) : QSpinBox(parent) {
    connect(this, &NumberBox::refused, this, [] { QApplication::beep(); });
}

void NumberBox::keyPressEvent(QKeyEvent* event) {
    // A key that types a character but leaves the text as it was was refused
    // by the box's validator.
    const QString typed = event->text();
    const bool typing = !typed.isEmpty() && typed.at(0).isPrint() &&
                        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const QString before = lineEdit()->text();
    const int cursor = lineEdit()->cursorPosition();
    QSpinBox::keyPressEvent(event);
    if (typing && lineEdit()->text() == before && lineEdit()->cursorPosition() == cursor)
        emit refused();
}
