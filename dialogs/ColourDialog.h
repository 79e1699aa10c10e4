// SPDX-License-Identifier: MIT
#pragma once

#include "ColourSettings.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QDialogButtonBox;
class QPushButton;
class QLabel;
class NumberBox;

// 「色の設定」: the chart's colour range, stretch and colour map. Every valid
// change is announced at once, so that the pictures can follow while the dialog is
// open; on Cancel the caller goes back to the settings it had.
class ColourDialog : public QDialog {
    Q_OBJECT
  public:
    // `autoRange` is the shown day's own range, which 自動 applies; without
    // one the button is greyed out.
    ColourDialog(const ColourSettings& current, std::optional<ColourRange> autoRange,
                 QWidget* parent = nullptr);

    ColourSettings settings() const;
    void setSettings(const ColourSettings& colours);
    // For a day that changed while the dialog is open.
    void setAutoRange(std::optional<ColourRange> autoRange);

    // Controls, in tab order; public so that tests can reach them.
    NumberBox* minimumBox = nullptr;
    NumberBox* maximumBox = nullptr;
    QComboBox* stretchBox = nullptr;
    QComboBox* mapBox = nullptr;
    QPushButton* autoButton = nullptr;
    QPushButton* resetButton = nullptr;
    QDialogButtonBox* buttons = nullptr;
    // Why OK cannot be pressed now; hidden while it can.
    QLabel* problem = nullptr;

  signals:
    void settingsChanged(const ColourSettings& colours);

  private:
    // Announces valid settings; with 最小 not below 最大, says so and
    // greys out OK instead, keeping what was typed.
    void announce();

    std::optional<ColourRange> m_autoRange;
    ColourSettings m_announced;
    bool m_updating = false;
};
