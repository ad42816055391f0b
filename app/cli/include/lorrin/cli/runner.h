// The drawing of a run's pictures.
#pragma once

#include "lorrin/cli/jobs.h"
#include "lorrin/cli/options.h"
#include "lorrin/cli/report.h"
#include "lorrin/settings.h"

#include <filesystem>
#include <vector>

namespace lorrin::cli {

// Draws the jobs (with --widths, prints their encodings; with --clipboard, hands the
// picture to the keeper at `keeper`), a long batch on up to --jobs threads (by default one
// per processor the process may use; pictures are independent files, written in any
// order), and shows progress on a terminal.  Standard output is written by one thread, in
// order.  A failure that stops the run stops every thread; the reports go to standard
// error in order, up to the first such failure, as one thread would give them.  Returns
// how the run ends.
Exit runJobs(const std::vector<Job>& jobs, const Options& options, const Settings& settings,
             int angleIndex, const std::filesystem::path& keeper);

}  // namespace lorrin::cli
