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

namespace lorrin::cli {

struct RunSettings {
    Settings settings;
    int typeIndex = kJanUpc;  // entry of the symbology list
    int angleIndex = 0;       // entry of the angle list
};

// The settings file that --settings names, else lorrin.ini beside the program (the
// desktop program's choice between it and the user's copy), with the command line's
// settings over it.  The lists' entries are the command line's, else the file's as the
// desktop program would show them, the first when the file's selects none.  nullopt when
// --settings names no file.
std::optional<RunSettings> runSettings(const Options& options,
                                       const std::filesystem::path& programDir);

// The folder of the running program.
std::filesystem::path programDir(const char* argv0);

// The first of --wide and --gap with which a symbology the run uses gives no readable
// symbol, named with its value and range; "" when there is none.
std::string unreadableSetting(const Settings& settings, const SymbologySet& used);

}  // namespace lorrin::cli
