// SPDX-License-Identifier: MIT
#include "ValueTables.h"

#include "DayTime.h"

#include <charconv>

namespace {

// The labels of a table's lines or of its value columns.
struct Axis {
    int count;
    std::string (*label)(int);
};

std::string Clock(int t) {
    return SlotClock(t, true);
}
std::string Degrees(int d) {
    return std::to_string(BinDegrees(d));
}
std::string Value(int) {
    return "value";
}

// A table with `corner` and the columns' labels for a header, then a line
// for each of `lines`: its label and its cells, `cellOf(line, column)` being
// the index of a cell in the grid. A cell the log does not cover is empty.
template <typename CellOf>
std::string Table(const ObservationGrid& grid, long coveredCells, Separator separator,
                  std::string_view corner, Axis lines, Axis columns, CellOf cellOf) {
    const char sep = static_cast<char>(separator);
    std::string text(corner);
    // About six characters a cell: one allocation for a whole busy day.
    text.reserve(std::size_t(6 * (lines.count + 1) * (columns.count + 1)));
    for (int c = 0; c < columns.count; ++c)
        text.append(1, sep).append(columns.label(c));
    text += '\n';
    char digits[8];
    for (int l = 0; l < lines.count; ++l) {
        text += lines.label(l);
        for (int c = 0; c < columns.count; ++c) {
            text += sep;
            const int cell = cellOf(l, c);
            if (cell < coveredCells)
                text.append(digits, std::to_chars(digits, digits + sizeof digits,
                                                  grid.cells[std::size_t(cell)])
                                        .ptr);
        }
        text += '\n';
    }
    return text;
}

constexpr int Bins = ObservationGrid::Bins;

} // namespace

std::string DayTable(const ObservationGrid& grid, long coveredCells, Separator separator) {
    return Table(grid, coveredCells, separator, "time", {ObservationGrid::Slots, Clock},
                 {Bins, Degrees}, [](int t, int d) { return t * Bins + d; });
}

std::string SlotTable(const ObservationGrid& grid, int slot, long coveredCells,
                      Separator separator) {
    return Table(grid, coveredCells, separator, "direction", {Bins, Degrees}, {1, Value},
                 [slot](int d, int) { return slot * Bins + d; });
}

std::string DirectionTable(const ObservationGrid& grid, int bin, long coveredCells,
                           Separator separator) {
    return Table(grid, coveredCells, separator, "time", {ObservationGrid::Slots, Clock},
                 {1, Value}, [bin](int t, int) { return t * Bins + bin; });
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}
