#include "lorrin/cli/options.h"

#include "lorrin/choices.h"
#include "lorrin/cli/report.h"
#include "lorrin/picture_files.h"
#include "matrix/matrix.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <variant>

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

// The most bytes of a code a file name takes: with a number and an ending it stays
// within the 255 bytes a file system allows a name.
constexpr std::size_t kCodeInNameMax = 200;

// Characters a code may keep in a file name; every other becomes '_'.
bool fileNameSafe(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
           c == '_' || c == '.' || c == '+' || c == '$' || c == '%';
}

// The value as a whole number, or the reason it is none.
std::string readNumber(std::string_view option, std::string_view value, std::int32_t& number) {
    const auto parsed = parseInt(value);
    if (!parsed) return format(tr("%1: not a whole number: %2"), {option, value});
    number = *parsed;
    return {};
}

// Takes an option's value (empty for an option without one) into the options; returns
// why the value is refused, or "" when it is taken.
using Reader = std::string (*)(Options& options, std::string_view option, std::string_view value);

template <auto field>
std::string setSwitch(Options& options, std::string_view, std::string_view) {
    options.*field = true;
    return {};
}

template <auto field>
std::string setText(Options& options, std::string_view, std::string_view value) {
    options.*field = std::string(value);
    return {};
}

std::string readType(Options& options, std::string_view, std::string_view value) {
    options.typeIndex = parseType(value);
    return options.typeIndex ? "" : format(tr("unknown type: %1"), {value});
}

std::string readAngle(Options& options, std::string_view, std::string_view value) {
    const auto degrees = parseInt(value);
    if (!degrees || (*degrees != 0 && *degrees != 90 && *degrees != 180 && *degrees != 270))
        return format(tr("angle must be 0, 90, 180 or 270: %1"), {value});
    options.angleIndex = *degrees / 90;
    return {};
}

std::string readDpi(Options& options, std::string_view option, std::string_view value) {
    std::int32_t dpi = 0;
    if (std::string refusal = readNumber(option, value, dpi); !refusal.empty()) return refusal;
    if (dpi < 1 || dpi > kMaxDpi)
        return format(tr("--dpi must be 1 to %1: %2"),
                      {std::to_string(kMaxDpi), std::to_string(dpi)});
    options.dpi = dpi;
    return {};
}

// More threads than this would only cost memory: a batch draws no faster on them.
constexpr std::int32_t kMaxJobs = 1024;

std::string readJobs(Options& options, std::string_view option, std::string_view value) {
    std::int32_t jobs = 0;
    if (std::string refusal = readNumber(option, value, jobs); !refusal.empty()) return refusal;
    if (jobs < 1 || jobs > kMaxJobs)
        return format(tr("--jobs must be 1 to %1: %2"),
                      {std::to_string(kMaxJobs), std::to_string(jobs)});
    options.jobs = jobs;
    return {};
}

// The readable line under the bars and under a two-dimensional symbol.
template <std::int32_t on>
std::string setReadableLine(Options& options, std::string_view, std::string_view) {
    options.settings.numbers.emplace_back(&Settings::ocrDisp, on);
    options.settings.numbers.emplace_back(&Settings::matrixText, on);
    return {};
}

// "L", "M", "Q", "H" for QR Code, 2 to 8 for PDF417.
std::string readEcc(Options& options, std::string_view, std::string_view value) {
    static constexpr std::string_view kQrLevels = "lmqh";  // in the settings' order
    const std::string lower = normalisedName(value);
    if (const auto at = kQrLevels.find(lower); lower.size() == 1 && at != std::string::npos) {
        options.settings.numbers.emplace_back(&Settings::qrLevel, static_cast<std::int32_t>(at));
        return {};
    }
    const auto level = parseInt(value);
    if (level && *level >= matrix::kPdf417LevelMin && *level <= matrix::kPdf417LevelMax) {
        options.settings.numbers.emplace_back(&Settings::pdfLevel, *level);
        return {};
    }
    return format(tr("--ecc must be L, M, Q or H (QR) or 2 to 8 (PDF417): %1"), {value});
}

