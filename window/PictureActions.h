// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QMenu>
#include <QPointF>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class FileSaver;
class Playback;
class PictureBox;
class QWidget;
class ViewState;

// What the two pictures do besides showing their charts: readouts under the
// pointer, picking a slot on the chart, the marker of the polar plot's slot,
// copying and saving, the menu from the keyboard, and descriptions for
// assistive tools. It reads the view state and changes only its slot.
class PictureActions : public QObject {
    Q_OBJECT
  public:
    PictureActions(ViewState& view, PictureBox& chart, PictureBox& polar, FileSaver& saver,
                   QWidget* window);

    // The menu of the picture under the mouse, or, with the mouse elsewhere,
    // both pictures' menus one level down, at the focused control.
    void ShowMenuFromKeyboard();
    // The context-menu key on these controls shows the pictures' menu.
    void TakeMenuKey(const QList<QWidget*>& controls);
    // 再生 / 停止 in the menus, and the marker hollow while playing.
    void setPlayback(Playback& playback);
    // Adds entries to a picture's menu, after those added before.
    using MenuEntries = std::function<void(QMenu&, std::optional<QPointF>)>;
    void addMenuEntries(PictureBox& picture, MenuEntries entries);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString ValueText(int slot, int bin) const;
    void Describe();
    // Repaints the marker of a slot.
    void UpdateMarker(int slot);

    ViewState& m_view;
    PictureBox& m_chart;
    PictureBox& m_polar;
    FileSaver& m_saver;
    QWidget* m_window;
    Playback* m_playback = nullptr;
    int m_markerSlot = 0;
    std::vector<MenuEntries> m_chartEntries;
    std::vector<MenuEntries> m_polarEntries;
};
