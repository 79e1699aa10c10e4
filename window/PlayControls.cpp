// SPDX-License-Identifier: MIT
#include "PlayControls.h"

#include "Playback.h"
#include "ViewState.h"
#include "WindowActions.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

PlayControls::PlayControls(ViewState& view, WindowActions& actions, QWidget* window,
                           const QList<QWidget*>& spaceTakers)
    : QObject(window), m_playback(new Playback(this)) {
    connect(m_playback, &Playback::slotChanged, &view, &ViewState::setSlot);
    connect(&view, &ViewState::slotChanged, m_playback, &Playback::setSlot);

    connect(actions.play, &QAction::triggered, m_playback, &Playback::toggle);
    connect(m_playback, &Playback::playingChanged, &actions,
            [this, &actions] { actions.setPlaying(m_playback->isPlaying()); });
    connect(actions.faster, &QAction::triggered, this, [this] {
        if (!m_playback->faster())
            QApplication::beep();
    });
    connect(actions.slower, &QAction::triggered, this, [this] {
        if (!m_playback->slower())
            QApplication::beep();
    });
    for (QWidget* control : spaceTakers)
        control->installEventFilter(this);
}

bool PlayControls::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            if (!key->isAutoRepeat())
                m_playback->toggle();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
