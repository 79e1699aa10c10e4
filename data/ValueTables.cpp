// SPDX-License-Identifier: MIT
#include "ValueTables.h"

#include "DayTime.h"

#include <charconv>

namespace {

// Appends one cell's value, or nothing for a cell the log does not cover.
void AppendCell(std::string& text, const ObservationGrid& grid, int t, int d, long coveredCells) {
    if (long(t) * ObservationGrid::Bins + d >= coveredCells)
        return;
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, grid(t, d)).ptr;
    text.append(digits, end);
}

} // namespace

std::string DayTable(const ObservationGrid& grid, long coveredCells, Separator separator) {
    const char sep = static_cast<char>(separator);
    std::string text;
    // About five characters a cell; one allocation for a whole busy day.
    text.reserve(5 * ObservationGrid::CellCount + 8 * ObservationGrid::Slots);
    text += "time";
    for (int d = 0; d < ObservationGrid::Bins; ++d)
        text.append(1, sep).append(std::to_string(BinDegrees(d)));
    text += '\n';
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        text += SlotClock(t, true);
        for (int d = 0; d < ObservationGrid::Bins; ++d) {
            text += sep;
            AppendCell(text, grid, t, d, coveredCells);
        }
        text += '\n';
    }
    return text;
}

std::string SlotTable(const ObservationGrid& grid, int slot, long coveredCells,
                      Separator separator) {
    const char sep = static_cast<char>(separator);
    std::string text = std::string("direction") + sep + "value\n";
    for (int d = 0; d < ObservationGrid::Bins; ++d) {
        text.append(std::to_string(BinDegrees(d))).append(1, sep);
        AppendCell(text, grid, slot, d, coveredCells);
        text += '\n';
    }
    return text;
}

std::string DirectionTable(const ObservationGrid& grid, int bin, long coveredCells,
                           Separator separator) {
    const char sep = static_cast<char>(separator);
    std::string text = std::string("time") + sep + "value\n";
    for (int t = 0; t < ObservationGrid::Slots; ++t) {
        text.append(SlotClock(t, true)).append(1, sep);
        AppendCell(text, grid, t, bin, coveredCells);
        text += '\n';
    }
    return text;
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
