// lorrin-cli's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorrin::cli {

enum class Format { kPng, kBmp, kSvg };

// A settings-record field given on the command line; unset fields keep the settings file's.
template <typename T>
using Override = std::optional<T>;

struct Options {
    std::vector<std::string> codes;
    std::optional<std::string> batchFile;  // "-" is standard input
    Override<int> typeIndex;
    Override<int> angleIndex;
    std::string output;                    // a file name or pattern; "-" is standard output
    Override<std::int32_t> barHeight, guardExtra, narrowWidth, wideRatio, charGap;
    Override<std::int32_t> checkSum, ocrDisp, addSum;
    Override<std::string> fontName;
    Override<std::int32_t> fontSize;
    int dpi = 96;
    std::optional<std::string> settingsFile;
    bool widths = false;
    bool help = false;
    bool version = false;
};

// The parsed options, or the reason the command line is unusable.
struct ParseResult {
    Options options;
    std::string error;  // empty when the command line is usable
};

ParseResult parseOptions(const std::vector<std::string_view>& args);

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
