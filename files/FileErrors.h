// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct LogReadResult;

// Why a log could not be read, or a file not be written, for the window: in
// Japanese for the usual cases, in the system's words for the rest.
QString ReasonText(const LogReadResult& result);
QString ReasonText(int errorNumber);
// The same in the system's words, for the command line, whose messages stay
// in English whatever the window says.
QString ReasonInWords(const LogReadResult& result);
QString ReasonInWords(int errorNumber);
