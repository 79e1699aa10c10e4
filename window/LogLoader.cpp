// SPDX-License-Identifier: MIT
#include "LogLoader.h"

#include "DayLogs.h"
#include "LogFile.h"
#include "Messages.h"
#include "PathText.h"
#include "ViewState.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <QDir>
#include <QTimer>

#include <filesystem>

LogLoader::LogLoader(ViewState& view, LoadDialogs& dialogs, QObject* parent)
    : QObject(parent), m_view(view), m_dialogs(dialogs) {
    // Before the first load a newcomer finds the sample logs at once.
    m_logFolder = QDir(QStringLiteral(DIRCHART_SAMPLE_DIR)).exists()
                      ? QStringLiteral(DIRCHART_SAMPLE_DIR)
                      : QDir::homePath();
}

void LogLoader::runLoadCommand() {
    if (!m_dialogs.askYesNo(DialogTitle, LoadPrompt))
        return;
    m_failedDay.clear();
    m_view.clearLog();
    const std::optional<QString> path = m_dialogs.ShowOpen(OpenLogRequest(m_logFolder));
    if (!path)
        return;
    loadLog(*path);
}

bool LogLoader::loadLog(const QString& path, Warning warning) {
    m_failedDay.clear();
    // With no day shown (a start whose log cannot be read), the day keys
    // have nothing else to go on from than the day that failed.
    const bool nothingShown = m_view.path().isEmpty();
    const bool shown = load(path, warning);
    if (!shown && nothingShown)
        m_failedDay = AbsolutePath(path);
    return shown;
}

bool LogLoader::load(const QString& given, Warning warning) {
    const QString path = AbsolutePath(given);
    ObservationGrid grid;
    const LogReadResult read = ReadLogFile(path, grid);
    if (!read.ok()) {
        const QString message = UnreadableMessage(path, ReasonText(read));
        if (warning == Warning::Now)
            m_dialogs.warn(DialogTitle, message);
        else
            QTimer::singleShot(0, this, [this, message] { m_dialogs.warn(DialogTitle, message); });
        return false;
    }
    QString folder = path.left(path.lastIndexOf(QLatin1Char('/')));
    if (folder.isEmpty())
        folder = QStringLiteral("/");
    if (folder != m_logFolder) {
        m_logFolder = folder;
        emit logFolderChanged(folder);
    }
    m_view.showLog(path, std::move(grid), static_cast<int>(read.cellsCovered()));
    return true;
}

void LogLoader::stepDay(int step) {
    const QString& from = m_failedDay.isEmpty() ? m_view.path() : m_failedDay;
    if (from.isEmpty())
        return;
    const auto next = NeighbourDayLog(FileSystemPath(from), step);
    if (!next) {
        QApplication::beep();
        return;
    }
    const QString day = PathFromBytes(next->native());
    if (load(day, Warning::Now))
        m_failedDay.clear();
    else
        m_failedDay = day;
}

QString LogLoader::droppedLog(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile())
        return {};
    // The URL's own bytes, which need not be UTF-8.
    const QString path = PathFromBytes(
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
    std::error_code error;
    const auto status = std::filesystem::status(FileSystemPath(path), error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status)
               ? path
               : QString();
}

void LogLoader::takeDrops(QWidget* window) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool LogLoader::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!droppedLog(drag->mimeData()).isEmpty())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = droppedLog(drop->mimeData());
        if (path.isEmpty())
            return true;
        drop->acceptProposedAction();
        // The dragging program waits for the drop to finish: a warning waits
        // until it has.
        loadLog(path, Warning::AfterThisEvent);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
