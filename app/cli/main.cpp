// lorrin-cli: the draw of the desktop program without its window.  The pictures are the
// ones the desktop program puts on the clipboard, written to files instead.
#include "lorrin/cli/options.h"
#include "lorrin/cli/picture_files.h"
#include "lorrin/draw.h"
#include "lorrin/settings.h"
#include "lorrin/status.h"
#include "kelda.hpp"
#include "platform/atomic_file.h"
#include "rotateimage/rotate_image.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#define LORRIN_ISATTY _isatty
#define LORRIN_FILENO _fileno
#else
#include <unistd.h>
#define LORRIN_ISATTY isatty
#define LORRIN_FILENO fileno
#endif

namespace lorrin::cli {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// A batch of this many codes on a terminal shows its progress, this often.
constexpr std::size_t kProgressFrom = 1000;
constexpr std::chrono::milliseconds kProgressInterval{200};
// Drawing threads of a batch: one per core, up to this many, each with enough lines to
// be worth its font engine.
constexpr std::size_t kMaxWorkers = 8;
constexpr std::size_t kLinesPerWorker = 256;

// How a run ends: its exit status.
enum class Exit { kDrawn = 0, kRefused = 1, kUsage = 2, kUnwritable = 3 };

// A refused code concerns its own picture; bad usage (an unusable setting) and a
// destination that cannot be written concern every picture after them.
bool stopsRun(Exit exit) { return exit == Exit::kUsage || exit == Exit::kUnwritable; }

// The window's position has no meaning here: every position is on this screen.
class UnboundedScreen : public platform::Screen {
public:
    platform::ScreenSize size() const override { return {INT_MAX, INT_MAX}; }
};

// The length of the well-formed UTF-8 sequence that `text` starts with, 0 for none
// (a stray continuation byte, an overlong form, a surrogate, a code point past U+10FFFF,
// a sequence cut short).
std::size_t utf8Length(std::string_view text) {
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    const unsigned lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

// C0 controls, DEL and the C1 controls U+0080 to U+009F.
bool isControl(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    return lead < 0x20 || lead == 0x7F ||
           (lead == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0);
}

// Text as the terminal may show it: control characters and bytes that are not UTF-8 as
// \xNN, the backslash doubled, so a code cannot steer the terminal; every other
// character, Japanese among them, stays readable.
std::string shown(std::string_view text) {
    static constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8Length(text.substr(i));
        const std::string_view character = text.substr(i, std::max<std::size_t>(length, 1));
        i += character.size();
        if (character == "\\") {
            out += "\\\\";
        } else if (length == 0 || isControl(character)) {
            for (const char c : character) {
                const auto b = static_cast<unsigned char>(c);
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 0x0F];
            }
        } else {
            out += character;
        }
    }
    return out;
}

// A setting as the user gives it: the command-line option, and the key in the settings
// file, which gives it when the option does not.
struct SettingName {
    std::string_view option;
    std::string_view key;
};
constexpr SettingName kHeightName{"--height", "h"};
constexpr SettingName kGuardName{"--guard", "gh"};
constexpr SettingName kNarrowName{"--narrow", "narrow"};
constexpr SettingName kWideName{"--wide", "wn"};
constexpr SettingName kGapName{"--gap", "gap"};
constexpr SettingName kFontName{"--font", "name"};
constexpr SettingName kFontSizeName{"--font-size", "size"};

// "--narrow (narrow=) 0"
std::string named(SettingName name, std::string_view value) {
    return std::string(name.option) + " (" + std::string(name.key) + "=) " + std::string(value);
}

std::string named(PictureSetting setting, const Settings& s) {
    switch (setting) {
        case PictureSetting::kBarHeight: return named(kHeightName, std::to_string(s.barHeight));
        case PictureSetting::kGuardExtra: return named(kGuardName, std::to_string(s.guardExtra));
        case PictureSetting::kNarrowWidth: return named(kNarrowName, std::to_string(s.narrowWidth));
        case PictureSetting::kFontName: return named(kFontName, shown(s.fontName));
        case PictureSetting::kFontSize: return named(kFontSizeName, std::to_string(s.fontSize));
        case PictureSetting::kNone: break;
    }
    return {};
}

struct ModuleRange {
    std::int32_t low;
    std::int32_t high;

    bool holds(std::int32_t modules) const { return modules >= low && modules <= high; }
    std::string text() const {
        return low == high ? std::to_string(low)
                           : std::to_string(low) + " to " + std::to_string(high);
    }
};

