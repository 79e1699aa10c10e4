// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>
#include <QPoint>

#include <optional>

struct ReferenceChoice;
class QAction;
class QKeySequence;
class QWidget;

// Every command of the main window, each once, as a QAction with its
// Japanese text, its key and whether it can act now. The window's
// shortcuts are these actions (added to the window), and both pictures'
// menus and the menu from the keyboard are built from them, so that the key
// a menu shows is the key that works. Whoever carries a command out connects
// to its action's triggered(); tests find an action by its object name.
class WindowActions : public QObject {
    Q_OBJECT
    // First: the actions below are added to it as they are made.
    QWidget* m_window;
    bool m_logShown = false;
    std::optional<QPoint> m_pointed;

  public:
    explicit WindowActions(QWidget* window);

    // The log and the day.
    QAction* const load;        // 読み込み, Ctrl+O: as the button does
    QAction* const quit;        // 終了, Ctrl+Q
    QAction* const previousDay; // 前の日, Alt+Left
    QAction* const nextDay;     // 次の日, Alt+Right
    // Playing through the day.
    QAction* const play;   // 再生 / 停止, Ctrl+Space
    QAction* const faster; // 速く, ]
    QAction* const slower; // 遅く, [
    // Values out, on the chart (the day, the direction under the pointer)
    // and on the polar plot (its slot).
    QAction* const copyDayValues;       // 値をコピー
    QAction* const saveDayValues;       // 値を書き出す...
    QAction* const saveDirectionValues; // この方向を書き出す...
    QAction* const copySlotValues;      // 値をコピー
    QAction* const saveSlotValues;      // 値を書き出す...
    // The chart's view: zooming the time about the view's centre, the whole
    // day, and Back and Forward through the views (with the chart focused,
    // since a text box deletes with Backspace).
    QAction* const zoomIn;      // 拡大, Ctrl+= (Ctrl++, Ctrl+keypad +)
    QAction* const zoomOut;     // 縮小, Ctrl+- (Ctrl+keypad -)
    QAction* const zoomWhole;   // 全体表示, Ctrl+0
    QAction* const viewBack;    // 戻る, Backspace
    QAction* const viewForward; // 進む, Shift+Backspace
    // The other windows.
    QAction* const editColours;  // 色の設定..., Ctrl+K
    QAction* const showOverview; // 一覧..., Ctrl+L
    QAction* const showEvents;   // イベント..., Ctrl+Shift+E
    // Marks: of the cell under the pointer, of the shown slot (M), the mark
    // under the pointer's, whether they are shown, their list, and the next
    // and previous one across days (N, Shift+N). M, N and Shift+N are keys
    // of the chart, with the chart focused (see MarkCommands).
    QAction* const markCell;     // 印を付ける...
    QAction* const markSlot;     // この時刻に印を付ける, M
    QAction* const editMark;     // 印を編集...
    QAction* const deleteMark;   // 印を削除
    QAction* const showMarks;    // 印を表示, checkable
    QAction* const listMarks;    // 印一覧..., Ctrl+Shift+M
    QAction* const nextMark;     // 次の印, N
    QAction* const previousMark; // 前の印, Shift+N
    // Comparing days: the compare window, and the reference day it compares
    // with: the shown day, or the day before it in one of three ways (the
    // entries of 基準日's submenu), or none.
    QAction* const showCompare;    // 比較..., Ctrl+Shift+C
    QAction* const makeReference;  // 基準日にする
    QAction* const referenceDays;  // 基準日 ▸
    QAction* const previousLogDay; // 前のログ
    QAction* const weekBeforeDay;  // 7日前
    QAction* const yearBeforeDay;  // 1年前
    QAction* const clearReference; // 基準日を外す

    // The entries of each picture's menu after its own 画像をコピー and
    // 画像を保存...; a null entry stands for a separator.
    QList<QAction*> chartMenu() const;
    QList<QAction*> polarMenu() const;

    // What can act now: the values need a shown log, the direction also a
    // cell under the pointer; 再生 says 停止 while playing.
    void setLogShown(bool shown);
    // The direction of この方向を書き出す..., as the menu under the pointer
    // finds it; none from the keyboard.
    void setDirection(std::optional<int> bin);
    int direction() const;
    void setPlaying(bool playing);
    // Which reference day is chosen: none, a fixed log, or a relative one
    // (checked in 基準日's submenu).
    void setReference(const ReferenceChoice& reference);

    // The cell under the pointer as the chart's menu finds it (none from the
    // keyboard), for 印を付ける... and for whoever finds the mark under it.
    void setPointedCell(std::optional<QPoint> slotAndBin);
    std::optional<QPoint> pointedCell() const { return m_pointed; }

  signals:
    // The chart's menu is about to show with this cell under the pointer.
    void cellPointed(std::optional<QPoint> slotAndBin);

  private:
    QAction* make(const char* name, const char* text, const QKeySequence& key);
};
