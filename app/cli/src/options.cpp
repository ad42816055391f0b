#include "lorrin/cli/options.h"

#include "lorrin/cli/picture_files.h"
#include "lorrin/choices.h"

#include <charconv>

namespace lorrin::cli {
namespace {

std::string normalisedName(std::string_view name) {
    std::string out;
    for (const char c : name) {
        if (c == '-') continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    return out;
}

std::optional<std::int32_t> parseInt(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return value;
}

// Characters a code may keep in a file name; every other becomes '_'.
bool fileNameSafe(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           c == '-' || c == '_' || c == '.' || c == '+' || c == '$' || c == '%';
}

}  // namespace

const char* const kUsage =
    "usage: lorrin-cli [OPTIONS] CODE...          one picture per code\n"
    "       lorrin-cli [OPTIONS] --batch FILE|-   one code per line\n"
    "  -t, --type TYPE      JAN/UPC, NW-7, Code39, ITF, Code128A, Code128B, Code93 (any case,\n"
    "                       the dash optional, \"jan\" for the first) or the list index 0-6\n"
    "  -a, --angle DEG      0, 90, 180 or 270\n"
    "  -o, --output FILE    .png, .bmp or .svg by its ending; '-' writes PNG to standard\n"
    "                       output.  With several codes or --batch, a pattern: {n} is the\n"
    "                       line or argument number, {code} the code.  Default: {code}.png\n"
    "                       for one code, {n}-{code}.png for several\n"
    "      --height N  --guard N  --narrow N  --wide N  --gap N\n"
    "                       bar height, guard bar extra height, narrow width (pixels),\n"
    "                       wide element and character gap (modules).  Scanners read\n"
    "                       --wide 3 for NW-7, 2 or 3 for Code39 and ITF, --gap 1 to 5\n"
    "                       for NW-7 and Code39; other values are refused\n"
    "      --check | --no-check      the check character of NW-7, Code39 and ITF\n"
    "      --text | --no-text        the readable line under the bars\n"
    "      --full-text | --typed-text  the line with start/stop and check characters\n"
    "      --font NAME  --font-size PT\n"
    "      --dpi N              resolution written into PNG and BMP files (default 96,\n"
    "                           at most 54546084)\n"
    "      --settings FILE      read defaults from this settings file instead of lorrin.ini\n"
    "      --widths             print ReadableText, ElementWidths and ModuleCount instead\n"
    "  -h, --help   --version\n"
    "A batch line may start with a clipboard prefix (upc@ nw7@ c39@ itf@ 128a@ 128b@ c93@)\n"
    "that picks its symbology.  Reports name a setting by its option and its key in the\n"
    "settings file, as --narrow (narrow=).\n"
    "Exit status:\n"
    "  0  every picture drawn\n"
    "  1  a code was refused, or named the same file as an earlier one; the others drawn\n"
    "  2  bad usage: an unknown option or value, an unreadable batch file, or a setting\n"
    "     that makes no picture or no readable symbol; nothing more is drawn\n"
    "  3  a picture could not be written (a missing or read-only folder, a full disk);\n"
    "     the run stops there\n";

std::optional<int> parseType(std::string_view name) {
    if (const auto index = parseInt(name))
        return listSelection(*index, kSymbologyNames.size()) < 0 ? std::nullopt
                                                                 : std::optional<int>(*index);
    const std::string wanted = normalisedName(name);
    if (wanted == "jan") return 0;
    for (std::size_t i = 0; i < kSymbologyNames.size(); ++i)
        if (normalisedName(kSymbologyNames[i]) == wanted) return static_cast<int>(i);
    return std::nullopt;
}

std::optional<Format> formatFor(std::string_view output) {
    if (output == "-") return Format::kPng;
    const auto dot = output.find_last_of('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string lower = normalisedName(output.substr(dot));
    if (lower == ".png") return Format::kPng;
    if (lower == ".bmp") return Format::kBmp;
    if (lower == ".svg") return Format::kSvg;
    return std::nullopt;
}

std::string outputName(std::string_view pattern, std::size_t number, std::string_view code) {
    std::string safeCode;
    for (const char c : code) safeCode += fileNameSafe(c) ? c : '_';
    if (safeCode.empty() || safeCode.front() == '.') safeCode.insert(0, "_");
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern.substr(i).starts_with("{n}")) {
            out += std::to_string(number);
            i += 3;
        } else if (pattern.substr(i).starts_with("{code}")) {
            out += safeCode;
            i += 6;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

ParseResult parseOptions(const std::vector<std::string_view>& args) {
    ParseResult r;
    Options& o = r.options;
    bool codesOnly = false;
    for (std::size_t i = 0; i < args.size() && r.error.empty(); ++i) {
        const std::string_view arg = args[i];
        if (codesOnly || arg == "-" || !arg.starts_with("-")) {
            o.codes.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            codesOnly = true;
            continue;
        }
        // Options that take a value: "--name VALUE" or "--name=VALUE".
        std::string_view name = arg;
        std::optional<std::string_view> inlineValue;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        auto value = [&]() -> std::optional<std::string_view> {
            if (inlineValue) return inlineValue;
            if (i + 1 < args.size()) return args[++i];
            r.error = std::string(name) + " needs a value";
            return std::nullopt;
        };
        auto number = [&](Override<std::int32_t>& field) {
            if (const auto v = value()) {
                field = parseInt(*v);
                if (!field) r.error = std::string(name) + ": not a whole number: " + std::string(*v);
            }
        };
        const auto flag = [&](Override<std::int32_t>& field, std::int32_t on) {
            if (inlineValue) r.error = std::string(name) + " takes no value";
            field = on;
        };

        if (name == "-h" || name == "--help") {
            o.help = true;
        } else if (name == "--version") {
            o.version = true;
        } else if (name == "-t" || name == "--type") {
            if (const auto v = value()) {
                o.typeIndex = parseType(*v);
                if (!o.typeIndex) r.error = "unknown type: " + std::string(*v);
            }
        } else if (name == "-a" || name == "--angle") {
            if (const auto v = value()) {
                const auto degrees = parseInt(*v);
                if (degrees && (*degrees == 0 || *degrees == 90 || *degrees == 180 || *degrees == 270))
                    o.angleIndex = *degrees / 90;
                else
                    r.error = "angle must be 0, 90, 180 or 270: " + std::string(*v);
            }
        } else if (name == "-o" || name == "--output") {
            if (const auto v = value()) o.output = std::string(*v);
        } else if (name == "--batch") {
            if (const auto v = value()) o.batchFile = std::string(*v);
        } else if (name == "--settings") {
            if (const auto v = value()) o.settingsFile = std::string(*v);
        } else if (name == "--font") {
            if (const auto v = value()) o.fontName = std::string(*v);
        } else if (name == "--height") {
            number(o.barHeight);
        } else if (name == "--guard") {
            number(o.guardExtra);
        } else if (name == "--narrow") {
            number(o.narrowWidth);
        } else if (name == "--wide") {
            number(o.wideRatio);
        } else if (name == "--gap") {
            number(o.charGap);
        } else if (name == "--font-size") {
            number(o.fontSize);
        } else if (name == "--dpi") {
            Override<std::int32_t> dpi;
            number(dpi);
            if (dpi && (*dpi < 1 || *dpi > kMaxDpi))
                r.error =
                    "--dpi must be 1 to " + std::to_string(kMaxDpi) + ": " + std::to_string(*dpi);
            if (dpi) o.dpi = *dpi;
        } else if (name == "--check") {
            flag(o.checkSum, 1);
        } else if (name == "--no-check") {
            flag(o.checkSum, 0);
        } else if (name == "--text") {
            flag(o.ocrDisp, 1);
        } else if (name == "--no-text") {
            flag(o.ocrDisp, 0);
        } else if (name == "--full-text") {
            flag(o.addSum, 1);
        } else if (name == "--typed-text") {
            flag(o.addSum, 0);
        } else if (name == "--widths") {
            if (inlineValue) r.error = "--widths takes no value";
            o.widths = true;
        } else {
            r.error = "unknown option: " + std::string(arg);
        }
    }
    if (!r.error.empty() || o.help || o.version) return r;

    if (o.batchFile && !o.codes.empty())
        r.error = "give codes or --batch, not both";
    else if (!o.batchFile && o.codes.empty())
        r.error = "no code given";
    const bool several = o.batchFile || o.codes.size() > 1;
    if (r.error.empty() && !o.widths) {
        if (o.output.empty()) o.output = several ? "{n}-{code}.png" : "{code}.png";
        if (!formatFor(o.output))
            r.error = "output must end in .png, .bmp or .svg: " + o.output;
        else if (several && o.output != "-" && o.output.find("{n}") == std::string::npos &&
                 o.output.find("{code}") == std::string::npos)
            r.error = "several pictures need {n} or {code} in the output name";
    }
    return r;
}

}  // namespace lorrin::cli
