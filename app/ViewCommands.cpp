// SPDX-License-Identifier: MIT
#include "ViewCommands.h"

#include "ColourDialog.h"
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

    // The chart's menu, the legend's included.
    pictures.addMenuEntries(chart, [this](QMenu& menu, std::optional<QPointF>) {
        menu.addSeparator();
        connect(menu.addAction(QStringLiteral("色の設定...")), &QAction::triggered, this,
                &ViewCommands::EditColours);
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
