// SPDX-License-Identifier: MIT
#pragma once

#include "ImageSurface.h"

#include <QFrame>

// A picture box: a sunken frame around a retained ImageSurface whose size is
// the frame's inside. The widget only shows the surface; whoever owns the
// picture box draws on surface().
class PictureBox : public QFrame {
    Q_OBJECT
  public:
    PictureBox(QSize outerSize, QWidget* parent = nullptr);

    ImageSurface& surface() { return m_surface; }
    const ImageSurface& surface() const { return m_surface; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    static constexpr int BorderWidth = 2;
    ImageSurface m_surface;
};
