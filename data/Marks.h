// SPDX-License-Identifier: MIT
#pragma once

#include "ChartView.h"
#include "ObservationGrid.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A mark a user left on a day: a time range of whole slots and a direction
// sector of whole bins, with a short label and a free comment. The sector
// runs clockwise from its first bin to its last, so a first bin above the
// last crosses 0 degrees (bins 170 to 5 are 340 to 12 degrees).
struct Mark {
    int firstSlot = 0;
    int lastSlot = ObservationGrid::LastSlot;
    int firstBin = 0;
    int lastBin = ObservationGrid::Bins - 1;

    // The mark's texts: its id (a UUID, unique across every copy of the
    // file), label, comment and time of making (ISO 8601, UTC), and the keys
    // of it that dirchart does not know, as the text of one JSON object in
    // their order (empty when there are none), so that a rewrite keeps what
    // another program added.
    std::string_view id() const { return part(Id); }
    std::string_view label() const { return part(Label); }
    std::string_view comment() const { return part(Comment); }
    std::string_view created() const { return part(Created); }
    std::string_view otherKeys() const { return part(OtherKeys); }
    void setId(std::string_view text) { setPart(Id, text); }
    void setLabel(std::string_view text) { setPart(Label, text); }
    void setComment(std::string_view text) { setPart(Comment, text); }
    void setCreated(std::string_view text) { setPart(Created, text); }
    void setOtherKeys(std::string_view text) { setPart(OtherKeys, text); }
    // All of them at once, in one allocation.
    void setTexts(std::string_view id, std::string_view label, std::string_view comment,
                  std::string_view created, std::string_view otherKeys = {});
    // The same from a block of texts that several marks may share (those read
    // from one file do): the id from `begin` on, each text ending where
    // `ends` says, counted from `begin`.
    using TextEnds = std::array<std::uint32_t, 5>;
    void shareTexts(std::shared_ptr<const char[]> block, std::uint32_t begin, const TextEnds& ends);

    int binCount() const {
        return (lastBin - firstBin + ObservationGrid::Bins) % ObservationGrid::Bins + 1;
    }
    bool allDirections() const { return binCount() == ObservationGrid::Bins; }
    bool holdsSlot(int t) const { return t >= firstSlot && t <= lastSlot; }
    bool holdsBin(int d) const {
        return (d - firstBin + ObservationGrid::Bins) % ObservationGrid::Bins < binCount();
    }
    bool holds(int t, int d) const { return holdsSlot(t) && holdsBin(d); }

    // As the file writes them: "HH:MM" for the start of the first slot and
    // the end of the last (up to "24:00"); the first bin's lower edge and the
    // last bin's upper edge in degrees (0 to 360 for all directions).
    std::string startText() const;
    std::string endText() const;
    int fromDegrees() const { return firstBin * ObservationGrid::DegreesPerBin; }
    int toDegrees() const { return (lastBin + 1) * ObservationGrid::DegreesPerBin; }
    bool operator==(const Mark& other) const;

  private:
    // The texts are kept one after another in a block that the marks read
    // from one file share, and a copy too; a change gives the mark a block of
    // its own. A year of a folder's marks is thus read with one allocation
    // per file, not one per mark or per text longer than a string holds in
    // place (an id, a time of making).
    enum Part { Id, Label, Comment, Created, OtherKeys };
    std::string_view part(Part p) const {
        if (!m_block)
            return {};
        const std::uint32_t begin = p == Id ? 0 : m_ends[std::size_t(p) - 1];
        return {m_block.get() + m_begin + begin, m_ends[std::size_t(p)] - begin};
    }
    void setPart(Part p, std::string_view text);
    std::shared_ptr<const char[]> m_block;
    std::uint32_t m_begin = 0;
    TextEnds m_ends{};
};

// The chart's view of a mark's box: its slots and bins, widened about its
// centre to the view's least span.
ChartView MarkedView(const Mark& mark);

// Marks in the file's order: by start, then by id.
bool MarkBefore(const Mark& a, const Mark& b);
void SortMarks(std::vector<Mark>& marks);

// The whole of one marks file.
struct MarksDocument {
    std::vector<Mark> marks;
    // Top-level keys other than the version and the marks, as in Mark.
    std::string otherKeys;
    bool operator==(const MarksDocument&) const = default;
};

inline constexpr int MarksFileVersion = 1;

// Reads a marks file's text. Nothing, with the reason in `why`, for text that
// is not such a file: not JSON, another version, or a mark without an id or
// with times or degrees out of the day and the circle. A file that cannot be
// read whole is never rewritten, so no mark it holds is lost.
//
// Files of the plain shape that dirchart writes are read straight from the
// text (see PlainMarks.h); any other text goes through the general JSON
// parser, which ParseMarksJson calls alone. Both read every text alike.
std::optional<MarksDocument> ParseMarks(std::string_view text, std::string* why = nullptr);
std::optional<MarksDocument> ParseMarksJson(std::string_view text, std::string* why = nullptr);

// A mark's slots from the file's "start" and "end" ("H:MM" or "HH:MM", up to
// "24:00"), and its bins from "from" and "to" in degrees; false, with the
// reason in `why`, for times out of the day or degrees out of the circle.
bool SetMarkTimes(Mark& mark, std::string_view start, std::string_view end, std::string* why);
// The same from the times as minutes after midnight (0 to 1440).
bool SetMarkMinutes(Mark& mark, int start, int end, std::string* why);
bool SetMarkSector(Mark& mark, double from, double to, std::string* why);
// The same for whole degrees, without a reason.
bool SetMarkBins(Mark& mark, int from, int to);
// The file's text: UTF-8 JSON, two-space indents, marks in the given order,
// known keys first and then the others in their order, ending in a newline.
std::string MarksJson(const MarksDocument& document);

// What one window did to a day's marks since it read them: marks it added or
// changed, and ids it deleted.
struct MarkChanges {
    std::vector<Mark> saved;
    std::vector<std::string> deleted;
    bool empty() const { return saved.empty() && deleted.empty(); }
};

// Applies `changes` to what is in the file now, by id: a saved mark replaces
// the one of its id (keeping the keys another program added to it since) or
// is added; a deleted id is removed. Marks other writers added stay. The
// result is sorted.
void ApplyMarkChanges(MarksDocument& document, const MarkChanges& changes);

// The CSV of marks as `dirchart --list-marks` prints them: one line per mark,
// the log's path as given, in the document's order.
inline constexpr std::string_view MarkListHeader = "log,start,end,from,to,label,comment\n";
std::string MarkListLines(std::string_view log, const std::vector<Mark>& marks);
