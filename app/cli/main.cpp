// lorrin-cli: the draw of the desktop program without its window.  The pictures are the
// ones the desktop program puts on the clipboard, written to files instead.
#include "app/cli/options.h"
#include "app/cli/picture_files.h"
#include "app/core/draw.h"
#include "app/core/settings.h"
#include "app/core/status.h"
#include "kelda.hpp"
#include "rotateimage/rotate_image.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <system_error>
#include <thread>
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

// The window's position has no meaning here: every position is on this screen.
class UnboundedScreen : public platform::Screen {
public:
    platform::ScreenSize size() const override { return {INT_MAX, INT_MAX}; }
};

class Silence : public platform::Sound {
public:
    void playAsync(std::string_view) override {}
};

// The clipboard of the command line: a picture placed on it goes to the next output file.
class FileClipboard : public platform::Clipboard {
public:
    std::string path;
    Format format = Format::kPng;
    int dpi = 96;
    bool written = false;

    bool hasText() const override { return false; }
    std::string text() const override { return {}; }
    void empty() override {}
    bool setPicture(const platform::Bitmap& picture) override {
        const std::vector<std::uint8_t> image =
            format == Format::kBmp ? bmpImage(picture, dpi) : pngImage(picture, dpi);
        std::FILE* out = path == "-" ? stdout : std::fopen(path.c_str(), "wb");
        if (out == nullptr || image.empty()) {
            written = false;
            if (out != nullptr && out != stdout) std::fclose(out);
            return false;
        }
        // One write of the whole image; a stream buffer would only copy it.
        if (out != stdout) std::setvbuf(out, nullptr, _IONBF, 0);
        written = std::fwrite(image.data(), 1, image.size(), out) == image.size();
        written = (out == stdout ? std::fflush(out) == 0 : std::fclose(out) == 0) && written;
        return written;
    }
};

std::filesystem::path programDir(const char* argv0) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path();
    return std::filesystem::absolute(argv0, ec).parent_path();
}

// One drawing line of work: its own font engine, rotation component and clipboard, so
// several runners can draw side by side.
class Runner {
public:
    Runner(const Options& options, const Settings& settings, int typeIndex, int angleIndex)
        : options_(options), settings_(settings), typeIndex_(typeIndex), angleIndex_(angleIndex),
          services_{clipboard_, silence_, fonts_, rImage_} {
        clipboard_.dpi = options.dpi;
    }

    // Draws one code (a batch line may start with a clipboard prefix); returns what to
    // report, "" when the picture was made.  `where` names the code in the report.
    std::string draw(const std::string& where, std::size_t number, std::string_view text,
                     bool prefixed) {
        int type = typeIndex_;
        std::string_view code = text;
        if (prefixed) {
            if (const auto match = matchPrefix(text)) {
                type = match->typeIndex;
                code.remove_prefix(match->codeAt);
            }
        }
        std::string report;
        const int result = options_.widths ? printWidths(type, code)
                                           : drawPicture(number, type, code, where, report);
        if (result <= 0) {
            refused_ = true;
            return "lorrin-cli: " + where + '"' + std::string(code) + "\": " +
                   std::string(statusText(result)) + " (" + std::to_string(result) + ")\n";
        }
        return report;
    }

    bool refused() const { return refused_; }
    bool failed() const { return failed_; }

private:
    int printWidths(int type, std::string_view code) {
        const kelda::Encoded e = kelda::encode(type, code, settings_.checkSum != 0,
                                               settings_.wideRatio, settings_.charGap);
        if (!e.ok()) return e.result;
        std::string line = e.readableText + '\t';
        for (std::size_t i = 0; i < e.elementWidths.size(); ++i)
            line += (i == 0 ? "" : " ") + std::to_string(e.elementWidths[i]);
        line += '\t' + std::to_string(e.moduleCount) + '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
        return e.result;
    }

    int drawPicture(std::size_t number, int type, std::string_view code, const std::string& where,
                    std::string& report) {
        const std::string path = outputName(options_.output, number, code);
        const Format format = *formatFor(options_.output);
        bool written = false;
        int result = 0;
        if (format == Format::kSvg) {
            const Composition c = composeBarcode(settings_, type, code, fonts_);
            result = c.result;
            if (!c.ok()) return result;
            platform::RasterFont* font = fonts_.font(settings_.fontName, settings_.fontSize);
            std::ofstream out(path, std::ios::binary);
            out << svgImage(c.layout, angleIndex_, settings_, font == nullptr ? 0 : font->ascent());
            out.close();
            written = static_cast<bool>(out);
        } else {
            clipboard_.path = path;
            clipboard_.format = format;
            clipboard_.written = false;
            view_.type = type;
            view_.angle = angleIndex_;
            view_.code = std::string(code);
            result = DrawBarcode(settings_, view_, services_);
            written = clipboard_.written;
        }
        if (result > 0 && !written) {
            failed_ = true;
            report = "lorrin-cli: " + where + "cannot write " + path + "\n";
        }
        return result;
    }

