// The settings record and its file.  An installed program keeps the file in the user's
// configuration folder, over the system-wide defaults; a copy run from the user's own
// folder keeps it beside itself, with the configuration folder taking a save that folder
// refuses, so changes are never lost silently.  No user's file is ever another's settings.
#pragma once

#include "lorrin/main_view.h"
#include "platform/services.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lorrin {

// Text fields keep at most their size minus one bytes of their CP932 form, as they always
// have in the file.
inline constexpr std::size_t kFontNameSize = 40;
inline constexpr std::size_t kSoundPathSize = 128;

struct Settings {
    std::int32_t barHeight = 50;   // normal bar height, pixels
    std::int32_t guardExtra = 5;   // extra height of a guard bar, pixels
    std::int32_t wideRatio = 3;    // wide element, modules
    std::int32_t narrowWidth = 1;  // pixels per module
    std::int32_t charGap = 2;      // gap between characters, modules
    std::int32_t checkSum = 1;     // optional check character of ITF, NW-7 and Code 39
    std::int32_t ocrDisp = 1;      // readable line under the bars
    std::int32_t addSum = 0;       // readable line shows start/stop and check characters
    std::int32_t soundOn = 1;
    std::int32_t clipMode = 0;  // carried through the file unchanged
    std::int32_t wpcOnly = 1;   // the clipboard monitor takes only JAN/UPC numbers
    std::string fontName = "Arial";
    std::int32_t fontSize = 9;  // points
    std::string soundOk;        // WAV played after a picture
    std::string soundNg;        // WAV played after a refusal
    // The two-dimensional codes.
    std::int32_t qrLevel = 1;     // QR error correction: 0 L, 1 M, 2 Q, 3 H
    std::int32_t qrVersion = 0;   // QR version 1-40; 0 the smallest that holds the text
    std::int32_t qrUtf8 = 0;      // QR carries a Japanese text as UTF-8, not Shift_JIS
    std::int32_t dmShape = 0;     // Data Matrix: 0 square, 1 rectangle
    std::int32_t pdfLevel = 0;    // PDF417 error correction 2-8; 0 the recommended minimum
    std::int32_t pdfColumns = 0;  // PDF417 data columns 1-30; 0 about three times as wide
    std::int32_t matrixText = 0;  // readable line under a two-dimensional symbol

    std::filesystem::path iniPath;          // beside the program; empty when not used
    std::filesystem::path iniFallbackPath;  // in the user's configuration folder
    // System-wide defaults under the file, the most important first; never written.
    std::vector<std::filesystem::path> defaultsPaths;
};

// A field of the record: a number or a text.
using SettingsField = std::variant<std::int32_t Settings::*, std::string Settings::*>;

// The key the settings file keeps `field` under ("narrow" for narrowWidth); empty for a
// field the file does not keep.
std::string_view settingsKey(SettingsField field);

// Folders under which a program counts as installed wherever its owner: /usr (and so
// /usr/local), /opt, /bin, /sbin, /lib and its 32- and 64-bit kin, /snap, /nix/store,
// /gnu/store and /app (Flatpak).
bool underSystemPrefix(const std::filesystem::path& folder);

// Who owns what lies at a path, as the running user sees it.
enum class FileOwner { kNothing, kUser, kOther };

// What decides where the settings live.
struct SettingsScene {
    bool systemFolder = false;               // the program's folder is under a system prefix
    bool usersFolder = false;                // the program's folder belongs to the user
    FileOwner beside = FileOwner::kNothing;  // lorrin.ini beside the program
    bool besideWritable = false;             // ... and its owner may write it
    FileOwner config = FileOwner::kNothing;  // lorrin.ini in the user's configuration folder
};

// What becomes of a place: used for the settings, or a file there left alone and named
// once on standard error, or neither.
enum class SettingsUse { kUnused, kUsed, kPassedOver };

struct SettingsPlan {
    SettingsUse beside = SettingsUse::kUnused;
    SettingsUse config = SettingsUse::kUnused;
    bool systemDefaults = false;  // the system-wide defaults lie under the user's file
};

// The file beside the program is the settings of a program in a folder of the user's
// (unless another user's file lies there) and of one outside the system prefixes that
// finds the user's own writable file beside it; the configuration folder's file takes a
// save it refuses.  Any other program keeps its settings in the configuration folder
// only, over the system-wide defaults.  Another user's file is never used.
SettingsPlan planSettings(const SettingsScene& scene);

// Sets iniPath, iniFallbackPath and defaultsPaths as planSettings decides for the
// running user, the program in `programDir`, $XDG_CONFIG_HOME/lorrin/lorrin.ini
// ($HOME/.config when the variable is unset, empty or not absolute; none without either)
// and lorrin/lorrin.ini in each folder of $XDG_CONFIG_DIRS (/etc/xdg when unset or
// empty).  Returns a line for each file left alone, for standard error.
std::vector<std::string> BuildIniPath(Settings& settings, const std::filesystem::path& programDir);

// The file LoadSettings reads: the one of iniPath and iniFallbackPath that is a file (a
// link to one counts), the newer one when both are (a save that fell back leaves the
// newer copy there; the fallback on a tie); iniPath when neither is, iniFallbackPath
// when there is no iniPath.
std::filesystem::path settingsFileToRead(const Settings& settings);

// Fills the record from the file, then from the system-wide defaults (the built-in
// defaults for whatever is missing, and for everything when nothing can be read), places
// the window (a corner off the screen's right or bottom edge comes back to 10) and
// selects the lists' entries (-1 for an index outside a list).  Texts that are not UTF-8
// are read as CP932 and cut to their fields by that measure.  A file that is there but
// cannot be read (not a plain file, over the size limit, unreadable) gives the defaults;
// the line returned names it and why, for standard error ("" when all is well).
std::string LoadSettings(Settings& settings, MainView& view, const platform::Screen& screen);

// Writes every key into the file that was read, keeping every other line and the very
// bytes of a text that still reads as its field, and saves it as iniPath; when that fails
// (an unwritable folder, a read-only file, a file that could not be read) or there is
// none, as iniFallbackPath (its folder made when missing).  A key the file lacks is left
// out while it holds what the system-wide defaults give it, so their later changes still
// reach the user.  A link is written through.  False when neither could be written.
bool SaveSettings(const Settings& settings, const MainView& view);

}  // namespace lorrin
