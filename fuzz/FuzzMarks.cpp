// SPDX-License-Identifier: MIT
// Fuzz target: arbitrary bytes as a marks file. Neither reader may crash;
// whatever the quick reader of dirchart's own shape takes, the general JSON
// reader must read to the same marks, and reading as a whole must agree
// with the general reader about whether the file is a marks file at all.

#include "Marks.h"
#include "PlainMarks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<MarksDocument> plain = ParsePlainMarks(text);
    const std::optional<MarksDocument> general = ParseMarksJson(text);
    if (plain && plain != general)
        Fail("the quick reader read other marks than the JSON reader");
    if (ParseMarks(text).has_value() != general.has_value())
        Fail("reading as a whole disagrees with the JSON reader");
    return 0;
}
