// lorrin-cli: the draw of the desktop program without its window.  The pictures are the
// ones the desktop program puts on the clipboard, written to files instead, or with
// --clipboard put on the clipboard as well.
#include "lorrin/cli/jobs.h"
#include "lorrin/cli/options.h"
#include "lorrin/cli/report.h"
#include "lorrin/cli/run_settings.h"
#include "lorrin/cli/runner.h"
#include "kelda.h"
#include "lorrin/keeper/handover.h"

#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorrin::cli {
namespace {

int usageError(const std::string& message) {
    std::cerr << "lorrin-cli: " << message << '\n';
    return static_cast<int>(Exit::kBadUsage);
}

int run(int argc, char** argv) {
    const std::filesystem::path dir = programDir(argv[0]);
    useLanguage(localeLanguage(), catalogueFolders(dir));
#ifdef SIGXFSZ
    // Past a file size limit a write then fails with its reason, and the temporary file
    // is removed, instead of the signal ending the process half-way.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParseResult parsed = parseOptions(args);
    const Options& o = parsed.options;
    if (!parsed.error.empty())
        return usageError(format(tr("%1\nTry 'lorrin-cli --help'."), {parsed.error}));
    if (o.help) {
        std::cout << tr(kUsage);
        return 0;
    }
    if (o.version) {
        std::cout << "lorrin-cli " KELDA_VERSION_STRING " (KELDA " << BarcodeVersion() << ")\n";
        return 0;
    }
    const std::optional<RunSettings> settings = runSettings(o, dir);
    if (!settings) return usageError(format(tr("no settings file %1"), {*o.settingsFile}));
    for (const std::string& notice : settings->notices)
        std::cerr << "lorrin-cli: " << notice << '\n';

    std::string batch;  // the batch file's text: its jobs' codes lie in it
    std::vector<Job> jobs;
    if (o.batchFile) {
        if (const std::error_code error = readBatch(*o.batchFile, batch))
            return usageError(format(
                tr("cannot read %1: %2"),
                {*o.batchFile == "-" ? tr("standard input") : *o.batchFile, error.message()}));
        jobs = batchJobs(batch, o, settings->typeIndex);
    } else {
        jobs = argumentJobs(o, settings->typeIndex);
    }
    claimFiles(jobs);
    // Every code of the run is known: a setting that leaves one of its symbologies
    // unreadable is refused before anything is drawn.
    if (!o.widths) {
        if (const std::string unreadable =
                unreadableSetting(settings->settings, symbologiesOf(jobs));
            !unreadable.empty())
            return usageError(unreadable);
    }
    return static_cast<int>(
        runJobs(jobs, o, settings->settings, settings->angleIndex, keeper::keeperPath(dir)));
}

}  // namespace
}  // namespace lorrin::cli

int main(int argc, char** argv) { return lorrin::cli::run(argc, argv); }
