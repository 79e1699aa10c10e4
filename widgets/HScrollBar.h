// SPDX-License-Identifier: MIT
#pragma once

#include <QScrollBar>

// A horizontal scroll bar that behaves as the window's sliders must: steps of
// one for arrows and trough alike, a change reported only once the value has
// settled (not while the thumb is dragged), keyboard focus by click and Tab,
// Left/Right moving the way the arrows point, and a frame in the highlight
// colour while it has the focus, so that one sees which slider the keys move.
class HScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    HScrollBar(int minimum, int maximum, int value, QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
