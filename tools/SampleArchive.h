// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <vector>

// A day of the sample archive as the bytes of its log. Every date gives a
// different, plausible day: the sources move with the season, sunrise and
// sunset with it, and some days are quiet, others busy with bursts or cut by
// an outage. The same date gives the same bytes on every run.
std::vector<char> SampleArchiveDay(std::chrono::sys_days date);
