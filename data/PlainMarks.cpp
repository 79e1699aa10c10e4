// SPDX-License-Identifier: MIT
#include "PlainMarks.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

// The bytes that stand for themselves in a text: printable ASCII other than
// the quote and the backslash.
constexpr std::array<bool, 256> PlainBytes = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x80; ++c)
        plain[std::size_t(c)] = c != '"' && c != '\\';
    return plain;
}();

// Appends a few bytes copied eight at a time: for the dozen bytes of a label
// or an id, the C library's copy (chosen for long blocks) costs several times
// the bytes themselves, and a marks file is mostly such texts.
void AppendBytes(std::string& out, const unsigned char* bytes, std::size_t count) {
    const std::size_t at = out.size();
    out.resize(at + count);
    char* to = out.data() + at;
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8)
        std::memcpy(to + i, bytes + i, 8);
    for (; i < count; ++i)
        to[i] = static_cast<char>(bytes[i]);
}

// The length of the UTF-8 sequence at `p` as RFC 3629 allows it (no
// overlong forms, no surrogates, nothing past U+10FFFF), 0 for none.
int Utf8Length(const unsigned char* p, const unsigned char* end) {
    const auto follows = [&](int i, unsigned char low = 0x80, unsigned char high = 0xbf) {
        return end - p > i && p[i] >= low && p[i] <= high;
    };
    const unsigned char c = p[0];
    if (c >= 0xc2 && c <= 0xdf)
        return follows(1) ? 2 : 0;
    if (c == 0xe0)
        return follows(1, 0xa0) && follows(2) ? 3 : 0;
    if ((c >= 0xe1 && c <= 0xec) || c == 0xee || c == 0xef)
        return follows(1) && follows(2) ? 3 : 0;
    if (c == 0xed)
        return follows(1, 0x80, 0x9f) && follows(2) ? 3 : 0;
    if (c == 0xf0)
        return follows(1, 0x90) && follows(2) && follows(3) ? 4 : 0;
    if (c >= 0xf1 && c <= 0xf3)
        return follows(1) && follows(2) && follows(3) ? 4 : 0;
    if (c == 0xf4)
        return follows(1, 0x80, 0x8f) && follows(2) && follows(3) ? 4 : 0;
    return 0;
}

// The bytes JSON counts as white space.
constexpr std::array<bool, 256> SpaceBytes = [] {
    std::array<bool, 256> space{};
    for (const char c : {' ', '\n', '\r', '\t'})
        space[static_cast<unsigned char>(c)] = true;
    return space;
}();

// A mark's keys in the order dirchart writes them, each as it stands in the
// text with its quotes and colon.
enum MarkKey { Id, Start, End, From, To, Label, Comment, Created, KeyCount };
constexpr std::string_view WrittenKeys[KeyCount] = {
    "\"id\":", "\"start\":", "\"end\":",     "\"from\":",
    "\"to\":", "\"label\":", "\"comment\":", "\"created\":"};

constexpr std::uint64_t Ones = 0x0101010101010101, Highs = 0x8080808080808080;

// The first of the eight bytes at `p` that a text cannot hold as it stands
// (a quote, a backslash, a control byte or the start of a multibyte
// character), or 8 for none. Borrows in the subtractions can mark bytes
// after the first such byte, never before it, so the lowest mark is exact.
int FirstSpecialByte(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    const auto zeroBytes = [](std::uint64_t v) { return (v - Ones) & ~v & Highs; };
    const std::uint64_t special = zeroBytes(word ^ (Ones * '"')) | zeroBytes(word ^ (Ones * '\\')) |
                                  ((word - Ones * 0x20) & ~word & Highs) | (word & Highs);
    return special == 0 ? 8 : std::countr_zero(special) / 8;
}

// A thread's one object of a type, emptied for each use: room that stays
// allocated from file to file.
template <typename T> T& Reused() {
    thread_local T room;
    room.clear();
    return room;
}

