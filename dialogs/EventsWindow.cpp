// SPDX-License-Identifier: MIT
#include "EventsWindow.h"

#include "DayTime.h"
#include "FileNames.h"
#include "FileSaver.h"
#include "NumberBox.h"
#include "PathText.h"

#include <QAbstractTableModel>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

// The events as table rows; texts are made only for the rows on screen, so a
// low threshold's thousands of events fill the table at once.
class EventTableModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    enum Column { Start, End, Duration, PeakTime, Direction, Peak, Cells, ColumnCount };

    std::vector<SignalEvent> events;

    void Reset(std::vector<SignalEvent> found) {
        beginResetModel();
        events = std::move(found);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(events.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : ColumnCount;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const SignalEvent& event = events[std::size_t(index.row())];
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        const auto clock = [](int t) { return QString::fromStdString(SlotClock(t, true)); };
        switch (index.column()) {
        case Start:
            return clock(event.firstSlot);
        case End:
            return clock(event.endSlot);
        case Duration:
            return QStringLiteral("%1 分").arg(event.minutes());
        case PeakTime:
            return clock(event.peakSlot);
        case Direction:
            return QStringLiteral("%1°").arg(BinDegrees(event.peakBin));
        case Peak:
            return event.peakValue;
        default:
            return event.cells;
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const QStringList titles{QStringLiteral("開始"),  QStringLiteral("終了"),
                                        QStringLiteral("継続"),  QStringLiteral("ピーク時刻"),
                                        QStringLiteral("方向"),  QStringLiteral("最大"),
                                        QStringLiteral("セル数")};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        return titles.value(section);
    }
};

EventsWindow::EventsWindow(FileSaver& saver, QWidget* parent)
    : QDialog(parent), m_saver(saver), m_model(new EventTableModel(this)) {
    setWindowTitle(QStringLiteral("イベント"));

    threshold = new NumberBox;
    threshold->setRange(MinEventThreshold, MaxEventThreshold);
    threshold->setValue(DefaultEventThreshold);
    auto* thresholdLabel = new QLabel(QStringLiteral("閾値"));
    thresholdLabel->setBuddy(threshold);

    table = new QTableView;
    table->setModel(m_model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->setAccessibleName(QStringLiteral("イベント一覧"));
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        const int row = table->indexAt(at).row();
        if (row < 0)
            return;
        QMenu menu(this);
        const SignalEvent event = events()[std::size_t(row)];
        connect(menu.addAction(QStringLiteral("印を付ける...")), &QAction::triggered, this,
                [this, event] {
                    emit markRequested(event, EventSector(m_grid, threshold->value(), event));
                });
        menu.exec(table->viewport()->mapToGlobal(at));
    });

    summary = new QLabel;
    exportButton = new QPushButton(QStringLiteral("書き出す..."));
    // Enter in the table repeats a selection; it must not save the list.
    exportButton->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(thresholdLabel);
    top->addWidget(threshold);
    top->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(summary, 1);
    bottom->addWidget(exportButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table, 1);
    layout->addLayout(bottom);
    resize(640, 420);

    connect(threshold, &QSpinBox::valueChanged, this, &EventsWindow::findDayEvents);
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { reportRow(current.row()); });
    connect(table, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { reportRow(index.row()); });
    connect(exportButton, &QPushButton::clicked, this, &EventsWindow::saveList);
    findDayEvents();
}

EventsWindow::~EventsWindow() = default;

const std::vector<SignalEvent>& EventsWindow::events() const {
    return m_model->events;
}

void EventsWindow::showDay(const ObservationGrid& grid, const QString& logPath) {
    m_grid = grid;
    m_log = logPath;
    setWindowTitle(
        logPath.isEmpty()
            ? QStringLiteral("イベント")
            : QStringLiteral("イベント - %1").arg(PathForDisplay(QFileInfo(logPath).fileName())));
    findDayEvents();
}

void EventsWindow::findDayEvents() {
    // The selected event is known again by its peak.
    const int row = table->currentIndex().row();
    const std::pair<int, int> selected = row >= 0 ? std::pair(events()[std::size_t(row)].peakSlot,
                                                              events()[std::size_t(row)].peakBin)
                                                  : std::pair(-1, -1);

    m_refilling = true;
    m_model->Reset(m_log.isEmpty() ? std::vector<SignalEvent>()
                                   : FindEvents(m_grid, threshold->value()));
    const auto same = std::find_if(events().begin(), events().end(), [&](const SignalEvent& e) {
        return std::pair(e.peakSlot, e.peakBin) == selected;
    });
    if (same != events().end()) {
        const QModelIndex index = m_model->index(int(same - events().begin()), 0);
        table->setCurrentIndex(index);
        table->scrollTo(index);
    }
    m_refilling = false;

    const int count = int(events().size());
    if (m_log.isEmpty())
        summary->setText(QStringLiteral("観測ログが表示されていません。"));
    else if (count == 0)
        summary->setText(QStringLiteral("イベントはありません（閾値 %1 以上のセルがありません）。")
                             .arg(threshold->value()));
    else
        summary->setText(QStringLiteral("イベント %1 件").arg(count));
    exportButton->setEnabled(!m_log.isEmpty());
}

void EventsWindow::reportRow(int row) {
    if (!m_refilling && row >= 0)
        emit peakSelected(events()[std::size_t(row)].peakSlot);
}

void EventsWindow::saveList() {
    const std::string text(EventListHeader);
    m_saver.saveValues(text + EventListLines(PathBytes(m_log), events()), EventListName(m_log));
}
