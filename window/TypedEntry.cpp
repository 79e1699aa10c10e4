// SPDX-License-Identifier: MIT
#include "TypedEntry.h"

#include "ViewState.h"

#include "DayTime.h"
#include "PolarPlot.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace {

// Full-width digits and colon become ASCII; spaces around are dropped.
QString Normalised(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).trimmed();
}

} // namespace

std::optional<int> TypedSlot(const QString& text) {
    return SlotHolding(Normalised(text).toStdString());
}

std::optional<ChartView> TypedTimeRange(const QString& text, const ChartView& view) {
    // Full-width dashes and the minus sign are what an input method may give.
    QString range = Normalised(text);
    range.replace(QChar(0x2212), QLatin1Char('-')).replace(QChar(0x2013), QLatin1Char('-'));
    return TimeRangeView(range.toStdString(), view);
}

std::optional<int> TypedGain(const QString& text) {
    const QString digits = Normalised(text);
    if (digits.isEmpty() || digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int gain = digits.toInt();
    if (gain < MinPolarGain || gain > MaxPolarGain)
        return std::nullopt;
    return gain;
}

TypedEntry::TypedEntry(QLineEdit* edit, Commit commit, std::function<void()> bell)
    : QObject(edit), m_edit(edit), m_commit(std::move(commit)),
      m_bell(bell ? std::move(bell) : [] { QApplication::beep(); }), m_shown(edit->text()) {
    // A text set by the program, not typed, is what the box shows.
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_edit->isModified())
            m_shown = text;
    });
    connect(edit, &QLineEdit::returnPressed, this, &TypedEntry::enter);
    edit->installEventFilter(this);
}

void TypedEntry::show(const QString& text) {
    m_shown = text;
    if (!m_edit->hasFocus())
        m_edit->setText(text);
}

void TypedEntry::enter() {
    if (const std::optional<QString> shown = m_commit(m_edit->text())) {
        m_shown = *shown;
        m_edit->setText(*shown);
        return;
    }
    putBack();
    m_bell();
}

bool TypedEntry::putBack() {
    if (m_edit->text() == m_shown)
        return false;
    m_edit->setText(m_shown);
    return true;
}

bool TypedEntry::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit) {
        if (event->type() == QEvent::FocusOut) {
            // Not for the box's own context menu or another window: the user
            // is still at the box.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                putBack();
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && putBack()) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

std::optional<QString> TakeTypedTime(const QString& typed, ViewState& view,
                                     const std::function<void(const ChartView&)>& zoomTo) {
    if (const auto range = TypedTimeRange(typed, view.chartView())) {
        zoomTo(*range);
        return SlotTimeText(view.slot());
    }
    const std::optional<int> slot = TypedSlot(typed);
    if (slot)
        view.setSlot(*slot);
    return slot ? std::optional(SlotTimeText(*slot)) : std::nullopt;
}

std::optional<QString> TakeTypedGain(const QString& typed, ViewState& view) {
    const std::optional<int> gain = TypedGain(typed);
    if (gain)
        view.setGain(*gain);
    return gain ? std::optional(QString::number(*gain)) : std::nullopt;
}