class PlainReader {
  public:
    explicit PlainReader(std::string_view text)
        : m_p(reinterpret_cast<const unsigned char*>(text.data())), m_end(m_p + text.size()) {}
    PlainReader(const PlainReader&) = delete;
    PlainReader& operator=(const PlainReader&) = delete;
    ~PlainReader() {
        // Room grown by an unusually large file is let go again.
        if (m_texts.capacity() > (std::size_t(1) << 20)) {
            m_texts = std::string();
            m_textPlaces = {};
        }
    }

    bool document(MarksDocument& document) {
        if (!take('{'))
            return false;
        bool version = false, marks = false;
        do {
            std::string_view key;
            if (!readKey(key))
                return false;
            if (key == "dirchart_marks" && !version) {
                version = true;
                int number = 0;
                if (!wholeNumber(number) || number != MarksFileVersion)
                    return false;
            } else if (key == "marks" && !marks) {
                marks = true;
                if (!markList(document.marks))
                    return false;
            } else {
                return false;
            }
        } while (take(','));
        if (!take('}') || !version)
            return false;
        space();
        return m_p == m_end;
    }

  private:
    void space() {
        while (m_p != m_end) {
            if (*m_p == ' ' && m_end - m_p >= 8) {
                // A line's indent, eight bytes at a time.
                std::uint64_t word;
                std::memcpy(&word, m_p, sizeof word);
                const std::uint64_t others = word ^ (Ones * ' ');
                m_p += others == 0 ? 8 : std::countr_zero(others) / 8;
            } else if (SpaceBytes[*m_p]) {
                ++m_p;
            } else {
                return;
            }
        }
    }
    bool take(char c) {
        // Most often the byte itself, with no space before it.
        if (m_p != m_end && *m_p == static_cast<unsigned char>(c)) {
            ++m_p;
            return true;
        }
        space();
        if (m_p == m_end || *m_p != static_cast<unsigned char>(c))
            return false;
        ++m_p;
        return true;
    }

    // A key of plain ASCII letters and underscores, and its colon.
    bool readKey(std::string_view& key) {
        if (!take('"'))
            return false;
        const unsigned char* start = m_p;
        while (m_p != m_end && ((*m_p >= 'a' && *m_p <= 'z') || *m_p == '_'))
            ++m_p;
        if (m_p == m_end || *m_p != '"')
            return false;
        key = std::string_view(reinterpret_cast<const char*>(start), std::size_t(m_p - start));
        ++m_p;
        return take(':');
    }

    // The length of a key's line as MarksJson writes it (the line break, the
    // indent, the key in quotes, its colon and a space) where the text goes
    // on with it, else 0. Each is compared as a constant, which the compiler
    // does in a load or two rather than a call; at least 32 bytes must remain.
    std::size_t writtenLine(MarkKey key) const {
        const auto line = [this](const auto& written) {
            constexpr std::size_t length = sizeof written - 1;
            return std::memcmp(m_p, written, length) == 0 ? length : 0;
        };
        switch (key) {
        case Id:
            return line("\n      \"id\": ");
        case Start:
            return line("\n      \"start\": ");
        case End:
            return line("\n      \"end\": ");
        case From:
            return line("\n      \"from\": ");
        case To:
            return line("\n      \"to\": ");
        case Label:
            return line("\n      \"label\": ");
        case Comment:
            return line("\n      \"comment\": ");
        case Created:
            return line("\n      \"created\": ");
        case KeyCount:
            break;
        }
        return 0;
    }

