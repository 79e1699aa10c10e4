// SPDX-License-Identifier: MIT
#include "MarkCommands.h"

#include "ChartFrame.h"
#include "ChartReadout.h"
#include "DayLogs.h"
#include "DayMarks.h"
#include "LoadDialogs.h"
#include "LogLoader.h"
#include "MarkFile.h"
#include "MarksOverlay.h"
#include "MarksWindow.h"
#include "PathText.h"
#include "PictureActions.h"
#include "PictureBox.h"
#include "ViewState.h"
#include "WindowActions.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QRubberBand>

#include <algorithm>
#include <tuple>

namespace {

const QString Title = QStringLiteral("dirchart");

QString FolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

// A point held inside the plot area, so that a box drawn past its edge
// ends at the edge.
ChartGeometry::Cell CellNear(QPointF p, const ChartView& view, qreal ratio) {
    using namespace ChartGeometry;
    const QPointF held(std::clamp<qreal>(p.x(), PlotLeft, PlotRight + 0.5),
                       std::clamp<qreal>(p.y(), PlotTop, PlotBottom + 0.5));
    return CellAt(held, view, ratio).value_or(Cell{});
}

} // namespace

MarkCommands::MarkCommands(ViewState& view, WindowActions& actions, LogLoader& loader,
                           LoadDialogs& dialogs, PictureActions& pictures, PictureBox& chart,
                           QWidget* window)
    : QObject(window), m_view(view), m_loader(loader), m_dialogs(dialogs), m_chart(chart),
      m_parent(window), m_marks(std::make_unique<DayMarks>()), m_actions(actions) {
    wireActions();
    // The shown day's marks, read again when its log changes on disk.
    connect(&view, &ViewState::logChanged, this, [this] { m_marks->setLog(m_view.path()); });
    connect(&view, &ViewState::gridChanged, m_marks.get(), &DayMarks::refresh);
    connect(&view, &ViewState::marksShownChanged, this, &MarkCommands::chartChanged);
    connect(m_marks.get(), &DayMarks::marksChanged, this, &MarkCommands::chartChanged);
    connect(m_marks.get(), &DayMarks::marksChanged, this, [this] {
        if (!m_marks->logPath().isEmpty())
            emit dayMarksChanged(m_marks->logPath());
    });
    connect(m_marks.get(), &DayMarks::marksChanged, this, [this] {
        if (m_window && m_window->isVisible() && m_view.hasLog() &&
            m_window->folder() == FolderOf(m_view.path()))
            m_window->showFolder(m_window->folder());
    });
    connect(m_marks.get(), &DayMarks::problem, this,
            [this](const QString& message) { m_dialogs.warn(Title, message); });

    pictures.setChartTipLines([this](int slot, int bin) { return tipLines(slot, bin); });
    chart.installEventFilter(this);
}

void MarkCommands::wireActions() {
    WindowActions& a = m_actions;
    // Single letters are text elsewhere: these keys are the chart's, with
    // the chart focused.
    for (QAction* key : {a.markSlot, a.nextMark, a.previousMark}) {
        m_parent->removeAction(key);
        key->setShortcutContext(Qt::WidgetShortcut);
        m_chart.addAction(key);
    }
    a.showMarks->setChecked(m_view.marksShown());
    connect(a.showMarks, &QAction::toggled, &m_view, &ViewState::setMarksShown);
    connect(&m_view, &ViewState::marksShownChanged, a.showMarks, &QAction::setChecked);
    connect(a.listMarks, &QAction::triggered, this, &MarkCommands::showList);
    connect(a.markSlot, &QAction::triggered, this, [this] { markSlot(); });
    connect(a.nextMark, &QAction::triggered, this, [this] { stepMark(+1); });
    connect(a.previousMark, &QAction::triggered, this, [this] { stepMark(-1); });
    connect(a.markCell, &QAction::triggered, this, [this] {
        if (const std::optional<QPoint> cell = m_actions.pointedCell())
            markCells(cell->x(), cell->x(), cell->y(), cell->y());
    });
    // The mark under the pointer, found as the chart's menu opens.
    connect(&a, &WindowActions::cellPointed, this, [this](std::optional<QPoint> cell) {
        const int under =
            cell && m_view.marksShown() ? MarkAt(m_marks->marks(), cell->x(), cell->y()) : -1;
        const QString id =
            under >= 0 ? QString::fromUtf8(m_marks->marks()[std::size_t(under)].id()) : QString();
        for (QAction* action : {m_actions.editMark, m_actions.deleteMark}) {
            action->setData(id);
            action->setEnabled(!id.isEmpty());
        }
    });
    connect(a.editMark, &QAction::triggered, this,
            [this] { editMark(m_actions.editMark->data().toString().toStdString()); });
    connect(a.deleteMark, &QAction::triggered, this,
            [this] { deleteMark(m_actions.deleteMark->data().toString().toStdString()); });
    for (QAction* action : {a.editMark, a.deleteMark})
        action->setEnabled(false);
}

