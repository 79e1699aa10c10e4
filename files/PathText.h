// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

// Paths travel through the program as QString, but a file name is a string of
// bytes that need not be valid UTF-8 (a share from an older system, a name
// written in another encoding). Qt would turn such bytes into U+FFFD and lose
// the file. Here every byte that does not decode is carried as the code unit
// U+DC80 + byte, a lone low surrogate that valid UTF-8 never yields, so that
// the exact bytes come back for every call to the file system.

// The text of a path given as bytes.
QString PathFromBytes(std::string_view bytes);
// The bytes of a path, for the file system.
std::string PathBytes(const QString& path);
inline std::filesystem::path FileSystemPath(const QString& path) {
    return PathBytes(path);
}
// The path as it is shown: each undecodable byte as U+FFFD.
QString PathForDisplay(const QString& path);
// The path made absolute against the working folder, with "." and ".."
// resolved as text.
QString AbsolutePath(const QString& path);
