// SPDX-License-Identifier: MIT
#include "ViewCommands.h"

#include "ChartReadout.h"
#include "ColourDialog.h"
#include "CompareCommands.h"
#include "DialogPlacement.h"
#include "EventsWindow.h"
#include "FileNames.h"
#include "FileSaver.h"
#include "LoadDialogs.h"
#include "LogLoader.h"
#include "OverviewWindow.h"
#include "PictureBox.h"
#include "PathText.h"
#include "ValueTables.h"
#include "ViewState.h"
#include "WindowActions.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>

namespace {

// 「値をコピー」: tab-separated values on the clipboard, for a spreadsheet to
// paste as a table.
void CopyValues(const std::string& tabSeparated) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(tabSeparated));
}

} // namespace

ViewCommands::ViewCommands(ViewState& view, WindowActions& actions, LogLoader& loader,
                           LoadDialogs& dialogs, FileSaver& saver, PictureBox& chart,
                           QWidget* window)
    : QObject(window), m_view(view), m_loader(loader), m_dialogs(dialogs), m_saver(saver),
      m_chart(chart), m_window(window) {
    connectValues(actions);
    m_compare = new CompareCommands(view, actions, dialogs, window);
    connect(actions.editColours, &QAction::triggered, this, &ViewCommands::editColours);
    connect(actions.showOverview, &QAction::triggered, this, &ViewCommands::showOverview);
    connect(actions.showEvents, &QAction::triggered, this, &ViewCommands::showEvents);
}

// The other windows go first: they refer to the view state.
ViewCommands::~ViewCommands() {
    delete m_compare;
    delete m_overview;
    delete m_events;
}

// 値をコピー puts the numbers on the clipboard for a spreadsheet; the day on
// the chart, the shown slot on the polar plot.
void ViewCommands::connectValues(WindowActions& actions) {
    connect(actions.copyDayValues, &QAction::triggered, this,
            [this] { CopyValues(DayTable(m_view.grid(), m_view.coveredCells(), Separator::Tab)); });
    connect(actions.saveDayValues, &QAction::triggered, this, [this] {
        m_saver.saveValues(DayTable(m_view.grid(), m_view.coveredCells()),
                           DayValuesName(m_view.path()));
    });
    connect(actions.saveDirectionValues, &QAction::triggered, this, [this, &actions] {
        const int bin = actions.direction();
        m_saver.saveValues(DirectionTable(m_view.grid(), bin, m_view.coveredCells()),
                           DirectionValuesName(m_view.path(), bin));
    });
    connect(actions.copySlotValues, &QAction::triggered, this, [this] {
        CopyValues(SlotTable(m_view.grid(), m_view.slot(), m_view.coveredCells(), Separator::Tab));
    });
    connect(actions.saveSlotValues, &QAction::triggered, this, [this] {
        m_saver.saveValues(SlotTable(m_view.grid(), m_view.slot(), m_view.coveredCells()),
                           SlotValuesName(m_view.path(), m_view.slot()));
    });
    connect(&m_view, &ViewState::logChanged, &actions,
            [this, &actions] { actions.setLogShown(m_view.hasLog()); });
}

void ViewCommands::editColours() {
    const ColourSettings before = m_view.colours();
    // 自動 takes the range of the day on the chart.
    const std::optional<ColourRange> autoRange =
        m_view.hasLog() ? AutoColourRange(m_view.grid()) : std::nullopt;
    ColourDialog dialog(before, autoRange, m_window);
    // Beside or below the chart it previews, not over it.
    dialog.adjustSize();
    const QSize frame = m_window->frameGeometry().size() - m_window->size();
    const QRect chart(m_chart.mapToGlobal(QPoint(0, 0)), m_chart.size());
    dialog.move(PlaceBeside(dialog.size() + frame, chart, m_window->screen()->availableGeometry()));
    connect(&dialog, &ColourDialog::settingsChanged, &m_view, &ViewState::setColours);
    // A day that changes under the open dialog (the day keys, a followed log
    // replotted) is the one 自動 then takes.
    const auto followDay = [this, &dialog] {
        dialog.setAutoRange(m_view.hasLog() ? AutoColourRange(m_view.grid())
                                            : std::optional<ColourRange>());
    };
    connect(&m_view, &ViewState::logChanged, &dialog, followDay);
    connect(&m_view, &ViewState::gridChanged, &dialog, followDay);
    if (dialog.exec() != QDialog::Accepted) {
        m_view.setColours(before);
        return;
    }
    // Only now are they the user's: a preview is never kept.
    emit coloursAccepted(m_view.colours());
}

void ViewCommands::showOverview() {
    QString folder;
    if (m_view.hasLog()) {
        folder = m_view.path().left(m_view.path().lastIndexOf(QLatin1Char('/')));
    } else {
        const std::optional<QString> chosen = m_dialogs.showFolder(m_loader.logFolder());
        if (!chosen)
            return;
        folder = *chosen;
    }
    const std::filesystem::path path =
        FileSystemPath(folder.isEmpty() ? QStringLiteral("/") : folder);
    if (!m_overview || m_overview->folder() != path) {
        delete m_overview;
        m_overview = new OverviewWindow(path, FileSystemPath(m_view.path()), m_window);
        connectOverview();
    }
    m_overview->present();
}

void ViewCommands::dayMarksChanged(const QString& log) {
    if (m_overview)
        m_overview->refreshMarks(FileSystemPath(log));
}

void ViewCommands::connectOverview() {
    m_overview->setColours(OverviewColours{&m_view.colourTable()});
    // A day chosen there is shown here as the day keys show it: no question,
    // the slot and the gain kept, or the slot clicked on the time stack.
    connect(m_overview, &OverviewWindow::dayChosen, this,
            [this](const std::filesystem::path& log, std::optional<int> slot) {
                if (m_loader.loadLog(PathFromBytes(log.native())) && slot)
                    m_view.setSlot(*slot);
            });
    connect(&m_view, &ViewState::logChanged, m_overview,
            [this] { m_overview->setShownLog(FileSystemPath(m_view.path())); });
    connect(&m_view, &ViewState::coloursChanged, m_overview,
            [this] { m_overview->setColours(OverviewColours{&m_view.colourTable()}); });
    connect(m_overview, &OverviewWindow::referenceChosen, this,
            [this](const std::filesystem::path& log) {
                m_view.setReference(
                    {ReferenceChoice::Kind::Fixed, PathFromBytes(log.native()), {}});
            });
}

void ViewCommands::showEvents() {
    if (!m_events) {
        m_events = new EventsWindow(m_saver, m_window);
        // The table follows the shown day (a load, the day keys, a growing
        // log) while the window is open; a closed one does no work.
        const auto followDay = [this] {
            if (m_events->isVisible())
                m_events->showDay(m_view.grid(), m_view.path());
        };
        connect(&m_view, &ViewState::logChanged, m_events, followDay);
        connect(&m_view, &ViewState::gridChanged, m_events, followDay);
        connect(m_events, &EventsWindow::peakSelected, &m_view, &ViewState::setSlot);
        connect(m_events, &EventsWindow::markRequested, this, &ViewCommands::eventMarkRequested);
    }
    // Up to date with the day shown now, whatever happened while it was closed.
    if (!m_events->isVisible())
        m_events->showDay(m_view.grid(), m_view.path());
    m_events->show();
    m_events->raise();
    m_events->activateWindow();
}
