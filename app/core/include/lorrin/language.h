// The language of the user interface, and the catalogue its texts are read from.  The
// windows' texts are Japanese in the code, lorrin-cli's and rotateview's English; each
// language has one catalogue (i18n/lorrin_<language>.ts), built into a gettext catalogue
// that `translate` reads and a Qt one that the windows' translator reads.  Japanese needs
// none for the windows, so under a Japanese locale they show the code's own texts.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lorrin {

// The gettext domain, and the name the Qt catalogues start with (lorrin_en.qm).
inline constexpr std::string_view kCatalogueName = "lorrin";
// The language of every locale that names none with a catalogue.
inline constexpr std::string_view kFallbackLanguage = "en";
// The language the windows are written in.
inline constexpr std::string_view kWindowsLanguage = "ja";

// The language the locale names, as the C library and Qt read it: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty, up to its territory, code set or
// modifier ("ja" of "ja_JP.UTF-8"); "" for "C", "POSIX" (and "C.UTF-8") and for none.
std::string localeLanguage(const char* lcAll, const char* lcMessages, const char* lang);
// The same from this process's environment.
std::string localeLanguage();

// Where the catalogues of a program in `programDir` may lie, in the order they are looked
// for: where they are installed, then beside the program (a build tree).
struct CatalogueFolders {
    std::vector<std::filesystem::path> gettext;  // holding LANGUAGE/LC_MESSAGES/lorrin.mo
    std::vector<std::filesystem::path> qt;       // holding lorrin_LANGUAGE.qm
};
CatalogueFolders catalogueFolders(const std::filesystem::path& programDir);

// The Qt catalogue of `language`, the first in `folders`; empty when there is none.
std::filesystem::path qtCatalogue(std::span<const std::filesystem::path> folders,
                                  std::string_view language);

// The user interface's language for `wanted` (a localeLanguage()): `wanted` itself when it
// is Japanese or a catalogue in `folders.gettext` holds it, else English.  From then on
// `translate` reads that language's catalogue, whatever locale the C library runs under
// (gettext reads none under "C", so LC_MESSAGES becomes C.UTF-8 when the locale is "C" or
// unknown to the system).  Affects the whole process; call it before any thread starts.
std::string useLanguage(std::string_view wanted, const CatalogueFolders& folders);

// `text` in the user interface's language: its translation in `context` of the catalogue
// useLanguage chose (which lives as long as the process), or `text` itself when there is
// none.  Safe from any thread.
std::string_view translate(std::string_view context, std::string_view text);

// `pattern` with %1, %2, ... replaced by `arguments` in order (the placeholders of Qt's
// translations, so one catalogue serves both).
std::string format(std::string_view pattern, std::initializer_list<std::string_view> arguments);

}  // namespace lorrin