// A number from 1 to `high`, or "auto" (0).
template <std::int32_t Settings::*field, std::int32_t high>
std::string readAutoNumber(Options& options, std::string_view option, std::string_view value) {
    std::int32_t number = 0;
    if (normalisedName(value) != "auto") {
        const auto parsed = parseInt(value);
        if (!parsed || *parsed < 0 || *parsed > high)
            return format(tr("%1 must be 1 to %2 or auto: %3"),
                          {option, std::to_string(high), value});
        number = *parsed;
    }
    options.settings.numbers.emplace_back(field, number);
    return {};
}

std::string readShape(Options& options, std::string_view, std::string_view value) {
    const std::string lower = normalisedName(value);
    if (lower != "square" && lower != "rect" && lower != "rectangle")
        return format(tr("--dm-shape must be square or rect: %1"), {value});
    options.settings.numbers.emplace_back(&Settings::dmShape, lower == "square" ? 0 : 1);
    return {};
}

// What an option sets: a field of the settings record (from its value, or to the row's
// `flagValue` for an option without one), or whatever its reader makes of its value.
using Target = std::variant<Reader, std::int32_t Settings::*, std::string Settings::*>;

struct OptionEntry {
    std::string_view name;       // "--height"
    std::string_view shortName;  // "-t"; empty for none
    bool takesValue;
    Target sets;
    std::int32_t flagValue = 0;
};

constexpr bool kValue = true;
constexpr bool kNoValue = false;

// Every option: "--name VALUE", "--name=VALUE" or "-x VALUE" for one that takes a value.
constexpr std::array<OptionEntry, 31> kOptions = {{
    /* 0 */ {"--help", "-h", kNoValue, setSwitch<&Options::help>},
    {"--version", "", kNoValue, setSwitch<&Options::version>},
    {"--type", "-t", kValue, readType},
    {"--angle", "-a", kValue, readAngle},
    {"--output", "-o", kValue, setText<&Options::output>},
    /* 5 */ {"--batch", "", kValue, setText<&Options::batchFile>},
    {"--settings", "", kValue, setText<&Options::settingsFile>},
    {"--dpi", "", kValue, readDpi},
    {"--widths", "", kNoValue, setSwitch<&Options::widths>},
    {"--height", "", kValue, &Settings::barHeight},
    /* 10 */ {"--guard", "", kValue, &Settings::guardExtra},
    {"--narrow", "", kValue, &Settings::narrowWidth},
    {"--wide", "", kValue, &Settings::wideRatio},
    {"--gap", "", kValue, &Settings::charGap},
    {"--check", "", kNoValue, &Settings::checkSum, 1},
    /* 15 */ {"--no-check", "", kNoValue, &Settings::checkSum, 0},
    {"--text", "", kNoValue, setReadableLine<1>},
    {"--no-text", "", kNoValue, setReadableLine<0>},
    {"--full-text", "", kNoValue, &Settings::addSum, 1},
    {"--typed-text", "", kNoValue, &Settings::addSum, 0},
    /* 20 */ {"--font", "", kValue, &Settings::fontName},
    {"--font-size", "", kValue, &Settings::fontSize},
    {"--clipboard", "", kNoValue, setSwitch<&Options::clipboard>},
    {"--ecc", "", kValue, readEcc},
    /* 25 */ {"--qr-version", "", kValue, readAutoNumber<&Settings::qrVersion, matrix::kQrVersionMax>},
    {"--qr-utf8", "", kNoValue, &Settings::qrUtf8, 1},
    {"--qr-shift-jis", "", kNoValue, &Settings::qrUtf8, 0},
    {"--dm-shape", "", kValue, readShape},
    {"--pdf-columns", "", kValue,
     readAutoNumber<&Settings::pdfColumns, matrix::kPdf417ColumnsMax>},
    /* 30 */ {"--jobs", "-j", kValue, readJobs},
}};

// The fields that options with readers of their own give values.
constexpr std::array<std::pair<std::int32_t Settings::*, std::string_view>, 5> kReaderFields = {{
    {&Settings::qrLevel, "--ecc"},
    {&Settings::pdfLevel, "--ecc"},
    {&Settings::qrVersion, "--qr-version"},
    {&Settings::dmShape, "--dm-shape"},
    {&Settings::pdfColumns, "--pdf-columns"},
}};

