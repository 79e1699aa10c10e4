// SPDX-License-Identifier: MIT
#pragma once

#include "ObservationGrid.h"

#include <string>
#include <string_view>

// The grid's values as tables of text: comma-separated for files (UTF-8, LF
// line ends, the last line too, no byte-order mark) and tab-separated for the
// clipboard, which spreadsheets paste as a table. Values are written exactly
// as the grid holds them. Cells at index `coveredCells` and beyond, past the
// end of a short log, are left empty: a log still being recorded has no
// value there yet, which a 0 would misstate.

enum class Separator : char { Comma = ',', Tab = '\t' };

// The day: "time,0,2,...,358", then one line per slot, "00:00,v0,...,v179".
std::string DayTable(const ObservationGrid& grid, long coveredCells,
                     Separator separator = Separator::Comma);
// One slot: "direction,value", then "0,v" ... "358,v".
std::string SlotTable(const ObservationGrid& grid, int slot, long coveredCells,
                      Separator separator = Separator::Comma);
// One direction bin: "time,value", then "00:00,v" ... "23:58,v".
std::string DirectionTable(const ObservationGrid& grid, int bin, long coveredCells,
                           Separator separator = Separator::Comma);

// `text` as one field of a CSV line: in double quotes, its own quotes
// doubled, when it holds a comma, a quote or a line break; as it is otherwise.
std::string CsvField(std::string_view text);
