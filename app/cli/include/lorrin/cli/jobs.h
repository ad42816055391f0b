// The pictures of a run: the codes of the command line or the lines of a batch file.
#pragma once

#include "lorrin/choices.h"
#include "lorrin/cli/options.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace lorrin::cli {

// One picture of the run: a code of the command line or a line of a batch.
struct Job {
    std::string name;    // how reports name it: "line 3", "argument 2", "" for a lone code
    int type = kJanUpc;  // entry of the symbology list; a batch line's prefix picks its own
    std::string_view code;
    std::string path;  // the output file ("-" for standard output), "" with --widths or --clipboard
    std::string sameFileAs;  // the name of an earlier job with the same path: this one is refused

    std::string where() const { return name.empty() ? name : name + ": "; }
};

// The jobs of the command line's codes, as entry `type` of the symbology list.
std::vector<Job> argumentJobs(const Options& options, int type);

// The jobs of a batch, one per code line, whose codes lie in `text`.  A line's clipboard
// prefix picks its entry of the symbology list, else it is `type`.
std::vector<Job> batchJobs(std::string_view text, const Options& options, int type);

// A code that names the file of an earlier one would replace its picture: it is refused
// instead.  Settled before drawing, so no drawing thread can overtake the first.
void claimFiles(std::vector<Job>& jobs);

// The entries of the symbology list that some job uses.
using SymbologySet = std::array<bool, kSymbologyNames.size()>;
SymbologySet symbologiesOf(const std::vector<Job>& jobs);

// The whole batch file ("-": standard input) into `text`, or the system's reason it
// cannot be read: a folder, say, opens but does not read.
std::error_code readBatch(const std::string& path, std::string& text);

}  // namespace lorrin::cli
