// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class CompareWindow;
class PictureActions;
class PictureBox;
class QWidget;
class ReferenceDay;
class ViewState;

// The commands of comparing days: 比較 (Ctrl+Shift+C) opens the compare
// window; on the chart's menu 基準日にする makes the shown day the
// reference, 前のログ / 7日前 / 1年前 make it the day relative to the shown
// one, and 基準日を外す clears it. The reference is the view state's.
class CompareCommands : public QObject {
    Q_OBJECT
  public:
    CompareCommands(ViewState& view, PictureActions& pictures, PictureBox& chart, QWidget* window);
    ~CompareCommands() override;

    void ShowCompare();
    CompareWindow* compareWindow() const { return m_compare; }
    ReferenceDay& reference() { return *m_reference; }

  private:
    ViewState& m_view;
    QWidget* m_window;
    ReferenceDay* m_reference = nullptr;
    CompareWindow* m_compare = nullptr;
};
