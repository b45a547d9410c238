#pragma once

#include <cstdio>
#include <functional>

struct CliRequest;

// Converts every source of `request` into its output, `request.jobs` at a time, each run on a
// thread of its own with an observer of its own. Every refusal is one line on stderr naming its
// source, and the others go on. `terminal`, when not null, shows one progress line for the whole
// batch. Once `stopRequested` says so, the runs under way stop, removing their unfinished files,
// and no other starts. The exit code: 0 when every source was written, otherwise 1.
int runBatch(const CliRequest &request, std::FILE *terminal, const std::function<bool()> &stopRequested);
