// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of `size` (its frame included) opens so that it leaves
// `keepClear` in view: beside it on the right, else below, on the left or
// above, whichever first fits inside `screen`; when none does, the place
// that covers least of it, moved inside the screen. Screen coordinates.
QPoint PlaceBeside(QSize size, const QRect& keepClear, const QRect& screen);
