// SPDX-License-Identifier: MIT
#pragma once

#include "ColourSettings.h"

#include <QSettings>
#include <QString>

// What the viewer remembers between runs: the chart's colour settings and
// the folder the Open dialog last showed a log from. They live in the user's
// configuration folder (~/.config/dirchart/dirchart.conf). A file that is
// missing, unreadable or garbled, or holds values out of range, gives the
// defaults for what it cannot tell, and never stops the viewer from
// starting. The render mode never reads it.
class AppSettings {
  public:
    AppSettings();

    ColourSettings colourSettings() const;
    // Written at once, but only when they differ from what is stored.
    void setColourSettings(const ColourSettings& colours);

    // Empty when none was stored.
    QString lastFolder() const;
    void setLastFolder(const QString& folder);

  private:
    void write(const QString& key, const QVariant& value);

    QSettings m_settings;
};