// What scanners are built to read, in whole modules, for the symbologies whose encoders
// take the wide element and the intercharacter gap.  The wide:narrow ratio is 2.0 to 3.0
// for Code 39 (ISO/IEC 16388) and ITF (ISO/IEC 16390), 2.25 to 3.0 for NW-7
// (AIM USS-Codabar); the gap is at least one module and at most 5.3 (ISO/IEC 16388, for
// narrow elements under 0.287 mm).  Those ends hold at some printed sizes only (2.0 from
// 0.5 mm, 5.3 below 0.287 mm), and a picture file does not fix its printed size, so a
// value that some size allows is taken.
struct ElementLimits {
    int typeIndex;                   // entry of the symbology list
    ModuleRange wide;
    std::optional<ModuleRange> gap;  // none: the symbology has no intercharacter gap
};
constexpr std::array<ElementLimits, 3> kElementLimits = {{
    {1, {3, 3}, ModuleRange{1, 5}},  // NW-7
    {2, {2, 3}, ModuleRange{1, 5}},  // Code39
    {3, {2, 3}, std::nullopt},       // ITF
}};

using SymbologySet = std::array<bool, kSymbologyNames.size()>;

// The first of --wide and --gap with which a symbology of the run gives no readable
// symbol, named with its value and range; "" when there is none.
std::string unreadableSetting(const Settings& settings, const SymbologySet& used) {
    const auto refusal = [](SettingName name, std::int32_t value, int type, ModuleRange range) {
        return named(name, std::to_string(value)) + " gives no readable " +
               std::string(kSymbologyNames[static_cast<std::size_t>(type)]) + ": it takes " +
               range.text() + " modules";
    };
    for (const ElementLimits& l : kElementLimits)
        if (used[static_cast<std::size_t>(l.typeIndex)] && !l.wide.holds(settings.wideRatio))
            return refusal(kWideName, settings.wideRatio, l.typeIndex, l.wide);
    for (const ElementLimits& l : kElementLimits)
        if (used[static_cast<std::size_t>(l.typeIndex)] && l.gap && !l.gap->holds(settings.charGap))
            return refusal(kGapName, settings.charGap, l.typeIndex, *l.gap);
    return {};
}

// One picture of the run: a code of the command line or a line of a batch.
struct Job {
    std::string name;        // how reports name it: "line 3", "argument 2", "" for a lone code
    int type = 0;            // entry of the symbology list; a batch line's prefix picks its own
    std::string_view code;
    std::string path;        // the output file ("-" for standard output), "" with --widths
    std::string sameFileAs;  // the name of an earlier job with the same path: this one is refused

    std::string where() const { return name.empty() ? name : name + ": "; }
};

Job makeJob(std::string name, std::size_t number, std::string_view text, bool prefixed, int type,
            const Options& options) {
    Job job{std::move(name), type, text, {}, {}};
    if (prefixed) {
        if (const auto match = matchPrefix(text)) {
            job.type = match->typeIndex;
            job.code.remove_prefix(match->codeAt);
        }
    }
    if (!options.widths) job.path = outputName(options.output, number, job.code);
    return job;
}

std::vector<Job> argumentJobs(const Options& options, int type) {
    std::vector<Job> jobs;
    for (std::size_t i = 0; i < options.codes.size(); ++i)
        jobs.push_back(makeJob(options.codes.size() > 1 ? "argument " + std::to_string(i + 1) : "",
                               i + 1, options.codes[i], false, type, options));
    return jobs;
}

// The jobs of a batch, one per code line: a byte order mark, CR LF line ends, blank
// lines and a missing last line end are all taken in stride.
std::vector<Job> batchJobs(std::string_view text, const Options& options, int type) {
    std::vector<Job> jobs;
    if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
    for (std::size_t number = 1; !text.empty(); ++number) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        jobs.push_back(
            makeJob("line " + std::to_string(number), number, line, true, type, options));
    }
    return jobs;
}

// A code that names the file of an earlier one would replace its picture: it is refused
// instead.  Settled before drawing, so no drawing thread can overtake the first.
void claimFiles(std::vector<Job>& jobs) {
    std::unordered_map<std::string_view, std::string_view> owners;  // path, first job's name
    for (Job& job : jobs) {
        if (job.path.empty() || job.path == "-") continue;
        const auto [owner, first] = owners.try_emplace(job.path, job.name);
        if (!first) job.sameFileAs = owner->second;
    }
}

SymbologySet symbologiesOf(const std::vector<Job>& jobs) {
    SymbologySet used{};
    for (const Job& job : jobs) used[static_cast<std::size_t>(job.type)] = true;
    return used;
}

// The whole batch file ("-": standard input) into `text`, or the system's reason it
// cannot be read: a folder, say, opens but does not read.
std::error_code readBatch(const std::string& path, std::string& text) {
    std::FILE* in = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (in == nullptr) return {errno, std::generic_category()};
    std::array<char, 1 << 16> buffer;
    for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0;)
        text.append(buffer.data(), got);
    const std::error_code error =
        std::ferror(in) != 0 ? std::error_code(errno, std::generic_category()) : std::error_code();
    if (in != stdin) std::fclose(in);
    return error;
}

