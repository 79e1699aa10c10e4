// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QSocketNotifier;
class ViewState;

// Follows the shown log while it is written: the file and its folder are
// watched (the folder for a file replaced by a rename or created again), and
// changes are gathered for a moment before one replot of the view state's
// grid. A running gathering delay is not restarted, so a steady writer still
// gets a replot every FollowDelayMs. The path is handed to the system as its
// bytes, so a name that is not valid UTF-8 is followed too.
class LogFollower : public QObject {
    Q_OBJECT
  public:
    static constexpr int FollowDelayMs = 250;

    explicit LogFollower(ViewState& view, QObject* parent = nullptr);
    ~LogFollower() override;

  signals:
    void missingChanged(bool missing);

  private:
    void follow(const QString& path);
    void readEvents();
    void replot();
    void watchFile();
    void setMissing(bool missing);

    ViewState& m_view;
    QString m_path;
    int m_inotify = -1;
    int m_fileWatch = -1;
    int m_folderWatch = -1;
    // The followed name may now be another file, to be watched anew.
    bool m_rewatch = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_delay;
    bool m_missing = false;
};