const OptionEntry* findOption(std::string_view name) {
    for (const OptionEntry& entry : kOptions)
        if (name == entry.name || (!entry.shortName.empty() && name == entry.shortName))
            return &entry;
    return nullptr;
}

// The settings field an option gives a value, if it gives one.
std::optional<SettingsField> settingOf(const OptionEntry& entry) {
    if (const auto number = std::get_if<std::int32_t Settings::*>(&entry.sets)) return *number;
    if (const auto text = std::get_if<std::string Settings::*>(&entry.sets)) return *text;
    return std::nullopt;
}

// Does what option `entry`, given as `option`, does with `value`; returns why the value is
// refused, or "".
std::string apply(const OptionEntry& entry, std::string_view option, std::string_view value,
                  Options& options) {
    if (const auto read = std::get_if<Reader>(&entry.sets)) return (*read)(options, option, value);
    if (const auto text = std::get_if<std::string Settings::*>(&entry.sets)) {
        options.settings.texts.emplace_back(*text, value);
        return {};
    }
    const auto field = std::get<std::int32_t Settings::*>(entry.sets);
    std::int32_t number = entry.flagValue;
    if (entry.takesValue)
        if (std::string refusal = readNumber(option, value, number); !refusal.empty())
            return refusal;
    options.settings.numbers.emplace_back(field, number);
    return {};
}

}  // namespace

const char* const kUsage =
    "usage: lorrin-cli [OPTIONS] CODE...          one picture per code\n"
    "       lorrin-cli [OPTIONS] --batch FILE|-   one code per line\n"
    "  -t, --type TYPE      JAN/UPC, NW-7, Code39, ITF, Code128A, Code128B, Code93, QR,\n"
    "                       DataMatrix, PDF417 (any case, the dash optional, \"jan\" for the\n"
    "                       first) or the list index 0-9\n"
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
    "      --text | --no-text        the readable line under the bars (and under a\n"
    "                                two-dimensional symbol, where it is off by default)\n"
    "      --full-text | --typed-text  the line with start/stop and check characters\n"
    "      --font NAME  --font-size PT\n"
    "      --ecc L|M|Q|H        QR error correction (default M)\n"
    "      --ecc 2..8           PDF417 error correction (default: the recommended minimum)\n"
    "      --qr-version N|auto  QR version 1 to 40 (default: the smallest that holds the text)\n"
    "      --qr-utf8 | --qr-shift-jis  a Japanese text in QR as UTF-8, or (the default)\n"
    "                           as Shift_JIS in kanji mode when Shift_JIS holds it\n"
    "      --dm-shape square|rect      Data Matrix shape (default square)\n"
    "      --pdf-columns N|auto PDF417 data columns 1 to 30 (default: about 3:1 wide)\n"
    "                           --narrow is the module size of the two-dimensional codes\n"
    "      --dpi N              resolution of the picture (default 96, at most 54546084):\n"
    "                           PNG and BMP hold it, an SVG is sized by it to print alike\n"
    "      --settings FILE      read defaults from FILE alone instead of lorrin's settings\n"
    "  -j, --jobs N             draw a batch on N threads at most (default: one for each\n"
    "                           processor lorrin-cli may use); the files are the same\n"
    "      --widths             print ReadableText, ElementWidths and ModuleCount instead;\n"
    "                           a two-dimensional symbol as WxH and a line of 1 (dark)\n"
    "                           and 0 per row of modules\n"
    "      --clipboard          put the one code's picture on the clipboard instead of a\n"
    "                           file (PNG, BMP and SVG, at --dpi); it stays there after\n"
    "                           lorrin-cli ends, until another program takes the clipboard.\n"
    "                           Needs an X display (XWayland on a Wayland session)\n"
    "  -h, --help   --version\n"
    "A batch line may start with a clipboard prefix (upc@ nw7@ c39@ itf@ 128a@ 128b@ c93@\n"
    "qr@ dm@ pdf@) that picks its symbology.  Reports name a setting by its option and its key in the\n"
    "settings file, as --narrow (narrow=).  Messages are Japanese when the locale (the first\n"
    "of LC_ALL, LC_MESSAGES and LANG that is set) is Japanese, English otherwise.\n"
    "Exit status:\n"
    "  0  every picture drawn\n"
    "  1  a code was refused, or named the same file as an earlier one; the others drawn\n"
    "  2  bad usage: an unknown option or value, an unreadable batch file, or a setting\n"
    "     that makes no picture or no readable symbol; nothing more is drawn\n"
    "  3  a picture could not be written (a missing or read-only folder, a full disk),\n"
    "     or the clipboard could not take it; the run stops there\n";

