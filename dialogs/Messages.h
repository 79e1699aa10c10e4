// SPDX-License-Identifier: MIT
#pragma once

#include "FileErrors.h"
#include "LoadDialogs.h"

#include <QString>

// The window's own texts: its questions, its warnings and the reasons they
// give, and what it asks of the Open dialog.

inline const QString DialogTitle = QStringLiteral("dirchart");
inline const QString LoadPrompt = QStringLiteral("新しいデータをロードしますか？");

// The Open dialog of the load command, starting in `folder`.
OpenDialogRequest OpenLogRequest(const QString& folder);

// The warnings for a log that could not be read and a file that could not
// be written; `path` is shown as it is displayed.
QString UnreadableMessage(const QString& path, const QString& reason);
QString UnreadableReferenceMessage(const QString& path, const QString& reason);
QString UnsavedMessage(const QString& path, const QString& reason);
QString UnwrittenValuesMessage(const QString& path, const QString& reason);
