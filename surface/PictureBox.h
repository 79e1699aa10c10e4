// SPDX-License-Identifier: MIT
#pragma once

#include "ImageSurface.h"

#include <QFrame>

// A picture box: a sunken frame around a retained ImageSurface whose size is
// the frame's inside. The widget only shows the surface; whoever owns the
// picture box draws on surface().
//
// The surface draws at the device pixel ratio of the screen the box is on.
// When that ratio changes (the window moves to another screen, the desktop's
// scale changes), the surface is replaced by a blank one at the new ratio and
// devicePixelRatioChanged asks the owner to draw the picture again.
class PictureBox : public QFrame {
    Q_OBJECT
  public:
    PictureBox(QSize outerSize, QWidget* parent = nullptr);

    ImageSurface& surface() { return m_surface; }
    const ImageSurface& surface() const { return m_surface; }

    // Draws from now on at `ratio`; at a new ratio the surface starts blank
    // and devicePixelRatioChanged is emitted before this returns.
    void setDevicePixelRatio(qreal ratio);

  signals:
    void devicePixelRatioChanged(qreal ratio);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    static constexpr int BorderWidth = 2;
    ImageSurface m_surface;
};
