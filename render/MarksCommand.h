// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

// Prints the marks of every log to stdout as CSV: the header, then each log's
// marks in the order the logs were given, each log's in its file's order. A
// log that is not there, or whose marks file cannot be read whole, gets one
// line on stderr and the others are still listed. Returns the exit status: 0
// when every log's marks were listed, 1 otherwise. Needs no application
// object.
int RunListMarksCommand(const QStringList& logs);
