// SPDX-License-Identifier: MIT
#include "MarksWindow.h"

#include "DayMarks.h"
#include "DirectionTimePlot.h"
#include "MarkFile.h"
#include "PathText.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

enum Column { Date, Time, Sector, Label, Comment, Searched, ColumnCount };
constexpr int SortRole = Qt::UserRole + 1;
constexpr int IndexRole = Qt::UserRole + 2;

QStandardItem* Item(const QString& text, const QVariant& sortKey) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setData(sortKey, SortRole);
    return item;
}

} // namespace

MarksWindow::MarksWindow(QWidget* parent)
    : QDialog(parent), filter(new QLineEdit(this)), table(new QTableView(this)),
      summary(new QLabel(this)), m_model(new QStandardItemModel(0, ColumnCount, this)),
      m_sorted(new QSortFilterProxyModel(this)) {
    setWindowTitle(QStringLiteral("印一覧"));
    filter->setPlaceholderText(QStringLiteral("ラベルとコメントを絞り込む"));
    filter->setClearButtonEnabled(true);
    m_model->setHorizontalHeaderLabels({QStringLiteral("日付"), QStringLiteral("時刻"),
                                        QStringLiteral("方向"), QStringLiteral("ラベル"),
                                        QStringLiteral("コメント"), QString()});
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(SortRole);
    m_sorted->setFilterKeyColumn(Searched);
    m_sorted->setFilterCaseSensitivity(Qt::CaseInsensitive);
    table->setModel(m_sorted);
    table->setColumnHidden(Searched, true);
    table->setSortingEnabled(true);
    table->sortByColumn(Date, Qt::AscendingOrder);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(false);
    table->horizontalHeader()->setSectionResizeMode(Comment, QHeaderView::Stretch);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter);
    layout->addWidget(table);
    layout->addWidget(summary);
    connect(filter, &QLineEdit::textChanged, m_sorted,
            &QSortFilterProxyModel::setFilterFixedString);
    connect(table, &QTableView::clicked, this, &MarksWindow::choose);
    connect(table, &QTableView::activated, this, &MarksWindow::choose);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        const int row = table->indexAt(at).row();
        if (row < 0)
            return;
        const auto [log, mark] = rowMark(row);
        QMenu menu(this);
        connect(menu.addAction(QStringLiteral("印を編集...")), &QAction::triggered, this,
                [this, log, mark] { emit editRequested(log, mark); });
        connect(menu.addAction(QStringLiteral("印を削除")), &QAction::triggered, this,
                [this, log, mark] { emit deleteRequested(log, mark); });
        menu.exec(table->viewport()->mapToGlobal(at));
    });
    resize(720, 420);
}

void MarksWindow::showFolder(const QString& folder) {
    m_folder = folder;
    setWindowTitle(QStringLiteral("印一覧 – ") + PathForDisplay(folder));
    m_marks.clear();
    m_model->removeRows(0, m_model->rowCount());
    int damaged = 0;
    for (const LogMarks& day : FolderMarks(folder)) {
        if (!day.read.ok()) {
            ++damaged;
            continue;
        }
        const QString name = day.log.mid(day.log.lastIndexOf(u'/') + 1);
        const QString date = DateLabelText(day.log);
        for (const Mark& mark : day.read.document.marks) {
            const int index = int(m_marks.size());
            m_marks.emplace_back(day.log, mark);
            // The day's order, then the mark's start: the file's order.
            const QString dayKey =
                name + QStringLiteral("|%1").arg(mark.firstSlot, 3, 10, QChar(u'0'));
            const QString time = QString::fromStdString(mark.startText() + '-' + mark.endText());
            const QString sector =
                mark.allDirections()
                    ? QStringLiteral("全方向")
                    : QStringLiteral("%1°-%2°").arg(mark.fromDegrees()).arg(mark.toDegrees());
            const QString label = QString::fromUtf8(mark.label());
            const QString comment = QString::fromUtf8(mark.comment());
            QList<QStandardItem*> row{Item(date.isEmpty() ? PathForDisplay(name) : date, dayKey),
                                      Item(time, mark.firstSlot),
                                      Item(sector, mark.firstBin),
                                      Item(label, label),
                                      Item(QString(comment).replace(u'\n', u' '), comment),
                                      Item(label + u'\n' + comment, QString())};
            row[Date]->setData(index, IndexRole);
            row[Date]->setToolTip(PathForDisplay(day.log));
            row[Comment]->setToolTip(comment);
            m_model->appendRow(row);
        }
    }
    QStringList parts{QStringLiteral("印 %1 件").arg(m_marks.size())};
    if (damaged > 0)
        parts.append(QStringLiteral("読めない印のファイル %1 件").arg(damaged));
    summary->setText(parts.join(QStringLiteral("、")));
    table->resizeColumnsToContents();
}

std::pair<QString, Mark> MarksWindow::rowMark(int row) const {
    const QModelIndex index = m_sorted->mapToSource(m_sorted->index(row, Date));
    return m_marks.at(std::size_t(m_model->data(index, IndexRole).toInt()));
}

void MarksWindow::choose(const QModelIndex& index) {
    if (!index.isValid())
        return;
    const auto& [log, mark] = rowMark(index.row());
    emit markChosen(log, mark);
}
