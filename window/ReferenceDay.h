// SPDX-License-Identifier: MIT
#pragma once

#include "ObservationGrid.h"

#include <QObject>
#include <QString>

class ViewState;

// The reference day the view state asks for, read: which log it is (a
// relative one found again for every shown day), its grid and the cells its
// file filled, and the range of the difference of the pair, worked out once
// per pair. No widget; the compare window shows it, and only while it is
// shown is the reference read: browsing days with the window closed reads
// one log per day, not two.
class ReferenceDay : public QObject {
    Q_OBJECT
  public:
    enum class Status {
        None,       // no reference chosen, or no day shown
        Shown,      // read: grid() holds it
        Missing,    // a relative day without a log
        Unreadable, // a log that could not be read: reason() says why
    };

    explicit ReferenceDay(ViewState& view, QObject* parent = nullptr);

    // Whether anything shows the reference. Becoming active reads it for
    // the day shown and says changed(); inactive, changes of day or choice
    // are left until it is active again.
    void setActive(bool active);

    Status status() const { return m_status; }
    bool shown() const { return m_status == Status::Shown; }
    // The reference's log; empty when there is none.
    const QString& path() const { return m_path; }
    const QString& reason() const { return m_reason; }
    const ObservationGrid& grid() const { return m_grid; }
    long coveredCells() const { return m_cells; }
    // The difference's range for the pair, at least 1.
    int differenceRange() const;

  signals:
    // The reference or the shown day changed: what compares them is stale.
    void changed();
    // A reference that could not be read; said once for each log.
    void unreadable(const QString& path, const QString& reason);

  private:
    void resolve();

    ViewState& m_view;
    bool m_active = false;
    Status m_status = Status::None;
    QString m_path;
    QString m_reason;
    QString m_warned;
    ObservationGrid m_grid;
    long m_cells = 0;
    mutable int m_range = 0; // 0 until asked for
};
