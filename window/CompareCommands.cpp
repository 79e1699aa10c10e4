// SPDX-License-Identifier: MIT
#include "CompareCommands.h"

#include "ChartZoom.h"
#include "CompareWindow.h"
#include "LoadDialogs.h"
#include "Messages.h"
#include "PictureBox.h"
#include "ReferenceDay.h"
#include "ViewState.h"
#include "WindowActions.h"

#include <QAction>

CompareCommands::CompareCommands(ViewState& view, WindowActions& actions, LoadDialogs& dialogs,
                                 QWidget* window)
    : QObject(window), m_view(view), m_window(window), m_reference(new ReferenceDay(view, this)) {
    using Kind = ReferenceChoice::Kind;
    // Queued: the reference is read while a day is being loaded, and the
    // warning waits until that load has finished drawing.
    connect(
        m_reference, &ReferenceDay::unreadable, this,
        [&dialogs](const QString& path, const QString& reason) {
            dialogs.warn(DialogTitle, UnreadableReferenceMessage(path, reason));
        },
        Qt::QueuedConnection);
    connect(actions.showCompare, &QAction::triggered, this, &CompareCommands::showCompare);
    connect(actions.makeReference, &QAction::triggered, this, [this] {
        m_view.setReference({Kind::Fixed, m_view.path(), {}});
    });
    for (const auto& [action, day] : {std::pair{actions.previousLogDay, RelativeDay::PreviousLog},
                                      std::pair{actions.weekBeforeDay, RelativeDay::WeekBefore},
                                      std::pair{actions.yearBeforeDay, RelativeDay::YearBefore}})
        connect(action, &QAction::triggered, this, [this, day] {
            m_view.setReference({Kind::Relative, {}, day});
        });
    connect(actions.clearReference, &QAction::triggered, this, [this] { m_view.setReference({}); });
    connect(&view, &ViewState::referenceChanged, this,
            [this, &actions] { actions.setReference(m_view.reference()); });
}

// Before the view state, which the window refers to.
CompareCommands::~CompareCommands() {
    delete m_compare;
}

void CompareCommands::showCompare() {
    // Without a reference chosen, the day before is what one compares with.
    if (m_view.reference().kind == ReferenceChoice::Kind::None)
        m_view.setReference({ReferenceChoice::Kind::Relative, {}, RelativeDay::PreviousLog});
    if (!m_compare) {
        m_compare = new CompareWindow(m_view, *m_reference, m_window);
        if (m_zoom)
            for (PictureBox* chart : {m_compare->upperChart, m_compare->lowerChart})
                m_zoom->addChart(*chart);
    }
    m_compare->show();
    m_compare->raise();
    m_compare->activateWindow();
}
