// SPDX-License-Identifier: MIT
#pragma once

#include "Events.h"
#include "ObservationGrid.h"

#include <QDialog>

#include <vector>

class EventTableModel;
class FileSaver;
class QLabel;
class QPushButton;
class NumberBox;
class QTableView;

// The 「イベント」 window: the events of the shown day in a table, one row
// each in the order of their first slot, at the threshold set in 閾値.
// Selecting a row (by click or arrow keys; Enter or a double click repeats
// it) reports the event's peak slot, for the time slider to go there. A day
// without events shows an empty table and says so. 「書き出す...」 saves the
// table in the `dirchart --events` format, the log named by its path's bytes
// as there.
class EventsWindow : public QDialog {
    Q_OBJECT
  public:
    explicit EventsWindow(FileSaver& saver, QWidget* parent = nullptr);
    ~EventsWindow() override;

    NumberBox* threshold = nullptr;
    QTableView* table = nullptr;
    QLabel* summary = nullptr;
    QPushButton* exportButton = nullptr;

    // The events in the table's order.
    const std::vector<SignalEvent>& events() const;

  public slots:
    // The day the main window shows: its grid and its log's path, empty while
    // no log is shown. The events are found again; an event selected before
    // stays selected when its peak is still one, without being reported anew.
    void showDay(const ObservationGrid& grid, const QString& logPath);

  signals:
    void peakSelected(int slot);
    // 印を付ける on a row's menu: the event is to be marked, over its time
    // and the directions its cells cover.
    void markRequested(const SignalEvent& event, const DirectionSector& sector);

  private:
    void findDayEvents();
    void reportRow(int row);
    void saveList();

    FileSaver& m_saver;
    ObservationGrid m_grid;
    QString m_log;
    EventTableModel* m_model = nullptr;
    bool m_refilling = false; // the table is being refilled, not selected in
};
