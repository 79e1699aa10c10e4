// SPDX-License-Identifier: MIT
#pragma once

#include "DayProfile.h"
#include "ProfilePlot.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>

class ImageSurface;
class PictureBox;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;
class QTimer;
class ReferenceDay;
class ViewState;

// 比較: the shown day against its reference day, following the view state
// as the other windows do (day, slot, colours, gain). Three ways to look:
// 並べる (the shown day above the reference, each a chart as the main
// window's), 点滅 (one chart alternating between the two, by the B key or a
// timer, swapping pictures drawn beforehand so that no frame is blank or
// half drawn) and 差 (the difference on a diverging map). Beside the charts
// the two days' polar plots of the slot; below them the profile of both
// days through one direction or a sector.
class CompareWindow : public QWidget {
    Q_OBJECT
  public:
    enum class Mode { SideBySide, Blink, Difference };

    CompareWindow(ViewState& view, ReferenceDay& reference, QWidget* parent = nullptr);
    ~CompareWindow() override;

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    // 点滅: the other day on screen.
    void toggleBlink();
    bool showingReference() const { return m_showingReference; }
    // The automatic blink's period, 250 to 2000 ms in quarter seconds.
    void setBlinkInterval(int milliseconds);
    void setBlinking(bool on);

    // The direction the profile runs through while no sector is typed:
    // locked (この方向に固定) or, unlocked, the one last under the pointer.
    void lockDirection(std::optional<int> bin);
    void pointAt(int bin);
    // The profile's sector as typed ("200-280"); empty for the direction.
    // False for text that names no sector, which is then left as it was.
    bool setSector(const QString& text);
    DirectionSector profileSector() const;
    // 値をコピー of the profile: both curves as tab-separated text.
    QString profileValuesText() const;

    // "10:38  240°  415 / 基準 390 / 差 +25" for a cell.
    QString readoutText(int slot, int bin) const;
    // The difference's range: the user's, or 0 for each pair's own.
    void setFixedRange(int range);
    int differenceRange() const;

    PictureBox* upperChart = nullptr;
    PictureBox* lowerChart = nullptr;
    PictureBox* profilePlot = nullptr;
    PictureBox* polarPlot = nullptr;
    QLabel* readout = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void buildControls();
    void wireCharts();
    void redrawAll();
    void redrawCharts();
    void redrawPolar();
    void redrawProfile(bool frameToo);
    ProfileCurves profileCurves() const;
    // The slots the charts show: the view state's time window, which the
    // profile and the markers follow.
    SlotSpan chartSpan() const;

    ViewState& m_view;
    ReferenceDay& m_reference;
    Mode m_mode = Mode::SideBySide;
    bool m_showingReference = false;
    // 点滅's reference chart, drawn beforehand.
    std::unique_ptr<ImageSurface> m_referenceChart;
    std::optional<int> m_lockedBin;
    int m_pointedBin = 0;
    std::optional<DirectionSector> m_sector;
    int m_fixedRange = 0;
    std::optional<DrawnProfile> m_drawnProfile;

    QButtonGroup* m_modes = nullptr;
    QCheckBox* m_autoBlink = nullptr;
    QSlider* m_blinkInterval = nullptr;
    QLabel* m_blinkText = nullptr;
    QSpinBox* m_range = nullptr;
    QLineEdit* m_sectorBox = nullptr;
    QLabel* m_status = nullptr;
    QTimer* m_blinkTimer = nullptr;
};
