// How lorrin-cli reports: its exit status, and texts fit for a terminal.
#pragma once

#include "lorrin/language.h"
#include "lorrin/settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lorrin::cli {

// A message of lorrin-cli's in the user interface's language.
inline std::string_view tr(std::string_view text) { return translate("lorrin-cli", text); }

// How a run ends: its exit status.
enum class Exit { kDrawn = 0, kRefused = 1, kBadUsage = 2, kUnwritable = 3 };

// A refused code concerns its own picture; bad usage (an unusable setting) and a
// destination that cannot be written concern every picture after them.
constexpr bool stopsRun(Exit exit) { return exit == Exit::kBadUsage || exit == Exit::kUnwritable; }

// What became of one picture.
struct Report {
    Exit exit = Exit::kDrawn;
    std::string text;  // for standard error; "" for a picture drawn
};

// Text as the terminal may show it: control characters and bytes that are not UTF-8 as
// \xNN, the backslash doubled, so a code cannot steer the terminal; every other
// character, Japanese among them, stays readable.  A text longer than `maxCharacters`
// ends in "..." after that many (a two-dimensional code's text may fill a screen).
std::string shown(std::string_view text, std::size_t maxCharacters = SIZE_MAX);

// A setting and its value as the user gives them: the command-line option, and the key in
// the settings file, which gives it when the option does not ("--narrow (narrow=) 0").
std::string named(SettingsField field, const Settings& settings);

}  // namespace lorrin::cli
