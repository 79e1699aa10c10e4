// SPDX-License-Identifier: MIT
#pragma once

#include "LoadCommand.h"
#include "ObservationGrid.h"

#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>

#include <memory>

class HScrollBar;
class PictureBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The viewer's one window: it owns the controls and the window-level state,
// wires each control's event to its handler, and leaves all drawing to the
// chart functions.
class Form1 : public QWidget {
    Q_OBJECT
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

    // Window-level state.
    ObservationGrid SignalGrid;
    float RadPerDeg = 0;
    float PolarGain = 0;

    static constexpr QSize ClientSize{878, 637};

    // Loads a log without asking (command line, drop, day keys): a log that
    // cannot be read is reported and leaves everything as it was.
    void LoadLog(const QString& path);
    // The absolute path of the log whose chart is shown; empty before the
    // first load and after a load that left the chart cleared to its frame.
    const QString& ShownLog() const { return m_shownLog; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void Form_Load();
    void Command1_Click();
    void cmd1_Click();
    void HScroll1_Change();
    void HScroll4_Change();

    void DrawChartFrame();
    void DrawPolarPlot();
    // Draw what the pictures show once more, after a change of screen ratio.
    void RedrawChart();
    void RedrawPolarPlot();

    // The pictures' readouts, slot picking, marker and context menus.
    void WirePictures();
    void SavePicture(const PictureBox& picture, const QString& suggestedName);
    void ShowPictureMenuFromKeyboard();
    void DescribeControls();
    void DescribePictures();

    void ShowLoadedLog(const QString& path);
    void ForgetShownLog();
    void StepDay(int step);
    void FollowShownLog();

    std::unique_ptr<LoadDialogs> m_dialogs;
    // The Open dialog starts where the last log was loaded from.
    QString m_logFolder;
    QString m_shownLog;
    bool m_polarDrawn = false;
    // The shown log is followed while it is written: its file and its folder
    // are watched (the folder for a file replaced by a rename or created
    // again), and changes are gathered for a moment before one replot.
    QFileSystemWatcher m_watcher;
    QTimer m_followDelay;
};
