// SPDX-License-Identifier: MIT
#include "CompareCommands.h"

#include "CompareWindow.h"
#include "PictureActions.h"
#include "ReferenceDay.h"
#include "ViewState.h"

#include <QAction>
#include <QShortcut>

CompareCommands::CompareCommands(ViewState& view, PictureActions& pictures, PictureBox& chart,
                                 QWidget* window)
    : QObject(window), m_view(view), m_window(window), m_reference(new ReferenceDay(view, this)) {
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), window),
            &QShortcut::activated, this, &CompareCommands::ShowCompare);

    pictures.addMenuEntries(chart, [this](QMenu& menu, std::optional<QPointF>) {
        menu.addSeparator();
        QAction* compare = menu.addAction(QStringLiteral("比較..."));
        compare->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
        connect(compare, &QAction::triggered, this, &CompareCommands::ShowCompare);

        using Kind = ReferenceChoice::Kind;
        const ReferenceChoice& now = m_view.reference();
        QAction* fix = menu.addAction(QStringLiteral("基準日にする"));
        fix->setEnabled(m_view.hasLog());
        connect(fix, &QAction::triggered, this, [this] {
            m_view.setReference({Kind::Fixed, m_view.path(), {}});
        });
        QMenu* relative = menu.addMenu(QStringLiteral("基準日"));
        for (const auto& [text, day] : {std::pair{"前のログ", RelativeDay::PreviousLog},
                                        std::pair{"7日前", RelativeDay::WeekBefore},
                                        std::pair{"1年前", RelativeDay::YearBefore}}) {
            QAction* entry = relative->addAction(QString::fromUtf8(text));
            entry->setCheckable(true);
            entry->setChecked(now.kind == Kind::Relative && now.relative == day);
            connect(entry, &QAction::triggered, this, [this, day] {
                m_view.setReference({Kind::Relative, {}, day});
            });
        }
        QAction* clear = menu.addAction(QStringLiteral("基準日を外す"));
        clear->setEnabled(now.kind != Kind::None);
        connect(clear, &QAction::triggered, this, [this] { m_view.setReference({}); });
    });
}

// Before the view state, which the window refers to.
CompareCommands::~CompareCommands() {
    delete m_compare;
}

void CompareCommands::ShowCompare() {
    // Without a reference chosen, the day before is what one compares with.
    if (m_view.reference().kind == ReferenceChoice::Kind::None)
        m_view.setReference({ReferenceChoice::Kind::Relative, {}, RelativeDay::PreviousLog});
    if (!m_compare)
        m_compare = new CompareWindow(m_view, *m_reference, m_window);
    m_compare->show();
    m_compare->raise();
    m_compare->activateWindow();
}
