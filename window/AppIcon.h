// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QImage>

// The application's icon, drawn rather than loaded: a small polar plot, grey
// rings behind a red directional pattern, over a strip of the chart's colour
// scale.
QImage AppIconImage(int size);
QIcon AppIcon();
