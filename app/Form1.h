// SPDX-License-Identifier: MIT
#pragma once

#include "LoadCommand.h"
#include "ObservationGrid.h"

#include <QWidget>

#include <memory>
#include <optional>

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

    std::unique_ptr<LoadDialogs> m_dialogs;
    // The Open dialog starts where the last log was loaded from.
    QString m_logFolder;
    // What the pictures show: the log plotted on the chart, if any, and
    // whether the polar plot has been drawn.
    std::optional<QString> m_chartLog;
    bool m_polarShown = false;
};
