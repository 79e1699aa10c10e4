// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>

class Playback;
class QWidget;
class ViewState;
class WindowActions;

// Playing through the day from the keyboard: Ctrl+Space anywhere in the
// window, Space where it means nothing else (a slider or a picture has the
// focus), and ] and [ for faster and slower. Playing moves the view state's
// slot, and goes on from wherever the slot is moved to.
class PlayControls : public QObject {
    Q_OBJECT
  public:
    // `spaceTakers` are the controls on which Space plays.
    PlayControls(ViewState& view, WindowActions& actions, QWidget* window,
                 const QList<QWidget*>& spaceTakers);

    Playback& playback() { return *m_playback; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Playback* m_playback;
};
