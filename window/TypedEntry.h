// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QLineEdit;

// What a user types into the time box and the gain box. Both take surrounding
// spaces and full-width digits and colon, as a Japanese input method gives them.
//
// The slot that holds the typed time of day, "H:MM" or "HH:MM", 0:00 to 23:59:
// "15:01" gives the slot of 15:00. Nothing for any other text.
std::optional<int> TypedSlot(const QString& text);
// A typed time range, "6:00-9:00" (see TimeRangeView), as the chart's view
// with the sector of `view`. Nothing for any other text.
std::optional<ChartView> TypedTimeRange(const QString& text, const ChartView& view);
// The typed gain: a whole number from 1 to 50, digits only. Nothing for any
// other text.
std::optional<int> TypedGain(const QString& text);

class ViewState;
// What Text2 takes: a range zooms the chart to it through `zoomTo`, a time
// moves the slot; either way the box then shows the slot's time. Nothing for
// a text that is neither.
std::optional<QString> TakeTypedTime(const QString& typed, ViewState& view,
                                     const std::function<void(const ChartView&)>& zoomTo);
// What Text3 takes: a gain, which the box then shows.
std::optional<QString> TakeTypedGain(const QString& typed, ViewState& view);

// Makes a line edit an entry box: what is typed takes effect on Enter, and
// only when valid. A valid entry is handed to `commit`, and the box shows
// the text commit returns (the entry as the program writes it); an entry
// commit refuses (returns nothing) puts back the text the box showed before
// the edit and sounds the bell. Escape, or leaving the box without Enter,
// puts that text back too. While the box has the focus, show() keeps what
// is being typed and only puts its text back when the box is left.
class TypedEntry : public QObject {
    Q_OBJECT
  public:
    using Commit = std::function<std::optional<QString>(const QString& typed)>;

    // The bell is QApplication::beep unless given.
    TypedEntry(QLineEdit* edit, Commit commit, std::function<void()> bell = {});

    // Shows `text` in the box; while the box has the focus, keeps it for
    // when the box is left.
    void show(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void enter();
    // Puts back the text shown before the edit; true when it differed.
    bool putBack();

    QLineEdit* m_edit;
    Commit m_commit;
    std::function<void()> m_bell;
    // What the box shows when nobody is typing in it.
    QString m_shown;
};