QAction* MarkCommands::showMarksAction() const {
    return m_actions.showMarks;
}

MarkCommands::~MarkCommands() {
    delete m_window;
}

void MarkCommands::draw(DrawingSurface& chart) const {
    if (m_view.marksShown() && m_view.hasLog())
        DrawMarks(chart, m_marks->marks(), m_view.chartView());
}

QString MarkCommands::tipLines(int slot, int bin) const {
    if (!m_view.marksShown() || !m_view.hasLog())
        return {};
    QStringList lines;
    for (const Mark& mark : m_marks->marks()) {
        if (!mark.holds(slot, bin))
            continue;
        lines.append(QStringLiteral("印: ") + QString::fromUtf8(mark.label()) +
                     QStringLiteral("  ") + MarkExtentText(mark));
        if (!mark.comment().empty())
            lines.append(QString::fromUtf8(mark.comment()));
    }
    if (!lines.isEmpty() && m_marks->keptAside())
        lines.append(QStringLiteral("(印の保存先: %1)").arg(PathForDisplay(m_marks->filePath())));
    return lines.join(u'\n');
}

void MarkCommands::refuse(const QString& why) {
    if (!why.isEmpty())
        m_dialogs.warn(Title, why);
}

bool MarkCommands::markCells(int firstSlot, int lastSlot, int firstBin, int lastBin) {
    if (!m_view.hasLog()) {
        QApplication::beep();
        return false;
    }
    if (!m_marks->refusal().isEmpty()) {
        refuse(m_marks->refusal());
        return false;
    }
    Mark mark = NewMark(firstSlot, lastSlot, firstBin, lastBin);
    const std::optional<MarkTexts> texts =
        m_dialogs.editMark(QStringLiteral("印を付ける"), MarkExtentText(mark), {});
    if (!texts)
        return false;
    mark.setLabel(texts->label.toStdString());
    mark.setComment(texts->comment.toStdString());
    QString why;
    if (!m_marks->save(mark, &why)) {
        refuse(why);
        return false;
    }
    // A hidden mark would seem lost: a new one shows the marks.
    m_view.setMarksShown(true);
    return true;
}

bool MarkCommands::markSlot() {
    return markCells(m_view.slot(), m_view.slot(), 0, ObservationGrid::Bins - 1);
}

bool MarkCommands::markEvent(const SignalEvent& event, const DirectionSector& sector) {
    return markCells(event.firstSlot, event.endSlot - 1, sector.first, sector.last);
}

bool MarkCommands::editMark(const std::string& id) {
    return edit(*m_marks, id);
}

bool MarkCommands::deleteMark(const std::string& id) {
    return remove(*m_marks, id);
}

bool MarkCommands::editMarkOf(const QString& log, const std::string& id) {
    return changeMarkOf(log, id, &MarkCommands::edit);
}

bool MarkCommands::deleteMarkOf(const QString& log, const std::string& id) {
    return changeMarkOf(log, id, &MarkCommands::remove);
}

bool MarkCommands::changeMarkOf(const QString& log, const std::string& id,
                                bool (MarkCommands::*change)(DayMarks&, const std::string&)) {
    // The shown day's marks are this window's own; another day's are read
    // for the one change, and the list and the overview told of it.
    if (log == m_view.path())
        return (this->*change)(*m_marks, id);
    DayMarks other;
    other.setLog(log);
    const bool changed = (this->*change)(other, id);
    relist();
    emit dayMarksChanged(log);
    return changed;
}

void MarkCommands::relist() {
    if (m_window && m_window->isVisible())
        m_window->showFolder(m_window->folder());
}

bool MarkCommands::edit(DayMarks& marks, const std::string& id) {
    const Mark* found = marks.find(id);
    if (!found)
        return false;
    Mark mark = *found;
    const std::optional<MarkTexts> texts =
        m_dialogs.editMark(QStringLiteral("印を編集"), MarkExtentText(mark),
                           {QString::fromUtf8(mark.label()), QString::fromUtf8(mark.comment())});
    if (!texts)
        return false;
    mark.setLabel(texts->label.toStdString());
    mark.setComment(texts->comment.toStdString());
    QString why;
    if (!marks.save(mark, &why)) {
        refuse(why);
        return false;
    }
    return true;
}

