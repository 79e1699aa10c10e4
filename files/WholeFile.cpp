// SPDX-License-Identifier: MIT
#include "WholeFile.h"

#include "PathText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// The permissions of a new file: 0666 less the process's umask, read from
// /proc since umask(2) cannot read it without setting it, which would race
// with other threads writing files.
mode_t NewFileMode() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Umask:", 0) == 0)
            return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 0644;
}

} // namespace

FileWriteResult WriteWholeFile(const QString& path, const QByteArray& bytes) {
    std::string target = PathBytes(path);
    // A symbolic link is written through, to the file it names, as a web
    // folder of links to the images expects; the link itself stays.
    struct stat link {};
    if (::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* resolved = ::realpath(target.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return {errno};
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return FileWriteResult{error};
    };
    struct stat existing {};
    const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777
                                                                : NewFileMode();
    if (::fchmod(fd, mode) != 0)
        return fail(errno);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n =
            ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        done += n;
    }
    // On disk before it takes the name, so that a crash leaves the old file
    // or the new one, never an empty one.
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return {error};
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return {error};
    }
    return {};
}
