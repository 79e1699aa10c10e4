// SPDX-License-Identifier: MIT
#pragma once

#include "ColourSettings.h"
#include "Events.h"

#include <QObject>

class CompareCommands;
class EventsWindow;
class FileSaver;
class LoadDialogs;
class LogLoader;
class OverviewWindow;
class PictureBox;
class QWidget;
class ViewState;
class WindowActions;

// What the window's commands beyond its controls do: the values out
// (値をコピー, 値を書き出す..., この方向を書き出す...), the colour settings, the
// overview of the folder's days and the day's events. Their actions, keys and
// menu entries are WindowActions'. They read and change the view state, as
// the controls do.
class ViewCommands : public QObject {
    Q_OBJECT
  public:
    ViewCommands(ViewState& view, WindowActions& actions, LogLoader& loader, LoadDialogs& dialogs,
                 FileSaver& saver, PictureBox& chart, QWidget* window);
    ~ViewCommands() override;

    // The colour dialog: the pictures follow its settings while it is open;
    // Cancel goes back to those before, OK announces them as accepted.
    void editColours();
    // The overview of the shown log's folder; without a log shown, a folder
    // dialog asks which. Again, it comes to the front.
    void showOverview();
    // A day's marks changed: an open overview's flag for it follows.
    void dayMarksChanged(const QString& log);
    // The events of the shown day; selecting one moves the slot to its peak.
    void showEvents();
    // Comparing the shown day with a reference day.
    CompareCommands& compare() { return *m_compare; }

  signals:
    // The events window asks for an event to be marked.
    void eventMarkRequested(const SignalEvent& event, const DirectionSector& sector);
    // The colour dialog was closed with OK on these settings.
    void coloursAccepted(const ColourSettings& colours);

  private:
    void connectValues(WindowActions& actions);
    void connectOverview();

    ViewState& m_view;
    LogLoader& m_loader;
    LoadDialogs& m_dialogs;
    FileSaver& m_saver;
    PictureBox& m_chart;
    QWidget* m_window;
    OverviewWindow* m_overview = nullptr;
    EventsWindow* m_events = nullptr;
    CompareCommands* m_compare = nullptr;
};
