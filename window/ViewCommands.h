// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class CompareCommands;
class EventsWindow;
class FileSaver;
class LoadDialogs;
class LogLoader;
class OverviewWindow;
class PictureActions;
class PictureBox;
class QWidget;
class ViewState;

// The window's commands beyond its controls, each with its key and its
// entries in the pictures' menus: the values out (値をコピー, 値を書き出す...,
// この方向を書き出す...), the colour settings (Ctrl+K, 色の設定...), the
// overview of the folder's days (Ctrl+L, 一覧...) and the day's events
// (Ctrl+Shift+E, イベント...). They read and change the view state, as the
// controls do.
class ViewCommands : public QObject {
    Q_OBJECT
  public:
    ViewCommands(ViewState& view, LogLoader& loader, LoadDialogs& dialogs, FileSaver& saver,
                 PictureActions& pictures, PictureBox& chart, PictureBox& polar, QWidget* window);
    ~ViewCommands() override;

    // The colour dialog: the pictures follow its settings while it is open;
    // Cancel goes back to those before.
    void EditColours();
    // The overview of the shown log's folder; without a log shown, a folder
    // dialog asks which. Again, it comes to the front.
    void ShowOverview();
    // The events of the shown day; selecting one moves the slot to its peak.
    void ShowEvents();
    // Comparing the shown day with a reference day.
    CompareCommands& compare() { return *m_compare; }

  private:
    void AddValueEntries(PictureActions& pictures, PictureBox& chart, PictureBox& polar);
    void ConnectOverview();

    ViewState& m_view;
    LogLoader& m_loader;
    LoadDialogs& m_dialogs;
    FileSaver& m_saver;
    QWidget* m_window;
    OverviewWindow* m_overview = nullptr;
    EventsWindow* m_events = nullptr;
    CompareCommands* m_compare = nullptr;
};
