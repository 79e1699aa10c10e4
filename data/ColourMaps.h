// SPDX-License-Identifier: MIT
#pragma once

#include "ColourSettings.h"

#include <cstdint>
#include <span>

// The colours of a map, from its low end to its high end, each as 0xffRRGGBB
// (the layout of Rgb::argb()): 1024 for the standard scale, 256 for the
// others.
std::span<const std::uint32_t> ColourMapColours(ColourMapId map);
