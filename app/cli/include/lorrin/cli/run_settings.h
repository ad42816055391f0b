// The settings of a run: the desktop program's settings file with the command line over
// it, checked against what scanners read before anything is drawn.
#pragma once

#include "lorrin/choices.h"
#include "lorrin/cli/jobs.h"
#include "lorrin/cli/options.h"
#include "lorrin/settings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lorrin::cli {

struct RunSettings {
    Settings settings;
    int typeIndex = kJanUpc;           // entry of the symbology list
    int angleIndex = 0;                // entry of the angle list
    std::vector<std::string> notices;  // settings files left alone, for standard error
};

// The settings file that --settings names (alone), else the desktop program's settings
// as it would find them from `programDir`, with the command line's settings over them.
// The lists' entries are the command line's, else the file's as the desktop program
// would show them, the first when the file's selects none.  nullopt when --settings
// names no file.
std::optional<RunSettings> runSettings(const Options& options,
                                       const std::filesystem::path& programDir);

// The folder of the running program.
std::filesystem::path programDir(const char* argv0);

// The first of --wide and --gap with which a symbology the run uses gives no readable
// symbol, named with its value and range; "" when there is none.
std::string unreadableSetting(const Settings& settings, const SymbologySet& used);

}  // namespace lorrin::cli
