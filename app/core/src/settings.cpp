#include "lorrin/settings.h"

#include "lorrin/ansi_text.h"
#include "platform/profile.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <system_error>

namespace lorrin {
namespace {

constexpr std::string_view kFileName = "lorrin.ini";
constexpr std::string_view kBarcode = "barcode";
constexpr std::string_view kFont = "font";
constexpr std::string_view kSound = "sound";
constexpr std::string_view kLoc = "loc";
// A window corner found beyond the screen comes back to this coordinate.
constexpr int kOffScreenReset = 10;

struct IntKey {
    std::string_view key;
    std::int32_t Settings::*field;
};

// The integer keys of section "barcode", in the order they are read and written.
constexpr std::array<IntKey, 11> kBarcodeKeys = {{
    {"h", &Settings::barHeight},
    {"gh", &Settings::guardExtra},
    {"wn", &Settings::wideRatio},
    {"narrow", &Settings::narrowWidth},
    {"gap", &Settings::charGap},
    {"check", &Settings::checkSum},
    {"ocrdisp", &Settings::ocrDisp},
    {"addsum", &Settings::addSum},
    {"beep", &Settings::soundOn},
    {"clipmode", &Settings::clipMode},
    {"wpconly", &Settings::wpcOnly},
}};

std::filesystem::path userConfigDir() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && *xdg != '\0' && std::filesystem::path(xdg).is_absolute()) return xdg;
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return std::filesystem::path(home) / ".config";
    return {};
}

// A stored text as its field holds it: in UTF-8, cut to the field's size.
std::string fieldText(std::string_view stored, std::size_t fieldSize) {
    return std::string(cp932Prefix(fromStoredText(stored), fieldSize - 1));
}

std::string readText(const platform::ProfileFile& file, std::string_view section,
                     std::string_view key, const std::string& fallback, std::size_t fieldSize) {
    return fieldText(file.getString(section, key).value_or(fallback), fieldSize);
}

// A stored value that still reads as the field keeps its very bytes: a name in CP932 stays
// CP932, and a value longer than the field stays whole.
void writeText(platform::ProfileFile& file, std::string_view section, std::string_view key,
               const std::string& text, std::size_t fieldSize) {
    const auto stored = file.getString(section, key);
    if (stored && fieldText(*stored, fieldSize) == text) return;
    file.setString(section, key, text);
}

bool saveMakingFolder(const platform::ProfileFile& file, const std::filesystem::path& path) {
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    return file.save(path);
}

}  // namespace

void BuildIniPath(Settings& settings, const std::filesystem::path& programDir) {
    settings.iniPath = programDir / kFileName;
    const std::filesystem::path config = userConfigDir();
    settings.iniFallbackPath = config.empty() ? config : config / "lorrin" / kFileName;
}

std::filesystem::path settingsFileToRead(const Settings& settings) {
    std::error_code ec;
    const bool primary = std::filesystem::is_regular_file(settings.iniPath, ec);
    const bool fallback = !settings.iniFallbackPath.empty() &&
                          std::filesystem::is_regular_file(settings.iniFallbackPath, ec);
    if (primary && fallback) {
        const auto primaryTime = std::filesystem::last_write_time(settings.iniPath, ec);
        const auto fallbackTime = std::filesystem::last_write_time(settings.iniFallbackPath, ec);
        // A save writes the fallback only after the program's file refused, so on a tie
        // (timestamps are coarse) the fallback is the later write.
        return (!ec && fallbackTime >= primaryTime) ? settings.iniFallbackPath : settings.iniPath;
    }
    return (!primary && fallback) ? settings.iniFallbackPath : settings.iniPath;
}

void LoadSettings(Settings& settings, MainView& view, const platform::Screen& screen) {
    // A file that cannot be read gives the defaults, as a missing one does.
    const platform::ProfileFile file =
        platform::ProfileFile::load(settingsFileToRead(settings)).value_or(platform::ProfileFile{});
    const Settings defaults;
    for (const IntKey& k : kBarcodeKeys)
        settings.*k.field = file.getInt(kBarcode, k.key, defaults.*k.field);
    settings.fontName = readText(file, kFont, "name", defaults.fontName, kFontNameSize);
    settings.fontSize = file.getInt(kFont, "size", defaults.fontSize);
    settings.soundOk = readText(file, kSound, "ok", defaults.soundOk, kSoundPathSize);
    settings.soundNg = readText(file, kSound, "ng", defaults.soundNg, kSoundPathSize);

    const WindowPosition home;
    WindowPosition at{file.getInt(kLoc, "x", home.x), file.getInt(kLoc, "y", home.y)};
    const platform::ScreenSize size = screen.size();
    if (at.x > size.width) at.x = kOffScreenReset;
    if (at.y > size.height) at.y = kOffScreenReset;
    view.setPosition(at);

    view.setTypeIndex(listSelection(file.getInt(kBarcode, "type", 0), kSymbologyNames.size()));
    view.setAngleIndex(listSelection(file.getInt(kBarcode, "angle", 0), kAngleNames.size()));
}

bool SaveSettings(const Settings& settings, const MainView& view) {
    const std::filesystem::path source = settingsFileToRead(settings);
    const std::optional<platform::ProfileFile> read = platform::ProfileFile::load(source);
    platform::ProfileFile file = read.value_or(platform::ProfileFile{});
    for (const IntKey& k : kBarcodeKeys) file.setInt(kBarcode, k.key, settings.*k.field);
    writeText(file, kFont, "name", settings.fontName, kFontNameSize);
    file.setInt(kFont, "size", settings.fontSize);
    writeText(file, kSound, "ok", settings.soundOk, kSoundPathSize);
    writeText(file, kSound, "ng", settings.soundNg, kSoundPathSize);
    const WindowPosition at = view.position();
    file.setInt(kLoc, "x", at.x);
    file.setInt(kLoc, "y", at.y);
    file.setInt(kBarcode, "type", view.typeIndex());
    file.setInt(kBarcode, "angle", view.angleIndex());
    // A file that could not be read is never replaced: whatever it holds would be lost.
    const auto mayReplace = [&](const std::filesystem::path& path) {
        return read || path != source;
    };
    return (mayReplace(settings.iniPath) && file.save(settings.iniPath)) ||
           (mayReplace(settings.iniFallbackPath) &&
            saveMakingFolder(file, settings.iniFallbackPath));
}

}  // namespace lorrin
