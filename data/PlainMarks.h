// SPDX-License-Identifier: MIT
#pragma once

#include "Marks.h"

#include <optional>
#include <string_view>

// Reads a marks file of the plain shape that dirchart itself writes straight
// from its text, without building a JSON tree first: the marks list of a
// folder's year of days is read at the speed of the disk, not of a general
// parser. The shape: one object holding the version (the number 1) and the
// marks, each an object of dirchart's own keys once each, with text values
// (escaped only by the simple backslash escapes; times unescaped) and whole
// degrees.
//
// Nothing for any other text, valid or not (other keys, \u escapes,
// fractional degrees, a damaged file, a mark out of the day): ParseMarks then
// reads it with the general parser, which keeps what this one does not know
// and says what is wrong. So a text this reads, it reads as that one would.
std::optional<MarksDocument> ParsePlainMarks(std::string_view text);
