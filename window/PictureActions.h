// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointF>
#include <QString>

#include <optional>

class FileSaver;
class Playback;
class PictureBox;
class QWidget;
class ViewState;
class WindowActions;

// What the two pictures do besides showing their charts: readouts under the
// pointer, picking a slot on the chart, the marker of the polar plot's slot,
// copying and saving, the menu from the keyboard, and descriptions for
// assistive tools. It reads the view state and changes only its slot.
class PictureActions : public QObject {
    Q_OBJECT
  public:
    // Each picture's menu holds its own entries and then `actions`' entries
    // for it.
    PictureActions(ViewState& view, WindowActions& actions, PictureBox& chart, PictureBox& polar,
                   FileSaver& saver, QWidget* window);

    // The menu of the picture under the mouse, or, with the mouse elsewhere,
    // both pictures' menus one level down, at the focused control.
    void showMenuFromKeyboard();
    // The context-menu key on these controls shows the pictures' menu.
    void takeMenuKey(const QList<QWidget*>& controls);
    // The marker hollow while playing.
    void setPlayback(Playback& playback);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The chart's device pixels per logical pixel, which zoomed cells follow.
    qreal ratio() const;
    QString valueText(int slot, int bin) const;
    void describe();
    // Repaints the marker of a slot.
    void updateMarker(int slot);

    ViewState& m_view;
    PictureBox& m_chart;
    PictureBox& m_polar;
    FileSaver& m_saver;
    QWidget* m_window;
    Playback* m_playback = nullptr;
    int m_markerSlot = 0;
};
