// SPDX-License-Identifier: MIT
#include "Marks.h"

#include "DayTime.h"
#include "PlainMarks.h"
#include "ValueTables.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using Json = nlohmann::ordered_json;

namespace {

constexpr int MinutesPerDay = ObservationGrid::Slots * ObservationGrid::MinutesPerSlot;
constexpr int DegreesPerTurn = ObservationGrid::Bins * ObservationGrid::DegreesPerBin;

std::string MinuteClock(int minute) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
    return text;
}

// Minutes after midnight of "H:MM" or "HH:MM", 0:00 to 24:00.
std::optional<int> ClockMinute(std::string_view text) {
    if (text == "24:00")
        return MinutesPerDay;
    const std::optional<int> slot = SlotHolding(text);
    if (!slot)
        return std::nullopt;
    // SlotHolding has checked the form; the minute itself is the last two digits.
    const int minute = (text[text.size() - 2] - '0') * 10 + (text.back() - '0');
    return SlotHour(*slot) * 60 + minute;
}

bool Fail(std::string* why, std::string reason) {
    if (why)
        *why = std::move(reason);
    return false;
}

const std::string_view KnownMarkKeys[] = {"id", "start", "end",     "from",
                                          "to", "label", "comment", "created"};

bool IsKnownMarkKey(const std::string& key) {
    return std::find(std::begin(KnownMarkKeys), std::end(KnownMarkKeys), key) !=
           std::end(KnownMarkKeys);
}

std::string OtherKeysText(const Json& object, bool (*known)(const std::string&)) {
    Json others = Json::object();
    for (const auto& [key, value] : object.items())
        if (!known(key))
            others[key] = value;
    return others.empty() ? std::string() : others.dump();
}

void AppendOtherKeys(Json& object, std::string_view text) {
    if (text.empty())
        return;
    const Json others = Json::parse(text.begin(), text.end(), nullptr, false);
    if (!others.is_object())
        return;
    for (const auto& [key, value] : others.items())
        if (!object.contains(key))
            object[key] = value;
}

bool ReadText(const Json& mark, const char* key, std::string& out, std::string* why) {
    const auto found = mark.find(key);
    if (found == mark.end())
        return true;
    if (!found->is_string())
        return Fail(why, std::string("a mark's \"") + key + "\" is not text");
    out = found->get<std::string>();
    return true;
}

bool ReadMark(const Json& json, Mark& mark, std::string* why) {
    if (!json.is_object())
        return Fail(why, "a mark is not an object");
    const auto id = json.find("id");
    if (id == json.end() || !id->is_string() || id->get<std::string>().empty())
        return Fail(why, "a mark has no id");
    mark.setId(id->get<std::string>());
    const auto start = json.find("start"), end = json.find("end");
    if (start == json.end() || end == json.end() || !start->is_string() || !end->is_string())
        return Fail(why, "mark " + std::string(mark.id()) + " has no start or end");
    if (!SetMarkTimes(mark, start->get<std::string>(), end->get<std::string>(), why))
        return false;
    const auto from = json.find("from"), to = json.find("to");
    if (from == json.end() || to == json.end() || !from->is_number() || !to->is_number())
        return Fail(why, "mark " + std::string(mark.id()) + " has no from or to");
    if (!SetMarkSector(mark, from->get<double>(), to->get<double>(), why))
        return false;
    std::string label, comment, created;
    if (!ReadText(json, "label", label, why) || !ReadText(json, "comment", comment, why) ||
        !ReadText(json, "created", created, why))
        return false;
    mark.setTexts(mark.id(), label, comment, created, OtherKeysText(json, IsKnownMarkKey));
    return true;
}

} // namespace

void Mark::setPart(Part p, std::string_view text) {
    std::array<std::string_view, 5> texts{id(), label(), comment(), created(), otherKeys()};
    texts[std::size_t(p)] = text;
    setTexts(texts[0], texts[1], texts[2], texts[3], texts[4]);
}

