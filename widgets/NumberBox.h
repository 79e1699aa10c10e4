// SPDX-License-Identifier: MIT
#pragma once

#include <QSpinBox>

// A spin box that keeps what is typed within its range and refuses, with
// the bell, a key that would take it out of the range, where QSpinBox would
// drop the key without a sound: 40000 typed into a box that ends at 32767
// stops at 4000 and says so.
class NumberBox : public QSpinBox {
    Q_OBJECT
  public:
    explicit NumberBox(QWidget* parent = nullptr);

  signals:
    // A typed key was refused; the bell has sounded.
    void refused();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};
