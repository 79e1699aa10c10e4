// SPDX-License-Identifier: MIT
#include "AppSettings.h"

#include <QFile>

namespace {

const QString MinimumKey = QStringLiteral("colour/minimum");
const QString MaximumKey = QStringLiteral("colour/maximum");
const QString StretchKey = QStringLiteral("colour/stretch");
const QString MapKey = QStringLiteral("colour/map");
const QString FolderKey = QStringLiteral("open/lastFolder");

// dirchart/dirchart.conf in the user's configuration folder, named outright
// rather than after the application object, so that it is the same file
// whoever reads it.
std::unique_ptr<QSettings> OpenSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("dirchart"), QStringLiteral("dirchart"));
}

} // namespace

AppSettings::AppSettings() : m_settings(OpenSettings()) {}

AppSettings::~AppSettings() = default;

std::optional<ColourSettings> AppSettings::storedColours() const {
    if (m_settings->status() != QSettings::NoError)
        return std::nullopt;
    bool minOk = false, maxOk = false;
    const int minimum = m_settings->value(MinimumKey).toString().toInt(&minOk);
    const int maximum = m_settings->value(MaximumKey).toString().toInt(&maxOk);
    const std::optional<Stretch> stretch =
        StretchNamed(m_settings->value(StretchKey).toString().toStdString());
    const std::optional<ColourMapId> map =
        ColourMapNamed(m_settings->value(MapKey).toString().toStdString());
    if (!minOk || !maxOk || !ValidColourRange(minimum, maximum) || !stretch || !map)
        return std::nullopt;
    return ColourSettings{minimum, maximum, *stretch, *map};
}

// The colours go together: one setting that cannot be told makes the others
// doubtful too, so any of them missing or invalid gives the standard ones.
ColourSettings AppSettings::colourSettings() const {
    return storedColours().value_or(ColourSettings{});
}

void AppSettings::setColourSettings(const ColourSettings& colours) {
    if (storedColours() == colours && !damaged())
        return;
    write({{MinimumKey, colours.minimum},
           {MaximumKey, colours.maximum},
           {StretchKey, QString::fromUtf8(StretchName(colours.stretch))},
           {MapKey, QString::fromUtf8(ColourMapName(colours.map))}});
}

QString AppSettings::lastFolder() const {
    if (m_settings->status() != QSettings::NoError)
        return {};
    const QVariant folder = m_settings->value(FolderKey);
    return folder.typeId() == QMetaType::QString ? folder.toString() : QString();
}

void AppSettings::setLastFolder(const QString& folder) {
    if (folder != lastFolder() || !m_settings->contains(FolderKey) || damaged())
        write({{FolderKey, folder}});
}

// Anything besides a whole set of valid colours and a folder: bytes that do
// not parse, keys of no use here, colours that cannot be told.
bool AppSettings::damaged() const {
    if (m_settings->status() != QSettings::NoError)
        return true;
    const QStringList known{MinimumKey, MaximumKey, StretchKey, MapKey, FolderKey};
    const QStringList keys = m_settings->allKeys();
    for (const QString& key : keys)
        if (!known.contains(key))
            return true;
    const bool anyColour = m_settings->contains(MinimumKey) || m_settings->contains(MaximumKey) ||
                           m_settings->contains(StretchKey) || m_settings->contains(MapKey);
    return anyColour && !storedColours();
}

void AppSettings::write(std::initializer_list<std::pair<QString, QVariant>> values) {
    if (damaged()) {
        // Written anew from what could be told, so that the damage does not
        // stay in the file for ever. A file that does not parse is one that
        // QSettings would not write over: it is removed first.
        const std::optional<ColourSettings> colours = storedColours();
        const QString folder = lastFolder();
        QFile::remove(m_settings->fileName());
        m_settings = OpenSettings();
        m_settings->clear();
        if (colours)
            setColourValues(*colours);
        if (!folder.isEmpty())
            m_settings->setValue(FolderKey, folder);
    }
    for (const auto& [key, value] : values)
        m_settings->setValue(key, value);
    m_settings->sync();
}

void AppSettings::setColourValues(const ColourSettings& colours) {
    m_settings->setValue(MinimumKey, colours.minimum);
    m_settings->setValue(MaximumKey, colours.maximum);
    m_settings->setValue(StretchKey, QString::fromUtf8(StretchName(colours.stretch)));
    m_settings->setValue(MapKey, QString::fromUtf8(ColourMapName(colours.map)));
}