void Mark::setTexts(std::string_view id, std::string_view label, std::string_view comment,
                    std::string_view created, std::string_view otherKeys) {
    // A block of its own, built before the old one is let go, since the
    // texts may be this mark's own.
    const std::string_view parts[] = {id, label, comment, created, otherKeys};
    std::size_t total = 0;
    for (const std::string_view text : parts)
        total += text.size();
    std::shared_ptr<char[]> block = std::make_shared_for_overwrite<char[]>(total);
    TextEnds ends{};
    std::size_t at = 0;
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        if (!parts[i].empty())
            std::memcpy(block.get() + at, parts[i].data(), parts[i].size());
        at += parts[i].size();
        ends[i] = std::uint32_t(at);
    }
    shareTexts(std::move(block), 0, ends);
}

void Mark::shareTexts(std::shared_ptr<const char[]> block, std::uint32_t begin,
                      const TextEnds& ends) {
    m_block = std::move(block);
    m_begin = begin;
    m_ends = ends;
}

bool Mark::operator==(const Mark& other) const {
    return firstSlot == other.firstSlot && lastSlot == other.lastSlot &&
           firstBin == other.firstBin && lastBin == other.lastBin && id() == other.id() &&
           label() == other.label() && comment() == other.comment() &&
           created() == other.created() && otherKeys() == other.otherKeys();
}

bool SetMarkTimes(Mark& mark, std::string_view start, std::string_view end, std::string* why) {
    const std::optional<int> first = ClockMinute(start);
    const std::optional<int> last = ClockMinute(end);
    if (!first || !last)
        return Fail(why, "mark " + std::string(mark.id()) + " has a start or end out of the day");
    return SetMarkMinutes(mark, *first, *last, why);
}

bool SetMarkMinutes(Mark& mark, int start, int end, std::string* why) {
    if (start < 0 || end > MinutesPerDay || start >= end || start >= MinutesPerDay)
        return Fail(why, "mark " + std::string(mark.id()) + " has a start or end out of the day");
    mark.firstSlot = start / ObservationGrid::MinutesPerSlot;
    // The slot that holds the last minute before the end.
    mark.lastSlot = (end - 1) / ObservationGrid::MinutesPerSlot;
    return true;
}

bool SetMarkSector(Mark& mark, double from, double to, std::string* why) {
    if (!(from >= 0 && from <= DegreesPerTurn && to >= 0 && to <= DegreesPerTurn))
        return Fail(why, "mark " + std::string(mark.id()) + " has a from or to out of 0 to 360");
    // Every bin the sector touches: the one holding `from`, up to the one
    // ending at or after `to`, clockwise.
    constexpr int Bins = ObservationGrid::Bins;
    mark.firstBin = int(std::floor(from / ObservationGrid::DegreesPerBin)) % Bins;
    mark.lastBin = (int(std::ceil(to / ObservationGrid::DegreesPerBin)) - 1 + Bins) % Bins;
    return true;
}

bool SetMarkBins(Mark& mark, int from, int to) {
    if (from < 0 || from > DegreesPerTurn || to < 0 || to > DegreesPerTurn)
        return false;
    // As SetMarkSector rounds: down for `from`, up for `to` (whole degrees
    // are never negative here).
    constexpr int Bins = ObservationGrid::Bins, Width = ObservationGrid::DegreesPerBin;
    mark.firstBin = from / Width % Bins;
    mark.lastBin = ((to + Width - 1) / Width - 1 + Bins) % Bins;
    return true;
}

std::string Mark::startText() const {
    return MinuteClock(firstSlot * ObservationGrid::MinutesPerSlot);
}

std::string Mark::endText() const {
    return MinuteClock((lastSlot + 1) * ObservationGrid::MinutesPerSlot);
}

ChartView MarkedView(const Mark& mark) {
    return Clamped({mark.firstSlot, mark.lastSlot, mark.firstBin, mark.lastBin});
}

bool MarkBefore(const Mark& a, const Mark& b) {
    if (a.firstSlot != b.firstSlot)
        return a.firstSlot < b.firstSlot;
    return a.id() < b.id();
}

void SortMarks(std::vector<Mark>& marks) {
    std::stable_sort(marks.begin(), marks.end(), MarkBefore);
}

