// SPDX-License-Identifier: MIT
#pragma once

#include "ColourSettings.h"

#include <QSettings>
#include <QString>

#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

// What the viewer remembers between runs: the chart's colour settings and
// the folder the Open dialog last showed a log from. They live in the user's
// configuration folder (~/.config/dirchart/dirchart.conf). A file that is
// missing, unreadable or garbled, or holds a colour setting that cannot be
// told, gives the standard colours (and no folder where that cannot be
// told), never stops the viewer from starting, and is written anew, clean,
// on the next save. The render mode never reads it.
class AppSettings {
  public:
    AppSettings();
    ~AppSettings();

    ColourSettings colourSettings() const;
    // Written at once, but only when they differ from what is stored.
    void setColourSettings(const ColourSettings& colours);

    // Empty when none was stored.
    QString lastFolder() const;
    void setLastFolder(const QString& folder);

  private:
    // The four colour settings when all of them are stored and valid.
    std::optional<ColourSettings> storedColours() const;
    bool damaged() const;
    void write(std::initializer_list<std::pair<QString, QVariant>> values);
    void setColourValues(const ColourSettings& colours);

    std::unique_ptr<QSettings> m_settings;
};
