// SPDX-License-Identifier: MIT
#pragma once

#include "LoadDialogs.h"
#include "ObservationGrid.h"
#include "ViewState.h"

#include <QWidget>

#include <memory>

class ChartZoom;
class FileSaver;
class HScrollBar;
class LogFollower;
class LogLoader;
class PictureActions;
class PictureBox;
class TypedEntry;
class ViewCommands;
class WindowActions;
class QLabel;
class QLineEdit;
class QPushButton;

// The viewer's one window: it places the controls, wires each control's
// event to its handler, and keeps what it shows in its view state; the
// drawing is left to the chart functions.
class Form1 : public QWidget {
    Q_OBJECT
  private:
    // Declared first: the window-level variables below refer into it.
    ViewState m_view;

  public:
    // `dialogs` answers the load command's questions; by default the
    // desktop's standard dialogs do.
    explicit Form1(std::unique_ptr<LoadDialogs> dialogs = nullptr, QWidget* parent = nullptr);
    ~Form1() override;

    // Controls, under their design names; public so that tests can reach them.
    PictureBox* Picture1 = nullptr;
    QPushButton* cmd1 = nullptr;
    PictureBox* Picture2 = nullptr;
    HScrollBar* HScroll1 = nullptr;
    HScrollBar* HScroll2 = nullptr;
    HScrollBar* HScroll3 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    HScrollBar* HScroll4 = nullptr;
    QLabel* Label1 = nullptr;

    // Window-level variables: the grid and the gain are the view state's.
    ObservationGrid& SignalGrid = m_view.grid();
    float RadPerDeg = 0;
    const float& PolarGain = m_view.polarGain();

    static constexpr QSize ClientSize{878, 637};

    ViewState& view() { return m_view; }
    LogLoader& loader() { return *m_loader; }
    ViewCommands& commands() { return *m_commands; }
    ChartZoom& zoom() { return *m_zoom; }
    WindowActions& windowActions() { return *m_actions; }
    // Loads a log without asking (command line, drop, day keys): a log that
    // cannot be read is reported and leaves everything as it was.
    void loadLog(const QString& path);
    // The path of the log whose chart is shown; empty before the first load
    // and after a load that left the chart cleared to its frame.
    const QString& shownLog() const { return m_view.path(); }

  private:
    void Form_Load();
    void Command1_Click();
    void cmd1_Click();
    void HScroll1_Change();
    void HScroll4_Change();

    void DrawChartFrame();
    void DrawPolarPlot();
    // What the pictures and texts show, drawn again from the view state.
    void showLog();
    void redrawChart();
    void redrawPolarPlot();
    void showLogMissing(bool missing);

    void wireKeys();
    void wirePlayback();

    std::unique_ptr<LoadDialogs> m_dialogs;
    std::unique_ptr<FileSaver> m_saver;
    WindowActions* m_actions = nullptr;
    LogLoader* m_loader = nullptr;
    LogFollower* m_follower = nullptr;
    PictureActions* m_pictures = nullptr;
    ViewCommands* m_commands = nullptr;
    ChartZoom* m_zoom = nullptr;
    // Text2 and Text3 take a typed time or gain on Enter.
    TypedEntry* m_timeEntry = nullptr;
    TypedEntry* m_gainEntry = nullptr;
};