std::optional<MarksDocument> ParseMarks(std::string_view text, std::string* why) {
    if (std::optional<MarksDocument> plain = ParsePlainMarks(text))
        return plain;
    return ParseMarksJson(text, why);
}

std::optional<MarksDocument> ParseMarksJson(std::string_view text, std::string* why) {
    const Json root = Json::parse(text.begin(), text.end(), nullptr, false);
    if (root.is_discarded()) {
        Fail(why, "not JSON");
        return std::nullopt;
    }
    if (!root.is_object()) {
        Fail(why, "not a JSON object");
        return std::nullopt;
    }
    const auto version = root.find("dirchart_marks");
    if (version == root.end() || !version->is_number_integer() ||
        version->get<long long>() != MarksFileVersion) {
        Fail(why, "not a marks file of version 1");
        return std::nullopt;
    }
    MarksDocument document;
    const auto marks = root.find("marks");
    if (marks != root.end()) {
        if (!marks->is_array()) {
            Fail(why, "\"marks\" is not a list");
            return std::nullopt;
        }
        document.marks.reserve(marks->size());
        for (const Json& json : *marks) {
            Mark mark;
            if (!ReadMark(json, mark, why))
                return std::nullopt;
            document.marks.push_back(std::move(mark));
        }
    }
    document.otherKeys = OtherKeysText(
        root, [](const std::string& key) { return key == "dirchart_marks" || key == "marks"; });
    return document;
}

std::string MarksJson(const MarksDocument& document) {
    Json root = Json::object();
    root["dirchart_marks"] = MarksFileVersion;
    Json marks = Json::array();
    for (const Mark& mark : document.marks) {
        Json json = Json::object();
        json["id"] = std::string(mark.id());
        json["start"] = mark.startText();
        json["end"] = mark.endText();
        json["from"] = mark.fromDegrees();
        json["to"] = mark.toDegrees();
        json["label"] = std::string(mark.label());
        json["comment"] = std::string(mark.comment());
        // A mark written by another program without one gets none here.
        if (!mark.created().empty())
            json["created"] = std::string(mark.created());
        AppendOtherKeys(json, mark.otherKeys());
        marks.push_back(std::move(json));
    }
    root["marks"] = std::move(marks);
    AppendOtherKeys(root, document.otherKeys);
    // Text that is not valid UTF-8 (a label from a damaged source) is
    // replaced rather than refused, so that a save never fails on it.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

void ApplyMarkChanges(MarksDocument& document, const MarkChanges& changes) {
    std::vector<Mark>& marks = document.marks;
    for (const std::string& id : changes.deleted)
        std::erase_if(marks, [&](const Mark& m) { return m.id() == id; });
    for (const Mark& saved : changes.saved) {
        // A mark deleted here is not brought back by a stale edit of it.
        if (std::find(changes.deleted.begin(), changes.deleted.end(), saved.id()) !=
            changes.deleted.end())
            continue;
        const auto found = std::find_if(marks.begin(), marks.end(),
                                        [&](const Mark& m) { return m.id() == saved.id(); });
        if (found == marks.end()) {
            marks.push_back(saved);
            continue;
        }
        const std::string others(found->otherKeys());
        *found = saved;
        // Keys another program added to the mark since it was read here stay.
        if (!others.empty()) {
            Json merged = Json::parse(others, nullptr, false);
            if (merged.is_object()) {
                AppendOtherKeys(merged, saved.otherKeys());
                found->setOtherKeys(merged.dump());
            }
        }
    }
    SortMarks(marks);
}

std::string MarkListLines(std::string_view log, const std::vector<Mark>& marks) {
    std::string lines;
    const std::string logField = CsvField(log);
    for (const Mark& mark : marks) {
        lines += logField;
        lines += ',' + mark.startText() + ',' + mark.endText() + ',' +
                 std::to_string(mark.fromDegrees()) + ',' + std::to_string(mark.toDegrees()) + ',' +
                 CsvField(mark.label()) + ',' + CsvField(mark.comment()) + '\n';
    }
    return lines;
}
