// SPDX-License-Identifier: MIT
#pragma once

#include "Events.h"

#include <QStringList>

// What `dirchart --events` is asked to list; the command line has checked it.
struct EventsRequest {
    QStringList logs; // at least one, as given
    int threshold = DefaultEventThreshold;
};

// Prints the events of every log to stdout as CSV: the header, then each
// log's events in the order the logs were given. A log that cannot be read
// gets one line on stderr, as in the render mode, and the others are still
// listed. Returns the exit status: 0 when every log was listed, 1 when some
// were not (or stdout could not be written). Needs no application object.
int RunEventsCommand(const EventsRequest& request);
