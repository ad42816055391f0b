#include "lorrin/cli/runner.h"

#include "lorrin/draw.h"
#include "lorrin/picture_files.h"
#include "lorrin/status.h"
#include "platform/atomic_file.h"
#include "rotateimage/rotate_image.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <system_error>
#include <thread>

#if defined(_WIN32)
#include <io.h>
#define LORRIN_ISATTY _isatty
#define LORRIN_FILENO _fileno
#else
#include <sched.h>
#include <unistd.h>
#define LORRIN_ISATTY isatty
#define LORRIN_FILENO fileno
#endif

namespace lorrin::cli {
namespace {

// A batch of this many codes on a terminal shows its progress, this often.
constexpr std::size_t kProgressFrom = 1000;
constexpr std::chrono::milliseconds kProgressInterval{200};
// A drawing thread of a batch has at least this many lines, to be worth its font engine.
constexpr std::size_t kLinesPerWorker = 256;
// A report shows this many characters of a two-dimensional code's text at most.
constexpr std::size_t kShownTextMax = 80;

// A picture file goes to a temporary file renamed into place, so a failed write leaves
// the old file whole; standard output is written as it is.
std::error_code writeOutput(const std::string& path, std::string_view bytes) {
    if (path != "-") return platform::writeFileAtomically(path, bytes);
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0)
        return {errno, std::generic_category()};
    return {};
}

// The processors this process may run on: its affinity mask, which taskset, cgroups and
// container limits narrow, where the system has one.
std::size_t availableProcessors() {
#if defined(__linux__)
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return static_cast<std::size_t>(CPU_COUNT(&set));
#endif
    return std::max(1u, std::thread::hardware_concurrency());
}

// One drawing line of work: its own font engine, rotation component, PNG encoder and
// buffers, so several runners can draw side by side.
class Runner {
public:
    Runner(const Options& options, const Settings& settings, int angleIndex,
           const std::filesystem::path& keeper)
        : options_(options),
          settings_(settings),
          angleIndex_(angleIndex),
          keeper_(keeper),
          format_(formatFor(options.output).value_or(Format::kPng)) {}

    Report draw(const Job& job) {
        if (!job.sameFileAs.empty())
            return {
                Exit::kRefused,
                about(job) + format(tr("same file as %1: %2"), {job.sameFileAs, job.path}) + "\n"};
        if (options_.widths && !isMatrix(job.type))
            return refusal(job, printWidths(job), std::nullopt);
        const Composition c = composeBarcode(settings_, job.type, job.code, fonts_, matrix_);
        if (!c.ok()) return refusal(job, c.result, c.unusable, c.refusalText);
        if (options_.widths) {
            printModules(job);
            return {};
        }
        if (options_.clipboard) return putOnClipboard(job, c);
        if (const std::error_code error = writePicture(job.path, c))
            return {
                Exit::kUnwritable,
                "lorrin-cli: " + job.where() +
                    format(tr("cannot write %1: %2"),
                           {job.path == "-" ? tr("standard output") : job.path, error.message()}) +
                    "\n"};
        return {};
    }

private:
    // "lorrin-cli: line 3: \"CODE\": "
    static std::string about(const Job& job) {
        return "lorrin-cli: " + job.where() + '"' +
               shown(job.code, isMatrix(job.type) ? kShownTextMax : SIZE_MAX) + "\": ";
    }

    Report refusal(const Job& job, int result, std::optional<SettingsField> setting,
                   const std::string& refusalText = {}) const {
        if (result > 0) return {};
        if (result == kUnusableSettings && setting)
            return {Exit::kBadUsage,
                    about(job) +
                        format(tr("%1 cannot make a picture"), {named(*setting, settings_)}) +
                        "\n"};
        const std::string why =
            result == kUnusableSettings
                ? std::string(tr("too long for a picture"))
                : (refusalText.empty() ? std::string(statusText(result)) : refusalText) + " (" +
                      std::to_string(result) + ")";
        return {Exit::kRefused, about(job) + why + "\n"};
    }

