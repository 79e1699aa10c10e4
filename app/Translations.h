// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>

// Installs Qt's own translations for `locale`, so that the standard dialogs
// and message box buttons speak the desktop's language. Returns whether a
// translation was found (none is needed for English).
bool InstallQtTranslations(const QLocale& locale);
