// SPDX-License-Identifier: MIT
#include "ReferenceDay.h"

#include "DayDifference.h"
#include "FileErrors.h"
#include "LogFile.h"
#include "PathText.h"
#include "ViewState.h"

ReferenceDay::ReferenceDay(ViewState& view, QObject* parent) : QObject(parent), m_view(view) {
    connect(&view, &ViewState::referenceChanged, this, &ReferenceDay::resolve);
    connect(&view, &ViewState::logChanged, this, &ReferenceDay::resolve);
    // A followed log that grows changes the pair's difference, not the pair.
    connect(&view, &ViewState::gridChanged, this, [this] {
        m_range = 0;
        emit changed();
    });
    resolve();
}

int ReferenceDay::differenceRange() const {
    if (m_range == 0)
        m_range =
            DifferenceRange(m_view.grid(), m_view.coveredCells(), m_grid, shown() ? m_cells : 0);
    return m_range;
}

void ReferenceDay::setActive(bool active) {
    if (active == m_active)
        return;
    m_active = active;
    if (m_active)
        resolve();
}

void ReferenceDay::resolve() {
    if (!m_active)
        return;
    const ReferenceChoice& choice = m_view.reference();
    m_path.clear();
    m_reason.clear();
    m_range = 0;
    if (choice.kind == ReferenceChoice::Kind::None || !m_view.hasLog()) {
        m_status = Status::None;
    } else if (choice.kind == ReferenceChoice::Kind::Fixed) {
        m_path = choice.path;
    } else if (const auto found = RelativeDayLog(FileSystemPath(m_view.path()), choice.relative)) {
        m_path = PathFromBytes(found->native());
    } else {
        m_status = Status::Missing;
    }
    if (!m_path.isEmpty()) {
        const LogReadResult read = ReadLogFile(m_path, m_grid);
        if (read.ok()) {
            m_status = Status::Shown;
            m_cells = read.cellsCovered();
        } else {
            m_status = Status::Unreadable;
            m_reason = ReasonText(read);
            if (m_warned != m_path) {
                m_warned = m_path;
                emit unreadable(m_path, m_reason);
            }
        }
    }
    emit changed();
}
