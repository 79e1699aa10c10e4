// SPDX-License-Identifier: MIT
#include "MarksCommand.h"

#include "FileErrors.h"
#include "MarkFile.h"
#include "PathText.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

namespace {

void Print(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void Complain(const QString& path, const QString& why) {
    // What came before is printed first, so that both streams keep their
    // order on one terminal.
    std::fflush(stdout);
    std::fprintf(stderr, "dirchart: %s: %s\n", PathBytes(path).c_str(), qUtf8Printable(why));
}

} // namespace

int RunListMarksCommand(const QStringList& logs) {
    int status = 0;
    Print(MarkListHeader);
    for (const QString& log : logs) {
        struct stat info {};
        if (::stat(PathBytes(log).c_str(), &info) != 0) {
            Complain(log, ReasonInWords(errno));
            status = 1;
            continue;
        }
        const MarksRead read = ReadMarks(log);
        switch (read.status) {
        case MarksRead::Status::NoFile:
            break;
        case MarksRead::Status::Read:
            Print(MarkListLines(PathBytes(log), read.document.marks));
            break;
        case MarksRead::Status::Damaged:
            Complain(read.path, QStringLiteral("damaged marks file (%1)").arg(read.why));
            status = 1;
            break;
        case MarksRead::Status::CannotRead:
            Complain(read.path, ReasonInWords(read.errorNumber));
            status = 1;
            break;
        }
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::perror("dirchart: standard output");
        return 1;
    }
    return status;
}
