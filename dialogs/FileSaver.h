// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <string>

class LoadDialogs;

// Saves what the user asks to save, pictures and values alike, through the
// Save dialog. The dialog starts where the last file was saved in this
// session, or at first in the shown log's folder (the home folder while no
// log is shown). A file that cannot be written is reported in a warning.
class FileSaver {
  public:
    // `shownLog` gives the path of the shown log, empty for none.
    FileSaver(LoadDialogs& dialogs, std::function<QString()> shownLog);

    // A picture, in the format its name's extension asks for (PNG unless
    // another is named).
    void saveImage(const QImage& image, const QString& suggestedName);
    // Values as CSV text.
    void saveValues(const std::string& text, const QString& suggestedName);

  private:
    QString startFolder() const;
    void saved(const QString& path);

    LoadDialogs& m_dialogs;
    std::function<QString()> m_shownLog;
    QString m_lastFolder;
};
