// SPDX-License-Identifier: MIT
#pragma once

#include "ArchiveListing.h"

#include <QString>
#include <QStringList>

// Texts that the overview window and the archive's page both show.

// A day: "2026/12/08", or with `monthOnly` "2026/12".
QString DateText(Day day, bool monthOnly = false);

// The one line that lists the names of logs that fill no day: six digits
// that are no date, and the other logs of a date two names share.
QString LeftOutText(const QStringList& names);
