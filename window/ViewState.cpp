// SPDX-License-Identifier: MIT
#include "ViewState.h"

void ViewState::showLog(const QString& path, ObservationGrid grid, int coveredCells) {
    m_path = path;
    m_grid = std::move(grid);
    m_coveredCells = coveredCells;
    emit logChanged();
}

void ViewState::replaceGrid(ObservationGrid grid, int coveredCells) {
    m_grid = std::move(grid);
    m_coveredCells = coveredCells;
    emit gridChanged();
}

void ViewState::clearLog() {
    if (m_path.isEmpty())
        return;
    m_path.clear();
    emit logChanged();
}

void ViewState::setSlot(int slot) {
    if (slot == m_slot && m_polarShown)
        return;
    m_slot = slot;
    m_polarShown = true;
    emit slotChanged(slot);
}

void ViewState::setGain(int gain) {
    if (gain == this->gain() && m_polarShown)
        return;
    m_polarGain = static_cast<float>(gain);
    m_polarShown = true;
    emit gainChanged(gain);
}

void ViewState::setColours(const ColourSettings& colours) {
    if (colours == this->colours())
        return;
    m_colourTable = ColourTable(colours);
    emit coloursChanged();
}

void ViewState::setReference(const ReferenceChoice& reference) {
    if (reference == m_reference)
        return;
    m_reference = reference;
    emit referenceChanged();
}

void ViewState::setChartView(const ChartView& view) {
    const ChartView held = Clamped(view);
    if (held == m_chartView)
        return;
    m_chartView = held;
    emit chartViewChanged();
}

void ViewState::setMarksShown(bool shown) {
    if (shown == m_marksShown)
        return;
    m_marksShown = shown;
    emit marksShownChanged(shown);
}
