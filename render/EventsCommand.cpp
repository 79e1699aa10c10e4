// SPDX-License-Identifier: MIT
#include "EventsCommand.h"

#include "LogFile.h"
#include "FileErrors.h"
#include "PathText.h"

#include <cstdio>
#include <string>

namespace {
void Print(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}
} // namespace

int RunEventsCommand(const EventsRequest& request) {
    int status = 0;
    Print(EventListHeader);
    ObservationGrid grid;
    for (const QString& log : request.logs) {
        const LogReadResult read = ReadLogFile(log, grid);
        if (read.ok()) {
            Print(EventListLines(PathBytes(log), FindEvents(grid, request.threshold)));
            continue;
        }
        // What came before is printed first, so that both streams keep their
        // order on one terminal.
        std::fflush(stdout);
        std::fprintf(stderr, "dirchart: %s: %s\n", PathBytes(log).c_str(),
                     qUtf8Printable(ReasonInWords(read)));
        status = 1;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::perror("dirchart: standard output");
        return 1;
    }
    return status;
}
