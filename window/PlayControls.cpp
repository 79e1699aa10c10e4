// SPDX-License-Identifier: MIT
#include "PlayControls.h"

#include "Playback.h"
#include "ViewState.h"

#include <QApplication>
#include <QKeyEvent>
#include <QShortcut>
#include <QWidget>

PlayControls::PlayControls(ViewState& view, QWidget* window, const QList<QWidget*>& spaceTakers)
    : QObject(window), m_playback(new Playback(this)) {
    connect(m_playback, &Playback::slotChanged, &view, &ViewState::setSlot);
    connect(&view, &ViewState::slotChanged, m_playback, &Playback::setSlot);

    const auto shortcut = [&](QKeySequence keys, auto handler) {
        connect(new QShortcut(keys, window), &QShortcut::activated, this, handler);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Space), [this] { m_playback->toggle(); });
    // A text box takes these as text, and so never sees them here.
    shortcut(QKeySequence(Qt::Key_BracketRight), [this] {
        if (!m_playback->faster())
            QApplication::beep();
    });
    shortcut(QKeySequence(Qt::Key_BracketLeft), [this] {
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
