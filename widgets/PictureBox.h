// SPDX-License-Identifier: MIT
#pragma once

#include "ImageSurface.h"

#include <QFrame>

#include <functional>
#include <optional>

class QAction;
class QMenu;

// A tooltip for a part of the picture: its text, and the area (in surface
// coordinates) over which it stays the same.
struct PictureTip {
    QString text;
    QRect area;
};

// A picture box: a sunken frame around a retained ImageSurface of the given
// drawing-area size; the frame adds its border on every side. The widget shows the surface; whoever
// owns the picture box draws on surface() and may hook in readouts, pointing, an overlay and
// saving. Points handed to the hooks are in surface coordinates: the widget's
// own (logical) coordinates less the border, whatever the screen's pixel ratio.
//
// The surface draws at the device pixel ratio of the screen the box is on.
// When that ratio changes (the window moves to another screen, the desktop's
// scale changes), the surface is replaced by a blank one at the new ratio and
// devicePixelRatioChanged asks the owner to draw the picture again.
class PictureBox : public QFrame {
    Q_OBJECT
  public:
    PictureBox(QSize drawingArea, QWidget* parent = nullptr);

    ImageSurface& surface() { return m_surface; }
    const ImageSurface& surface() const { return m_surface; }

    // The tooltip for a point; nothing where there is none.
    using TipProvider = std::function<std::optional<PictureTip>(QPointF)>;
    void setTipProvider(TipProvider provider);
    // Called with the point of a left press (dragging false); returning true
    // takes the press, and the points of the drag follow (dragging true)
    // until the button is released.
    using PointHandler = std::function<bool(QPointF, bool dragging)>;
    void setPointHandler(PointHandler handler) { m_point = std::move(handler); }
    // Paints over the shown picture, in surface coordinates; what it paints
    // never enters the surface. Call update() when it changes.
    using OverlayPainter = std::function<void(QPainter&)>;
    void setOverlayPainter(OverlayPainter painter) { m_overlay = std::move(painter); }
    // Shows `picture`, drawn beforehand at the surface's size and ratio, in
    // place of the surface until called with nullptr: swapping prepared
    // pictures costs a copy of the pixels only. The caller keeps it alive
    // and calls update() for the parts that differ.
    void showInstead(const ImageSurface* picture) { m_instead = picture; }
    // What 画像を保存... does.
    void setSaveHandler(std::function<void()> handler) { m_save = std::move(handler); }
    // Adds the owner's entries to the picture's menu, after copying and
    // saving. The point is where the menu was asked for, in surface
    // coordinates; nothing when it came from the keyboard.
    using MenuExtender = std::function<void(QMenu&, std::optional<QPointF>)>;
    void setMenuExtender(MenuExtender extender) { m_menuExtender = std::move(extender); }

    // The tooltip text at a point of the widget; empty where there is none.
    QString toolTipAt(QPointF widgetPoint) const;
    // The picture's logical point under a point of the widget.
    QPointF surfacePoint(QPointF widgetPoint) const;
    // A tooltip this picture left on screen is read again where it was
    // shown: for values that changed under it (a followed log that grew).
    void refreshTip();
    // 画像をコピー puts the surface's image on the clipboard as it is.
    QAction* copyAction() const { return m_copy; }
    QAction* saveAction() const { return m_saveAction; }
    void addPictureActions(QMenu* menu, std::optional<QPointF> at = std::nullopt) const;
    void showPictureMenu(QPoint globalPos, std::optional<QPointF> at = std::nullopt);

    // Draws from now on at `ratio`; at a new ratio the surface starts blank
    // and devicePixelRatioChanged is emitted before this returns.
    void setDevicePixelRatio(qreal ratio);

  signals:
    void devicePixelRatioChanged(qreal ratio);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // The point of the surface that a pointer at a point of the widget reads
    // (see ImageSurface::readingPoint).
    bool onDrawingArea(QPointF widgetPoint) const;
    void showTip(QPointF widgetPoint, QPoint globalPos);

    static constexpr int BorderWidth = 2;
    ImageSurface m_surface;
    const ImageSurface* m_instead = nullptr;
    TipProvider m_tip;
    PointHandler m_point;
    OverlayPainter m_overlay;
    std::function<void()> m_save;
    MenuExtender m_menuExtender;
    QAction* m_copy = nullptr;
    QAction* m_saveAction = nullptr;
    bool m_dragging = false;
    bool m_ratioChangePending = false;
    // Where the last mouse move put the pointer, to the fraction of a pixel.
    QPointF m_pointer{-1, -1};
    // The last tooltip this picture showed, and where.
    QString m_tipText;
    QPointF m_tipPoint;
    QPoint m_tipGlobal;
};
