// SPDX-License-Identifier: MIT
#pragma once

#include "DrawingSurface.h"

// Prints one item with its top-left corner at (x, y), the way every chart
// places its texts: the current point set right before the Print.
inline void PrintAt(DrawingSurface& picture, float x, float y, const QString& text) {
    picture.SetCurrentX(x);
    picture.SetCurrentY(y);
    picture.Print(text);
}

inline void PrintAt(DrawingSurface& picture, float x, float y, double number) {
    picture.SetCurrentX(x);
    picture.SetCurrentY(y);
    picture.Print(number);
}
