// SPDX-License-Identifier: MIT
#pragma once

#include "AppSettings.h"

#include <QObject>

class LogLoader;
class ViewCommands;
class ViewState;

// Keeps the window's colour settings and the Open dialog's folder from one
// run to the next: applies what was stored, and stores each accepted change
// (never a colour the dialog only previews). Only the
// viewer's own start-up makes one, so tests and the render mode never read
// the user's settings.
class RememberedSettings : public QObject {
    Q_OBJECT
  public:
    RememberedSettings(ViewState& view, LogLoader& loader, ViewCommands& commands,
                       QObject* parent = nullptr);

  private:
    AppSettings m_settings;
};
