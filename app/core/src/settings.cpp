#include "lorrin/settings.h"

#include "lorrin/ansi_text.h"
#include "platform/profile.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <system_error>
#include <variant>

namespace lorrin {
namespace {

constexpr std::string_view kFileName = "lorrin.ini";
constexpr std::string_view kBarcode = "barcode";
constexpr std::string_view kFont = "font";
constexpr std::string_view kSound = "sound";
constexpr std::string_view kLoc = "loc";
constexpr std::string_view kMatrix = "matrix";
// A window corner found beyond the screen comes back to this coordinate.
constexpr int kOffScreenReset = 10;

struct StoredField {
    std::string_view section;
    std::string_view key;
    SettingsField field;
    std::size_t textSize = 0;  // a text field's size in bytes of CP932, with its terminator
    // A field newer than the file format: written only when the file has it or its value
    // is not the default, so a file from before it saves byte for byte as it was.
    bool added = false;
};

constexpr bool kAdded = true;

// The fields of the record in the file, in the order they are read and written.
constexpr std::array<StoredField, 22> kStoredFields = {{
    {kBarcode, "h", &Settings::barHeight},
    {kBarcode, "gh", &Settings::guardExtra},
    {kBarcode, "wn", &Settings::wideRatio},
    {kBarcode, "narrow", &Settings::narrowWidth},
    {kBarcode, "gap", &Settings::charGap},
    {kBarcode, "check", &Settings::checkSum},
    {kBarcode, "ocrdisp", &Settings::ocrDisp},
    {kBarcode, "addsum", &Settings::addSum},
    {kBarcode, "beep", &Settings::soundOn},
    {kBarcode, "clipmode", &Settings::clipMode},
    {kBarcode, "wpconly", &Settings::wpcOnly},
    {kFont, "name", &Settings::fontName, kFontNameSize},
    {kFont, "size", &Settings::fontSize},
    {kSound, "ok", &Settings::soundOk, kSoundPathSize},
    {kSound, "ng", &Settings::soundNg, kSoundPathSize},
    {kMatrix, "qrecc", &Settings::qrLevel, 0, kAdded},
    {kMatrix, "qrversion", &Settings::qrVersion, 0, kAdded},
    {kMatrix, "qrutf8", &Settings::qrUtf8, 0, kAdded},
    {kMatrix, "dmshape", &Settings::dmShape, 0, kAdded},
    {kMatrix, "pdfecc", &Settings::pdfLevel, 0, kAdded},
    {kMatrix, "pdfcolumns", &Settings::pdfColumns, 0, kAdded},
    {kMatrix, "text", &Settings::matrixText, 0, kAdded},
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

std::int32_t readField(const platform::ProfileFile& file, const StoredField& f,
                       std::int32_t fallback) {
    return file.getInt(f.section, f.key, fallback);
}

std::string readField(const platform::ProfileFile& file, const StoredField& f,
                      const std::string& fallback) {
    return fieldText(file.getString(f.section, f.key).value_or(fallback), f.textSize);
}

void writeField(platform::ProfileFile& file, const StoredField& f, std::int32_t value,
                std::int32_t fallback) {
    if (f.added && value == fallback && !file.getString(f.section, f.key)) return;
    file.setInt(f.section, f.key, value);
}

// A stored value that still reads as the field keeps its very bytes: a name in CP932 stays
// CP932, and a value longer than the field stays whole.
void writeField(platform::ProfileFile& file, const StoredField& f, const std::string& text,
                const std::string&) {
    const auto stored = file.getString(f.section, f.key);
    if (stored && fieldText(*stored, f.textSize) == text) return;
    file.setString(f.section, f.key, text);
}

bool saveMakingFolder(const platform::ProfileFile& file, const std::filesystem::path& path) {
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    return file.save(path);
}

}  // namespace

std::string_view settingsKey(SettingsField field) {
    for (const StoredField& f : kStoredFields)
        if (f.field == field) return f.key;
    return {};
}

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
    for (const StoredField& f : kStoredFields)
        std::visit([&](auto field) { settings.*field = readField(file, f, defaults.*field); },
                   f.field);

    const WindowPosition home;
    WindowPosition at{file.getInt(kLoc, "x", home.x), file.getInt(kLoc, "y", home.y)};
    const platform::ScreenSize size = screen.size();
    if (at.x > size.width) at.x = kOffScreenReset;
    if (at.y > size.height) at.y = kOffScreenReset;
    view.setPosition(at);

    view.setTypeIndex(
        listSelection(file.getInt(kBarcode, "type", kJanUpc), kSymbologyNames.size()));
    view.setAngleIndex(listSelection(file.getInt(kBarcode, "angle", 0), kAngleNames.size()));
}

bool SaveSettings(const Settings& settings, const MainView& view) {
    const std::filesystem::path source = settingsFileToRead(settings);
    const std::optional<platform::ProfileFile> read = platform::ProfileFile::load(source);
    platform::ProfileFile file = read.value_or(platform::ProfileFile{});
    const Settings defaults;
    for (const StoredField& f : kStoredFields)
        std::visit([&](auto field) { writeField(file, f, settings.*field, defaults.*field); },
                   f.field);
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
