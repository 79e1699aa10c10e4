// SPDX-License-Identifier: MIT
#include "DayMarks.h"

#include "MarkFile.h"
#include "Messages.h"
#include "PathText.h"

#include <QDateTime>
#include <QUuid>

#include <sys/stat.h>

namespace {

QByteArray FileSignature(const QString& path) {
    struct stat info {};
    if (::stat(PathBytes(path).c_str(), &info) != 0)
        return {};
    return QByteArray::number(qlonglong(info.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(info.st_mtim.tv_nsec)) + ':' +
           QByteArray::number(qlonglong(info.st_size)) + ':' +
           QByteArray::number(qulonglong(info.st_ino));
}

QString FolderOf(const QString& path) {
    return path.left(path.lastIndexOf(u'/'));
}

} // namespace

DayMarks::DayMarks(QObject* parent) : QObject(parent) {
    // A rename into place (as every save here does) replaces the file, so
    // its folder is watched as well.
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DayMarks::refresh);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DayMarks::refresh);
}

void DayMarks::setLog(const QString& logPath) {
    if (logPath == m_log && !logPath.isEmpty()) {
        refresh();
        return;
    }
    m_log = logPath;
    read();
    emit marksChanged();
}

void DayMarks::refresh() {
    if (m_log.isEmpty())
        return;
    const QString file = MarksFileOf(m_log);
    if (file == m_file && FileSignature(file) == m_signature)
        return;
    read();
    emit marksChanged();
}

void DayMarks::read() {
    m_marks.clear();
    m_refusal.clear();
    m_file.clear();
    m_signature.clear();
    if (!m_log.isEmpty()) {
        m_file = MarksFileOf(m_log);
        m_signature = FileSignature(m_file);
        MarksRead read = ReadMarks(m_log);
        switch (read.status) {
        case MarksRead::Status::Read:
            m_marks = std::move(read.document.marks);
            break;
        case MarksRead::Status::NoFile:
            break;
        case MarksRead::Status::Damaged:
            m_refusal = QStringLiteral("印のファイルが壊れているため、この日には印を付けられません"
                                       "(ファイルは書き換えません)。\n\n%1\n\n%2")
                            .arg(PathForDisplay(read.path), read.why);
            break;
        case MarksRead::Status::CannotRead:
            m_refusal = QStringLiteral("印のファイルを読めないため、この日には印を付けられません。"
                                       "\n\n%1\n\n%2")
                            .arg(PathForDisplay(read.path), ReasonInWords(read.errorNumber));
            break;
        }
        if (!m_refusal.isEmpty() && m_warnedFile != m_file) {
            m_warnedFile = m_file;
            emit problem(m_refusal);
        }
        if (m_refusal.isEmpty() && m_warnedFile == m_file)
            m_warnedFile.clear(); // mended: a later damage is said again
    }
    watch();
}

void DayMarks::watch() {
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    if (m_file.isEmpty())
        return;
    if (!m_signature.isEmpty())
        m_watcher.addPath(m_file);
    // The folder may not exist yet (the data folder before a first mark).
    const QString folder = FolderOf(m_file);
    if (!FileSignature(folder).isEmpty())
        m_watcher.addPath(folder);
}

const Mark* DayMarks::find(const std::string& id) const {
    for (const Mark& mark : m_marks)
        if (mark.id() == id)
            return &mark;
    return nullptr;
}

bool DayMarks::keptAside() const {
    return !m_log.isEmpty() && m_file != MarksFileBeside(m_log);
}

bool DayMarks::save(const Mark& mark, QString* why) {
    MarkChanges changes;
    changes.saved.push_back(mark);
    return apply(changes, why);
}

bool DayMarks::remove(const std::string& id, QString* why) {
    MarkChanges changes;
    changes.deleted.push_back(id);
    return apply(changes, why);
}

bool DayMarks::apply(const MarkChanges& changes, QString* why) {
    if (m_log.isEmpty())
        return false;
    if (!m_refusal.isEmpty()) {
        if (why)
            *why = m_refusal;
        return false;
    }
    const MarksSave save = SaveMarkChanges(m_log, changes);
    switch (save.status) {
    case MarksSave::Status::Saved:
        m_marks = save.document.marks;
        m_file = save.path;
        m_signature = FileSignature(m_file);
        watch();
        emit marksChanged();
        return true;
    case MarksSave::Status::Damaged:
        // Damaged since it was read here: from now on the day is refused.
        read();
        emit marksChanged();
        if (why)
            *why = m_refusal;
        return false;
    case MarksSave::Status::CannotWrite:
        if (why)
            *why = QStringLiteral("印を保存できませんでした。ログのフォルダにも、"
                                  "~/.local/share/dirchart/marks/ にも書き込めません。\n\n%1\n\n%2")
                       .arg(PathForDisplay(save.path), ReasonInWords(save.errorNumber));
        return false;
    }
    return false;
}

Mark NewMark(int firstSlot, int lastSlot, int firstBin, int lastBin) {
    Mark mark;
    mark.setId(QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString());
    mark.firstSlot = firstSlot;
    mark.lastSlot = lastSlot;
    mark.firstBin = firstBin;
    mark.lastBin = lastBin;
    mark.setCreated(QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString());
    return mark;
}

QString MarkExtentText(const Mark& mark) {
    const QString time = QString::fromStdString(mark.startText() + '-' + mark.endText());
    if (mark.allDirections())
        return time + QStringLiteral(" 全方向");
    return time + QStringLiteral(" %1°-%2°").arg(mark.fromDegrees()).arg(mark.toDegrees());
}
