// SPDX-License-Identifier: MIT
#include "WindowActions.h"

#include "ViewState.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

WindowActions::WindowActions(QWidget* window)
    : QObject(window), m_window(window),
      load(make("load", "読み込み", QKeySequence(Qt::CTRL | Qt::Key_O))),
      quit(make("quit", "終了", QKeySequence(Qt::CTRL | Qt::Key_Q))),
      previousDay(make("previousDay", "前の日", QKeySequence(Qt::ALT | Qt::Key_Left))),
      nextDay(make("nextDay", "次の日", QKeySequence(Qt::ALT | Qt::Key_Right))),
      play(make("play", "再生", QKeySequence(Qt::CTRL | Qt::Key_Space))),
      // A text box takes these as text, and so never triggers them.
      faster(make("faster", "速く", QKeySequence(Qt::Key_BracketRight))),
      slower(make("slower", "遅く", QKeySequence(Qt::Key_BracketLeft))),
      copyDayValues(make("copyDayValues", "値をコピー", {})),
      saveDayValues(make("saveDayValues", "値を書き出す...", {})),
      saveDirectionValues(make("saveDirectionValues", "この方向を書き出す...", {})),
      copySlotValues(make("copySlotValues", "値をコピー", {})),
      saveSlotValues(make("saveSlotValues", "値を書き出す...", {})),
      zoomIn(make("zoomIn", "拡大", QKeySequence(Qt::CTRL | Qt::Key_Equal))),
      zoomOut(make("zoomOut", "縮小", QKeySequence(Qt::CTRL | Qt::Key_Minus))),
      zoomWhole(make("zoomWhole", "全体表示", QKeySequence(Qt::CTRL | Qt::Key_0))),
      viewBack(make("viewBack", "戻る", QKeySequence(Qt::Key_Backspace))),
      viewForward(make("viewForward", "進む", QKeySequence(Qt::SHIFT | Qt::Key_Backspace))),
      editColours(make("editColours", "色の設定...", QKeySequence(Qt::CTRL | Qt::Key_K))),
      showOverview(make("showOverview", "一覧...", QKeySequence(Qt::CTRL | Qt::Key_L))),
      // Ctrl+E is a text box's own (the end of the line).
      showEvents(
          make("showEvents", "イベント...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E))),
      markCell(make("markCell", "印を付ける...", {})),
      markSlot(make("markSlot", "この時刻に印を付ける", QKeySequence(Qt::Key_M))),
      editMark(make("editMark", "印を編集...", {})),
      deleteMark(make("deleteMark", "印を削除", {})),
      showMarks(make("showMarks", "印を表示", {})),
      listMarks(make("listMarks", "印一覧...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M))),
      nextMark(make("nextMark", "次の印", QKeySequence(Qt::Key_N))),
      previousMark(make("previousMark", "前の印", QKeySequence(Qt::SHIFT | Qt::Key_N))),
      showCompare(make("showCompare", "比較...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C))),
      makeReference(make("makeReference", "基準日にする", {})),
      referenceDays(make("referenceDays", "基準日", {})),
      previousLogDay(make("previousLogDay", "前のログ", {})),
      weekBeforeDay(make("weekBeforeDay", "7日前", {})),
      yearBeforeDay(make("yearBeforeDay", "1年前", {})),
      clearReference(make("clearReference", "基準日を外す", {})) {
    // The relative days are one choice among three, in a submenu.
    auto* relative = new QMenu(m_window);
    relative->setAccessibleName(QStringLiteral("基準日"));
    auto* group = new QActionGroup(this);
    for (QAction* day : {previousLogDay, weekBeforeDay, yearBeforeDay}) {
        day->setCheckable(true);
        group->addAction(day);
        relative->addAction(day);
    }
    referenceDays->setMenu(relative);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    showMarks->setCheckable(true);
    showMarks->setChecked(true);
    // The keys of other keyboards and habits: Ctrl++ where + needs no
    // Shift, and the keypad's.
    zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal),
                          QKeySequence(Qt::CTRL | Qt::Key_Plus),
                          QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Plus)});
    zoomOut->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Minus),
                           QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Minus)});
    setLogShown(false);
    setReference({});
}

QAction* WindowActions::make(const char* name, const char* text, const QKeySequence& key) {
    auto* action = new QAction(QString::fromUtf8(text), this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    // Window-wide, whichever control has the focus.
    action->setShortcutContext(Qt::WindowShortcut);
    m_window->addAction(action);
    return action;
}

QList<QAction*> WindowActions::chartMenu() const {
    return {nullptr,       zoomIn,       zoomOut,        zoomWhole,     viewBack,
            viewForward,   nullptr,      copyDayValues,  saveDayValues, saveDirectionValues,
            nullptr,       markCell,     editMark,       deleteMark,    showMarks,
            listMarks,     nullptr,      editColours,    showOverview,  showEvents,
            nullptr,       showCompare,  makeReference,  referenceDays, clearReference,
            nullptr,       play};
}

QList<QAction*> WindowActions::polarMenu() const {
    return {nullptr, copySlotValues, saveSlotValues, nullptr, play};
}

void WindowActions::setLogShown(bool shown) {
    m_logShown = shown;
    for (QAction* values : {copyDayValues, saveDayValues, copySlotValues, saveSlotValues})
        values->setEnabled(shown);
    saveDirectionValues->setEnabled(false);
    for (QAction* marking : {markSlot, nextMark, previousMark})
        marking->setEnabled(shown);
    setPointedCell(m_pointed);
    makeReference->setEnabled(shown);
}

void WindowActions::setDirection(std::optional<int> bin) {
    saveDirectionValues->setData(bin ? *bin : -1);
    saveDirectionValues->setEnabled(m_logShown && bin);
}

int WindowActions::direction() const {
    return saveDirectionValues->data().toInt();
}

void WindowActions::setPlaying(bool playing) {
    play->setText(playing ? QStringLiteral("停止") : QStringLiteral("再生"));
}

void WindowActions::setPointedCell(std::optional<QPoint> slotAndBin) {
    m_pointed = slotAndBin;
    markCell->setEnabled(m_logShown && slotAndBin);
    emit cellPointed(slotAndBin);
}

void WindowActions::setReference(const ReferenceChoice& reference) {
    using Kind = ReferenceChoice::Kind;
    const bool relative = reference.kind == Kind::Relative;
    previousLogDay->setChecked(relative && reference.relative == RelativeDay::PreviousLog);
    weekBeforeDay->setChecked(relative && reference.relative == RelativeDay::WeekBefore);
    yearBeforeDay->setChecked(relative && reference.relative == RelativeDay::YearBefore);
    clearReference->setEnabled(reference.kind != Kind::None);
}
