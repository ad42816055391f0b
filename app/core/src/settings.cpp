#include "lorrin/settings.h"

#include "lorrin/ansi_text.h"
#include "lorrin/language.h"
#include "platform/profile.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <system_error>
#include <variant>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

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

// Where packages and other installers put programs; see underSystemPrefix.
constexpr std::array<std::string_view, 12> kSystemPrefixes = {
    "/usr",   "/opt",    "/bin",  "/sbin",      "/lib",       "/lib32",
    "/lib64", "/libx32", "/snap", "/nix/store", "/gnu/store", "/app",
};
constexpr std::string_view kDefaultConfigDirs = "/etc/xdg";

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

// lorrin/lorrin.ini in each absolute folder of $XDG_CONFIG_DIRS, in its order.
std::vector<std::filesystem::path> systemDefaultFiles() {
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string_view list = (dirs != nullptr && *dirs != '\0') ? dirs : kDefaultConfigDirs;
    std::vector<std::filesystem::path> files;
    while (!list.empty()) {
        const std::size_t colon = std::min(list.find(':'), list.size());
        const std::filesystem::path dir(list.substr(0, colon));
        if (dir.is_absolute()) files.push_back(dir / "lorrin" / kFileName);
        list.remove_prefix(std::min(colon + 1, list.size()));
    }
    return files;
}

// The scene as the running user finds it.  Links are followed: a file counts as the
// one at the end of its link, as reads and writes reach it.
SettingsScene findScene(const std::filesystem::path& programDir,
                        const std::filesystem::path& beside, const std::filesystem::path& config) {
    SettingsScene scene;
    std::error_code ec;
    scene.systemFolder = underSystemPrefix(programDir) ||
                         underSystemPrefix(std::filesystem::weakly_canonical(programDir, ec));
#if defined(_WIN32)
    // No owners to tell apart: every folder and file is the user's.
    scene.usersFolder = true;
    scene.beside = std::filesystem::exists(beside, ec) ? FileOwner::kUser : FileOwner::kNothing;
    scene.besideWritable = true;
    scene.config = std::filesystem::exists(config, ec) ? FileOwner::kUser : FileOwner::kNothing;
#else
    const uid_t user = geteuid();
    const auto owner = [user](const std::filesystem::path& path, struct stat& info) {
        if (path.empty() || ::stat(path.c_str(), &info) != 0) return FileOwner::kNothing;
        return info.st_uid == user ? FileOwner::kUser : FileOwner::kOther;
    };
    struct stat info {};
    scene.usersFolder = owner(programDir, info) == FileOwner::kUser;
    scene.beside = owner(beside, info);
    scene.besideWritable = scene.beside == FileOwner::kUser && (info.st_mode & S_IWUSR) != 0;
    scene.config = owner(config, info);
#endif
    return scene;
}

// The files under the user's, the most important first: a key takes its value from the
// first that has it.  One that cannot be read counts as missing.
class DefaultsLayers {
public:
    explicit DefaultsLayers(const std::vector<std::filesystem::path>& paths) {
        for (const std::filesystem::path& path : paths)
            if (auto file = platform::ProfileFile::load(path)) files_.push_back(std::move(*file));
    }
    std::int32_t getInt(std::string_view section, std::string_view key,
                        std::int32_t builtIn) const {
        std::int32_t value = builtIn;
        for (auto file = files_.rbegin(); file != files_.rend(); ++file)
            value = file->getInt(section, key, value);
        return value;
    }
    std::optional<std::string> getString(std::string_view section, std::string_view key) const {
        for (const platform::ProfileFile& file : files_)
            if (auto value = file.getString(section, key)) return value;
        return std::nullopt;
    }
    bool has(std::string_view section, std::string_view key) const {
        return getString(section, key).has_value();
    }

private:
    std::vector<platform::ProfileFile> files_;
};

// A value read from the user's file, else from the layers under it, else built in.
std::int32_t readInt(const platform::ProfileFile& file, const DefaultsLayers& under,
                     std::string_view section, std::string_view key, std::int32_t builtIn) {
    return file.getInt(section, key, under.getInt(section, key, builtIn));
}

// A key the user's file lacks stays out while it holds what the layers under it give: a
// later change of theirs then still reaches the user.  Without a layer's value a key is
// written, except a field newer than the file format at its built-in default.
void writeInt(platform::ProfileFile& file, const DefaultsLayers& under, std::string_view section,
              std::string_view key, std::int32_t value, std::int32_t builtIn, bool added = false) {
    if (!file.getString(section, key) && value == under.getInt(section, key, builtIn) &&
        (added || under.has(section, key)))
        return;
    file.setInt(section, key, value);
}