// A picture file goes to a temporary file renamed into place, so a failed write leaves
// the old file whole; standard output is written as it is.
std::error_code writeOutput(const std::string& path, std::string_view bytes) {
    if (path != "-") return platform::writeFileAtomically(path, bytes);
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0)
        return {errno, std::generic_category()};
    return {};
}

std::filesystem::path programDir(const char* argv0) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path();
    return std::filesystem::absolute(argv0, ec).parent_path();
}

struct Report {
    Exit exit = Exit::kDrawn;
    std::string text;  // for standard error; "" for a picture drawn
};

// One drawing line of work: its own font engine and rotation component, so several
// runners can draw side by side.
class Runner {
public:
    Runner(const Options& options, const Settings& settings, int angleIndex)
        : options_(options), settings_(settings), angleIndex_(angleIndex),
          format_(formatFor(options.output).value_or(Format::kPng)) {}

    Report draw(const Job& job) {
        if (!job.sameFileAs.empty())
            return {Exit::kRefused,
                    about(job) + "same file as " + job.sameFileAs + ": " + job.path + "\n"};
        if (options_.widths) return refusal(job, printWidths(job), PictureSetting::kNone);
        const Composition c = composeBarcode(settings_, job.type, job.code, fonts_);
        if (!c.ok()) return refusal(job, c.result, c.unusable);
        if (const std::error_code error = writePicture(job.path, c))
            return {Exit::kUnwritable, "lorrin-cli: " + job.where() + "cannot write " +
                                           (job.path == "-" ? "standard output" : job.path) + ": " +
                                           error.message() + "\n"};
        return {};
    }

private:
    // "lorrin-cli: line 3: \"CODE\": "
    static std::string about(const Job& job) {
        return "lorrin-cli: " + job.where() + '"' + shown(job.code) + "\": ";
    }

    Report refusal(const Job& job, int result, PictureSetting setting) const {
        if (result > 0) return {};
        if (result == kUnusableSettings && setting != PictureSetting::kNone)
            return {Exit::kUsage,
                    about(job) + named(setting, settings_) + " cannot make a picture\n"};
        const std::string why =
            result == kUnusableSettings
                ? std::string("too long for a picture")
                : std::string(statusText(result)) + " (" + std::to_string(result) + ")";
        return {Exit::kRefused, about(job) + why + "\n"};
    }

    int printWidths(const Job& job) {
        const kelda::Encoded e = kelda::encode(job.type, job.code, settings_.checkSum != 0,
                                               settings_.wideRatio, settings_.charGap);
        if (!e.ok()) return e.result;
        std::string line = e.readableText + '\t';
        for (std::size_t i = 0; i < e.elementWidths.size(); ++i)
            line += (i == 0 ? "" : " ") + std::to_string(e.elementWidths[i]);
        line += '\t' + std::to_string(e.moduleCount) + '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
        return e.result;
    }

    // The picture the desktop program would put on the clipboard, as a file.
    std::error_code writePicture(const std::string& path, const Composition& c) {
        if (format_ == Format::kSvg) {
            platform::RasterFont* font = fonts_.font(settings_.fontName, settings_.fontSize);
            return writeOutput(path, svgImage(c.layout, angleIndex_, settings_,
                                              font == nullptr ? 0 : font->ascent()));
        }
        platform::Bitmap picture = paintBarcode(c.layout, settings_, fonts_);
        rotatePicture(picture, angleIndex_, rImage_);
        const std::vector<std::uint8_t> image = format_ == Format::kBmp
                                                    ? bmpImage(picture, options_.dpi)
                                                    : pngImage(picture, options_.dpi);
        // libpng fails only when its memory runs out.
        if (image.empty()) return std::make_error_code(std::errc::not_enough_memory);
        return writeOutput(path, {reinterpret_cast<const char*>(image.data()), image.size()});
    }

    const Options& options_;
    const Settings& settings_;
    int angleIndex_;
    Format format_;
    platform::FontEngine fonts_;
    rotateimage::TRotateImage rImage_;
};

