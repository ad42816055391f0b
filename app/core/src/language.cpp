#include "lorrin/language.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

#if defined(__GLIBC__)
extern "C" int _nl_msg_cat_cntr;
#endif

namespace lorrin {
namespace {

constexpr const char* kDomain = "lorrin";
static_assert(kCatalogueName == kDomain);

// lconvert writes a Qt context into the gettext catalogue as "context|comment"; gettext
// keys a message of a context as the context, EOT, and the message.
constexpr std::string_view kContextEnd = "|\x04";

bool isSet(const char* value) { return value != nullptr && *value != '\0'; }

std::filesystem::path gettextCatalogue(const std::filesystem::path& folder,
                                       std::string_view language) {
    return folder / language / "LC_MESSAGES" / (std::string(kCatalogueName) + ".mo");
}

// The C library's gettext reads no catalogue under the "C" locale; C.UTF-8 is the locale
// every system has that it reads them under.  The C library's own texts (a system error's
// reason) come as UTF-8 like every other, whatever code set LC_CTYPE has.
void allowCatalogues() {
    const char* messages = std::setlocale(LC_MESSAGES, "");
    if (messages == nullptr || std::strcmp(messages, "C") == 0 ||
        std::strcmp(messages, "POSIX") == 0)
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    bind_textdomain_codeset("libc", "UTF-8");
}

}  // namespace

std::string localeLanguage(const char* lcAll, const char* lcMessages, const char* lang) {
    const char* locale = isSet(lcAll) ? lcAll : isSet(lcMessages) ? lcMessages : lang;
    if (!isSet(locale)) return {};
    std::string_view name = locale;
    name = name.substr(0, name.find_first_of("_.@"));
    if (name == "C" || name == "POSIX") return {};
    return std::string(name);
}

std::string localeLanguage() {
    return localeLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

CatalogueFolders catalogueFolders(const std::filesystem::path& programDir) {
    return {{programDir / LORRIN_LOCALE_DIR, programDir / "locale"},
            {programDir / LORRIN_TRANSLATIONS_DIR, programDir / "translations"}};
}

std::filesystem::path qtCatalogue(std::span<const std::filesystem::path> folders,
                                  std::string_view language) {
    const std::string name = std::string(kCatalogueName) + "_" + std::string(language) + ".qm";
    std::error_code error;
    for (const std::filesystem::path& folder : folders)
        if (std::filesystem::is_regular_file(folder / name, error)) return folder / name;
    return {};
}

std::string useLanguage(std::string_view wanted, const CatalogueFolders& folders) {
    const auto holding = [&](std::string_view language) -> const std::filesystem::path* {
        std::error_code error;
        for (const std::filesystem::path& folder : folders.gettext)
            if (std::filesystem::is_regular_file(gettextCatalogue(folder, language), error))
                return &folder;
        return nullptr;
    };
    std::string language(wanted);
    const std::filesystem::path* folder = language.empty() ? nullptr : holding(language);
    if (folder == nullptr && language != kWindowsLanguage) {
        language = kFallbackLanguage;
        folder = holding(language);
    }
    allowCatalogues();
    // LANGUAGE names the catalogue whatever the locale is, also a locale the system lacks.
#if defined(_WIN32)
    _putenv_s("LANGUAGE", language.c_str());
#else
    setenv("LANGUAGE", language.c_str(), 1);
#endif
    // Without a catalogue of its own, the domain is bound where none lies all the same, so
    // that no other installation's catalogue is taken for it.
    if (folder == nullptr && !folders.gettext.empty()) folder = &folders.gettext.front();
    if (folder != nullptr) bindtextdomain(kDomain, folder->c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
#if defined(__GLIBC__)
    // The C library keeps the texts it has looked up by locale, not by LANGUAGE: a change
    // of language drops them, as the gettext manual has it.
    ++_nl_msg_cat_cntr;
#endif
    return language;
}

std::string_view translate(std::string_view context, std::string_view text) {
    std::string key;
    key.reserve(context.size() + kContextEnd.size() + text.size());
    key.append(context).append(kContextEnd).append(text);
    const char* found = dgettext(kDomain, key.c_str());
    return found == key.c_str() ? text : std::string_view(found);
}

std::string format(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t n = i + 1 < pattern.size()
                                  ? static_cast<std::size_t>(pattern[i + 1] - '1')
                                  : arguments.size();
        if (pattern[i] == '%' && n < arguments.size()) {
            out += arguments.begin()[n];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace lorrin