    const Options& options_;
    const Settings& settings_;
    int typeIndex_;
    int angleIndex_;
    FileClipboard clipboard_;
    Silence silence_;
    platform::FontEngine fonts_;
    rotateimage::TRotateImage rImage_;
    DrawServices services_;
    ViewState view_;
    bool refused_ = false;
    bool failed_ = false;
};

struct BatchLine {
    std::size_t number;  // line number in the file, from 1
    std::string text;
};

// The code lines of a batch: a byte order mark, CR LF line ends, blank lines and a
// missing last line end are all taken in stride.
std::vector<BatchLine> readBatch(std::istream& in) {
    std::vector<BatchLine> lines;
    std::string line;
    std::size_t number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (number == 1 && line.starts_with(kBom)) line.erase(0, kBom.size());
        if (line.ends_with('\r')) line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        lines.push_back({number, std::move(line)});
    }
    return lines;
}

// Draws the batch on every core (pictures are independent files), reports refusals in
// line order, and shows progress on a terminal.  Returns true when every code was drawn.
bool runBatch(const std::vector<BatchLine>& lines, const Options& options, const Settings& settings,
              int typeIndex, int angleIndex) {
    // Standard output keeps its order only when one runner writes it.
    const bool ordered = options.widths || options.output == "-";
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers =
        ordered ? 1 : std::min<std::size_t>({cores, kMaxWorkers, lines.size() / kLinesPerWorker + 1});
    const bool showProgress = LORRIN_ISATTY(LORRIN_FILENO(stderr)) != 0 && lines.size() >= kProgressFrom;

    std::vector<std::string> reports(lines.size());
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> finished{0};
    std::atomic<bool> allDrawn{true};
    const auto work = [&] {
        Runner runner(options, settings, typeIndex, angleIndex);
        for (std::size_t i; (i = next.fetch_add(1)) < lines.size();) {
            const BatchLine& l = lines[i];
            reports[i] = runner.draw("line " + std::to_string(l.number) + ": ", l.number, l.text, true);
            finished.fetch_add(1);
        }
        if (runner.refused() || runner.failed()) allDrawn = false;
    };
    // This thread draws too, unless it has progress to show.
    std::vector<std::thread> threads;
    for (std::size_t w = showProgress ? 0 : 1; w < workers; ++w) threads.emplace_back(work);
    if (showProgress) {
        while (finished.load() < lines.size()) {
            std::cerr << "\rlorrin-cli: " << finished.load() << " of " << lines.size() << " codes"
                      << std::flush;
            std::this_thread::sleep_for(kProgressInterval);
        }
        std::cerr << "\r\033[K" << std::flush;
    } else {
        work();
    }
    for (std::thread& t : threads) t.join();
    for (const std::string& r : reports) std::cerr << r;
    return allDrawn;
}

int run(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParseResult parsed = parseOptions(args);
    const Options& o = parsed.options;
    if (!parsed.error.empty()) {
        std::cerr << "lorrin-cli: " << parsed.error << "\nTry 'lorrin-cli --help'.\n";
        return 2;
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
            return 2;
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

    if (o.batchFile) {
        std::vector<BatchLine> lines;
        if (*o.batchFile == "-") {
            lines = readBatch(std::cin);
        } else {
            std::ifstream in(*o.batchFile, std::ios::binary);
            if (!in) {
                std::cerr << "lorrin-cli: cannot read " << *o.batchFile << '\n';
                return 2;
            }
            lines = readBatch(in);
        }
        return runBatch(lines, o, settings, type, angle) ? 0 : 1;
    }
    Runner runner(o, settings, type, angle);
    for (std::size_t i = 0; i < o.codes.size(); ++i) {
        const std::string where = o.codes.size() > 1 ? "argument " + std::to_string(i + 1) + ": " : "";
        std::cerr << runner.draw(where, i + 1, o.codes[i], false);
    }
    return (runner.refused() || runner.failed()) ? 1 : 0;
}

}  // namespace
}  // namespace lorrin::cli

int main(int argc, char** argv) { return lorrin::cli::run(argc, argv); }
