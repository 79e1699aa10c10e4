// SPDX-License-Identifier: MIT
#pragma once

#include "Marks.h"

#include <QDialog>

#include <vector>

class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

// The 「印一覧」 window: every mark of the logs of one folder, a row each
// (date, time, sector, label, comment), sortable by any column, with a text
// filter on the label and the comment. Choosing a row (click, or Enter)
// reports the log and the mark, for the main window to show them; a row's
// menu asks for the mark to be edited or deleted. Files
// that cannot be read whole are counted below the table.
class MarksWindow : public QDialog {
    Q_OBJECT
  public:
    explicit MarksWindow(QWidget* parent = nullptr);

    QLineEdit* filter = nullptr;
    QTableView* table = nullptr;
    QLabel* summary = nullptr;

    const QString& folder() const { return m_folder; }
    // Lists the folder's marks, read again; the sort order and the filter stay.
    void showFolder(const QString& folder);
    // The log and the mark of a row as the table shows it now.
    std::pair<QString, Mark> rowMark(int row) const;

  signals:
    void markChosen(const QString& log, const Mark& mark);
    // A row's menu: 印を編集... and 印を削除.
    void editRequested(const QString& log, const Mark& mark);
    void deleteRequested(const QString& log, const Mark& mark);

  private:
    void choose(const QModelIndex& index);

    QString m_folder;
    std::vector<std::pair<QString, Mark>> m_marks;
    QStandardItemModel* m_model = nullptr;
    QSortFilterProxyModel* m_sorted = nullptr;
};