bool MarkCommands::remove(DayMarks& marks, const std::string& id) {
    const Mark* found = marks.find(id);
    if (!found)
        return false;
    const QString question = QStringLiteral("印「%1」(%2) を削除しますか?")
                                 .arg(QString::fromUtf8(found->label()), MarkExtentText(*found));
    if (!m_dialogs.askYesNo(Title, question))
        return false;
    QString why;
    if (!marks.remove(id, &why)) {
        refuse(why);
        return false;
    }
    return true;
}

void MarkCommands::stepMark(int step) {
    if (!m_view.hasLog()) {
        QApplication::beep();
        return;
    }
    // Every mark of the folder's days in order of day, then start; the shown
    // day's marks as held here, which may be newer than a listing.
    const QString shown = m_view.path();
    const QString shownName = shown.mid(shown.lastIndexOf(u'/') + 1);
    using Place = std::tuple<int, QString, int>;
    const Place here{LogDateKey(shownName.toStdString()).value_or(-1), shownName, m_view.slot()};
    std::optional<std::pair<Place, std::pair<QString, Mark>>> best;
    const auto consider = [&](const QString& log, const Mark& mark) {
        const QString name = log.mid(log.lastIndexOf(u'/') + 1);
        const Place place{LogDateKey(name.toStdString()).value_or(-1), name, mark.firstSlot};
        const bool ahead = step > 0 ? here < place : place < here;
        const bool nearer = !best || (step > 0 ? place < best->first : best->first < place);
        if (ahead && nearer)
            best = {place, {log, mark}};
    };
    for (const Mark& mark : m_marks->marks())
        consider(shown, mark);
    if (LogDateKey(shownName.toStdString())) {
        for (const LogMarks& day : FolderMarks(FolderOf(shown)))
            if (day.log != shown)
                for (const Mark& mark : day.read.document.marks)
                    consider(day.log, mark);
    }
    if (!best) {
        QApplication::beep();
        return;
    }
    showMark(best->second.first, best->second.second);
}

void MarkCommands::showList() {
    QString folder;
    if (m_view.hasLog())
        folder = FolderOf(m_view.path());
    else if (const std::optional<QString> chosen = m_dialogs.showFolder(m_loader.logFolder()))
        folder = *chosen;
    else
        return;
    if (!m_window) {
        m_window = new MarksWindow(m_parent);
        connect(m_window, &MarksWindow::markChosen, this, &MarkCommands::showMark);
        connect(m_window, &MarksWindow::editRequested, this,
                [this](const QString& log, const Mark& mark) {
                    editMarkOf(log, std::string(mark.id()));
                });
        connect(m_window, &MarksWindow::deleteRequested, this,
                [this](const QString& log, const Mark& mark) {
                    deleteMarkOf(log, std::string(mark.id()));
                });
    }
    m_window->showFolder(folder);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void MarkCommands::showMark(const QString& log, const Mark& mark) {
    if (log != m_view.path() && !m_loader.loadLog(log))
        return;
    m_view.setSlot(mark.firstSlot);
    if (showMarkBox)
        showMarkBox(MarkedView(mark));
}

bool MarkCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_chart && boxDrag(event))
        return true;
    return QObject::eventFilter(watched, event);
}

// Ctrl+drag draws a box of slots and directions to mark; the plain drag
// stays the slot's.
bool MarkCommands::boxDrag(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF p = m_chart.surfacePoint(mouse->position());
    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() != Qt::LeftButton || !(mouse->modifiers() & Qt::ControlModifier) ||
            !ChartGeometry::CellAt(p, m_view.chartView(), m_chart.surface().devicePixelRatio()) ||
            !m_view.hasLog())
            return false;
        m_dragStart = p;
        if (!m_band)
            m_band = new QRubberBand(QRubberBand::Rectangle, &m_chart);
        m_dragPoint = mouse->position().toPoint();
        m_band->setGeometry(QRect(m_dragPoint, QSize(1, 1)));
        m_band->show();
        return true;
    }
    if (!m_dragStart)
        return false;
    using namespace ChartGeometry;
    const ChartView& view = m_view.chartView();
    const qreal ratio = m_chart.surface().devicePixelRatio();
    const Cell a = CellNear(*m_dragStart, view, ratio), b = CellNear(p, view, ratio);
    m_band->setGeometry(QRect(m_dragPoint, mouse->position().toPoint()).normalized());
    if (type == QEvent::MouseMove)
        return true;
    m_band->hide();
    m_dragStart.reset();
    // The sector runs up the view from the lower of the two bins, across
    // 0 degrees where the view does.
    const bool aLower = view.binOffset(a.bin).value_or(0) <= view.binOffset(b.bin).value_or(0);
    markCells(std::min(a.slot, b.slot), std::max(a.slot, b.slot), aLower ? a.bin : b.bin,
              aLower ? b.bin : a.bin);
    return true;
}
