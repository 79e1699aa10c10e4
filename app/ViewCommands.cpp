// SPDX-License-Identifier: MIT
#include "ViewCommands.h"

#include "ColourDialog.h"
#include "LoadDialogs.h"
#include "LogLoader.h"
#include "OverviewWindow.h"
#include "PathText.h"
#include "PictureActions.h"
#include "PictureBox.h"
#include "ViewState.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>

ViewCommands::ViewCommands(ViewState& view, LogLoader& loader, LoadDialogs& dialogs,
                           PictureActions& pictures, PictureBox& chart, PictureBox& polar,
                           QWidget* window)
    : QObject(window), m_view(view), m_loader(loader), m_dialogs(dialogs), m_window(window) {
    Q_UNUSED(polar);
    const auto shortcut = [&](QKeySequence keys, auto handler) {
        connect(new QShortcut(keys, window), &QShortcut::activated, this, handler);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_K), &ViewCommands::EditColours);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_L), &ViewCommands::ShowOverview);

    // The chart's menu, the legend's included.
    pictures.addMenuEntries(chart, [this](QMenu& menu, std::optional<QPointF>) {
        menu.addSeparator();
        connect(menu.addAction(QStringLiteral("色の設定...")), &QAction::triggered, this,
                &ViewCommands::EditColours);
        connect(menu.addAction(QStringLiteral("一覧...")), &QAction::triggered, this,
                &ViewCommands::ShowOverview);
    });
}

// The other windows go first: they refer to the view state.
ViewCommands::~ViewCommands() {
    delete m_overview;
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
    const std::filesystem::path path = FileSystemPath(folder.isEmpty() ? QStringLiteral("/") : folder);
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