    // The key expected next, seen as its line or its bytes at once rather
    // than letter by letter: a file dirchart wrote has its marks' keys in one
    // order. Any other key of dirchart's is found by its name; KeyCount for
    // the rest.
    MarkKey markKey(int& next) {
        if (next < KeyCount) {
            if (m_end - m_p >= 32) {
                if (const std::size_t length = writtenLine(MarkKey(next))) {
                    m_p += length;
                    return MarkKey(next++);
                }
            }
            space();
            const std::string_view written = WrittenKeys[next];
            if (std::size_t(m_end - m_p) >= written.size() &&
                std::memcmp(m_p, written.data(), written.size()) == 0) {
                m_p += written.size();
                return MarkKey(next++);
            }
        }
        std::string_view key;
        if (!readKey(key))
            return KeyCount;
        for (int k = 0; k < KeyCount; ++k)
            if (WrittenKeys[k].substr(1, WrittenKeys[k].size() - 3) == key)
                return MarkKey(k);
        return KeyCount;
    }

    // A text value: raw UTF-8 and the simple escapes. The text as it stands
    // in the file where it has no escapes, else as decoded into `decoded`.
    bool text(std::string_view& out, std::string& decoded) {
        if (!take('"'))
            return false;
        const unsigned char* run = m_p;
        bool escaped = false;
        const auto keep = [&] { AppendBytes(decoded, run, std::size_t(m_p - run)); };
        for (;;) {
            // Plain bytes eight at a time while they last, then one by one.
            while (m_end - m_p >= 8) {
                const int plain = FirstSpecialByte(m_p);
                m_p += plain;
                if (plain < 8)
                    break;
            }
            while (m_p != m_end && PlainBytes[*m_p])
                ++m_p;
            if (m_p == m_end)
                return false;
            const unsigned char c = *m_p;
            if (c == '"') {
                if (escaped) {
                    keep();
                    out = decoded;
                } else {
                    out = std::string_view(reinterpret_cast<const char*>(run),
                                           std::size_t(m_p - run));
                }
                ++m_p;
                return true;
            }
            if (c < 0x20)
                return false;
            if (c >= 0x80) {
                const int length = Utf8Length(m_p, m_end);
                if (length == 0)
                    return false;
                m_p += length;
                continue;
            }
            // A backslash.
            if (!escaped) {
                decoded.clear();
                escaped = true;
            }
            keep();
            if (m_end - m_p < 2)
                return false;
            switch (m_p[1]) {
            case '"':
                decoded += '"';
                break;
            case '\\':
                decoded += '\\';
                break;
            case '/':
                decoded += '/';
                break;
            case 'b':
                decoded += '\b';
                break;
            case 'f':
                decoded += '\f';
                break;
            case 'n':
                decoded += '\n';
                break;
            case 'r':
                decoded += '\r';
                break;
            case 't':
                decoded += '\t';
                break;
            default:
                return false; // \u and anything else: the general parser's
            }
            m_p += 2;
            run = m_p;
        }
    }

    // A time as text, "HH:MM" from "00:00" to "24:00", as minutes after
    // midnight. (Other forms are the general parser's.)
    bool clock(int& minute) {
        if (!take('"') || m_end - m_p < 6 || m_p[2] != ':' || m_p[5] != '"')
            return false;
        const auto digit = [&](int i) { return m_p[i] >= '0' && m_p[i] <= '9'; };
        if (!digit(0) || !digit(1) || !digit(3) || !digit(4))
            return false;
        const int hour = (m_p[0] - '0') * 10 + (m_p[1] - '0');
        const int minutes = (m_p[3] - '0') * 10 + (m_p[4] - '0');
        if (minutes > 59 || hour > 24 || (hour == 24 && minutes != 0))
            return false;
        minute = hour * 60 + minutes;
        m_p += 6;
        return true;
    }

    // 0, or up to three digits without a leading zero, not followed by a
    // fraction or an exponent.
    bool wholeNumber(int& number) {
        space();
        const unsigned char* start = m_p;
        number = 0;
        while (m_p != m_end && *m_p >= '0' && *m_p <= '9' && m_p - start < 4)
            number = number * 10 + (*m_p++ - '0');
        const auto digits = m_p - start;
        if (digits == 0 || digits > 3 || (digits > 1 && *start == '0'))
            return false;
        return m_p == m_end || (*m_p != '.' && *m_p != 'e' && *m_p != 'E');
    }

