// SPDX-License-Identifier: MIT
#include "FileSaver.h"

#include "LoadDialogs.h"
#include "Messages.h"
#include "PngFile.h"
#include "WholeFile.h"

#include <QDir>
#include <QImageWriter>

FileSaver::FileSaver(LoadDialogs& dialogs, std::function<QString()> shownLog)
    : m_dialogs(dialogs), m_shownLog(std::move(shownLog)) {}

QString FileSaver::startFolder() const {
    if (!m_lastFolder.isEmpty())
        return m_lastFolder;
    const QString log = m_shownLog();
    return log.isEmpty() ? QDir::homePath() : log.left(log.lastIndexOf(QLatin1Char('/')));
}

void FileSaver::saved(const QString& path) {
    m_lastFolder = path.left(path.lastIndexOf(QLatin1Char('/')));
}

void FileSaver::saveImage(const QImage& image, const QString& suggestedName) {
    QStringList filters{QStringLiteral("PNG 画像 (*.png)"), QStringLiteral("JPEG 画像 (*.jpg *.jpeg)"),
                        QStringLiteral("BMP 画像 (*.bmp)")};
    if (QImageWriter::supportedImageFormats().contains("webp"))
        filters.append(QStringLiteral("WebP 画像 (*.webp)"));
    const std::optional<QString> path =
        m_dialogs.showSave({filters, QStringLiteral("png"), suggestedName, startFolder()});
    if (!path)
        return;
    // A name in a format not written here is refused, rather than saved
    // under that name with ".png" added.
    if (const std::optional<QString> format = UnwritableImageFormat(*path)) {
        const QString formats = filters.size() > 3 ? QStringLiteral("PNG、JPEG、BMP、WebP")
                                                   : QStringLiteral("PNG、JPEG、BMP");
        m_dialogs.warn(DialogTitle,
                       UnsavedMessage(*path, QStringLiteral("%1 形式では保存できません。%2 "
                                                            "のいずれかの名前で保存してください。")
                                                 .arg(*format, formats)));
        return;
    }
    const FileWriteResult written = WriteImageFile(image, *path);
    if (!written.ok()) {
        m_dialogs.warn(DialogTitle,
                       UnsavedMessage(ImageFilePath(*path), ReasonText(written.errorNumber)));
        return;
    }
    saved(*path);
}

void FileSaver::saveValues(const std::string& text, const QString& suggestedName) {
    const std::optional<QString> path = m_dialogs.showSave(
        {{QStringLiteral("CSV ファイル (*.csv)")}, QStringLiteral("csv"), suggestedName,
         startFolder()});
    if (!path)
        return;
    const FileWriteResult written = WriteWholeFile(*path, QByteArray::fromStdString(text));
    if (!written.ok()) {
        m_dialogs.warn(DialogTitle, UnwrittenValuesMessage(*path, ReasonText(written.errorNumber)));
        return;
    }
    saved(*path);
}