// Draws the jobs, a long batch on every core (pictures are independent files), and
// shows progress on a terminal.  A failure that stops the run stops every thread; the
// reports come in order, up to the first such failure.  Returns how the run ends.
Exit runJobs(const std::vector<Job>& jobs, const Options& options, const Settings& settings,
             int angleIndex) {
    // Standard output keeps its order only when one runner writes it.
    const bool ordered = options.widths || options.output == "-";
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers =
        ordered ? 1 : std::min<std::size_t>({cores, kMaxWorkers, jobs.size() / kLinesPerWorker + 1});
    const bool showProgress = LORRIN_ISATTY(LORRIN_FILENO(stderr)) != 0 && jobs.size() >= kProgressFrom;

    // Every job below the first one taken after a stop has been drawn, so the reports up
    // to the first stopping one are complete.
    std::vector<Report> reports(jobs.size());
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> finished{0};
    std::atomic<bool> stop{false};
    const auto work = [&] {
        Runner runner(options, settings, angleIndex);
        for (std::size_t i; !stop.load() && (i = next.fetch_add(1)) < jobs.size();) {
            reports[i] = runner.draw(jobs[i]);
            if (stopsRun(reports[i].exit)) stop = true;
            finished.fetch_add(1);
        }
    };
    // This thread draws too, unless it has progress to show.
    std::vector<std::thread> threads;
    for (std::size_t w = showProgress ? 0 : 1; w < workers; ++w) threads.emplace_back(work);
    if (showProgress) {
        while (finished.load() < jobs.size() && !stop.load()) {
            std::cerr << "\rlorrin-cli: " << finished.load() << " of " << jobs.size() << " codes"
                      << std::flush;
            std::this_thread::sleep_for(kProgressInterval);
        }
        std::cerr << "\r\033[K" << std::flush;
    } else {
        work();
    }
    for (std::thread& t : threads) t.join();
    Exit exit = Exit::kDrawn;
    for (const Report& r : reports) {
        std::cerr << r.text;
        if (stopsRun(r.exit)) return r.exit;
        if (r.exit == Exit::kRefused) exit = Exit::kRefused;
    }
    return exit;
}

int run(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file size limit a write then fails with its reason, and the temporary file
    // is removed, instead of the signal ending the process half-way.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParseResult parsed = parseOptions(args);
    const Options& o = parsed.options;
    if (!parsed.error.empty()) {
        std::cerr << "lorrin-cli: " << parsed.error << "\nTry 'lorrin-cli --help'.\n";
        return static_cast<int>(Exit::kUsage);
    }
    if (o.help) {
        std::cout << kUsage;
        return 0;
    }
    if (o.version) {
        std::cout << "lorrin-cli 3.04 (KELDA " << BarcodeVersion() << ")\n";
        return 0;
    }

    Settings settings;
    ViewState lists;
    if (o.settingsFile) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(*o.settingsFile, ec)) {
            std::cerr << "lorrin-cli: no settings file " << *o.settingsFile << '\n';
            return static_cast<int>(Exit::kUsage);
        }
        settings.iniPath = *o.settingsFile;
    } else {
        BuildIniPath(settings, programDir(argv[0]));
    }
    LoadSettings(settings, lists, UnboundedScreen{});
    const auto apply = [](auto& field, const auto& value) {
        if (value) field = *value;
    };
    apply(settings.barHeight, o.barHeight);
    apply(settings.guardExtra, o.guardExtra);
    apply(settings.narrowWidth, o.narrowWidth);
    apply(settings.wideRatio, o.wideRatio);
    apply(settings.charGap, o.charGap);
    apply(settings.checkSum, o.checkSum);
    apply(settings.ocrDisp, o.ocrDisp);
    apply(settings.addSum, o.addSum);
    apply(settings.fontName, o.fontName);
    apply(settings.fontSize, o.fontSize);
    // The lists as the desktop program would show them; no selection means the first entry.
    const int type = o.typeIndex.value_or(lists.type < 0 ? 0 : lists.type);
    const int angle = o.angleIndex.value_or(lists.angle < 0 ? 0 : lists.angle);

    std::string batch;  // the batch file's text: its jobs' codes lie in it
    std::vector<Job> jobs;
    if (o.batchFile) {
        if (const std::error_code error = readBatch(*o.batchFile, batch)) {
            std::cerr << "lorrin-cli: cannot read "
                      << (*o.batchFile == "-" ? "standard input" : *o.batchFile) << ": "
                      << error.message() << '\n';
            return static_cast<int>(Exit::kUsage);
        }
        jobs = batchJobs(batch, o, type);
    } else {
        jobs = argumentJobs(o, type);
    }
    claimFiles(jobs);
    // Every code of the run is known: a setting that leaves one of its symbologies
    // unreadable is refused before anything is drawn.
    if (!o.widths) {
        if (const std::string unreadable = unreadableSetting(settings, symbologiesOf(jobs));
            !unreadable.empty()) {
            std::cerr << "lorrin-cli: " << unreadable << '\n';
            return static_cast<int>(Exit::kUsage);
        }
    }
    return static_cast<int>(runJobs(jobs, o, settings, angle));
}

}  // namespace
}  // namespace lorrin::cli

int main(int argc, char** argv) { return lorrin::cli::run(argc, argv); }