// A stored text as its field holds it: in UTF-8, cut to the field's size.
std::string fieldText(std::string_view stored, std::size_t fieldSize) {
    return std::string(cp932Prefix(fromStoredText(stored), fieldSize - 1));
}

std::int32_t readField(const platform::ProfileFile& file, const DefaultsLayers& under,
                       const StoredField& f, std::int32_t builtIn) {
    return readInt(file, under, f.section, f.key, builtIn);
}

std::string readField(const platform::ProfileFile& file, const DefaultsLayers& under,
                      const StoredField& f, const std::string& builtIn) {
    const auto stored = file.getString(f.section, f.key);
    return fieldText(stored ? *stored : under.getString(f.section, f.key).value_or(builtIn),
                     f.textSize);
}

void writeField(platform::ProfileFile& file, const DefaultsLayers& under, const StoredField& f,
                std::int32_t value, std::int32_t builtIn) {
    writeInt(file, under, f.section, f.key, value, builtIn, f.added);
}

// A stored value that still reads as the field keeps its very bytes: a name in CP932 stays
// CP932, and a value longer than the field stays whole.
void writeField(platform::ProfileFile& file, const DefaultsLayers& under, const StoredField& f,
                const std::string& text, const std::string&) {
    const auto stored = file.getString(f.section, f.key);
    if (stored && fieldText(*stored, f.textSize) == text) return;
    const auto layered = under.getString(f.section, f.key);
    if (!stored && layered && fieldText(*layered, f.textSize) == text) return;
    file.setString(f.section, f.key, text);
}

// The user's file as read (empty for no file); none when something is there that cannot
// be read.
std::optional<platform::ProfileFile> loadUsersFile(const std::filesystem::path& path,
                                                   std::error_code* why = nullptr) {
    if (path.empty()) return platform::ProfileFile{};
    return platform::ProfileFile::load(path, why);
}

// The notices on standard error, in the user interface's language.
std::string_view tr(std::string_view text) { return translate("settings", text); }

