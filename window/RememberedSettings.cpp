// SPDX-License-Identifier: MIT
#include "RememberedSettings.h"

#include "LogLoader.h"
#include "PathText.h"
#include "ViewCommands.h"
#include "ViewState.h"

#include <filesystem>

RememberedSettings::RememberedSettings(ViewState& view, LogLoader& loader, ViewCommands& commands,
                                       QObject* parent)
    : QObject(parent) {
    view.setColours(m_settings.colourSettings());
    const QString folder = m_settings.lastFolder();
    std::error_code error;
    if (!folder.isEmpty() && std::filesystem::is_directory(FileSystemPath(folder), error))
        loader.setLogFolder(folder);

    // Colours the dialog only previews are shown, not kept.
    connect(&commands, &ViewCommands::coloursAccepted, this,
            [this](const ColourSettings& colours) { m_settings.setColourSettings(colours); });
    connect(&loader, &LogLoader::logFolderChanged, this,
            [this](const QString& folder) {
                // A settings file holds text: a folder whose name is not
                // UTF-8 is not kept.
                if (PathForDisplay(folder) == folder)
                    m_settings.setLastFolder(folder);
            });
}
