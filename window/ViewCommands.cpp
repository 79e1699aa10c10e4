// SPDX-License-Identifier: MIT
#include "ViewCommands.h"

#include "ChartReadout.h"
#include "ColourDialog.h"
#include "CompareCommands.h"
#include "EventsWindow.h"
#include "FileNames.h"
#include "FileSaver.h"
#include "LoadDialogs.h"
#include "LogLoader.h"
#include "OverviewWindow.h"
#include "PathText.h"
#include "PictureActions.h"
#include "PictureBox.h"
#include "ValueTables.h"
#include "ViewState.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QShortcut>

namespace {

// 「値をコピー」: tab-separated values on the clipboard, for a spreadsheet to
// paste as a table.
void CopyValues(const std::string& tabSeparated) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(tabSeparated));
}

} // namespace

ViewCommands::ViewCommands(ViewState& view, LogLoader& loader, LoadDialogs& dialogs,
                           FileSaver& saver, PictureActions& pictures, PictureBox& chart,
                           PictureBox& polar, QWidget* window)
    : QObject(window), m_view(view), m_loader(loader), m_dialogs(dialogs), m_saver(saver),
      m_window(window) {
    AddValueEntries(pictures, chart, polar);
    m_compare = new CompareCommands(view, pictures, chart, window);
    const auto shortcut = [&](QKeySequence keys, auto handler) {
        connect(new QShortcut(keys, window), &QShortcut::activated, this, handler);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_K), &ViewCommands::EditColours);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_L), &ViewCommands::ShowOverview);
    // Ctrl+E is a text box's own (the end of the line).
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), &ViewCommands::ShowEvents);

    // The chart's menu, the legend's included.
    pictures.addMenuEntries(chart, [this](QMenu& menu, std::optional<QPointF>) {
        menu.addSeparator();
        connect(menu.addAction(QStringLiteral("色の設定...")), &QAction::triggered, this,
                &ViewCommands::EditColours);
        connect(menu.addAction(QStringLiteral("一覧...")), &QAction::triggered, this,
                &ViewCommands::ShowOverview);
        connect(menu.addAction(QStringLiteral("イベント...")), &QAction::triggered, this,
                &ViewCommands::ShowEvents);
    });
}

// The other windows go first: they refer to the view state.
ViewCommands::~ViewCommands() {
    delete m_compare;
    delete m_overview;
    delete m_events;
}

// 値をコピー puts the numbers on the clipboard for a spreadsheet; the day on
// the chart, the shown slot on the polar plot. The direction is the one under
// the pointer, so it needs a menu asked for in the plot area.
void ViewCommands::AddValueEntries(PictureActions& pictures, PictureBox& chart, PictureBox& polar) {
    const auto add = [this](QMenu& menu, const char* text, auto action) {
        QAction* entry = menu.addAction(QString::fromUtf8(text));
        entry->setEnabled(m_view.hasLog());
        connect(entry, &QAction::triggered, this, action);
        return entry;
    };
    pictures.addMenuEntries(chart, [this, add](QMenu& menu, std::optional<QPointF> at) {
        menu.addSeparator();
        add(menu, "値をコピー",
            [this] { CopyValues(DayTable(m_view.grid(), m_view.coveredCells(), Separator::Tab)); });
        add(menu, "値を書き出す...", [this] {
            m_saver.SaveValues(DayTable(m_view.grid(), m_view.coveredCells()),
                               DayValuesName(m_view.path()));
        });
        const std::optional<ChartGeometry::Cell> cell =
            at ? ChartGeometry::CellAt(*at) : std::nullopt;
        QAction* direction = add(menu, "この方向を書き出す...", [this, bin = cell ? cell->bin : 0] {
            m_saver.SaveValues(DirectionTable(m_view.grid(), bin, m_view.coveredCells()),
                               DirectionValuesName(m_view.path(), bin));
        });
        direction->setEnabled(m_view.hasLog() && cell);
    });
    pictures.addMenuEntries(polar, [this, add](QMenu& menu, std::optional<QPointF>) {
        menu.addSeparator();
        add(menu, "値をコピー", [this] {
            CopyValues(
                SlotTable(m_view.grid(), m_view.slot(), m_view.coveredCells(), Separator::Tab));
        });
        add(menu, "値を書き出す...", [this] {
            m_saver.SaveValues(SlotTable(m_view.grid(), m_view.slot(), m_view.coveredCells()),
                               SlotValuesName(m_view.path(), m_view.slot()));
        });
    });
}

void ViewCommands::EditColours() {
    const ColourSettings before = m_view.colours();
    // 自動 takes the range of the day on the chart.
    const std::optional<ColourRange> autoRange =
        m_view.hasLog() ? AutoColourRange(m_view.grid()) : std::nullopt;
    ColourDialog dialog(before, autoRange, m_window);
    connect(&dialog, &ColourDialog::settingsChanged, &m_view, &ViewState::setColours);
    if (dialog.exec() != QDialog::Accepted)
        m_view.setColours(before);
}

void ViewCommands::ShowOverview() {
    QString folder;
    if (m_view.hasLog()) {
        folder = m_view.path().left(m_view.path().lastIndexOf(QLatin1Char('/')));
    } else {
        const std::optional<QString> chosen = m_dialogs.ShowFolder(m_loader.logFolder());
        if (!chosen)
            return;
        folder = *chosen;
    }
    const std::filesystem::path path =
        FileSystemPath(folder.isEmpty() ? QStringLiteral("/") : folder);
    if (!m_overview || m_overview->folder() != path) {
        delete m_overview;
        m_overview = new OverviewWindow(path, FileSystemPath(m_view.path()), m_window);
        ConnectOverview();
    }
    m_overview->show();
    m_overview->raise();
    m_overview->activateWindow();
}

void ViewCommands::ConnectOverview() {
    m_overview->setColours(OverviewColours{&m_view.colourTable()});
    // A day chosen there is shown here as the day keys show it: no question,
    // the slot and the gain kept, or the slot clicked on the time stack.
    connect(m_overview, &OverviewWindow::dayChosen, this,
            [this](const std::filesystem::path& log, std::optional<int> slot) {
                if (m_loader.LoadLog(PathFromBytes(log.native())) && slot)
                    m_view.setSlot(*slot);
            });
    connect(&m_view, &ViewState::logChanged, m_overview,
            [this] { m_overview->setShownLog(FileSystemPath(m_view.path())); });
    connect(&m_view, &ViewState::coloursChanged, m_overview,
            [this] { m_overview->setColours(OverviewColours{&m_view.colourTable()}); });
}

void ViewCommands::ShowEvents() {
    if (!m_events) {
        m_events = new EventsWindow(m_saver, m_window);
        const auto showDay = [this] { m_events->ShowDay(m_view.grid(), m_view.path()); };
        showDay();
        // The table follows the shown day: a load, the day keys, a growing log.
        connect(&m_view, &ViewState::logChanged, m_events, showDay);
        connect(&m_view, &ViewState::gridChanged, m_events, showDay);
        connect(m_events, &EventsWindow::peakSelected, &m_view, &ViewState::setSlot);
    }
    m_events->show();
    m_events->raise();
    m_events->activateWindow();
}
