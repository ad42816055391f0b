#include "app/core/settings.h"

#include "platform/profile.h"

#include <array>
#include <cstdlib>
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
        return (!ec && fallbackTime > primaryTime) ? settings.iniFallbackPath : settings.iniPath;
    }
    return (!primary && fallback) ? settings.iniFallbackPath : settings.iniPath;
}

void LoadSettings(Settings& settings, MainView& view, const platform::Screen& screen) {
    const platform::ProfileFile file = platform::ProfileFile::load(settingsFileToRead(settings));
    const Settings defaults;
    for (const IntKey& k : kBarcodeKeys)
        settings.*k.field = file.getInt(kBarcode, k.key, defaults.*k.field);
    settings.fontName = file.getString(kFont, "name", defaults.fontName, kFontNameSize);
    settings.fontSize = file.getInt(kFont, "size", defaults.fontSize);
    settings.soundOk = file.getString(kSound, "ok", defaults.soundOk, kSoundPathSize);
    settings.soundNg = file.getString(kSound, "ng", defaults.soundNg, kSoundPathSize);

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
    platform::ProfileFile file = platform::ProfileFile::load(settingsFileToRead(settings));
    for (const IntKey& k : kBarcodeKeys) file.setInt(kBarcode, k.key, settings.*k.field);
    file.setString(kFont, "name", settings.fontName);
    file.setInt(kFont, "size", settings.fontSize);
    file.setString(kSound, "ok", settings.soundOk);
    file.setString(kSound, "ng", settings.soundNg);
    const WindowPosition at = view.position();
    file.setInt(kLoc, "x", at.x);
    file.setInt(kLoc, "y", at.y);
    file.setInt(kBarcode, "type", view.typeIndex());
    file.setInt(kBarcode, "angle", view.angleIndex());
    return file.save(settings.iniPath) || saveMakingFolder(file, settings.iniFallbackPath);
}

}  // namespace lorrin
