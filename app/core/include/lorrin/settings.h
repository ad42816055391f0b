// The settings record and its file.  The file lives beside the program; where that
// folder cannot be written, the user's configuration folder takes it, so changes are
// never lost silently.
#pragma once

#include "lorrin/main_view.h"
#include "platform/services.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

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

    std::filesystem::path iniPath;          // beside the program
    std::filesystem::path iniFallbackPath;  // in the user's configuration folder
};

// A field of the record: a number or a text.
using SettingsField = std::variant<std::int32_t Settings::*, std::string Settings::*>;

// The key the settings file keeps `field` under ("narrow" for narrowWidth); empty for a
// field the file does not keep.
std::string_view settingsKey(SettingsField field);

// Sets iniPath to "lorrin.ini" in `programDir` and iniFallbackPath to
// $XDG_CONFIG_HOME/lorrin/lorrin.ini ($HOME/.config when the variable is unset, empty
// or not absolute); no fallback without either.
void BuildIniPath(Settings& settings, const std::filesystem::path& programDir);

// The file LoadSettings reads: the one of iniPath and iniFallbackPath that is a file (a
// link to one counts), the newer one when both are (a save that fell back leaves the
// newer copy there; the fallback on a tie); iniPath when neither is.
std::filesystem::path settingsFileToRead(const Settings& settings);

// Fills the record from the file (defaults for whatever is missing, and for everything
// when the file cannot be read), places the window (a corner off the screen's right or
// bottom edge comes back to 10) and selects the lists' entries (-1 for an index outside a
// list).  Texts that are not UTF-8 are read as CP932 and cut to their fields by that
// measure.
void LoadSettings(Settings& settings, MainView& view, const platform::Screen& screen);

// Writes every key into the file that was read, keeping every other line and the very
// bytes of a text that still reads as its field, and saves it as iniPath; when that fails
// (an unwritable folder, a read-only file, a file that could not be read), as
// iniFallbackPath (its folder made when missing).  A link is written through.  False when
// neither could be written.
bool SaveSettings(const Settings& settings, const MainView& view);

}  // namespace lorrin
