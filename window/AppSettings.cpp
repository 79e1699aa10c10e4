// SPDX-License-Identifier: MIT
#include "AppSettings.h"

namespace {

const QString MinimumKey = QStringLiteral("colour/minimum");
const QString MaximumKey = QStringLiteral("colour/maximum");
const QString StretchKey = QStringLiteral("colour/stretch");
const QString MapKey = QStringLiteral("colour/map");
const QString FolderKey = QStringLiteral("open/lastFolder");

} // namespace

// dirchart/dirchart.conf in the user's configuration folder, named outright
// rather than after the application object, so that it is the same file
// whoever reads it.
AppSettings::AppSettings()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("dirchart"),
                 QStringLiteral("dirchart")) {}

ColourSettings AppSettings::colourSettings() const {
    ColourSettings colours;
    if (m_settings.status() != QSettings::NoError)
        return colours;
    bool minOk = false, maxOk = false;
    const int minimum = m_settings.value(MinimumKey).toString().toInt(&minOk);
    const int maximum = m_settings.value(MaximumKey).toString().toInt(&maxOk);
    if (minOk && maxOk && ValidColourRange(minimum, maximum)) {
        colours.minimum = minimum;
        colours.maximum = maximum;
    }
    colours.stretch = StretchNamed(m_settings.value(StretchKey).toString().toStdString())
                          .value_or(colours.stretch);
    colours.map =
        ColourMapNamed(m_settings.value(MapKey).toString().toStdString()).value_or(colours.map);
    return colours;
}

void AppSettings::setColourSettings(const ColourSettings& colours) {
    if (colours == colourSettings() && m_settings.contains(MapKey))
        return;
    m_settings.setValue(MinimumKey, colours.minimum);
    m_settings.setValue(MaximumKey, colours.maximum);
    m_settings.setValue(StretchKey, QString::fromUtf8(StretchName(colours.stretch)));
    write(MapKey, QString::fromUtf8(ColourMapName(colours.map)));
}

QString AppSettings::lastFolder() const {
    if (m_settings.status() != QSettings::NoError)
        return {};
    const QVariant folder = m_settings.value(FolderKey);
    return folder.typeId() == QMetaType::QString ? folder.toString() : QString();
}

void AppSettings::setLastFolder(const QString& folder) {
    if (folder != lastFolder() || !m_settings.contains(FolderKey))
        write(FolderKey, folder);
}

void AppSettings::write(const QString& key, const QVariant& value) {
    m_settings.setValue(key, value);
    m_settings.sync();
}
