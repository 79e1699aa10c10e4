// SPDX-License-Identifier: MIT
#pragma once

#include "Marks.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

#include <vector>

// The marks of the shown day, as its marks file holds them, and the changes
// this window makes to them. Each change is saved at once, under the file's
// lock and applied by id to what the file holds then, so that another
// window's marks stay; the marks shown are what the file holds afterwards.
// A file changed by another program is read again. A file that cannot be
// read whole is never written: its day shows no marks and takes no new ones,
// and the window is told once why.
class DayMarks : public QObject {
    Q_OBJECT
  public:
    explicit DayMarks(QObject* parent = nullptr);

    // The log whose marks to hold; empty for none.
    void setLog(const QString& logPath);
    // Reads the file again if it changed since it was read.
    void refresh();

    const QString& logPath() const { return m_log; }
    const std::vector<Mark>& marks() const { return m_marks; }
    const Mark* find(const std::string& id) const;
    // Where the marks are kept, and whether that is the data folder rather
    // than beside the log (whose folder cannot be written).
    const QString& filePath() const { return m_file; }
    bool keptAside() const;
    // Why this day takes no new marks; empty when it does.
    const QString& refusal() const { return m_refusal; }

    // Saves a new or changed mark, or deletes one. False, with the reason
    // in `why`, when the file could not be written: the mark is then not
    // kept (or not deleted), and nothing on disk changed.
    bool save(const Mark& mark, QString* why = nullptr);
    bool remove(const std::string& id, QString* why = nullptr);

  signals:
    // The marks held changed: another day, a save, a change on disk.
    void marksChanged();
    // The day's marks file cannot be read whole; said once for each file.
    void problem(const QString& message);

  private:
    bool apply(const MarkChanges& changes, QString* why);
    void read();
    void watch();

    QString m_log;
    QString m_file;
    std::vector<Mark> m_marks;
    QString m_refusal;
    // What identified the file when it was read: its change time, size and
    // inode, so that a rewrite under the same name is seen.
    QByteArray m_signature;
    QString m_warnedFile;
    QFileSystemWatcher m_watcher;
};

// A new mark's id and creation time.
Mark NewMark(int firstSlot, int lastSlot, int firstBin, int lastBin);
// "06:00-09:00 340°-12°", or "全方向" for all directions, as the window shows
// a mark's extent.
QString MarkExtentText(const Mark& mark);
