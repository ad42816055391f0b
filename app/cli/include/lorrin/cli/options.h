// lorrin-cli's command line.
#pragma once

#include "lorrin/picture_files.h"
#include "lorrin/settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lorrin::cli {

enum class Format { kPng, kBmp, kSvg };

// Fields of the settings record given on the command line, in the order given; each
// replaces the settings file's value.
struct SettingOverrides {
    std::vector<std::pair<std::int32_t Settings::*, std::int32_t>> numbers;
    std::vector<std::pair<std::string Settings::*, std::string>> texts;

    void applyTo(Settings& settings) const;
};

struct Options {
    std::vector<std::string> codes;
    std::optional<std::string> batchFile;  // "-" is standard input
    std::optional<int> typeIndex;
    std::optional<int> angleIndex;
    std::string output;  // a file name or pattern; "-" is standard output
    SettingOverrides settings;
    int dpi = kScreenDpi;
    std::optional<int> jobs;  // drawing threads of a batch at most; none: one per processor
    std::optional<std::string> settingsFile;
    bool widths = false;
    bool clipboard = false;  // the one code's picture goes to the clipboard, not to a file
    bool help = false;
    bool version = false;
};

// The parsed options, or the reason the command line is unusable.
struct ParseResult {
    Options options;
    std::string error;  // empty when the command line is usable
};

ParseResult parseOptions(const std::vector<std::string_view>& args);

// The option that gives `field` a value ("--narrow" for narrowWidth); empty for a field
// no option gives.
std::string_view optionFor(SettingsField field);

// "JAN/UPC", "nw7", "code-39", "jan", "3", ...: the symbology list entry, nullopt for
// a name that is none of them.
std::optional<int> parseType(std::string_view name);

// The picture format an output name asks for by its ending (PNG for "-").
std::optional<Format> formatFor(std::string_view output);

// The output name for picture `number` of code `code`: {n} and {code} replaced, the
// code made safe for a file name.
std::string outputName(std::string_view pattern, std::size_t number, std::string_view code);

extern const char* const kUsage;

}  // namespace lorrin::cli
