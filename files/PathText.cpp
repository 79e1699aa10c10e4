// SPDX-License-Identifier: MIT
#include "PathText.h"

#include <QDir>

#include <algorithm>

#include <system_error>

namespace {

constexpr char16_t EscapedByte = 0xdc00;

bool IsEscapedByte(const QString& text, qsizetype i) {
    const char16_t unit = text[i].unicode();
    // A low surrogate after a high one is half of a real character.
    return unit >= EscapedByte + 0x80 && unit <= EscapedByte + 0xff &&
           (i == 0 || !text[i - 1].isHighSurrogate());
}

// The length of the valid UTF-8 sequence at the start of `s` and its code
// point; 0 where it is not one (overlong forms and surrogates included).
int DecodeUtf8(std::string_view s, char32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    int length = 0;
    char32_t minimum = 0;
    if ((lead & 0xe0) == 0xc0) {
        length = 2, code = lead & 0x1f, minimum = 0x80;
    } else if ((lead & 0xf0) == 0xe0) {
        length = 3, code = lead & 0x0f, minimum = 0x800;
    } else if ((lead & 0xf8) == 0xf0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (s.size() < static_cast<std::size_t>(length))
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80)
            return 0;
        code = code << 6 | (byte(i) & 0x3f);
    }
    if (code < minimum || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return 0;
    return length;
}

} // namespace

QString PathFromBytes(std::string_view bytes) {
    // Most paths are plain ASCII, taken as they stand.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }))
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    while (!bytes.empty()) {
        char32_t code = 0;
        const int length = DecodeUtf8(bytes, code);
        if (length == 0) {
            text.append(QChar(static_cast<char16_t>(EscapedByte + static_cast<unsigned char>(bytes[0]))));
            bytes.remove_prefix(1);
            continue;
        }
        if (QChar::requiresSurrogates(code)) {
            text.append(QChar(QChar::highSurrogate(code)));
            text.append(QChar(QChar::lowSurrogate(code)));
        } else {
            text.append(QChar(static_cast<char16_t>(code)));
        }
        bytes.remove_prefix(static_cast<std::size_t>(length));
    }
    return text;
}

std::string PathBytes(const QString& path) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(path.size()));
    qsizetype start = 0;
    const auto flush = [&](qsizetype end) {
        if (end > start)
            bytes += QStringView(path).mid(start, end - start).toUtf8().toStdString();
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!IsEscapedByte(path, i))
            continue;
        flush(i);
        bytes += static_cast<char>(path[i].unicode() - EscapedByte);
        start = i + 1;
    }
    flush(path.size());
    return bytes;
}

QString PathForDisplay(const QString& path) {
    QString shown = path;
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (IsEscapedByte(path, i))
            shown[i] = QChar::ReplacementCharacter;
    return shown;
}

QString AbsolutePath(const QString& path) {
    if (path.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(path);
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return QDir::cleanPath(PathFromBytes(here.native()) + QLatin1Char('/') + path);
}