    bool markList(std::vector<Mark>& marks) {
        if (!take('['))
            return false;
        // Room for every mark at once, not a dozen moves of every mark read
        // so far: each mark opens with a brace. (A brace in a text only
        // makes the room larger.)
        marks.reserve(bracesAhead());
        if (take(']'))
            return true;
        do {
            Mark& mark = marks.emplace_back();
            if (!readMark(mark))
                return false;
        } while (take(','));
        if (!take(']'))
            return false;
        // The marks' texts, gathered as they were read, in one block that
        // they share.
        const std::shared_ptr<char[]> block =
            std::make_shared_for_overwrite<char[]>(m_texts.size());
        std::memcpy(block.get(), m_texts.data(), m_texts.size());
        for (std::size_t i = 0; i < marks.size(); ++i)
            marks[i].shareTexts(block, m_textPlaces[i].first, m_textPlaces[i].second);
        return true;
    }

    bool readMark(Mark& mark) {
        if (!take('{'))
            return false;
        unsigned seen = 0; // a bit per key read, each allowed once
        int start = 0, end = 0;
        int from = 0, to = 0;
        int next = 0; // the key expected next, as dirchart writes them
        std::string_view id, label, comment, created;
        do {
            const MarkKey key = markKey(next);
            if (key == KeyCount || (seen & (1u << key)))
                return false;
            seen |= 1u << key;
            bool read = false;
            switch (key) {
            case Id:
                read = text(id, m_decoded[Id]);
                break;
            case Start:
                read = clock(start);
                break;
            case End:
                read = clock(end);
                break;
            case From:
                read = wholeNumber(from);
                break;
            case To:
                read = wholeNumber(to);
                break;
            case Label:
                read = text(label, m_decoded[Label]);
                break;
            case Comment:
                read = text(comment, m_decoded[Comment]);
                break;
            case Created:
                read = text(created, m_decoded[Created]);
                break;
            case KeyCount:
                break;
            }
            if (!read)
                return false;
        } while (take(','));
        constexpr unsigned Needed = 1u << Id | 1u << Start | 1u << End | 1u << From | 1u << To;
        if (!take('}') || (seen & Needed) != Needed || id.empty() ||
            !SetMarkMinutes(mark, start, end, nullptr) || !SetMarkBins(mark, from, to))
            return false;
        // Its texts join those of the marks before it, to be shared.
        const std::size_t begin = m_texts.size();
        Mark::TextEnds ends; // every one set below
        std::size_t i = 0;
        for (const std::string_view text : {id, label, comment, created}) {
            AppendBytes(m_texts, reinterpret_cast<const unsigned char*>(text.data()), text.size());
            ends[i++] = std::uint32_t(m_texts.size() - begin);
        }
        ends[i] = ends[i - 1]; // no other keys
        m_textPlaces.emplace_back(std::uint32_t(begin), ends);
        return true;
    }

    // How many opening braces the rest of the text holds.
    std::size_t bracesAhead() const {
        std::size_t count = 0;
        for (const unsigned char* at = m_p; at != m_end; ++count) {
            at = static_cast<const unsigned char*>(std::memchr(at, '{', std::size_t(m_end - at)));
            if (!at)
                break;
            ++at;
        }
        return count;
    }

    const unsigned char* m_p;
    const unsigned char* m_end;
    // Room for the texts of a mark that have escapes, reused from mark to mark.
    std::array<std::string, KeyCount> m_decoded;
    // The texts of the marks read so far, one after another, and where each
    // mark's begin and end; reused from file to file on each thread.
    std::string& m_texts = Reused<std::string>();
    std::vector<std::pair<std::uint32_t, Mark::TextEnds>>& m_textPlaces =
        Reused<std::vector<std::pair<std::uint32_t, Mark::TextEnds>>>();
};

} // namespace

std::optional<MarksDocument> ParsePlainMarks(std::string_view text) {
    MarksDocument document;
    if (!PlainReader(text).document(document))
        return std::nullopt;
    return document;
}
