// SPDX-License-Identifier: MIT
#pragma once

#include <QScrollBar>

// A horizontal scroll bar that behaves as the window's sliders must: steps of
// one for arrows and trough alike, a change reported only once the value has
// settled (not while the thumb is dragged), keyboard focus by click and Tab,
// and Left/Right moving the way the arrows point.
class HScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    HScrollBar(int minimum, int maximum, int value, QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};
