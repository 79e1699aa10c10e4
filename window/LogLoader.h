// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

class LoadDialogs;
class QMimeData;
class QWidget;
class ViewState;

// Every way a log comes in ends here: the load button's command with its
// question and Open dialog, and the loads without asking (command line,
// drop, day keys, the other windows). A log that is read is shown through
// the view state; one that cannot be read is reported.
class LogLoader : public QObject {
    Q_OBJECT
  public:
    LogLoader(ViewState& view, LoadDialogs& dialogs, QObject* parent = nullptr);

    // The load button: asks, clears the chart to its frame, lets the user
    // choose a log in the Open dialog and loads it. A log that cannot be read
    // leaves the chart cleared to its frame.
    void runLoadCommand();

    enum class Warning { Now, AfterThisEvent };
    // Loads a log without asking. A log that cannot be read is reported (now,
    // or once the event being handled is finished, for a drop) and leaves
    // everything as it was; with no day shown, the day keys go on from it.
    // True when the log is shown.
    bool loadLog(const QString& path, Warning warning = Warning::Now);

    // The day keys: the log of the next day before (-1) or after (+1), from
    // the shown day or from a day the keys could not read; a beep when there
    // is none.
    void stepDay(int step);

    // Where the Open dialog starts: the folder of the last log loaded.
    const QString& logFolder() const { return m_logFolder; }
    void setLogFolder(const QString& folder) { m_logFolder = folder; }

    // A log dropped anywhere on `window` is loaded.
    void takeDrops(QWidget* window);
    // The one local file a drag carries that is worth loading; empty for
    // several files, a folder or anything that is not a local file.
    static QString droppedLog(const QMimeData* mime);

  signals:
    void logFolderChanged(const QString& folder);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool load(const QString& path, Warning warning);

    ViewState& m_view;
    LoadDialogs& m_dialogs;
    QString m_logFolder;
    // The day the day keys last failed to read; the next key press goes on
    // from it, as it does from a log that failed while no day was shown.
    // Any other load forgets it.
    QString m_failedDay;
};