std::string refusalReason(std::error_code why) {
    if (why == std::errc::not_supported) return std::string(tr("not a plain file"));
    if (why == std::errc::file_too_large)
        return format(tr("larger than %1 MiB"),
                      {std::to_string(platform::ProfileFile::kMaxFileSize >> 20)});
    return why.message();
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

bool underSystemPrefix(const std::filesystem::path& folder) {
    const std::filesystem::path normal = folder.lexically_normal();
    return std::any_of(kSystemPrefixes.begin(), kSystemPrefixes.end(), [&](std::string_view p) {
        const std::filesystem::path prefix(p);
        return std::mismatch(prefix.begin(), prefix.end(), normal.begin(), normal.end()).first ==
               prefix.end();
    });
}

SettingsPlan planSettings(const SettingsScene& scene) {
    SettingsPlan plan;
    plan.config = scene.config == FileOwner::kOther ? SettingsUse::kPassedOver : SettingsUse::kUsed;
    const bool portable =
        !scene.systemFolder && ((scene.usersFolder && scene.beside != FileOwner::kOther) ||
                                (scene.beside == FileOwner::kUser && scene.besideWritable));
    if (portable) plan.beside = SettingsUse::kUsed;
    // Another user's file in a folder that is not the user's is simply not theirs; a
    // file in the user's own folder or beside an installed program, or the user's own
    // file, is worth a word.
    else if (scene.beside != FileOwner::kNothing &&
             (scene.systemFolder || scene.usersFolder || scene.beside == FileOwner::kUser))
        plan.beside = SettingsUse::kPassedOver;
    plan.systemDefaults = !portable;
    return plan;
}

std::vector<std::string> BuildIniPath(Settings& settings, const std::filesystem::path& programDir) {
    const std::filesystem::path beside = programDir / kFileName;
    const std::filesystem::path configDir = userConfigDir();
    const std::filesystem::path config =
        configDir.empty() ? configDir : configDir / "lorrin" / kFileName;
    const SettingsScene scene = findScene(programDir, beside, config);
    const SettingsPlan plan = planSettings(scene);
    settings.iniPath = plan.beside == SettingsUse::kUsed ? beside : std::filesystem::path();
    settings.iniFallbackPath = plan.config == SettingsUse::kUsed ? config : std::filesystem::path();
    settings.defaultsPaths =
        plan.systemDefaults ? systemDefaultFiles() : std::vector<std::filesystem::path>();

    const std::filesystem::path& kept =
        settings.iniPath.empty() ? settings.iniFallbackPath : settings.iniPath;
    const std::string where = kept.empty() ? std::string(tr("settings are not saved"))
                                           : format(tr("settings are kept in %1"), {kept.string()});
    const auto leftAlone = [&](const std::filesystem::path& file, std::string_view reason) {
        return format(tr("%1 is left alone (%2); %3"), {file.string(), tr(reason), where});
    };
    std::vector<std::string> notices;
    if (plan.beside == SettingsUse::kPassedOver) {
        const std::string_view reason = scene.beside == FileOwner::kOther ? "another user's file"
                                        : scene.systemFolder
                                            ? "beside an installed program"
                                            : "read-only, in another user's folder";
        notices.push_back(leftAlone(beside, reason));
    }
    if (plan.config == SettingsUse::kPassedOver)
        notices.push_back(leftAlone(config, "another user's file"));
    return notices;
}

std::filesystem::path settingsFileToRead(const Settings& settings) {
    if (settings.iniPath.empty()) return settings.iniFallbackPath;
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

std::string LoadSettings(Settings& settings, MainView& view, const platform::Screen& screen) {
    // A file that cannot be read gives the defaults, as a missing one does, and says so: it
    // is kept as it is, and a save goes elsewhere.
    const std::filesystem::path source = settingsFileToRead(settings);
    std::error_code why;
    const std::optional<platform::ProfileFile> read = loadUsersFile(source, &why);
    const platform::ProfileFile file = read.value_or(platform::ProfileFile{});
    const DefaultsLayers under(settings.defaultsPaths);
    const Settings defaults;
    for (const StoredField& f : kStoredFields)
        std::visit(
            [&](auto field) { settings.*field = readField(file, under, f, defaults.*field); },
            f.field);

    const WindowPosition home;
    WindowPosition at{readInt(file, under, kLoc, "x", home.x),
                      readInt(file, under, kLoc, "y", home.y)};
    const platform::ScreenSize size = screen.size();
    if (at.x > size.width) at.x = kOffScreenReset;
    if (at.y > size.height) at.y = kOffScreenReset;
    view.setPosition(at);

    view.setTypeIndex(
        listSelection(readInt(file, under, kBarcode, "type", kJanUpc), kSymbologyNames.size()));
    view.setAngleIndex(
        listSelection(readInt(file, under, kBarcode, "angle", 0), kAngleNames.size()));
    if (read) return {};
    return format(tr("%1 is not read (%2): the defaults are used, and the file is kept as it is"),
                  {source.string(), refusalReason(why)});
}

bool SaveSettings(const Settings& settings, const MainView& view) {
    const std::filesystem::path source = settingsFileToRead(settings);
    const std::optional<platform::ProfileFile> read = loadUsersFile(source);
    platform::ProfileFile file = read.value_or(platform::ProfileFile{});
    const DefaultsLayers under(settings.defaultsPaths);
    const Settings defaults;
    for (const StoredField& f : kStoredFields)
        std::visit(
            [&](auto field) { writeField(file, under, f, settings.*field, defaults.*field); },
            f.field);
    const WindowPosition home;
    const WindowPosition at = view.position();
    writeInt(file, under, kLoc, "x", at.x, home.x);
    writeInt(file, under, kLoc, "y", at.y, home.y);
    writeInt(file, under, kBarcode, "type", view.typeIndex(), kJanUpc);
    writeInt(file, under, kBarcode, "angle", view.angleIndex(), 0);
    // A file that cannot be read is never replaced, whichever file this save read: whatever
    // it holds would be lost.  Nor is what is not a plain file (a link to /dev/null, say),
    // which the loader never reads: the save goes where the next start reads it.
    const auto mayReplace = [&](const std::filesystem::path& path) {
        if (path.empty()) return false;
        if (path == source) return read.has_value();
        return loadUsersFile(path).has_value();
    };
    return (mayReplace(settings.iniPath) && file.save(settings.iniPath)) ||
           (mayReplace(settings.iniFallbackPath) &&
            saveMakingFolder(file, settings.iniFallbackPath));
}

}  // namespace lorrin