    // The encoding the draw would paint, as a line of standard output.
    int printWidths(const Job& job) {
        const kelda::Encoded e = encodeBarcode(settings_, job.type, job.code);
        if (!e.ok()) return e.result;
        std::string line = e.readableText + '\t';
        for (std::size_t i = 0; i < e.elementWidths.size(); ++i)
            line += (i == 0 ? "" : " ") + std::to_string(e.elementWidths[i]);
        line += '\t' + std::to_string(e.moduleCount) + '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
        return e.result;
    }

    // A two-dimensional symbol the draw would paint: its width and height in modules, then
    // a line of 1 (dark) and 0 per row.
    void printModules(const Job& job) {
        const matrix::Grid grid = matrix_.encode(matrixSymbology(job.type), job.code,
                                                 matrixOptions(settings_))
                                      .grid;
        std::string lines = std::to_string(grid.width) + 'x' + std::to_string(grid.height) + '\n';
        for (int y = 0; y < grid.height; ++y) {
            for (int x = 0; x < grid.width; ++x) lines += grid.at(x, y) ? '1' : '0';
            lines += '\n';
        }
        std::fwrite(lines.data(), 1, lines.size(), stdout);
    }

    // The picture the desktop program would put on the clipboard, as a file.
    std::error_code writePicture(const std::string& path, const Composition& c) {
        if (format_ == Format::kSvg)
            return writeOutput(path, svgImage(c.layout, angleIndex_, settings_, options_.dpi));
        platform::Bitmap picture = paintBarcode(c.layout, settings_, fonts_);
        rotatePicture(picture, angleIndex_, rImage_);
        if (format_ == Format::kBmp)
            image_ = bmpImage(picture, options_.dpi);
        else
            png_.encode(picture, options_.dpi, image_);
        // Encoding fails only when memory runs out.
        if (image_.empty()) return std::make_error_code(std::errc::not_enough_memory);
        return writeOutput(path, {reinterpret_cast<const char*>(image_.data()), image_.size()});
    }

    // The picture the desktop program would put on the clipboard, and that the keeper
    // keeps there after lorrin-cli has ended.
    Report putOnClipboard(const Job& job, const Composition& c) {
        const std::string failure = keepOnClipboard(
            drawPicture(c.layout, angleIndex_, settings_, options_.dpi, fonts_, rImage_), keeper_);
        if (failure.empty()) return {};
        return {Exit::kUnwritable,
                "lorrin-cli: " + job.where() +
                    format(tr("cannot put the picture on the clipboard: %1"), {failure}) + "\n"};
    }

    const Options& options_;
    const Settings& settings_;
    int angleIndex_;
    const std::filesystem::path& keeper_;
    Format format_;
    platform::FontEngine fonts_;
    rotateimage::TRotateImage rImage_;
    matrix::Encoder matrix_;
    PngEncoder png_;
    std::vector<std::uint8_t> image_;  // the last picture's file image
};

}  // namespace

Exit runJobs(const std::vector<Job>& jobs, const Options& options, const Settings& settings,
             int angleIndex, const std::filesystem::path& keeper) {
    // Standard output keeps its order only when one runner writes it.
    const bool ordered = options.widths || options.output == "-";
    const std::size_t wanted =
        options.jobs ? static_cast<std::size_t>(*options.jobs) : availableProcessors();
    const std::size_t workers = ordered ? 1 : std::min(wanted, jobs.size() / kLinesPerWorker + 1);
    const bool showProgress =
        LORRIN_ISATTY(LORRIN_FILENO(stderr)) != 0 && jobs.size() >= kProgressFrom;

    // Every job below the first one taken after a stop has been drawn, so the reports up
    // to the first stopping one are complete.
    std::vector<Report> reports(jobs.size());
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> finished{0};
    std::atomic<bool> stop{false};
    const auto work = [&] {
        Runner runner(options, settings, angleIndex, keeper);
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
            std::cerr << "\rlorrin-cli: "
                      << format(tr("%1 of %2 codes"),
                                {std::to_string(finished.load()), std::to_string(jobs.size())})
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

}  // namespace lorrin::cli