std::optional<int> parseType(std::string_view name) {
    if (const auto index = parseInt(name))
        return listSelection(*index, kSymbologyNames.size()) < 0 ? std::nullopt
                                                                 : std::optional<int>(*index);
    const std::string wanted = normalisedName(name);
    if (wanted == "jan") return kJanUpc;
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
    // A two-dimensional code's text may be far longer than a file name can be.
    std::string safeCode(code.substr(0, kCodeInNameMax));
    const auto unsafe = [](char c) { return !fileNameSafe(c); };
    std::replace_if(safeCode.begin(), safeCode.end(), unsafe, '_');
    if (safeCode.empty() || safeCode.front() == '.') safeCode.insert(0, "_");
    std::string out;
    out.reserve(pattern.size() + safeCode.size() + 16);  // room for a {code} and a {n}
    while (!pattern.empty()) {
        const std::size_t brace = std::min(pattern.find('{'), pattern.size());
        out += pattern.substr(0, brace);
        pattern.remove_prefix(brace);
        if (pattern.starts_with("{n}")) {
            out += std::to_string(number);
            pattern.remove_prefix(3);
        } else if (pattern.starts_with("{code}")) {
            out += safeCode;
            pattern.remove_prefix(6);
        } else if (!pattern.empty()) {
            out += pattern.front();
            pattern.remove_prefix(1);
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
        // "--name=VALUE" carries its value; "--name VALUE" and "-x VALUE" take the next one.
        const std::size_t eq = arg.starts_with("--") ? arg.find('=') : std::string_view::npos;
        const std::string_view name = arg.substr(0, eq);
        const OptionEntry* entry = findOption(name);
        std::string_view value;
        if (entry == nullptr) {
            r.error = format(tr("unknown option: %1"), {arg});
        } else if (eq != std::string_view::npos) {
            if (entry->takesValue)
                value = arg.substr(eq + 1);
            else
                r.error = format(tr("%1 takes no value"), {name});
        } else if (entry->takesValue) {
            if (i + 1 < args.size())
                value = args[++i];
            else
                r.error = format(tr("%1 needs a value"), {name});
        }
        if (r.error.empty()) r.error = apply(*entry, name, value, o);
    }
    if (!r.error.empty() || o.help || o.version) return r;

    if (o.batchFile && !o.codes.empty())
        r.error = tr("give codes or --batch, not both");
    else if (!o.batchFile && o.codes.empty())
        r.error = tr("no code given");
    const bool several = o.batchFile || o.codes.size() > 1;
    if (r.error.empty() && o.clipboard) {
        if (several)
            r.error = tr("--clipboard takes one code");
        else if (!o.output.empty() || o.widths)
            r.error = format(tr("give --clipboard or %1, not both"),
                             {o.widths ? "--widths" : "--output"});
    } else if (r.error.empty() && !o.widths) {
        if (o.output.empty()) o.output = several ? "{n}-{code}.png" : "{code}.png";
        if (!formatFor(o.output))
            r.error = format(tr("output must end in .png, .bmp or .svg: %1"), {o.output});
        else if (several && o.output != "-" && o.output.find("{n}") == std::string::npos &&
                 o.output.find("{code}") == std::string::npos)
            r.error = tr("several pictures need {n} or {code} in the output name");
    }
    return r;
}

void SettingOverrides::applyTo(Settings& settings) const {
    for (const auto& [field, value] : numbers) settings.*field = value;
    for (const auto& [field, value] : texts) settings.*field = value;
}

std::string_view optionFor(SettingsField field) {
    for (const OptionEntry& entry : kOptions)
        if (entry.takesValue && settingOf(entry) == field) return entry.name;
    for (const auto& [readerField, name] : kReaderFields)
        if (SettingsField(readerField) == field) return name;
    return {};
}

}  // namespace lorrin::cli
