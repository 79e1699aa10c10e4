// SPDX-License-Identifier: MIT
#pragma once

#include "LoadDialogs.h"

#include <QString>

struct LogReadResult;

// The window's own texts: its questions, its warnings and the reasons they
// give, and what it asks of the Open dialog.

inline const QString DialogTitle = QStringLiteral("dirchart");
inline const QString LoadPrompt = QStringLiteral("新しいデータをロードしますか？");

// The Open dialog of the load command, starting in `folder`.
OpenDialogRequest OpenLogRequest(const QString& folder);

// Why a log could not be read, or a file not be written, for the window: in
// Japanese for the usual cases, in the system's words for the rest.
QString ReasonText(const LogReadResult& result);
QString ReasonText(int errorNumber);
// The same in the system's words, for the command line, whose messages stay
// in English whatever the window says.
QString ReasonInWords(const LogReadResult& result);
QString ReasonInWords(int errorNumber);

// The warnings for a log that could not be read and a file that could not
// be written; `path` is shown as it is displayed.
QString UnreadableMessage(const QString& path, const QString& reason);
QString UnsavedMessage(const QString& path, const QString& reason);
QString UnwrittenValuesMessage(const QString& path, const QString& reason);
