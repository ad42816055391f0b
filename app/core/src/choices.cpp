#include "lorrin/choices.h"

#include "lorrin/language.h"

#include <algorithm>

namespace lorrin {
namespace {

struct Prefix {
    std::string_view text;
    int typeIndex;
};

// The clipboard prefixes, in the order they are tried.  "128a" and "128b" need their
// "@" as the fifth character; no other prefix can match a text that starts with them,
// so matching the five characters at once gives the same answers.
constexpr std::array<Prefix, 10> kPrefixes = {{
    {"upc@", kJanUpc},
    {"nw7@", kNw7},
    {"c39@", kCode39},
    {"itf@", kItf},
    {"128a@", kCode128A},
    {"128b@", kCode128B},
    {"c93@", kCode93},
    {"qr@", kQr},
    {"dm@", kDataMatrix},
    {"pdf@", kPdf417},
}};
static_assert(kPrefixes.size() == kSymbologyNames.size(), "one prefix per symbology");

}  // namespace

std::string_view angleName(std::size_t index) { return translate("lists", kAngleNames.at(index)); }

std::optional<PrefixMatch> matchPrefix(std::string_view text) {
    for (const Prefix& p : kPrefixes)
        if (text.starts_with(p.text)) return PrefixMatch{p.typeIndex, p.text.size()};
    return std::nullopt;
}

std::optional<ClipboardCode> clipboardCode(std::string_view text, bool janUpcOnly) {
    PrefixMatch pick;
    if (janUpcOnly) {
        // No JAN/UPC code comes near this length.
        if (text.size() >= kJanUpcTextLimit) return std::nullopt;
        const bool digitsAndPoints = std::all_of(
            text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
        if (!digitsAndPoints) return std::nullopt;
    } else {
        const auto match = matchPrefix(text);
        if (!match) return std::nullopt;
        pick = *match;
    }
    std::string_view code = text.substr(pick.codeAt);
    // The line end goes, CR LF or LF alone; the code keeps every character before it.
    if (code.ends_with('\n')) code.remove_suffix(code.ends_with("\r\n") ? 2 : 1);
    return ClipboardCode{pick.typeIndex, std::string(code)};
}

}  // namespace lorrin
